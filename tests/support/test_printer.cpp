#include "support/test_printer.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "sys/files.h"
#include "sys/last_error.h"
#include "sys/printer_setup.h"

namespace zebl_test {
namespace {

sys::PrinterSetup SetupFor(const sys::WString& name, const sys::WString& output, const sys::WString& callLog,
                           const PrinterFaults& faults) {
    sys::PrinterSetup setup;
    setup.name = name;
    if (!sys::PrinterSetupSupportsFaults()) return setup;
    setup.output = output;
    setup.callLog = callLog;
    setup.failAfterBytes = faults.failAfterBytes;
    setup.failError = faults.failError;
    setup.failCount = faults.failCount;
    setup.failStartDoc = faults.failStartDoc;
    setup.failStartPage = faults.failStartPage;
    setup.failEndPage = faults.failEndPage;
    setup.failEndDoc = faults.failEndDoc;
    return setup;
}

std::vector<std::string> SplitLines(const std::vector<uint8_t>& bytes) {
    std::vector<std::string> lines;
    std::string line;
    for (uint8_t byte : bytes) {
        if (byte == '\n') {
            lines.push_back(line);
            line.clear();
        } else if (byte != '\r') {
            line.push_back(static_cast<char>(byte));
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

}  // namespace

std::vector<uint8_t> ReadWholeFile(sys::WStringView path) {
    std::vector<uint8_t> bytes;
    sys::File file = sys::File::OpenExisting(path, false, sys::Share::ReadWrite);
    if (!file.IsOpen()) return bytes;
    uint8_t chunk[65536];
    uint32_t got = 0;
    while (file.Read(chunk, sizeof chunk, &got) && got > 0) bytes.insert(bytes.end(), chunk, chunk + got);
    return bytes;
}

bool TestPrinter::FaultsSupported() { return sys::PrinterSetupSupportsFaults(); }

TestPrinter::TestPrinter(const TempFolder& folder, const PrinterFaults& faults) {
    static int s_count = 0;
    if (folder.Path().empty()) return;
    const sys::WString number = sys::Widen(std::to_string(++s_count));
    name_ = u"ZEBL Test " + folder.UniqueTag() + u" " + number;
    output_ = folder.Join(u"printer" + number + u".prn");
    callLog_ = folder.Join(u"printer" + number + u"-calls.log");
    ready_ = sys::AddPrinter(SetupFor(name_, output_, callLog_, faults));
    if (!ready_) ADD_FAILURE() << "cannot add printer, error " << sys::GetLastError();
}

TestPrinter::~TestPrinter() {
    if (ready_) {
        EXPECT_TRUE(sys::DeletePrinter(name_)) << "error " << sys::GetLastError();
    }
}

std::vector<uint8_t> TestPrinter::Output() const { return ReadWholeFile(output_); }

std::vector<std::string> TestPrinter::Calls() const { return SplitLines(ReadWholeFile(callLog_)); }

std::vector<uint32_t> TestPrinter::WriteSizes() const {
    std::vector<uint32_t> sizes;
    for (const std::string& line : Calls()) {
        // "WritePrinter <bytes> ok"
        const std::string prefix = "WritePrinter ";
        if (line.compare(0, prefix.size(), prefix) != 0) continue;
        char* end = nullptr;
        const unsigned long size = std::strtoul(line.c_str() + prefix.size(), &end, 10);
        if (end != line.c_str() + prefix.size() && std::string(end) == " ok")
            sizes.push_back(static_cast<uint32_t>(size));
    }
    return sizes;
}

int TestPrinter::CountCalls(const std::string& call) const {
    int count = 0;
    for (const std::string& line : Calls())
        if (line.compare(0, call.size() + 1, call + " ") == 0) ++count;
    return count;
}

}  // namespace zebl_test
