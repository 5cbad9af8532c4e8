// Playing a spool file into the rendering library as the print spooler
// does: the library is loaded by name, the printer is opened and its
// document started on the spooler side, and each recorded call goes to the
// library's DrvSpl entry point with the spooler's printer handle:
//
//   OpenPrinter, StartDocPrinter(document, output file, "RAW")
//   DrvSplStartDoc(printer, job id)
//   DrvSplWritePrinter / StartPagePrinter + DrvSplStartPage /
//     DrvSplEndPage + EndPagePrinter / DrvSplAbort      as recorded
//   DrvSplEndDoc, DrvSplClose, EndDocPrinter, ClosePrinter
//
// Every call and its result is reported; a failed call does not stop the
// job (the library decides what a failure means), except that nothing more
// goes to the library when DrvSplStartDoc gives no handle.
//
// The player can also hand the library no handle, writing the printer's name
// and the output file (as the port) into every settings record instead; the
// library then opens the printer and starts the document itself.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "job/spool_file.h"
#include "sys/modules.h"
#include "sys/text.h"

// The exported entry points, with the spooler's calling convention.
struct DrvSplEntryPoints {
    using StartDocFn = void*(ZEBL_STDCALL*)(void* printer, uint32_t jobId);
    using WritePrinterFn = int(ZEBL_STDCALL*)(void* driver, void* buffer, uint32_t size, uint32_t* written);
    using DriverFn = int(ZEBL_STDCALL*)(void* driver);
    using CloseFn = void(ZEBL_STDCALL*)(void* driver);

    StartDocFn startDoc = nullptr;
    WritePrinterFn writePrinter = nullptr;
    DriverFn startPage = nullptr;
    DriverFn endPage = nullptr;
    DriverFn endDoc = nullptr;
    DriverFn abort = nullptr;  // its result, if any, carries nothing
    CloseFn close = nullptr;
};

// The loaded rendering library; frees it when destroyed.
class DrvSplLibrary {
public:
    DrvSplLibrary() = default;
    ~DrvSplLibrary();
    DrvSplLibrary(const DrvSplLibrary&) = delete;
    DrvSplLibrary& operator=(const DrvSplLibrary&) = delete;

    // False and a message (with the system error) when the library cannot
    // be loaded or lacks an entry point.
    bool Load(sys::WStringView path, std::string* error);
    bool Loaded() const { return module_ != nullptr; }
    const DrvSplEntryPoints& EntryPoints() const { return entry_; }

private:
    sys::ModuleHandle module_ = nullptr;
    DrvSplEntryPoints entry_;
};

// How the library reaches the printer.
enum class PrinterAccess {
    SpoolerHandle,  // the player opens the printer and hands over its handle
    LibraryOpens,   // no handle: the settings records name printer and output file
};

struct PlayOptions {
    sys::WString printerName;
    // Where the document goes: a file (absolute under Windows), or empty for
    // the printer's port (with the spooler's handle only).
    sys::WString outputFile;
    PrinterAccess access = PrinterAccess::SpoolerHandle;
};

struct PlayedCall {
    size_t record = 0;  // 1-based record of the spool file; 0 for the spooler's own calls
    std::string call;   // "DrvSplWritePrinter 1676 bytes", "StartDocPrinter", ...
    bool ok = false;
    std::string detail;  // result or error
};

struct PlayReport {
    std::vector<PlayedCall> calls;
    uint32_t failures = 0;
    uint32_t pages = 0;         // DrvSplEndPage calls that succeeded
    uint64_t bytesWritten = 0;  // accepted by DrvSplWritePrinter

    bool Ok() const { return failures == 0; }
    // One line per call.
    std::string Trace() const;
    // A few lines: calls, pages, bytes and each failure.
    std::string Summary() const;
};

// False (with a message) only when the job cannot be played at all: calls
// out of order, or the printer cannot be opened or its document started.
// Otherwise true; the report says which calls failed.
bool PlaySpoolJob(const SpoolJob& job, const DrvSplEntryPoints& library, const PlayOptions& options,
                  PlayReport* report, std::string* error);

// The same from a spool file read one record at a time (spool_reader.h): the
// file is checked whole first (CheckSpoolFile) without keeping its data, and
// then played holding one spooled buffer at a time, which goes to the
// library as it was read. False also when the file cannot be read or turns
// out faulty while it plays (it changed); the report then ends where the
// reading stopped.
bool PlaySpoolFile(sys::WStringView path, const DrvSplEntryPoints& library, const PlayOptions& options,
                   PlayReport* report, std::string* error);
