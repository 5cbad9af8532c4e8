#include "decode/stream_report.h"

#include <gtest/gtest.h>

#include <string>

#include "decode/stream_decoder.h"
#include "tools/stream_bytes.h"

namespace {

using zebl_test::StreamBytes;

bool Has(const std::string& report, const std::string& line) {
    return report.find(line) != std::string::npos;
}

TEST(StreamReport, SumsPlanesAndCompressionPerPageAndJob) {
    StreamBytes s;
    s.Exit().Text("@PJL SET COLORMODE = COLOR\r\n@PJL DEFAULT TIMEOUT = 15\r\n@PJL\r\n");
    s.Text("@PJL ENTER LANGUAGE = ZEBL\r\n");
    s.Page(6, 2, 0, 16, 8, 4, 1, 1);
    // Band 0: cyan (2 dots) and black (16 dots), both raw.
    s.Band(0, 16, 2, 1, 0x0A, {0x7F, 0xFF, 0xFF, 0xFE}).Plane(4, 0x0A, {0x00, 0x00, 0xFF, 0xFF}).U8(0);
    // Band 3: black in the offset-table block's raw form (1 dot).
    s.Band(3, 16, 2, 4, 0x11, {0xEF, 0xCD, 0xAB, 0x09, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE});
    s.U8(0).U8(1).BE16(2);
    s.Page(3, 1, 2, 8, 8).U8(1).BE16(1);
    s.U8(9).Exit();

    DecodedJob job;
    std::string error;
    ASSERT_TRUE(DecodeStream(s.bytes.data(), s.bytes.size(), &job, &error)) << error;
    const std::string report = FormatStreamReport(job);
    EXPECT_TRUE(Has(report, "Job: 2 pages, language ZEBL\n")) << report;
    EXPECT_TRUE(Has(report, "  SET COLORMODE = COLOR\n  DEFAULT TIMEOUT = 15\n  @PJL\n")) << report;
    EXPECT_TRUE(Has(report, "  resolution 600 dpi, 16 x 8 dots, copies 2 (trailer 2)\n")) << report;
    EXPECT_TRUE(Has(report, "  paper size code 0, paper source code 4, long edge 1, odd page 1\n"));
    EXPECT_TRUE(Has(report, "  band records: 2 of 16 x 2 dots, holding 3 planes\n")) << report;
    EXPECT_TRUE(Has(report, "  plane 1 cyan    in 1 bands: 4 bytes, 2 dots\n")) << report;
    EXPECT_TRUE(Has(report, "  plane 4 black   in 2 bands: 16 bytes, 17 dots\n")) << report;
    EXPECT_FALSE(Has(report, "plane 2 magenta"));
    EXPECT_TRUE(Has(report,
                    "    0x0A raw               2 planes            8 bytes\n"
                    "    0x11 offset table      1 planes           12 bytes\n"
                    "    0x12 LZW               0 planes            0 bytes\n"))
        << report;
    EXPECT_TRUE(Has(report, "Page 2 (byte offset ")) << report;
    EXPECT_TRUE(Has(report, "  no bands (a white page)\n")) << report;
    EXPECT_FALSE(Has(report, "right of or below the page"));
    EXPECT_FALSE(Has(report, "    band 3 (number 3)"));

    ReportOptions options;
    options.listBands = true;
    const std::string detailed = FormatStreamReport(job, options);
    EXPECT_TRUE(Has(detailed, "    band 3 (number 3) lines 6-7, 16 dots wide, byte offset ")) << detailed;
    EXPECT_TRUE(Has(detailed, "      plane 4 black   0x11       12 bytes          1 dots\n")) << detailed;
}

}  // namespace
