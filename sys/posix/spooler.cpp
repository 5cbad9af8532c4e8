// Spooler printers on a POSIX host, configured in printers.ini (see
// printers_ini.h). A document streams to its target as it is written: the
// output file named at StartDocPrinter, replaced as Windows print-to-file
// does, or, when the document names a port or nothing, the printer's Output
// file, appended to (a printer without one drops what it gets, like NUL:).
// A target that cannot be opened or written fails the document's end
// (EndDocPrinter, or ClosePrinter in the middle of one). Handles are checked against the live ones, so a
// stale or forged handle fails with "invalid handle" instead of touching memory.
#include "sys/spooler.h"

#include <pthread.h>

#include <memory>
#include <set>
#include <string>

#include "error_codes.h"
#include "printers_ini.h"
#include "sys/files.h"
#include "sys/last_error.h"

namespace sys {
namespace {

using posix::Fail;

struct PosixPrinter {
    PrinterSetup setup;
    bool docOpen = false;
    WString docTarget;         // where the document goes when it ends
    bool docReplaces = false;  // print to file: replace, not append
    File docFile;              // open while a document streams to a target
    bool docFailed = false;    // the target could not be opened or written
    uint32_t docError = 0;     // the error it failed with
    uint64_t docBytes = 0;
    uint32_t writeFailures = 0;
};

pthread_mutex_t g_handlesLock = PTHREAD_MUTEX_INITIALIZER;
uint32_t g_nextJobId = 1;

std::set<PosixPrinter*>& LiveHandles() {
    static std::set<PosixPrinter*> handles;
    return handles;
}

class HandlesLocked {
public:
    HandlesLocked() { pthread_mutex_lock(&g_handlesLock); }
    ~HandlesLocked() { pthread_mutex_unlock(&g_handlesLock); }
    HandlesLocked(const HandlesLocked&) = delete;
    HandlesLocked& operator=(const HandlesLocked&) = delete;
};

PosixPrinter* Lookup(PrinterHandle handle) {
    HandlesLocked lock;
    auto* printer = static_cast<PosixPrinter*>(handle);
    return LiveHandles().count(printer) ? printer : nullptr;
}

// Appends one line to the printer's call log, keeping the last error.
void LogCall(const PosixPrinter& printer, const std::string& line) {
    if (printer.setup.callLog.empty()) return;
    const uint32_t savedError = GetLastError();
    File log = File::OpenExisting(printer.setup.callLog, true, Share::ReadWrite);
    if (!log.IsOpen()) log = File::CreateAlways(printer.setup.callLog, Share::ReadWrite);
    uint32_t written = 0;
    const std::string text = line + "\n";
    if (log.IsOpen() && log.Seek(0, SeekOrigin::End))
        log.Write(text.data(), static_cast<uint32_t>(text.size()), &written);
    SetLastError(savedError);
}

std::string Outcome(bool ok) { return ok ? " ok" : " fail " + std::to_string(GetLastError()); }

bool LogResult(const PosixPrinter& printer, const std::string& call, bool ok) {
    LogCall(printer, call + Outcome(ok));
    return ok;
}

bool IsPortName(WStringView name) { return !name.empty() && name.back() == u':'; }

// Opens the document's target: replaced for print to file, else appended to.
File OpenTarget(const PosixPrinter& printer) {
    if (printer.docReplaces) return File::CreateAlways(printer.docTarget, Share::ReadWrite);
    File out = File::OpenExisting(printer.docTarget, true, Share::ReadWrite);
    if (!out.IsOpen() && GetLastError() == kErrorFileNotFound)
        out = File::CreateAlways(printer.docTarget, Share::ReadWrite);
    if (out.IsOpen() && !out.Seek(0, SeekOrigin::End)) return File();
    return out;
}

void BeginDocument(PosixPrinter& printer) {
    printer.docOpen = true;
    printer.docBytes = 0;
    printer.writeFailures = 0;
    printer.docFailed = false;
    printer.docError = 0;
    if (printer.docTarget.empty()) return;  // a port that goes nowhere
    printer.docFile = OpenTarget(printer);
    if (!printer.docFile.IsOpen()) {
        printer.docFailed = true;
        printer.docError = GetLastError();
    }
}

void StreamToTarget(PosixPrinter& printer, const void* data, uint32_t length) {
    if (!printer.docFile.IsOpen() || length == 0) return;
    uint32_t written = 0;
    if (printer.docFile.Write(data, length, &written) && written == length) return;
    printer.docFailed = true;
    printer.docError = GetLastError() != kErrorSuccess ? GetLastError() : kErrorWriteFault;
    printer.docFile = File();  // what follows would leave a gap
}

bool EndDocument(PosixPrinter& printer) {
    printer.docFile = File();
    printer.docOpen = false;
    return !printer.docFailed || Fail(printer.docError);
}

// Whether the injected WritePrinter failure applies to this call.
bool InjectedWriteFailure(PosixPrinter& printer, uint32_t length) {
    const PrinterSetup& setup = printer.setup;
    if (setup.failError == 0 || printer.docBytes + length <= setup.failAfterBytes) return false;
    if (setup.failError == kErrorInvalidParameter && printer.writeFailures >= setup.failCount) return false;
    ++printer.writeFailures;
    return true;
}

}  // namespace

PrinterHandle OpenPrinter(WStringView printerName) {
    auto printer = std::make_unique<PosixPrinter>();
    if (printerName.empty() || !posix::FindPrinterSection(printerName, &printer->setup)) {
        Fail(kErrorInvalidPrinterName);
        return nullptr;
    }
    LogCall(*printer, "OpenPrinter " + Narrow(printer->setup.name));
    HandlesLocked lock;
    LiveHandles().insert(printer.get());
    SetLastError(kErrorSuccess);
    return printer.release();
}

bool ClosePrinter(PrinterHandle handle) {
    PosixPrinter* printer = Lookup(handle);
    if (printer == nullptr) return Fail(kErrorInvalidHandle);
    {
        HandlesLocked lock;
        LiveHandles().erase(printer);
    }
    // Closing in the middle of a document ends it, as the spooler does.
    const bool ok = !printer->docOpen || EndDocument(*printer);
    LogResult(*printer, "ClosePrinter", ok);
    delete printer;
    return ok;
}

bool GetPrinterNames(PrinterHandle handle, PrinterNames* names) {
    PosixPrinter* printer = Lookup(handle);
    if (printer == nullptr) return Fail(kErrorInvalidHandle);
    names->printerName = printer->setup.name;
    names->portName = printer->setup.port;
    return true;
}

uint32_t StartDocPrinter(PrinterHandle handle, WStringView docName, WStringView outputFile,
                         WStringView dataType) {
    PosixPrinter* printer = Lookup(handle);
    if (printer == nullptr) return Fail(kErrorInvalidHandle);
    const std::string call = "StartDocPrinter " + Narrow(docName);
    bool ok = false;
    if (printer->setup.failStartDoc != 0) {
        Fail(printer->setup.failStartDoc);
    } else if (printer->docOpen) {
        Fail(kErrorInvalidPrinterState);
    } else if (!dataType.empty() && !EqualsIgnoreCase(dataType, u"RAW")) {
        Fail(kErrorInvalidDatatype);
    } else {
        ok = true;
    }
    LogResult(*printer, call, ok);
    if (!ok) return 0;
    printer->docReplaces = !outputFile.empty() && !IsPortName(outputFile);
    printer->docTarget = printer->docReplaces ? WString(outputFile) : printer->setup.output;
    BeginDocument(*printer);
    HandlesLocked lock;
    return g_nextJobId++;
}

bool EndDocPrinter(PrinterHandle handle) {
    PosixPrinter* printer = Lookup(handle);
    if (printer == nullptr) return Fail(kErrorInvalidHandle);
    bool ok = false;
    if (printer->setup.failEndDoc != 0) Fail(printer->setup.failEndDoc);
    else if (!printer->docOpen) Fail(kErrorNoStartDoc);
    else ok = EndDocument(*printer);
    return LogResult(*printer, "EndDocPrinter", ok);
}

bool StartPagePrinter(PrinterHandle handle) {
    PosixPrinter* printer = Lookup(handle);
    if (printer == nullptr) return Fail(kErrorInvalidHandle);
    const bool ok = printer->setup.failStartPage == 0 || Fail(printer->setup.failStartPage);
    return LogResult(*printer, "StartPagePrinter", ok);
}

bool EndPagePrinter(PrinterHandle handle) {
    PosixPrinter* printer = Lookup(handle);
    if (printer == nullptr) return Fail(kErrorInvalidHandle);
    const bool ok = printer->setup.failEndPage == 0 || Fail(printer->setup.failEndPage);
    return LogResult(*printer, "EndPagePrinter", ok);
}

bool WritePrinter(PrinterHandle handle, const void* data, uint32_t length, uint32_t* written) {
    if (written) *written = 0;
    PosixPrinter* printer = Lookup(handle);
    if (printer == nullptr) return Fail(kErrorInvalidHandle);
    const std::string call = "WritePrinter " + std::to_string(length);
    bool ok = false;
    if (!printer->docOpen) Fail(kErrorNoStartDoc);
    else if (data == nullptr && length != 0) Fail(kErrorInvalidParameter);
    else if (InjectedWriteFailure(*printer, length)) Fail(printer->setup.failError);
    else ok = true;
    if (ok) {
        StreamToTarget(*printer, data, length);
        printer->docBytes += length;
        if (written) *written = length;
    }
    return LogResult(*printer, call, ok);
}

}  // namespace sys
