// The band printer, read back through the stream decoder: which band records
// it writes, in which order, with which headers and coders, and that the
// decoded planes hold the dots of the rendering band.
#include "engine/band_output.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "engine/band_output_test_support.h"
#include "engine/halftone.h"
#include "pipeline/band_compressor.h"
#include "pipeline/fb_band.h"

namespace {

using band_test::Inks;
using band_test::MakePage;
using band_test::PrintedJob;
using band_test::PrintRenderBand;
using band_test::RenderBand;

constexpr uint32_t kWidth600 = 4960;  // the printer's band at 600 dpi: 620 bytes
constexpr uint32_t kPlane600 = 620 * 128;

// A rectangle of the page, right and bottom exclusive.
struct Box {
    uint32_t left, top, right, bottom;
    bool Holds(uint32_t x, uint32_t y) const { return x >= left && x < right && y >= top && y < bottom; }
};

// Pseudo-random bytes, the same on every run and platform.
std::vector<uint8_t> NoiseBytes(size_t size, uint32_t seed) {
    std::vector<uint8_t> bytes(size);
    for (auto& b : bytes) {
        seed = seed * 1103515245u + 12345u;
        b = static_cast<uint8_t>(seed >> 16);
    }
    return bytes;
}

// The screened plane of rows of an 8-bit band at a resolution, W bytes a row,
// as the screener makes it on its own.
std::vector<uint8_t> ScreenGrey(uint32_t resolution, const uint8_t* pixels, uint32_t pixelsPerRow,
                                uint32_t firstRow, uint32_t rows, uint32_t planeRowBytes) {
    FBScreen screen;
    FBMaskInitialize(&screen, kScreenNormal, resolution, nullptr);
    std::vector<uint8_t> plane(size_t{planeRowBytes} * rows, 0xFF);
    uint8_t blank[4];
    EXPECT_EQ(MaskBand8(&screen, plane.data(), planeRowBytes, pixels, firstRow, pixelsPerRow, rows, blank),
              1);
    return plane;
}

class BandOutput : public zebl_test::TempFolderTest {
protected:
    ~BandOutput() override { FBDestroyBand(&band_); }

    void Initialize(const FBPage& page, uint32_t renderBands = 8) {
        ASSERT_EQ(FBInitializeBand(&band_, &cache_, page, kScreenNormal), 1);
        ASSERT_EQ(FBOutBandSetTotalBandNums(&band_, renderBands), 1);
    }

    // Sets the band record up for the page, prints the rendering band as
    // page rows top .. onto a one-page job and returns the decoded page
    // (empty when the job could not be printed; the test has failed then).
    const DecodedPage& PrintBand(const FBPage& page, RenderBand* render, uint32_t top,
                                 const std::vector<uint8_t>* rowFlags = nullptr) {
        static const DecodedPage kNone;
        Initialize(page);
        job_ = std::make_unique<PrintedJob>(temp_, page);
        EXPECT_TRUE(job_->Opened());
        if (HasFatalFailure() || !job_->Opened()) return kNone;
        EXPECT_EQ(PrintRenderBand(&band_, job_->Out(), render, top, rowFlags), 1);
        return job_->Finish().pages.empty() ? kNone : job_->Page();
    }
    // The bytes the printer received for the last PrintBand.
    const std::vector<uint8_t>& Bytes() const { return job_->Bytes(); }

