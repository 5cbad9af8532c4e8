// A job written through the output writer to a test printer, read back from
// what the printer received.
#include "pipeline/printer_stream.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "decode/stream_decoder.h"
#include "support/temp_folder.h"
#include "support/test_printer.h"

namespace {

using Bytes = std::vector<uint8_t>;
using zebl_test::TestPrinter;

// Plane data of a 16-dot, 2-line band: dots where the bits are 0.
const Bytes kCyan = {0x7F, 0xFF, 0xFF, 0xFF};   // (0, 0)
const Bytes kBlack = {0xFF, 0xFF, 0xFF, 0xFE};  // (15, 1)

class PrinterStream : public zebl_test::TempFolderTest {
protected:
    ~PrinterStream() override { FBOutClose(&out_); }

    void Open(const TestPrinter& printer) {
        ASSERT_TRUE(printer.Ready());
        FBOutSetDocinfo(&out_, u"stream", printer.OutputPath(), u"RAW");
        ASSERT_EQ(FBOutOpen(&out_, printer.Name(), nullptr), 1);
        ASSERT_EQ(FBOutStartDoc(&out_), 1);
    }

    // One page whose band `band` holds a cyan and a black plane, as the
    // band printer writes them.
    void WritePage(uint32_t band) {
        ASSERT_EQ(FBOutStartPage(&out_), 1);
        ASSERT_EQ(WritePageHeader(&out_, page_, settings_), 1);
        ASSERT_EQ(WriteBandHeaderColor(&out_, band, 0x0A, 16, 2, 4, kPlaneCyan), 1);
        ASSERT_EQ(WriteBandBuffer(&out_, kCyan.data(), 4), 1);
        ASSERT_EQ(WriteBandRepeatedHeaderColor(&out_, 0x0A, 4, kPlaneBlack), 1);
        ASSERT_EQ(WriteBandBuffer(&out_, kBlack.data(), 4), 1);
        const uint8_t bandEnd = kRecordBandEnd;
        ASSERT_EQ(FBOutWrite(&out_, &bandEnd, 1, kStreamPage), 1);
        ASSERT_EQ(WritePageTrailer(&out_, page_, settings_), 1);
        ASSERT_EQ(FBOutEndPage(&out_), 1);
    }

    void Finish() {
        ASSERT_EQ(WriteJobTrailer(&out_), 1);
        ASSERT_EQ(FBOutFlush(&out_), 1);
        ASSERT_EQ(FBOutEndDoc(&out_), 1);
        ASSERT_EQ(FBOutClose(&out_), 1);
    }

