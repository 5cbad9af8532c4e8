// What the posix layer adds to the Windows behaviour: the machine root, host
// paths, the printer configuration with its call log and failure injection,
// and the Windows error texts. Natively only.
#ifndef _WIN32

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "support/temp_folder.h"
#include "support/test_printer.h"
#include "sys/diagnostics.h"
#include "sys/files.h"
#include "sys/last_error.h"
#include "sys/printer_setup.h"
#include "sys/spooler.h"

namespace {

std::string MachineRootForTest() {
    const char* configured = std::getenv("ZSYS_MACHINE_ROOT");
    if (configured && *configured) return configured;
    const char* tmp = std::getenv("TMPDIR");
    return std::string(tmp && *tmp ? tmp : "/tmp") + "/zsys-machine";
}

std::string HostRead(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

using PosixLayer = zebl_test::TempFolderTest;

TEST_F(PosixLayer, DrivePathsLiveUnderTheMachineRoot) {
    // The temporary folder is C:\TEMP\, i.e. <root>/c/TEMP/ (any case).
    ASSERT_EQ(temp_.Path().compare(0, 8, u"C:\\TEMP\\"), 0);
    const sys::WString path = temp_.Join(u"Host.txt");
    {
        sys::File file = sys::File::CreateAlways(path);
        uint32_t written = 0;
        ASSERT_TRUE(file.Write("via windows", 11, &written));
    }
    const std::string relative = sys::Narrow(path.substr(3));  // after "C:\"
    std::string host = MachineRootForTest() + "/c/";
    for (char c : relative) host += c == '\\' ? '/' : c;
    EXPECT_EQ(HostRead(host), "via windows");
}

TEST_F(PosixLayer, HostPathsStartWithASlash) {
    char name[] = "/tmp/zsys-hostpath-XXXXXX";
    const int fd = mkstemp(name);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(write(fd, "host", 4), 4);
    close(fd);
    const sys::WString path = sys::Widen(name);
    EXPECT_EQ(sys::GetFileAttributes(path) & sys::kAttrDirectory, 0u);
    sys::File file = sys::File::OpenExisting(path, false, sys::Share::ReadWrite);
    char text[8] = {};
    uint32_t got = 0;
    ASSERT_TRUE(file.Read(text, 8, &got));
    EXPECT_EQ(std::string(text, got), "host");
    file.Close();
    EXPECT_TRUE(sys::DeleteFile(path));
}

TEST_F(PosixLayer, DotsAndInvalidNamesAreHandledAsWindowsDoes) {
    ASSERT_TRUE(sys::CreateDirectory(temp_.Join(u"a")));
    {
        sys::File file = sys::File::CreateAlways(temp_.Join(u"a\\..\\a\\.\\x.txt. "));
        ASSERT_TRUE(file.IsOpen());
    }
    EXPECT_NE(sys::GetFileAttributes(temp_.Join(u"A\\X.TXT")), sys::kInvalidAttributes);
    EXPECT_FALSE(sys::File::CreateAlways(temp_.Join(u"bad|name")).IsOpen());
    EXPECT_EQ(sys::GetLastError(), sys::kErrorInvalidName);
    EXPECT_FALSE(sys::File::CreateAlways(u"\\\\server\\share\\x").IsOpen());
    EXPECT_EQ(sys::GetLastError(), sys::kErrorBadNetPath);
    EXPECT_FALSE(sys::File::OpenExisting(u"", false, sys::Share::ReadWrite).IsOpen());
    EXPECT_EQ(sys::GetLastError(), sys::kErrorPathNotFound);
}

TEST_F(PosixLayer, ReadOnlyFilesRefuseWritingEvenForRoot) {
    const sys::WString path = temp_.Join(u"ro.txt");
    ASSERT_TRUE(sys::File::CreateAlways(path).IsOpen());
    ASSERT_TRUE(sys::SetFileAttributes(path, sys::kAttrReadOnly));
    EXPECT_FALSE(sys::File::CreateAlways(path).IsOpen());
    EXPECT_EQ(sys::GetLastError(), sys::kErrorAccessDenied);
    EXPECT_FALSE(sys::File::OpenExisting(path, true, sys::Share::ReadWrite).IsOpen());
    EXPECT_TRUE(sys::File::OpenExisting(path, false, sys::Share::ReadWrite).IsOpen());
    // A file never touched reports "archive"; "normal" is kept when set.
    EXPECT_TRUE(sys::SetFileAttributes(path, sys::kAttrNormal));
    EXPECT_EQ(sys::GetFileAttributes(path), sys::kAttrNormal);
}

TEST(PosixErrorText, HasTheWindowsTexts) {
    EXPECT_EQ(sys::ErrorText(2), "The system cannot find the file specified.");
    EXPECT_EQ(sys::ErrorText(32),
              "The process cannot access the file because it is being used by another process.");
    EXPECT_EQ(sys::ErrorText(87), "The parameter is incorrect.");
    EXPECT_EQ(sys::ErrorText(1801), "The printer name is invalid.");
}

class PosixPrinters : public zebl_test::TempFolderTest {
protected:
    // One document "abc" + "defg" on a printer set up by hand.
    bool PrintTwoWrites(const sys::WString& name, sys::WStringView outputFile) {
        sys::PrinterHandle handle = sys::OpenPrinter(name);
        if (handle == nullptr) return false;
        uint32_t written = 0;
        const bool ok = sys::StartDocPrinter(handle, u"doc", outputFile, u"RAW") != 0 &&
                        sys::WritePrinter(handle, "abc", 3, &written) &&
                        sys::WritePrinter(handle, "defg", 4, &written) && sys::EndDocPrinter(handle);
        return sys::ClosePrinter(handle) && ok;
    }
};

TEST_F(PosixPrinters, DocumentsWithoutAnOutputFileAreAppendedToThePrintersOutput) {
    sys::PrinterSetup setup;
    setup.name = u"ZEBL Posix " + temp_.UniqueTag();
    setup.port = u"USB001";
    setup.output = temp_.Join(u"port.prn");
    ASSERT_TRUE(sys::AddPrinter(setup));
    ASSERT_TRUE(PrintTwoWrites(setup.name, u""));
    ASSERT_TRUE(PrintTwoWrites(setup.name, u"USB001:"));  // a port name is no file
    EXPECT_EQ(zebl_test::ReadWholeFile(setup.output).size(), 14u);
    // A document's own output file is replaced, as print-to-file does.
    ASSERT_TRUE(PrintTwoWrites(setup.name, setup.output));
    EXPECT_EQ(zebl_test::ReadWholeFile(setup.output),
              (std::vector<uint8_t>{'a', 'b', 'c', 'd', 'e', 'f', 'g'}));

    sys::PrinterHandle handle = sys::OpenPrinter(setup.name);
    sys::PrinterNames names;
    ASSERT_TRUE(sys::GetPrinterNames(handle, &names));
    EXPECT_EQ(names.portName, u"USB001");
    sys::ClosePrinter(handle);
    EXPECT_TRUE(sys::DeletePrinter(setup.name));
    EXPECT_FALSE(sys::DeletePrinter(setup.name));
}

TEST_F(PosixPrinters, WriteFailuresWithError87StopAfterTheirCount) {
    zebl_test::PrinterFaults faults;
    faults.failAfterBytes = 5;
    faults.failError = 87;
    faults.failCount = 2;
    zebl_test::TestPrinter printer(temp_, faults);
    sys::PrinterHandle handle = sys::OpenPrinter(printer.Name());
    ASSERT_NE(handle, nullptr);
    ASSERT_NE(sys::StartDocPrinter(handle, u"doc", printer.OutputPath(), u""), 0u);
    uint32_t written = 0;
    EXPECT_TRUE(sys::WritePrinter(handle, "abc", 3, &written));   // 3 <= 5
    EXPECT_FALSE(sys::WritePrinter(handle, "def", 3, &written));  // 6 > 5
    EXPECT_EQ(sys::GetLastError(), 87u);
    EXPECT_FALSE(sys::WritePrinter(handle, "def", 3, &written));
    EXPECT_TRUE(sys::WritePrinter(handle, "def", 3, &written));  // third try goes through
    EXPECT_TRUE(sys::WritePrinter(handle, "gh", 2, &written));
    EXPECT_TRUE(sys::EndDocPrinter(handle));
    EXPECT_TRUE(sys::ClosePrinter(handle));
    EXPECT_EQ(printer.Output(), (std::vector<uint8_t>{'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h'}));
    EXPECT_EQ(printer.WriteSizes(), (std::vector<uint32_t>{3, 3, 2}));
    EXPECT_EQ(printer.Calls(),
              (std::vector<std::string>{
                  "OpenPrinter " + sys::Narrow(printer.Name()), "StartDocPrinter doc ok", "WritePrinter 3 ok",
                  "WritePrinter 3 fail 87", "WritePrinter 3 fail 87", "WritePrinter 3 ok",
                  "WritePrinter 2 ok", "EndDocPrinter ok", "ClosePrinter ok"}));
}

TEST_F(PosixPrinters, OtherWriteFailuresAndBracketFailuresPersist) {
    zebl_test::PrinterFaults faults;
    faults.failAfterBytes = 0;
    faults.failError = 29;
    faults.failStartPage = 5;
    faults.failEndPage = 6;
    zebl_test::TestPrinter printer(temp_, faults);
    sys::PrinterHandle handle = sys::OpenPrinter(printer.Name());
    ASSERT_NE(sys::StartDocPrinter(handle, u"doc", printer.OutputPath(), u"RAW"), 0u);
    uint32_t written = 0;
    for (int i = 0; i < 5; ++i) {
        EXPECT_FALSE(sys::WritePrinter(handle, "a", 1, &written));
        EXPECT_EQ(sys::GetLastError(), 29u);
    }
    EXPECT_FALSE(sys::StartPagePrinter(handle));
    EXPECT_EQ(sys::GetLastError(), 5u);
    EXPECT_FALSE(sys::EndPagePrinter(handle));
    EXPECT_EQ(sys::GetLastError(), 6u);
    EXPECT_FALSE(sys::StartDocPrinter(handle, u"again", printer.OutputPath(), u"RAW"));
    EXPECT_EQ(sys::GetLastError(), sys::kErrorInvalidPrinterState);
    EXPECT_TRUE(sys::ClosePrinter(handle));
    EXPECT_TRUE(printer.Output().empty());
    EXPECT_EQ(printer.CountCalls("WritePrinter"), 5);

    zebl_test::PrinterFaults docFault;
    docFault.failStartDoc = 1804;
    zebl_test::TestPrinter refusing(temp_, docFault);
    handle = sys::OpenPrinter(refusing.Name());
    EXPECT_EQ(sys::StartDocPrinter(handle, u"doc", refusing.OutputPath(), u"RAW"), 0u);
    EXPECT_EQ(sys::GetLastError(), 1804u);
    EXPECT_TRUE(sys::ClosePrinter(handle));
    EXPECT_FALSE(sys::ClosePrinter(handle));  // a stale handle is refused, not used
    EXPECT_EQ(sys::GetLastError(), sys::kErrorInvalidHandle);
}

}  // namespace

#endif  // _WIN32