    FBBandCache cache_;
    FBBand band_;
    std::unique_ptr<PrintedJob> job_;
};

TEST_F(BandOutput, DotsOnlyInTheSecondPhysicalBandWriteOneBandNumberedFirstPlusOne) {
    const FBPage page = MakePage(600, 600, 8, kWidth600, 1024);
    RenderBand render(8, kWidth600, 256);  // two physical bands, page rows 256 .. 511
    render.Fill(130, 100, 10, 50, 0);

    const DecodedPage& decoded = PrintBand(page, &render, 256);
    ASSERT_EQ(decoded.bands.size(), 1u);
    const DecodedBand& b = decoded.bands[0];
    EXPECT_EQ(b.number, 3);  // physical bands 2 and 3; only 3 has dots
    EXPECT_EQ(b.firstLine, 384u);
    EXPECT_EQ(b.widthDots, kWidth600);
    EXPECT_EQ(b.lines, 128u);
    ASSERT_EQ(b.planes.size(), 1u);
    EXPECT_EQ(b.planes[0].planeId, 4);
    EXPECT_TRUE(b.planes[0].fullHeader);
    const Box box{100, 256 + 130, 150, 256 + 140};
    EXPECT_EQ(band_test::CompareDots(decoded.Plane(4), kWidth600, 1024,
                                     [&](uint32_t x, uint32_t y) { return box.Holds(x, y); }),
              "");
}

TEST_F(BandOutput, ColourBandWithOnlyBlackWritesOneFullHeaderForChannelFour) {
    const FBPage page = MakePage(600, 600, 32, kWidth600, 256);
    RenderBand render(32, kWidth600, 128);
    render.Fill(5, 8, 3, 16, band_test::kBlackInk);

    const DecodedPage& decoded = PrintBand(page, &render, 0);
    ASSERT_EQ(decoded.bands.size(), 1u);
    const DecodedBand& b = decoded.bands[0];
    ASSERT_EQ(b.planes.size(), 1u);
    EXPECT_EQ(b.planes[0].planeId, 4);
    EXPECT_TRUE(b.planes[0].fullHeader);
    for (uint8_t id : {1, 2, 3}) EXPECT_FALSE(decoded.Plane(id).Allocated()) << int(id);
    const Box box{8, 5, 24, 8};
    EXPECT_EQ(band_test::CompareDots(decoded.Plane(4), kWidth600, 256,
                                     [&](uint32_t x, uint32_t y) { return box.Holds(x, y); }),
              "");

    // The bytes: band header 0C, band 0, 4960 dots (13 60), 128 lines
    // (00 80), plane 4, then after data and checksum the band's end byte
    // and the page trailer.
    const std::vector<uint8_t>& bytes = Bytes();
    const size_t at = b.offset;
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + at, bytes.begin() + at + 7),
              (std::vector<uint8_t>{0x0C, 0x00, 0x13, 0x60, 0x00, 0x80, 0x04}));
    const size_t end = b.planes[0].offset + b.planes[0].dataSize + 4;
    EXPECT_EQ(bytes.at(end), 0x00);
    EXPECT_EQ(bytes.at(end + 1), 0x01);
}

TEST_F(BandOutput, AllFourInksWriteAFullHeaderThenThreePlaneHeadersInCyanMagentaYellowBlackOrder) {
    const FBPage page = MakePage(600, 600, 32, kWidth600, 128);
    RenderBand render(32, kWidth600, 128);
    // Filled back to front, so that a writer that followed the fill order
    // rather than the plane order would be caught.
    const Box black{400, 30, 480, 40}, yellow{300, 20, 380, 30}, magenta{200, 10, 280, 20},
        cyan{100, 0, 180, 10};
    const std::pair<Box, uint32_t> boxes[] = {{black, band_test::kBlackInk},
                                              {yellow, band_test::kYellowInk},
                                              {magenta, band_test::kMagentaInk},
                                              {cyan, band_test::kCyanInk}};
    for (const auto& [box, ink] : boxes)
        render.Fill(box.top, box.left, box.bottom - box.top, box.right - box.left, ink);

    const DecodedPage& decoded = PrintBand(page, &render, 0);
    ASSERT_EQ(decoded.bands.size(), 1u);
    const DecodedBand& b = decoded.bands[0];
    ASSERT_EQ(b.planes.size(), 4u);
    const std::vector<uint8_t>& bytes = Bytes();
    for (uint8_t i = 0; i < 4; ++i) {
        const DecodedPlaneRecord& plane = b.planes[i];
        EXPECT_EQ(plane.planeId, i + 1);
        EXPECT_EQ(plane.fullHeader, i == 0);
        if (i > 0) {
            // 6-byte plane header: id, code, length + 4 (big-endian).
            const size_t h = plane.offset - 6;
            EXPECT_EQ(bytes[h], i + 1);
            EXPECT_EQ(bytes[h + 1], plane.compression);
            const uint32_t length =
                uint32_t{bytes[h + 2]} << 24 | bytes[h + 3] << 16 | bytes[h + 4] << 8 | bytes[h + 5];
            EXPECT_EQ(length, plane.dataSize + 4);
            // Right after the previous plane's checksum: no end byte between.
            EXPECT_EQ(h, b.planes[i - 1].offset + b.planes[i - 1].dataSize + 4);
        }
        const Box& box = boxes[3 - i].first;
        EXPECT_EQ(band_test::CompareDots(decoded.Plane(i + 1), kWidth600, 128,
                                         [&](uint32_t x, uint32_t y) { return box.Holds(x, y); }),
                  "")
            << "plane " << int(i + 1);
    }
}