    FBOut out_;
    FBPage page_ = SmallPage();
    FBSettings settings_ = DuplexSettings();

private:
    static FBPage SmallPage() {
        FBPage page;
        page.paperCode = 5;  // Legal
        page.resolution = 300;
        page.outputResolution = 300;
        page.printableWidth = 16;
        page.printableHeight = 8;
        page.paperSource = 4;
        page.copies = 1;
        return page;
    }
    static FBSettings DuplexSettings() {
        FBSettings s;
        s.colourIndex = 1;
        s.paperTypeIndex = 255;
        s.jamRecoveryIndex = 255;
        s.duplexType = kDuplexReverseLongEdge;
        return s;
    }
};

TEST_F(PrinterStream, AJobReadsBackPageByPage) {
    TestPrinter printer(temp_);
    Open(printer);
    ASSERT_EQ(WriteJobHeader(&out_, page_, &settings_), 1);
    EXPECT_FALSE(out_.recording);  // one copy: nothing to record
    WritePage(1);
    WritePage(3);
    Finish();

    const Bytes output = printer.Output();
    const std::string exit("\x1B%-12345X", 9);
    const std::string expectedHeader = exit +
                                       "@PJL SET COLORMODE = COLOR\r\n@PJL SET RET = OFF\r\n"
                                       "@PJL SET DUPLEX=ON\r\n@PJL SET BINDING=REVERSE_LONGEDGE\r\n"
                                       "@PJL ENTER LANGUAGE = ZEBL\r\n";
    ASSERT_GT(output.size(), expectedHeader.size() + 10);
    EXPECT_EQ(std::string(output.begin(), output.begin() + expectedHeader.size()), expectedHeader);
    EXPECT_EQ(std::string(output.end() - 10, output.end()), "\x09" + exit);

    DecodedJob job;
    std::string error;
    ASSERT_TRUE(DecodeStream(output.data(), output.size(), &job, &error)) << error;
    ASSERT_EQ(job.pages.size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        const DecodedPage& page = job.pages[i];
        EXPECT_EQ(page.header.resolutionCode, 3);
        EXPECT_EQ(page.header.paperSize, 1);    // Legal
        EXPECT_EQ(page.header.paperSource, 2);  // bin 4
        EXPECT_EQ(page.header.longEdge, 1);
        EXPECT_EQ(page.header.oddPage, i == 0 ? 1 : 0);  // the writer's page counter
        ASSERT_EQ(page.bands.size(), 1u);
        const uint32_t top = i == 0 ? 2 : 6;
        EXPECT_EQ(page.bands[0].firstLine, top);
        EXPECT_TRUE(page.Plane(kPlaneCyan).Dot(0, top));
        EXPECT_TRUE(page.Plane(kPlaneBlack).Dot(15, top + 1));
        EXPECT_EQ(page.Plane(kPlaneCyan).dots + page.Plane(kPlaneBlack).dots, 2u);
    }
}

TEST_F(PrinterStream, CollatedCopiesRepeatThePagesBetweenOneHeaderAndTrailer) {
    TestPrinter printer(temp_);
    Open(printer);
    out_.copyRepeatCount = 2;
    page_.copies = 1;  // collated: every page goes out once per copy
    ASSERT_EQ(WriteJobHeader(&out_, page_, &settings_), 1);
    EXPECT_TRUE(out_.recording);  // the job header started the recording
    WritePage(0);
    Finish();

    DecodedJob job;
    std::string error;
    const Bytes output = printer.Output();
    ASSERT_TRUE(DecodeStream(output.data(), output.size(), &job, &error)) << error;
    ASSERT_EQ(job.pages.size(), 3u);
    // The copies replay the recorded bytes, odd-page flag included.
    for (const DecodedPage& page : job.pages) {
        EXPECT_EQ(page.header.oddPage, 1);
        EXPECT_TRUE(page.Plane(kPlaneCyan).Dot(0, 0));
    }
    EXPECT_EQ(*job.Set("COLORMODE"), "COLOR");
    EXPECT_EQ(job.pjl.size(), 4u);  // one header only
}

TEST_F(PrinterStream, RefusedWritesSendNothing) {
    // No printer: every write fails.
    EXPECT_EQ(WriteJobTrailer(&out_), 0);
    EXPECT_EQ(WriteBandBuffer(&out_, kCyan.data(), 4), 0);

    TestPrinter printer(temp_);
    Open(printer);
    ASSERT_EQ(FBOutStartPage(&out_), 1);
    EXPECT_EQ(WriteBandBuffer(&out_, nullptr, 4), 0);
    EXPECT_EQ(WriteBandBuffer(&out_, kCyan.data(), 0), 0);
    FBPage huge = page_;
    huge.printableWidth = 70000;
    EXPECT_EQ(WritePageHeader(&out_, huge, settings_), 0);
    EXPECT_EQ(WriteBandHeaderColor(&out_, 0, 0x0A, 0x10000, 2, 4, kPlaneBlack), 0);
    EXPECT_EQ(out_.fill, 0u);
    ASSERT_EQ(FBOutEndPage(&out_), 1);
    ASSERT_EQ(FBOutEndDoc(&out_), 1);
    ASSERT_EQ(FBOutClose(&out_), 1);
    EXPECT_TRUE(printer.Output().empty());
}

}  // namespace
