// A spooler printer for one test whose documents end up in a file in the
// test's temporary folder. Print with the document output file
// OutputPath() (StartDocPrinter's output file, or the writer's document
// information), then read what arrived with Output().
//
// Natively the printer is a section of the posix layer's printers.ini, with
// a log of every spooler call and optional failure injection. Under Wine it
// is a real spooler printer; there is no call log and no failure injection,
// so tests that need them skip (see FaultsSupported).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "support/temp_folder.h"
#include "sys/text.h"

namespace zebl_test {

struct PrinterFaults {
    // WritePrinter calls that would take the document past failAfterBytes
    // fail with failError (87: failCount times, then they go through).
    uint64_t failAfterBytes = UINT64_MAX;
    uint32_t failError = 0;
    uint32_t failCount = 3;
    // Bracket calls that fail with the given error.
    uint32_t failStartDoc = 0;
    uint32_t failStartPage = 0;
    uint32_t failEndPage = 0;
    uint32_t failEndDoc = 0;
};

class TestPrinter {
public:
    explicit TestPrinter(const TempFolder& folder, const PrinterFaults& faults = {});
    ~TestPrinter();
    TestPrinter(const TestPrinter&) = delete;
    TestPrinter& operator=(const TestPrinter&) = delete;

    // Whether failure injection and the call log exist in this build.
    static bool FaultsSupported();

    bool Ready() const { return ready_; }
    const sys::WString& Name() const { return name_; }
    const sys::WString& OutputPath() const { return output_; }

    // The bytes printed so far (documents that have ended); empty when none.
    std::vector<uint8_t> Output() const;

    // The spooler calls on this printer, one per line, e.g. "WritePrinter
    // 4096 ok", "StartDocPrinter Unknown ok", "EndDocPrinter fail 5".
    std::vector<std::string> Calls() const;
    // The lengths of the WritePrinter calls that succeeded, in order.
    std::vector<uint32_t> WriteSizes() const;
    // How many calls of that kind ("WritePrinter", "ClosePrinter", ...).
    int CountCalls(const std::string& call) const;

private:
    sys::WString name_;
    sys::WString output_;
    sys::WString callLog_;
    bool ready_ = false;
};

// Reads a whole file through the system layer; empty when it is missing.
std::vector<uint8_t> ReadWholeFile(sys::WStringView path);

}  // namespace zebl_test