// Random grey levels screen into dots no coder can shrink: the plane goes
// out raw (0x0A) at its raw size, whichever coder the row flags choose.
TEST_F(BandOutput, APlaneThatDoesNotCompressIsSentRawAtItsRawSize) {
    const FBPage page = MakePage(600, 600, 8, kWidth600, 256);
    for (const bool textOnly : {false, true}) {
        SCOPED_TRACE(textOnly ? "LZW" : "offset table");
        RenderBand render(8, kWidth600, 128);
        render.pixels = NoiseBytes(render.pixels.size(), 7);
        const std::vector<uint8_t> textFlags(128, 1);

        const DecodedPage& decoded = PrintBand(page, &render, 128, textOnly ? &textFlags : nullptr);
        ASSERT_EQ(decoded.bands.size(), 1u);
        ASSERT_EQ(decoded.bands[0].planes.size(), 1u);
        EXPECT_EQ(decoded.bands[0].planes[0].compression, kBandCodeRaw);
        EXPECT_EQ(decoded.bands[0].planes[0].dataSize, kPlane600);
        const std::vector<uint8_t> expected = ScreenGrey(600, render.pixels.data(), kWidth600, 128, 128, 620);
        const PagePlane& plane = decoded.Plane(4);
        ASSERT_EQ(plane.stride, 620u);
        EXPECT_TRUE(std::equal(expected.begin(), expected.end(), plane.bits.begin() + 128 * 620));
    }
}

// Rows that hold only text and lines are coded with LZW, others with the
// offset-table coder; each physical band is judged by its own rows.
TEST_F(BandOutput, EachPhysicalBandIsCodedAsItsOwnRowFlagsAsk) {
    const FBPage page = MakePage(600, 600, 8, kWidth600, 256);
    RenderBand render(8, kWidth600, 256);
    render.Fill(10, 0, 20, 800, 0);
    render.Fill(150, 40, 20, 800, 0);
    std::vector<uint8_t> flags(256, 0);
    std::fill(flags.begin() + 10, flags.begin() + 30, uint8_t{1});
    std::fill(flags.begin() + 150, flags.begin() + 170, uint8_t{1});
    flags[255] = 3;  // an image row in the second physical band

    const DecodedPage& decoded = PrintBand(page, &render, 0, &flags);
    ASSERT_EQ(decoded.bands.size(), 2u);
    EXPECT_EQ(decoded.bands[0].planes.at(0).compression, kBandCodeLzw);
    EXPECT_EQ(decoded.bands[1].planes.at(0).compression, kBandCodeOffsetTable);
    const Box first{0, 10, 800, 30}, second{40, 150, 840, 170};
    EXPECT_EQ(band_test::CompareDots(
                  decoded.Plane(4), kWidth600, 256,
                  [&](uint32_t x, uint32_t y) { return first.Holds(x, y) || second.Holds(x, y); }),
              "");
}

TEST_F(BandOutput, AWhiteBandWritesNothingAtAll) {
    for (const uint32_t bits : {8u, 32u}) {
        const FBPage page = MakePage(600, 600, bits, kWidth600, 256);
        RenderBand render(bits, kWidth600, 256);

        const DecodedPage& decoded = PrintBand(page, &render, 0);

        EXPECT_TRUE(decoded.bands.empty());
        // The page trailer follows the 17-byte page header directly.
        EXPECT_EQ(Bytes().at(decoded.offset + 17), 0x01) << bits;
    }
}

