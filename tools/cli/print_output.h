// Where `zebl print` sends the printed document. The output is checked
// before the job is played and settled after it, and nothing that was there
// before the run is deleted or left half written:
//
//   "-"                  standard output: the printer writes a temporary
//                        file, copied to standard output once the job
//                        succeeded (and removed)
//   a device or a pipe   (/dev/null, a FIFO, NUL, COM1) written directly by
//                        the printer: never created, truncated or deleted
//   a file, new or old   the printer writes a new temporary file in the same
//                        folder, renamed over the file only when the job
//                        succeeded; a failed job leaves the folder as it was
//   a folder, or a path in a folder that does not exist: refused
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "sys/text.h"

class PrintOutput {
public:
    enum class Kind { StandardOutput, Device, File };

    PrintOutput() = default;
    ~PrintOutput();  // removes the temporary file unless it was committed
    PrintOutput(const PrintOutput&) = delete;
    PrintOutput& operator=(const PrintOutput&) = delete;

    // Checks the output named on the command line ("-" for standard output)
    // and makes the temporary file where one is needed. False and a message
    // when the output cannot be written.
    bool Prepare(const std::string& argument, std::string* error);

    Kind GetKind() const { return kind_; }
    // The file the printer writes: the device itself or the temporary file.
    const sys::WString& PrinterPath() const { return printerPath_; }
    // The bytes the printer put into the temporary file (0 for a device).
    uint64_t PrintedBytes() const;

    // After a successful job: the temporary file replaces the target or goes
    // to `standardOutput`. False and a message when that fails (the target
    // is then left as it was).
    bool Commit(std::FILE* standardOutput, std::string* error);

private:
    bool CopyToStandardOutput(std::FILE* out, std::string* error) const;
    void RemoveTemporary();

    std::string argument_;
    Kind kind_ = Kind::File;
    sys::WString target_;  // the file to replace (Kind::File)
    sys::WString printerPath_;
    bool temporary_ = false;  // printerPath_ is our temporary file
};
