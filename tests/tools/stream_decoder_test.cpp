#include "decode/stream_decoder.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tools/stream_bytes.h"

namespace {

using zebl_test::StreamBytes;

// A whole mono job, written out byte by byte from the stream layout:
//   0   ESC %-12345X
//   9   "@PJL SET RET = OFF\r\n"
//   29  "@PJL ENTER LANGUAGE = ZEBL\r\n"
//   57  page header: 300 dpi, 1 copy, paper 2, 20 x 10 dots, source 1
//   74  band header: band 1, 24 dots x 4 lines, plane 4, raw, 12 + 4 bytes
//   86  12 bytes of plane data (lines 4 to 7 of the page)
//   98  checksum 0x00000B5B
//   102 band end
//   103 page trailer, 1 copy
//   106 job trailer
const std::vector<uint8_t> kMonoJob = {
    0x1B, '%',  '-',  '1',  '2',  '3',  '4',  '5',  'X',  '@',  'P',  'J',  'L',  ' ',  'S',
    'E',  'T',  ' ',  'R',  'E',  'T',  ' ',  '=',  ' ',  'O',  'F',  'F',  '\r', '\n', '@',
    'P',  'J',  'L',  ' ',  'E',  'N',  'T',  'E',  'R',  ' ',  'L',  'A',  'N',  'G',  'U',
    'A',  'G',  'E',  ' ',  '=',  ' ',  'Z',  'E',  'B',  'L',  '\r', '\n', 0x00, 0x03, 0x00,
    0x01, 0x02, 0x00, 0x14, 0x00, 0x0A, 0x01, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x0C,
    0x01, 0x00, 0x18, 0x00, 0x04, 0x04, 0x0A, 0x00, 0x00, 0x00, 0x10, 0x7F, 0xFF, 0xFF,  // line 4: dot at x 0
    0xFF, 0xFF, 0xF7,  // line 5: dot at x 20, right of the page
    0xFF, 0xFF, 0xEF,  // line 6: dot at x 19
    0xFE, 0xFF, 0xFF,  // line 7: dot at x 7
    0x00, 0x00, 0x0B, 0x5B, 0x00, 0x01, 0x00, 0x01, 0x09, 0x1B, '%',  '-',  '1',  '2',  '3',
    '4',  '5',  'X',
};

// Decodes a copy of exactly `size` bytes on the heap, so that the sanitizer
// catches any read past the end.
bool Decode(const std::vector<uint8_t>& stream, size_t size, DecodedJob* job, std::string* error,
            const DecodeOptions& options = {}) {
    std::unique_ptr<uint8_t[]> copy(new uint8_t[size > 0 ? size : 1]);
    std::copy(stream.begin(), stream.begin() + static_cast<std::ptrdiff_t>(size), copy.get());
    return DecodeStream(copy.get(), size, options, job, error);
}

bool Decode(const std::vector<uint8_t>& stream, DecodedJob* job, std::string* error) {
    return Decode(stream, stream.size(), job, error);
}

// The message for a mono job with one byte changed.
std::string ErrorWith(size_t offset, uint8_t value) {
    std::vector<uint8_t> stream = kMonoJob;
    stream.at(offset) = value;
    DecodedJob job;
    std::string error;
    EXPECT_FALSE(Decode(stream, &job, &error)) << "offset " << offset;
    return error;
}

TEST(StreamDecoder, ReadsAHandWrittenMonoJob) {
    ASSERT_EQ(kMonoJob.size(), 116u);
    DecodedJob job;
    std::string error;
    ASSERT_TRUE(Decode(kMonoJob, &job, &error)) << error;

    ASSERT_EQ(job.pjl.size(), 1u);
    EXPECT_EQ(job.pjl[0].command, "SET");
    EXPECT_EQ(job.pjl[0].offset, 9u);
    ASSERT_NE(job.Set("RET"), nullptr);
    EXPECT_EQ(*job.Set("RET"), "OFF");
    EXPECT_EQ(job.Set("COLORMODE"), nullptr);
    EXPECT_EQ(job.language, "ZEBL");

    ASSERT_EQ(job.pages.size(), 1u);
    const DecodedPage& page = job.pages[0];
    EXPECT_EQ(page.offset, 57u);
    EXPECT_EQ(page.header.resolutionCode, 3);
    EXPECT_EQ(page.header.copies, 1);
    EXPECT_EQ(page.header.paperSize, 2);
    EXPECT_EQ(page.header.width, 20);
    EXPECT_EQ(page.header.height, 10);
    EXPECT_EQ(page.header.paperSource, 1);
    EXPECT_EQ(page.header.longEdge, 0);
    EXPECT_EQ(page.header.oddPage, 0);
    EXPECT_EQ(page.trailerCopies, 1);

    ASSERT_EQ(page.bands.size(), 1u);
    const DecodedBand& band = page.bands[0];
    EXPECT_EQ(band.offset, 74u);
    EXPECT_EQ(band.number, 1);
    EXPECT_EQ(band.index, 1u);
    EXPECT_EQ(band.firstLine, 4u);
    EXPECT_EQ(band.widthDots, 24u);
    EXPECT_EQ(band.lines, 4u);
    ASSERT_EQ(band.planes.size(), 1u);
    const DecodedPlaneRecord& plane = band.planes[0];
    EXPECT_EQ(plane.planeId, 4);
    EXPECT_EQ(plane.compression, 0x0A);
    EXPECT_EQ(plane.dataSize, 12u);
    EXPECT_EQ(plane.checksum, 0x0B5Bu);
    EXPECT_EQ(plane.offset, 86u);
    EXPECT_EQ(plane.dots, 4u);
    EXPECT_TRUE(plane.fullHeader);

    const PagePlane& black = page.Plane(4);
    ASSERT_TRUE(black.Allocated());
    EXPECT_EQ(black.width, 20u);
    EXPECT_EQ(black.height, 10u);
    EXPECT_TRUE(black.Dot(0, 4));
    EXPECT_TRUE(black.Dot(19, 6));
    EXPECT_TRUE(black.Dot(7, 7));
    EXPECT_FALSE(black.Dot(1, 4));
    EXPECT_FALSE(black.Dot(0, 3));
    EXPECT_EQ(black.dots, 3u);
    EXPECT_EQ(page.dotsOutsidePage, 1u);
    for (uint8_t id = 1; id <= 3; ++id) EXPECT_FALSE(page.Plane(id).Allocated());
}

TEST(StreamDecoder, ColourBandWithRepeatedPlaneHeaders) {
    StreamBytes s;
    s.Exit().Text("@PJL SET COLORMODE = COLOR\r\n@PJL SET DUPLEX=ON\r\n@PJL ENTER LANGUAGE = ZEBL\r\n");
    s.Page(3, 2, 0, 16, 2, 4, 1, 1);
    // Band 0, 16 x 2 dots. Cyan raw: dots at line 0, x 0..7.
    s.Bytes({0x0C, 0x00, 0x00, 0x10, 0x00, 0x02, 0x01, 0x0A, 0x00, 0x00, 0x00, 0x08});
    s.Bytes({0x00, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x02, 0xFD});
    // Yellow LZW, not transposed: codes 0FF 0FF 000 000 for FF FF 00 00
    // (line 1 all dots).
    s.Bytes({0x03, 0x12, 0x00, 0x00, 0x00, 0x12});
    s.Bytes({0xEF, 0xCD, 0xAB, 0x19, 0x06, 0x00, 0x00, 0x00, 0x0F, 0xF0, 0xFF, 0x00, 0x00, 0x00});
    s.Bytes({0x00, 0x00, 0x04, 0x84});
    // Black in the offset-table block's raw form: dots at (8, 0) and (15, 1).
    s.Bytes({0x04, 0x11, 0x00, 0x00, 0x00, 0x10});
    s.Bytes({0xEF, 0xCD, 0xAB, 0x09, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0xFF, 0xFE});
    s.Bytes({0x00, 0x00, 0x09, 0xE7});
    s.Bytes({0x00, 0x01, 0x00, 0x02, 0x09}).Exit();

    DecodedJob job;
    std::string error;
    ASSERT_TRUE(Decode(s.bytes, &job, &error)) << error;
    ASSERT_NE(job.Set("DUPLEX"), nullptr);
    EXPECT_EQ(*job.Set("DUPLEX"), "ON");
    EXPECT_EQ(*job.Set("COLORMODE"), "COLOR");
    ASSERT_EQ(job.pages.size(), 1u);
    const DecodedPage& page = job.pages[0];
    EXPECT_EQ(page.header.copies, 2);
    EXPECT_EQ(page.header.paperSource, 4);
    EXPECT_EQ(page.header.longEdge, 1);
    EXPECT_EQ(page.header.oddPage, 1);
    ASSERT_EQ(page.bands.size(), 1u);
    const auto& planes = page.bands[0].planes;
    ASSERT_EQ(planes.size(), 3u);
    EXPECT_EQ(planes[0].planeId, 1);
    EXPECT_TRUE(planes[0].fullHeader);
    EXPECT_EQ(planes[1].planeId, 3);
    EXPECT_EQ(planes[1].compression, 0x12);
    EXPECT_EQ(planes[1].dataSize, 14u);
    EXPECT_FALSE(planes[1].fullHeader);
    EXPECT_EQ(planes[2].planeId, 4);
    EXPECT_EQ(planes[2].compression, 0x11);
    EXPECT_EQ(planes[2].dataSize, 12u);

    EXPECT_EQ(page.Plane(1).dots, 8u);
    EXPECT_TRUE(page.Plane(1).Dot(7, 0));
    EXPECT_FALSE(page.Plane(1).Dot(8, 0));
    EXPECT_FALSE(page.Plane(2).Allocated());
    EXPECT_EQ(page.Plane(3).dots, 16u);
    EXPECT_TRUE(page.Plane(3).Dot(0, 1));
    EXPECT_FALSE(page.Plane(3).Dot(0, 0));
    EXPECT_EQ(page.Plane(4).dots, 2u);
    EXPECT_TRUE(page.Plane(4).Dot(8, 0));
    EXPECT_TRUE(page.Plane(4).Dot(15, 1));
}

TEST(StreamDecoder, BandNumbersWrapOnTallPages) {
    // One-line bands on a 600-line page; the 8-bit numbers repeat every 256.
    const uint32_t indexes[] = {0, 255, 256, 300, 511, 512, 599};
    StreamBytes s;
    s.Exit().Text("@PJL ENTER LANGUAGE = ZEBL\r\n").Page(6, 1, 2, 8, 600);
    for (uint32_t index : indexes) s.Band(index & 0xFF, 8, 1, 4, 0x0A, {0x7F}).U8(0);
    s.U8(1).BE16(1).U8(9).Exit();

    DecodedJob job;
    std::string error;
    ASSERT_TRUE(Decode(s.bytes, &job, &error)) << error;
    const DecodedPage& page = job.pages.at(0);
    ASSERT_EQ(page.bands.size(), std::size(indexes));
    for (size_t i = 0; i < std::size(indexes); ++i) {
        EXPECT_EQ(page.bands[i].index, indexes[i]);
        EXPECT_EQ(page.bands[i].number, indexes[i] & 0xFF);
        EXPECT_TRUE(page.Plane(4).Dot(0, indexes[i])) << indexes[i];
    }
    EXPECT_EQ(page.Plane(4).dots, std::size(indexes));
    EXPECT_FALSE(page.Plane(4).Dot(0, 44));
}

TEST(StreamDecoder, SeveralPagesAndBlankPages) {
    StreamBytes s;
    s.Exit().Text("@PJL\r\n@PJL DEFAULT TIMEOUT = 30\r\n@PJL SET RET=ON\r\n@PJL ENTER LANGUAGE=ZEBL\n");
    s.Page(12, 1, 0, 16, 256).U8(1).BE16(1);  // a white page: no bands
    s.Page(12, 1, 0, 16, 256).Band(1, 16, 128, 4, 0x0A, std::vector<uint8_t>(256, 0xFF)).U8(0);
    s.U8(1).BE16(1).U8(9).Exit();
    DecodedJob job;
    std::string error;
    ASSERT_TRUE(Decode(s.bytes, &job, &error)) << error;
    EXPECT_EQ(job.otherPjlLines, std::vector<std::string>{"@PJL"});
    EXPECT_EQ(*job.Default("TIMEOUT"), "30");
    EXPECT_EQ(job.Set("TIMEOUT"), nullptr);
    EXPECT_EQ(*job.Set("RET"), "ON");
    ASSERT_EQ(job.pages.size(), 2u);
    EXPECT_TRUE(job.pages[0].bands.empty());
    EXPECT_FALSE(job.pages[0].Plane(4).Allocated());
    EXPECT_EQ(job.pages[1].bands[0].firstLine, 128u);
    EXPECT_EQ(job.pages[1].Plane(4).dots, 0u);
    EXPECT_EQ(job.pages[1].bands[0].planes[0].dots, 0u);
}

TEST(StreamDecoder, WithoutKeptPlanesOnlyCountsRemain) {
    DecodeOptions options;
    options.keepPlanes = false;
    DecodedJob job;
    std::string error;
    ASSERT_TRUE(Decode(kMonoJob, kMonoJob.size(), &job, &error, options)) << error;
    const PagePlane& black = job.pages.at(0).Plane(4);
    EXPECT_FALSE(black.Allocated());
    EXPECT_EQ(black.dots, 3u);
    EXPECT_EQ(black.width, 20u);
}

TEST(StreamDecoder, EveryTruncationFailsAndSaysWhere) {
    for (size_t size = 0; size < kMonoJob.size(); ++size) {
        DecodedJob job;
        std::string error;
        EXPECT_FALSE(Decode(kMonoJob, size, &job, &error)) << "size " << size;
        EXPECT_EQ(error.rfind("byte offset ", 0), 0u) << "size " << size << ": " << error;
    }
    const struct {
        size_t size;
        const char* message;
    } cases[] = {
        {0, "byte offset 0 (job header): the stream does not start with the universal exit sequence"},
        {40, "byte offset 29 (job header): the stream ends inside a PJL line"},
        {56, "byte offset 29 (job header): the stream ends inside a PJL line"},
        {57, "byte offset 57 (job): the stream ends without the job trailer"},
        {60, "byte offset 57 (page 1): the stream ends inside the page header"},
        {74, "byte offset 74 (page 1): the stream ends inside the page (no page trailer)"},
        {80, "byte offset 74 (page 1): the stream ends inside a band header"},
        {90,
         "byte offset 86 (page 1, band 1, plane 4): the plane announces 12 bytes of data but only 4 remain"},
        {100, "byte offset 98 (page 1, band 1, plane 4): the stream ends inside the plane checksum"},
        {102,
         "byte offset 102 (page 1, band 1, plane 4): the stream ends inside the band (no band end byte)"},
        {104, "byte offset 103 (page 1): the stream ends inside the page trailer"},
        {106, "byte offset 106 (job): the stream ends without the job trailer"},
        {110, "byte offset 107 (job): the stream ends inside the job trailer"},
    };
    for (const auto& c : cases) {
        DecodedJob job;
        std::string error;
        EXPECT_FALSE(Decode(kMonoJob, c.size, &job, &error));
        EXPECT_EQ(error, c.message) << "size " << c.size;
    }
}

// One byte of the mono job changed, and the error that names its place.
struct CorruptByte {
    size_t offset;
    uint8_t value;
    const char* error;
};

class CorruptedStream : public testing::TestWithParam<CorruptByte> {};

TEST_P(CorruptedStream, IsRefusedWithThePlaceAndTheCause) {
    EXPECT_EQ(ErrorWith(GetParam().offset, GetParam().value), GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    StreamDecoder, CorruptedStream,
    testing::Values(
        // A changed checksum, and changed data under a sound checksum.
        CorruptByte{101, 0x5C,
                    "byte offset 98 (page 1, band 1, plane 4): checksum 0x00000B5C does not match the "
                    "data's byte sum 0x00000B5B"},
        CorruptByte{90, 0xFE,
                    "byte offset 98 (page 1, band 1, plane 4): checksum 0x00000B5B does not match the "
                    "data's byte sum 0x00000B5A"},
        // Unknown record bytes in each place a record starts.
        CorruptByte{57, 0x05,
                    "byte offset 57 (job): unknown record byte 0x05 where a page header (0x00) or the "
                    "job trailer (0x09) must start"},
        CorruptByte{74, 0x0D,
                    "byte offset 74 (page 1): unknown record byte 0x0D inside a page (expected a band "
                    "header 0x0C or the page trailer 0x01)"},
        CorruptByte{102, 0x07,
                    "byte offset 102 (page 1, band 1, plane 4): unknown record byte 0x07 after a plane "
                    "(expected a plane header 1-4 or the band end 0x00)"},
        CorruptByte{106, 0x0A,
                    "byte offset 106 (job): unknown record byte 0x0A where a page header (0x00) or the "
                    "job trailer (0x09) must start"}));

TEST(StreamDecoder, BadBandHeaderLengths) {
    for (uint8_t length : {0, 3, 4}) {
        EXPECT_NE(ErrorWith(85, length)
                      .find("byte offset 82 (page 1, band 1, plane 4): length field " +
                            std::to_string(length) + " leaves no plane data"),
                  std::string::npos);
    }
    // One byte more than the data: the checksum is then read from the wrong place.
    EXPECT_NE(ErrorWith(85, 0x11).find("byte offset 99 (page 1, band 1, plane 4): checksum"),
              std::string::npos);
    std::vector<uint8_t> huge = kMonoJob;
    huge[82] = huge[83] = huge[84] = huge[85] = 0xFF;
    DecodedJob job;
    std::string error;
    EXPECT_FALSE(Decode(huge, &job, &error));
    EXPECT_EQ(error,
              "byte offset 86 (page 1, band 1, plane 4): the plane announces 4294967291 "
              "bytes of data but only 30 remain");
}

TEST(StreamDecoder, PageHeaderAndTrailerChecks) {
    EXPECT_EQ(ErrorWith(105, 0x02),
              "byte offset 104 (page 1): page trailer copies 2 differ from the page header's 1");
    EXPECT_EQ(ErrorWith(58, 5),
              "byte offset 58 (page 1): page header resolution 5 is not 3, 6 or 12 (hundreds of "
              "dots per inch)");
    EXPECT_EQ(ErrorWith(60, 0), "byte offset 59 (page 1): page header asks for 0 copies");
    EXPECT_EQ(ErrorWith(63, 0), "byte offset 62 (page 1): page header width is 0");
    EXPECT_EQ(ErrorWith(71, 0), "byte offset 71 (page 1): page header byte 14 is 0x00, not 0x01");
    EXPECT_EQ(ErrorWith(67, 1), "byte offset 67 (page 1): page header byte 10 is 0x01, not 0x00");
    EXPECT_EQ(ErrorWith(69, 2), "byte offset 69 (page 1): page header odd-page byte is 2");
}

TEST(StreamDecoder, BandHeaderChecks) {
    EXPECT_EQ(ErrorWith(75, 3),
              "byte offset 75 (page 1, band 3): band starts at line 12, below the page's 10 lines");
    EXPECT_EQ(ErrorWith(77, 0x17),
              "byte offset 76 (page 1): band width 23 is not a positive multiple of 8 dots");
    EXPECT_EQ(ErrorWith(79, 0), "byte offset 78 (page 1): band height is 0 lines");
    EXPECT_EQ(ErrorWith(80, 5), "byte offset 80 (page 1, band 1): plane id 5 is not 1 to 4");
    EXPECT_EQ(ErrorWith(80, 0), "byte offset 80 (page 1, band 1): plane id 0 is not 1 to 4");
    EXPECT_EQ(ErrorWith(81, 0x13), "byte offset 81 (page 1, band 1, plane 4): unknown compression code 0x13");
    // Raw data of the wrong size for the band: 12 bytes for 24 x 5.
    const std::string raw = ErrorWith(79, 5);
    EXPECT_EQ(raw.rfind("byte offset 86 (page 1, band 1, plane 4): cannot decompress the 0x0A plane: ", 0),
              0u)
        << raw;
}

TEST(StreamDecoder, BandsOfOnePageShareTheirGeometryAndPlaneOrder) {
    auto job = [](uint32_t secondWidth, uint32_t secondLines, uint32_t firstPlane, uint32_t secondPlane) {
        StreamBytes s;
        s.Exit().Text("@PJL ENTER LANGUAGE = ZEBL\r\n").Page(3, 1, 2, 16, 64);
        s.Band(0, 16, 2, firstPlane, 0x0A, {0xFF, 0xFF, 0xFF, 0x7F});
        s.Plane(secondPlane, 0x0A, {0xFF, 0xFF, 0xFF, 0x7F}).U8(0);
        s.Band(1, secondWidth, secondLines, 4, 0x0A,
               std::vector<uint8_t>(secondWidth / 8 * secondLines, 0x00));
        s.U8(0).U8(1).BE16(1).U8(9).Exit();
        DecodedJob decoded;
        std::string error;
        const bool ok = Decode(s.bytes, &decoded, &error);
        return ok ? std::string("ok") : error;
    };
    EXPECT_EQ(job(16, 2, 1, 2), "ok");
    EXPECT_EQ(job(24, 2, 1, 2),
              "byte offset 91 (page 1): band of 24 x 2 differs from the page's first band of 16 x 2");
    EXPECT_EQ(job(16, 4, 1, 2),
              "byte offset 91 (page 1): band of 16 x 4 differs from the page's first band of 16 x 2");
    EXPECT_EQ(
        job(16, 2, 2, 2),
        "byte offset 74 (page 1, band 0): plane 2 follows plane 2 in the same band (planes go 1, 2, 3, 4)");
    EXPECT_EQ(
        job(16, 2, 3, 1),
        "byte offset 74 (page 1, band 0): plane 1 follows plane 3 in the same band (planes go 1, 2, 3, 4)");
}

TEST(StreamDecoder, JobHeaderChecks) {
    auto error = [](const std::string& header) {
        StreamBytes s;
        s.Text(header).U8(9).Exit();
        DecodedJob job;
        std::string message;
        EXPECT_FALSE(Decode(s.bytes, &job, &message)) << header;
        return message;
    };
    const std::string exit("\x1B%-12345X", 9);
    EXPECT_EQ(error("@PJL ENTER LANGUAGE = ZEBL\r\n"),
              "byte offset 0 (job header): the stream does not start with the universal exit sequence");
    EXPECT_EQ(error(exit + "@PJL ENTER LANGUAGE = PCL\r\n"),
              "byte offset 9 (job header): the job enters language \"PCL\", not ZEBL");
    EXPECT_EQ(error(exit + "@PJL SET RET\r\n"),
              "byte offset 9 (job header): PJL SET line without NAME = VALUE: \"@PJL SET RET\"");
    EXPECT_EQ(error(exit + "PJL SET RET = ON\r\n"),
              "byte offset 9 (job header): not a PJL line: \"PJL SET RET = ON\"");
    EXPECT_EQ(error(exit + "@PJLX\r\n"), "byte offset 9 (job header): not a PJL line: \"@PJLX\"");
    EXPECT_EQ(error(exit + "@PJL SET A = \x01\r\n"),
              "byte offset 22 (job header): byte 0x01 inside a PJL line");
    EXPECT_EQ(error(exit + "@PJL COMMENT " + std::string(300, 'x') + "\r\n"),
              "byte offset 9 (job header): PJL line longer than 256 bytes");
}

TEST(StreamDecoder, BytesAfterTheJobTrailer) {
    std::vector<uint8_t> stream = kMonoJob;
    stream.push_back(0x1B);
    DecodedJob job;
    std::string error;
    EXPECT_FALSE(Decode(stream, &job, &error));
    EXPECT_EQ(error, "byte offset 116 (job): 1 bytes after the job trailer");
    stream = kMonoJob;
    stream.back() = 'Y';
    EXPECT_FALSE(Decode(stream, &job, &error));
    EXPECT_EQ(error, "byte offset 107 (job): the job trailer lacks the universal exit sequence");
}

TEST(StreamDecoder, RefusesPlanesBeyondItsLimits) {
    DecodeOptions options;
    options.maxPagePlaneBytes = 29;  // the page plane is 3 x 10 bytes
    DecodedJob job;
    std::string error;
    EXPECT_FALSE(Decode(kMonoJob, kMonoJob.size(), &job, &error, options));
    EXPECT_EQ(error,
              "byte offset 86 (page 1, band 1, plane 4): a page plane of 20 x 10 dots is "
              "more than the decoder may hold");
    options = DecodeOptions{};
    options.maxBandPlaneBytes = 11;
    EXPECT_FALSE(Decode(kMonoJob, kMonoJob.size(), &job, &error, options));
    EXPECT_EQ(error, "byte offset 76 (page 1): band of 24 x 4 dots is larger than the decoder accepts");
    options.maxBandPlaneBytes = 12;
    EXPECT_TRUE(Decode(kMonoJob, kMonoJob.size(), &job, &error, options)) << error;
}

}  // namespace