// The printer's band is 4960 dots wide at 600 dpi; a wider page is cut
// there, both where the page is screened in one go and row by row.
TEST_F(BandOutput, APageWiderThanThePrintersBandIsCutAtTheBandsEdge) {
    const uint32_t wide = 5024;
    const FBPage page = MakePage(600, 600, 8, wide, 128);
    RenderBand render(8, wide, 128);
    for (uint32_t y = 0; y < 128; ++y)
        for (uint32_t x = 0; x < wide; ++x) render.Set(y, x, (x * 7 + y * 3) % 256);
    render.Fill(0, 4900, 16, wide - 4900, 0);

    const DecodedPage& decoded = PrintBand(page, &render, 0);
    ASSERT_EQ(decoded.bands.size(), 1u);
    EXPECT_EQ(decoded.bands[0].widthDots, kWidth600);
    // What the screener makes of the first 4960 pixels of every row.
    std::vector<uint8_t> cut;
    for (uint32_t y = 0; y < 128; ++y)
        cut.insert(cut.end(), render.pixels.begin() + y * wide, render.pixels.begin() + y * wide + kWidth600);
    const std::vector<uint8_t> expected = ScreenGrey(600, cut.data(), kWidth600, 0, 128, 620);
    EXPECT_EQ(band_test::CompareDots(decoded.Plane(4), wide, 128,
                                     [&](uint32_t x, uint32_t y) {
                                         return x < kWidth600 &&
                                                zebl_test::PackedDot(expected.data(), 620, x, y);
                                     }),
              "");
    EXPECT_TRUE(decoded.Plane(4).Dot(4959, 0));
    EXPECT_FALSE(decoded.Plane(4).Dot(4960, 0));
}

// Doubled, the cut falls at 9920 dots: half as many rendering pixels are
// doubled as the band is wide, and no more.
TEST_F(BandOutput, ADoubledPageWiderThanThePrintersBandIsCutBeforeDoubling) {
    const uint32_t wide = 5024;  // rendering pixels: 10048 dots
    const FBPage page = MakePage(600, 1200, 32, wide, 64);
    RenderBand render(32, wide, 64);
    render.Fill(3, 4950, 2, wide - 4950, band_test::kBlackInk);

    const DecodedPage& decoded = PrintBand(page, &render, 0);
    ASSERT_EQ(decoded.bands.size(), 1u);
    EXPECT_EQ(decoded.bands[0].widthDots, 9920u);
    const Box printed{9900, 6, 9920, 10};
    EXPECT_EQ(band_test::CompareDots(decoded.Plane(4), 2 * wide, 128,
                                     [&](uint32_t x, uint32_t y) { return printed.Holds(x, y); }),
              "");
}

// 600 x 1200: a 600-dpi rendering band of 64 rows becomes one 1200-dpi
// physical band of 128 lines, every pixel a 2 x 2 block.
TEST_F(BandOutput, TheDoublingVariantScreensTheDoubledBandAt1200Dpi) {
    const uint32_t renderWidth = 2464;  // 77 x 32 pixels; 4928 dots printed
    const FBPage page = MakePage(600, 1200, 8, renderWidth, 256);
    RenderBand render(8, renderWidth, 64);
    for (uint32_t y = 0; y < 64; ++y)
        for (uint32_t x = 0; x < renderWidth; ++x) render.Set(y, x, (x + 3 * y) % 256);

    const DecodedPage& decoded = PrintBand(page, &render, 64);  // output lines 128 .. 255
    EXPECT_EQ(decoded.header.resolutionCode, 12);
    ASSERT_EQ(decoded.bands.size(), 1u);
    EXPECT_EQ(decoded.bands[0].number, 1);
    EXPECT_EQ(decoded.bands[0].widthDots, 9920u);
    EXPECT_EQ(decoded.bands[0].lines, 128u);
    // The band doubled by hand, screened with the 1200-dpi screens.
    const uint32_t doubledWidth = 2 * renderWidth;
    std::vector<uint8_t> doubled(size_t{doubledWidth} * 128);
    for (uint32_t y = 0; y < 128; ++y)
        for (uint32_t x = 0; x < doubledWidth; ++x)
            doubled[size_t{y} * doubledWidth + x] = render.pixels[(y / 2) * renderWidth + x / 2];
    const std::vector<uint8_t> expected = ScreenGrey(1200, doubled.data(), doubledWidth, 128, 128, 1240);
    EXPECT_EQ(band_test::CompareDots(decoded.Plane(4), doubledWidth, 256,
                                     [&](uint32_t x, uint32_t y) {
                                         return y >= 128 &&
                                                zebl_test::PackedDot(expected.data(), 1240, x, y - 128);
                                     }),
              "");
}

