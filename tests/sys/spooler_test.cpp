#include "sys/spooler.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"
#include "support/test_printer.h"
#include "sys/last_error.h"

namespace {

using zebl_test::TestPrinter;
using Spooler = zebl_test::TempFolderTest;

// Lower-case ASCII, for opening a printer by another spelling.
sys::WString Lower(sys::WString text) {
    for (char16_t& c : text)
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
    return text;
}

TEST_F(Spooler, BytesArriveUnchangedAndNamesAreReported) {
    TestPrinter printer(temp_);
    ASSERT_TRUE(printer.Ready());
    sys::PrinterHandle handle = sys::OpenPrinter(Lower(printer.Name()));
    ASSERT_NE(handle, nullptr) << sys::GetLastError();

    sys::PrinterNames names;
    ASSERT_TRUE(sys::GetPrinterNames(handle, &names));
    EXPECT_EQ(names.printerName, printer.Name());
    EXPECT_EQ(names.portName, u"LPT1:");

    // Every byte value, in pieces of odd sizes, including an empty write.
    std::vector<uint8_t> sent(4 * 256 + 17);
    for (size_t i = 0; i < sent.size(); ++i) sent[i] = static_cast<uint8_t>(i * 31 + 5);
    ASSERT_NE(sys::StartDocPrinter(handle, u"round trip", printer.OutputPath(), u"RAW"), 0u)
        << sys::GetLastError();
    ASSERT_TRUE(sys::StartPagePrinter(handle));
    uint32_t written = 0;
    size_t offset = 0;
    for (uint32_t piece : {1u, 0u, 255u, 256u, 300u, 4u}) {
        ASSERT_TRUE(sys::WritePrinter(handle, sent.data() + offset, piece, &written));
        EXPECT_EQ(written, piece);
        offset += piece;
    }
    ASSERT_TRUE(sys::WritePrinter(handle, sent.data() + offset, static_cast<uint32_t>(sent.size() - offset),
                                  &written));
    ASSERT_TRUE(sys::EndPagePrinter(handle));
    ASSERT_TRUE(sys::EndDocPrinter(handle));
    EXPECT_TRUE(sys::ClosePrinter(handle));
    EXPECT_EQ(printer.Output(), sent);
}

TEST_F(Spooler, WritingOutsideADocumentFails) {
    TestPrinter printer(temp_);
    ASSERT_TRUE(printer.Ready());
    sys::PrinterHandle handle = sys::OpenPrinter(printer.Name());
    ASSERT_NE(handle, nullptr);
    uint32_t written = 5;
    EXPECT_FALSE(sys::WritePrinter(handle, "x", 1, &written));
    EXPECT_EQ(written, 0u);
    EXPECT_EQ(sys::GetLastError(), sys::kErrorNoStartDoc);
    EXPECT_FALSE(sys::EndDocPrinter(handle));
    EXPECT_TRUE(sys::ClosePrinter(handle));
    EXPECT_TRUE(printer.Output().empty());
}

TEST_F(Spooler, ClosingInTheMiddleOfADocumentDeliversIt) {
    TestPrinter printer(temp_);
    ASSERT_TRUE(printer.Ready());
    sys::PrinterHandle handle = sys::OpenPrinter(printer.Name());
    ASSERT_NE(handle, nullptr);
    ASSERT_NE(sys::StartDocPrinter(handle, u"doc", printer.OutputPath(), u"RAW"), 0u);
    uint32_t written = 0;
    ASSERT_TRUE(sys::WritePrinter(handle, "abc", 3, &written));
    EXPECT_TRUE(sys::ClosePrinter(handle));
    EXPECT_EQ(printer.Output(), (std::vector<uint8_t>{'a', 'b', 'c'}));
}

TEST_F(Spooler, DocumentStreamsToItsFileBeforeItEnds) {
    if (!TestPrinter::FaultsSupported())
        GTEST_SKIP() << "the system's spooler decides when the file is written";
    TestPrinter printer(temp_);
    ASSERT_TRUE(printer.Ready());
    sys::PrinterHandle handle = sys::OpenPrinter(printer.Name());
    ASSERT_NE(handle, nullptr);
    ASSERT_NE(sys::StartDocPrinter(handle, u"doc", printer.OutputPath(), u"RAW"), 0u);
    uint32_t written = 0;
    ASSERT_TRUE(sys::WritePrinter(handle, "abc", 3, &written));
    // Nothing is held back for the end: a long job's stream never sits in memory.
    EXPECT_EQ(zebl_test::ReadWholeFile(printer.OutputPath()), (std::vector<uint8_t>{'a', 'b', 'c'}));
    ASSERT_TRUE(sys::WritePrinter(handle, "de", 2, &written));
    EXPECT_TRUE(sys::EndDocPrinter(handle));
    EXPECT_TRUE(sys::ClosePrinter(handle));
    EXPECT_EQ(printer.Output(), (std::vector<uint8_t>{'a', 'b', 'c', 'd', 'e'}));
}

TEST(SpoolerNames, UnknownPrinterAndNullHandleAreRefused) {
    EXPECT_EQ(sys::OpenPrinter(u"ZEBL No Such Printer 4711"), nullptr);
    EXPECT_EQ(sys::GetLastError(), sys::kErrorInvalidPrinterName);
    uint32_t written = 0;
    EXPECT_FALSE(sys::WritePrinter(nullptr, "x", 1, &written));
    EXPECT_EQ(sys::GetLastError(), sys::kErrorInvalidHandle);
    sys::PrinterNames names;
    EXPECT_FALSE(sys::GetPrinterNames(nullptr, &names));
}

TEST_F(Spooler, DeletedPrinterCannotBeOpened) {
    sys::WString name;
    {
        TestPrinter printer(temp_);
        ASSERT_TRUE(printer.Ready());
        name = printer.Name();
        sys::PrinterHandle handle = sys::OpenPrinter(name);
        ASSERT_NE(handle, nullptr);
        sys::ClosePrinter(handle);
    }
    EXPECT_EQ(sys::OpenPrinter(name), nullptr);
    EXPECT_EQ(sys::GetLastError(), sys::kErrorInvalidPrinterName);
}

}  // namespace