TEST_F(BandOutput, DoublingTurnsEachColourPixelIntoTwoByTwoDots) {
    const FBPage page = MakePage(600, 1200, 32, 1024, 128);
    RenderBand render(32, 1024, 64);
    render.Fill(10, 5, 3, 4, band_test::kBlackInk);
    render.Fill(40, 100, 1, 1, band_test::kCyanInk);

    const DecodedPage& decoded = PrintBand(page, &render, 0);
    ASSERT_EQ(decoded.bands.size(), 1u);
    ASSERT_EQ(decoded.bands[0].planes.size(), 2u);
    EXPECT_EQ(decoded.bands[0].planes[0].planeId, 1);
    EXPECT_EQ(decoded.bands[0].planes[1].planeId, 4);
    const Box black{10, 20, 18, 26}, cyan{200, 80, 202, 82};
    EXPECT_EQ(band_test::CompareDots(decoded.Plane(4), 2048, 256,
                                     [&](uint32_t x, uint32_t y) { return black.Holds(x, y); }),
              "");
    EXPECT_EQ(band_test::CompareDots(decoded.Plane(1), 2048, 256,
                                     [&](uint32_t x, uint32_t y) { return cyan.Holds(x, y); }),
              "");
}

// In the doubling variant a physical band is made of half as many rendering
// rows, and only their flags count.
TEST_F(BandOutput, DoubledBandsAskTheRowFlagsOfTheirOwnRenderingRows) {
    const FBPage page = MakePage(600, 1200, 8, 1024, 256);
    RenderBand render(8, 1024, 128);  // 256 output lines: two physical bands
    render.Fill(0, 0, 128, 64, 0);
    std::vector<uint8_t> flags(128, 1);
    flags[64] = 2;  // the first rendering row of the second physical band

    const DecodedPage& decoded = PrintBand(page, &render, 0, &flags);

    ASSERT_EQ(decoded.bands.size(), 2u);
    EXPECT_EQ(decoded.bands[0].planes.at(0).compression, kBandCodeLzw);
    EXPECT_EQ(decoded.bands[1].planes.at(0).compression, kBandCodeOffsetTable);
}

// A band record that does not fit its buffers, or was never set up, is
// refused before anything is screened or sent.
TEST_F(BandOutput, BandsThatDoNotFitTheirBuffersAreRefusedWithoutWritingAnything) {
    const FBPage page = MakePage(600, 600, 8, kWidth600, 1024);
    PrintedJob job(temp_, page);
    ASSERT_TRUE(job.Opened());
    FBOut* out = job.Out();
    const uint32_t written = out->fill;
    auto black = [](uint32_t rows) {
        RenderBand r(8, kWidth600, rows);
        r.Fill(0, 0, rows, 64, 0);
        return r;
    };

    Initialize(page);
    RenderBand notWhole = black(100);  // not a whole number of 128-line bands
    EXPECT_EQ(PrintRenderBand(&band_, out, &notWhole, 0), 0);
    RenderBand shifted = black(128);
    EXPECT_EQ(PrintRenderBand(&band_, out, &shifted, 64), 0);  // starts inside a physical band

    RenderBand full = black(128);
    ASSERT_EQ(FBPrepareBand(&band_, 0, 0, kWidth600 - 1, 127), 1);
    FBOutBandSetBuffer(&band_, full.pixels.data(), full.pixels.size() - 1);  // one byte short
    EXPECT_EQ(FBPrintBand(&band_, out), 0);
    FBOutBandSetBuffer(&band_, nullptr, full.pixels.size());
    EXPECT_EQ(FBPrintBand(&band_, out), 0);

    FBOutBandSetBuffer(&band_, full.pixels.data(), full.pixels.size());
    EXPECT_EQ(FBPrepareBand(&band_, 0, 127, kWidth600 - 1, 0), 0);  // upside down
    EXPECT_EQ(FBPrintBand(&band_, out), 0);
    ASSERT_EQ(FBPrepareBand(&band_, 0, 0, 4, 127), 1);  // 5 dots: not whole bytes
    EXPECT_EQ(FBPrintBand(&band_, out), 0);

    // (A grey band handed to the colour or the doubling variant directly is
    // refused too: band_output_sink_test.cpp.)

    FBBand unset;  // never initialised: no cache, no screens
    FBOutBandSetBuffer(&unset, full.pixels.data(), full.pixels.size());
    EXPECT_EQ(FBPrepareBand(&unset, 0, 0, kWidth600 - 1, 127), 1);
    EXPECT_EQ(FBPrintBand(&unset, out), 0);
    EXPECT_EQ(FBPrintBand(nullptr, out), 0);

    EXPECT_EQ(out->fill, written);
    // The same record, sound again, prints.
    EXPECT_EQ(FBPrepareBand(&band_, 0, 0, kWidth600 - 1, 127), 1);
    EXPECT_EQ(FBPrintBand(&band_, out), 1);
    job.Finish();
    EXPECT_EQ(job.Page().bands.size(), 1u);
}

TEST_F(BandOutput, AWriterThatRefusesMakesTheBandFailButAWhiteBandNeedsNoWriter) {
    const FBPage page = MakePage(600, 600, 8, kWidth600, 128);
    Initialize(page);
    FBOut closed;  // never opened: every write fails
    RenderBand white(8, kWidth600, 128);
    EXPECT_EQ(PrintRenderBand(&band_, &closed, &white, 0), 1);
    RenderBand dots(8, kWidth600, 128);
    dots.Fill(0, 0, 1, 8, 0);
    EXPECT_EQ(PrintRenderBand(&band_, &closed, &dots, 0), 0);
}

TEST(MyStretch2X, AGreyPixelBecomesATwoByTwoBlock) {
    const uint8_t src[1] = {0x40};
    std::vector<uint8_t> dst(6, 0xEE);  // two rows of 2, then guard bytes
    EXPECT_EQ(MyStretch2X(dst.data(), 2, 2, src, 1), 1);
    EXPECT_EQ(dst, (std::vector<uint8_t>{0x40, 0x40, 0x40, 0x40, 0xEE, 0xEE}));
}

TEST(MyStretch2X, ColourPixelsKeepTheirFourBytesAndRowsTheirOrder) {
    const uint32_t a = 0x11223344, b = 0x55667788, c = 0x99AABBCC, d = 0xDDEEFF00;
    const uint32_t src[4] = {a, b, c, d};  // two rows of two pixels
    std::vector<uint32_t> dst(16, 0);
    EXPECT_EQ(
        MyStretch2X(reinterpret_cast<uint8_t*>(dst.data()), 4, 4, reinterpret_cast<const uint8_t*>(src), 4),
        1);
    EXPECT_EQ(dst, (std::vector<uint32_t>{a, a, b, b, a, a, b, b, c, c, d, d, c, c, d, d}));
}

TEST(MyStretch2X, OddSizesLeaveTheLastColumnAndRowAloneAndOtherDepthsAreRefused) {
    const uint8_t src[2] = {1, 2};
    std::vector<uint8_t> dst(15, 0xEE);  // 3 rows of 5
    EXPECT_EQ(MyStretch2X(dst.data(), 5, 3, src, 1), 1);
    EXPECT_EQ(dst, (std::vector<uint8_t>{1, 1, 2, 2, 0xEE, 1, 1, 2, 2, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE}));
    std::vector<uint8_t> untouched(12, 0xEE);
    EXPECT_EQ(MyStretch2X(untouched.data(), 2, 2, src, 3), 0);
    EXPECT_EQ(untouched, std::vector<uint8_t>(12, 0xEE));
}

TEST(FBGetObjFlag, OnlyRowsWithoutColourOrImagesAreTextAndLines) {
    const std::vector<uint8_t> flags = {0, 1, 1, 0, 2, 1, 3, 0};
    EXPECT_EQ(FBGetObjFlag(flags.data(), flags.size(), 0, 4), 1);  // 0 and 1 only
    EXPECT_EQ(FBGetObjFlag(flags.data(), flags.size(), 0, 5), 0);  // a colour row
    EXPECT_EQ(FBGetObjFlag(flags.data(), flags.size(), 5, 2), 0);  // an image row
    EXPECT_EQ(FBGetObjFlag(flags.data(), flags.size(), 7, 1), 1);
    EXPECT_EQ(FBGetObjFlag(flags.data(), flags.size(), 3, 1), 1);
}

TEST(FBGetObjFlag, WithoutRowFlagsForEveryRowTheBandCountsAsColour) {
    const std::vector<uint8_t> flags = {1, 1, 1, 1};
    EXPECT_EQ(FBGetObjFlag(nullptr, 0, 0, 4), 0);
    EXPECT_EQ(FBGetObjFlag(nullptr, 4, 0, 4), 0);
    EXPECT_EQ(FBGetObjFlag(flags.data(), flags.size(), 2, 3), 0);  // past the flags
    EXPECT_EQ(FBGetObjFlag(flags.data(), flags.size(), 0xFFFFFFFFu, 2), 0);
}

}  // namespace
