// Band output on its own, with a recording plane sink in place of the
// pipeline's band record writer: which planes it hands on, in which order,
// with which flags, and that it refuses bands it cannot walk before anything
// reaches the sink.
#include "engine/band_output.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "engine/halftone.h"

namespace {

constexpr uint32_t kWidthBytes = 620;  // the printer's band at 600 dpi
constexpr uint32_t kLines = 128;
constexpr uint32_t kWidth = kWidthBytes * 8;

struct TakenPlane {
    uint32_t bandIndex;
    uint8_t channel;
    bool textAndLinesOnly;
    bool first;
    bool last;
    std::vector<uint8_t> bytes;
};

// Keeps a copy of every plane; refuses every plane once `refuse` is set.
class RecordingSink final : public FBPlaneSink {
public:
    int TakePlane(const FBBandPlane& plane) override {
        const size_t size = size_t{plane.widthBytes} * plane.rows;
        taken.push_back({plane.bandIndex, plane.channel, plane.textAndLinesOnly, plane.firstOfBand,
                         plane.lastOfBand, std::vector<uint8_t>(plane.bytes, plane.bytes + size)});
        return refuse ? 0 : 1;
    }
    std::vector<TakenPlane> taken;
    bool refuse = false;
};

// A 600-dpi rendering band of `physicalBands` physical bands starting at
// page line `line`, white, with its screens and plane buffer.
class RasterBand {
public:
    RasterBand(uint32_t bitsPerPixel, uint32_t physicalBands, uint32_t line)
        : pixels_(size_t{kWidth} * kLines * physicalBands * (bitsPerPixel / 8), 0xFF),
          planes_(size_t{kWidthBytes} * kLines * (bitsPerPixel == 32 ? 4 : 1)) {
        band.bitsPerPixel = bitsPerPixel;
        band.colour = bitsPerPixel == 32 ? 1 : 0;
        band.physWidthBytes = kWidthBytes;
        band.physHeight = kLines;
        band.line = line;
        band.width = kWidth;
        band.height = kLines * physicalBands;
        band.bytesPerRow = kWidth * (bitsPerPixel / 8);
        band.buffer = pixels_.data();
        band.bufferBytes = pixels_.size();
        band.planes = planes_.data();
        band.planesBytes = planes_.size();
        FBMaskInitialize(&band.screen, kScreenNormal, 600, band.colour ? &band.colour : nullptr);
    }
    ~RasterBand() { FBMaskDestroy(&band.screen); }

    // A black (grey) or inked (colour, bytes yellow, magenta, cyan, black
    // whiteness) rectangle of rendering pixels.
    void Fill(uint32_t row, uint32_t col, uint32_t rows, uint32_t cols, uint32_t pixel) {
        const uint32_t bytes = band.bitsPerPixel / 8;
        for (uint32_t r = row; r < row + rows; ++r)
            for (uint32_t c = col; c < col + cols; ++c)
                std::memcpy(&pixels_[size_t{r} * band.bytesPerRow + size_t{c} * bytes], &pixel, bytes);
    }
    const std::vector<uint8_t>& Pixels() const { return pixels_; }

    FBRasterBand band;

private:
    std::vector<uint8_t> pixels_;
    std::vector<uint8_t> planes_;
};

constexpr uint32_t kCyanInk = 0xFF00FFFF;   // byte 2, cyan whiteness, 0
constexpr uint32_t kBlackInk = 0x00FFFFFF;  // byte 3, black whiteness, 0

TEST(BandOutputSink, OnlyPhysicalBandsWithDotsReachTheSinkNumberedInThePage) {
    RasterBand raster(8, 3, 2 * kLines);  // physical bands 2, 3 and 4
    raster.Fill(kLines + 5, 40, 3, 16, 0);
    RecordingSink sink;
    EXPECT_EQ(ClippingMono(&raster.band, &sink), 1);
    ASSERT_EQ(sink.taken.size(), 1u);
    const TakenPlane& plane = sink.taken[0];
    EXPECT_EQ(plane.bandIndex, 3u);
    EXPECT_EQ(plane.channel, kGreyPlaneChannel);
    EXPECT_TRUE(plane.first);
    EXPECT_TRUE(plane.last);
}

TEST(BandOutputSink, TheGreyPlaneIsWhatTheScreenerMakesOfTheRows) {
    RasterBand raster(8, 1, 0);
    raster.Fill(10, 100, 20, 300, 0x60);
    RecordingSink sink;
    ASSERT_EQ(ClippingMono(&raster.band, &sink), 1);
    ASSERT_EQ(sink.taken.size(), 1u);
    FBScreen screen;
    FBMaskInitialize(&screen, kScreenNormal, 600, nullptr);
    std::vector<uint8_t> expected(size_t{kWidthBytes} * kLines, 0xFF);
    uint8_t blank[4];
    ASSERT_EQ(
        MaskBand8(&screen, expected.data(), kWidthBytes, raster.Pixels().data(), 0, kWidth, kLines, blank),
        1);
    EXPECT_EQ(sink.taken[0].bytes, expected);
}

TEST(BandOutputSink, ColourPlanesComeInScreeningOrderWithTheFirstAndLastMarked) {
    RasterBand raster(32, 1, 0);
    raster.Fill(0, 0, 4, 32, kCyanInk);
    raster.Fill(8, 64, 4, 32, kBlackInk);
    RecordingSink sink;
    ASSERT_EQ(ClippingColor(&raster.band, &sink), 1);
    ASSERT_EQ(sink.taken.size(), 2u);
    EXPECT_EQ(sink.taken[0].channel, ChannelIDTbl[0]);
    EXPECT_TRUE(sink.taken[0].first);
    EXPECT_FALSE(sink.taken[0].last);
    EXPECT_EQ(sink.taken[1].channel, ChannelIDTbl[3]);
    EXPECT_FALSE(sink.taken[1].first);
    EXPECT_TRUE(sink.taken[1].last);
}

TEST(BandOutputSink, RowFlagsOfEachPhysicalBandChooseTextAndLines) {
    RasterBand raster(8, 2, 0);
    raster.Fill(0, 0, 1, 8, 0);
    raster.Fill(kLines, 0, 1, 8, 0);
    std::vector<uint8_t> flags(2 * kLines, 1);
    flags[kLines + 7] = 2;  // a colour row in the second physical band
    raster.band.rowFlags = flags.data();
    raster.band.rowFlagCount = flags.size();
    RecordingSink sink;
    ASSERT_EQ(ClippingMono(&raster.band, &sink), 1);
    ASSERT_EQ(sink.taken.size(), 2u);
    EXPECT_TRUE(sink.taken[0].textAndLinesOnly);
    EXPECT_FALSE(sink.taken[1].textAndLinesOnly);
}

// Rows whose flag is 0 were not drawn on and are not screened: the planes
// are those of the band screened without flags, and ink put behind the
// flags' back into such a row gives no dot.
struct RowFlagCase {
    const char* name;
    uint32_t bitsPerPixel;
    int (*variant)(FBRasterBand*, FBPlaneSink*);
    bool doubled;  // a 600-dpi rendering band printed at 1200 dpi
};

class BandOutputRowFlags : public testing::TestWithParam<RowFlagCase> {};

TEST_P(BandOutputRowFlags, RowsNotDrawnOnAreSkippedAndTheRestScreenAsWithoutFlags) {
    const RowFlagCase& c = GetParam();
    RasterBand raster(c.bitsPerPixel, 2, 256);
    // Doubled, the two physical bands come from half as many rendering rows
    // of half the width.
    const uint32_t renderRows = c.doubled ? kLines : 2 * kLines;
    const uint32_t renderWidthBytes = c.doubled ? kWidthBytes / 2 : kWidthBytes;
    if (c.doubled) raster.band.doubledRows.resize(size_t{kLines} * kWidth * (c.bitsPerPixel / 8));

    std::vector<uint8_t> flags(renderRows, 0);
    uint32_t seed = 12345;
    auto next = [&seed] { return seed = seed * 1103515245u + 12345u; };
    const uint32_t hiddenRow = renderRows / 2 + 5;  // in the second physical band, white and unflagged
    for (uint32_t row = 0; row < renderRows; ++row) {
        if (row == hiddenRow || next() % 3 == 0) continue;  // a white, unflagged row
        flags[row] = static_cast<uint8_t>(1 + next() % 3);
        const uint32_t col = 8 * (next() % (renderWidthBytes - 4));
        raster.Fill(row, col, 1, 24, next() | 0x01010101u);
    }
    RecordingSink withoutFlags;
    ASSERT_EQ(c.variant(&raster.band, &withoutFlags), 1);
    ASSERT_FALSE(withoutFlags.taken.empty());

    raster.Fill(hiddenRow, 0, 1, renderWidthBytes * 8, 0);
    raster.band.rowFlags = flags.data();
    raster.band.rowFlagCount = flags.size();
    RecordingSink withFlags;
    ASSERT_EQ(c.variant(&raster.band, &withFlags), 1);

    // The hidden row was white in the first run and is skipped in the second.
    ASSERT_EQ(withFlags.taken.size(), withoutFlags.taken.size());
    for (size_t i = 0; i < withFlags.taken.size(); ++i) {
        EXPECT_EQ(withFlags.taken[i].bandIndex, withoutFlags.taken[i].bandIndex);
        EXPECT_EQ(withFlags.taken[i].channel, withoutFlags.taken[i].channel);
        EXPECT_TRUE(withFlags.taken[i].bytes == withoutFlags.taken[i].bytes) << "plane " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Variants, BandOutputRowFlags,
                         testing::Values(RowFlagCase{"Grey", 8, ClippingMono, false},
                                         RowFlagCase{"Colour", 32, ClippingColor, false},
                                         RowFlagCase{"GreyDoubled", 8, ClippingMono2X, true},
                                         RowFlagCase{"ColourDoubled", 32, ClippingColor2X, true}),
                         [](const testing::TestParamInfo<RowFlagCase>& param) { return param.param.name; });

// A conversion left to band output: each byte that is not white becomes its
// complement (white stays white, as it must for such a conversion), and
// every rendering row it is handed is counted.
struct ConversionLog {
    const uint8_t* buffer = nullptr;
    uint32_t stride = 0;
    uint32_t bytesPerPixel = 0;
    std::vector<int> timesConverted;
};

uint32_t ConvertedPixel(uint32_t pixel) {
    uint32_t converted = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const uint32_t byte = (pixel >> shift) & 0xFF;
        converted |= (byte == 0xFF ? byte : 0xFF - byte) << shift;
    }
    return converted;
}

int LoggedConversion(void* context, uint8_t* pixels, uint32_t pixelCount) {
    auto* log = static_cast<ConversionLog*>(context);
    const size_t offset = static_cast<size_t>(pixels - log->buffer);
    const size_t bytes = size_t{pixelCount} * log->bytesPerPixel;
    EXPECT_EQ(offset % log->stride, 0u) << "a conversion must start at a row";
    EXPECT_EQ(bytes % log->stride, 0u) << "a conversion must cover whole rows";
    for (size_t row = offset / log->stride; row < (offset + bytes) / log->stride; ++row)
        if (row < log->timesConverted.size()) ++log->timesConverted[row];
    for (size_t i = 0; i < bytes; ++i)
        if (pixels[i] != 0xFF) pixels[i] = static_cast<uint8_t>(0xFF - pixels[i]);
    return 1;
}

// Converting as band output screens gives the planes of a band converted
// whole beforehand; each drawn rendering row is converted exactly once and
// no row left white is handed to the conversion.
class BandOutputConversion : public testing::TestWithParam<RowFlagCase> {};

TEST_P(BandOutputConversion, ConvertsEachDrawnRowOnceAndScreensAsAConvertedBand) {
    const RowFlagCase& c = GetParam();
    RasterBand left(c.bitsPerPixel, 2, 0);       // converted by band output
    RasterBand converted(c.bitsPerPixel, 2, 0);  // converted beforehand
    const uint32_t renderRows = c.doubled ? kLines : 2 * kLines;
    const uint32_t renderWidthBytes = c.doubled ? kWidthBytes / 2 : kWidthBytes;
    if (c.doubled) {
        left.band.doubledRows.resize(size_t{kLines} * kWidth * (c.bitsPerPixel / 8));
        converted.band.doubledRows.resize(left.band.doubledRows.size());
    }
    std::vector<uint8_t> flags(renderRows, 0);
    uint32_t seed = 777;
    auto next = [&seed] { return seed = seed * 1103515245u + 12345u; };
    for (uint32_t row = 0; row < renderRows; ++row) {
        if (next() % 4 == 0) continue;  // a white row, not drawn on
        flags[row] = static_cast<uint8_t>(1 + next() % 3);
        const uint32_t col = 8 * (next() % (renderWidthBytes - 8));
        const uint32_t pixel = next() & 0xF0F0F0F0u;  // never a white byte
        left.Fill(row, col, 1, 48, pixel);
        converted.Fill(row, col, 1, 48, ConvertedPixel(pixel));
    }
    for (RasterBand* raster : {&left, &converted}) {
        raster->band.rowFlags = flags.data();
        raster->band.rowFlagCount = flags.size();
    }
    ConversionLog log;
    log.buffer = left.band.buffer;
    log.stride = left.band.bytesPerRow;
    log.bytesPerPixel = c.bitsPerPixel / 8;
    log.timesConverted.assign(left.band.bufferBytes / log.stride, 0);
    left.band.convert = LoggedConversion;
    left.band.convertContext = &log;

    RecordingSink expected;
    ASSERT_EQ(c.variant(&converted.band, &expected), 1);
    ASSERT_FALSE(expected.taken.empty());
    RecordingSink sink;
    ASSERT_EQ(c.variant(&left.band, &sink), 1);

    ASSERT_EQ(sink.taken.size(), expected.taken.size());
    for (size_t i = 0; i < sink.taken.size(); ++i) {
        EXPECT_EQ(sink.taken[i].channel, expected.taken[i].channel);
        EXPECT_TRUE(sink.taken[i].bytes == expected.taken[i].bytes) << "plane " << i;
    }
    for (uint32_t row = 0; row < log.timesConverted.size(); ++row)
        EXPECT_EQ(log.timesConverted[row], row < renderRows && flags[row] != 0 ? 1 : 0) << "row " << row;
}

INSTANTIATE_TEST_SUITE_P(Variants, BandOutputConversion,
                         testing::Values(RowFlagCase{"Grey", 8, ClippingMono, false},
                                         RowFlagCase{"Colour", 32, ClippingColor, false},
                                         RowFlagCase{"GreyDoubled", 8, ClippingMono2X, true},
                                         RowFlagCase{"ColourDoubled", 32, ClippingColor2X, true}),
                         [](const testing::TestParamInfo<RowFlagCase>& param) { return param.param.name; });

TEST(BandOutputSink, ARefusingSinkFailsTheBandButStillGetsEveryPlane) {
    RasterBand raster(32, 2, 0);
    raster.Fill(0, 0, 2, 8, kCyanInk);
    raster.Fill(kLines, 0, 2, 8, kBlackInk);
    RecordingSink sink;
    sink.refuse = true;
    EXPECT_EQ(ClippingColor(&raster.band, &sink), 0);
    EXPECT_EQ(sink.taken.size(), 2u);
}

// Each case spoils one thing of a sound grey band; nothing may reach the sink.
struct Spoiled {
    const char* name;
    void (*spoil)(FBRasterBand*);
    int (*variant)(FBRasterBand*, FBPlaneSink*);
};

class BandOutputRefuses : public testing::TestWithParam<Spoiled> {};

TEST_P(BandOutputRefuses, BeforeAnythingReachesTheSink) {
    RasterBand raster(8, 1, 0);
    raster.Fill(0, 0, kLines, kWidth, 0);
    GetParam().spoil(&raster.band);
    RecordingSink sink;
    EXPECT_EQ(GetParam().variant(&raster.band, &sink), 0);
    EXPECT_TRUE(sink.taken.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Bands, BandOutputRefuses,
    testing::Values(
        Spoiled{"GreyBandToTheColourVariant", [](FBRasterBand*) {}, ClippingColor},
        Spoiled{"UndoubledBandToTheDoublingVariant", [](FBRasterBand*) {}, ClippingMono2X},
        Spoiled{"PlaneBufferOneByteShort", [](FBRasterBand* b) { --b->planesBytes; }, ClippingMono},
        Spoiled{"NoPlaneBuffer", [](FBRasterBand* b) { b->planes = nullptr; }, ClippingMono},
        Spoiled{"RenderingBufferOneByteShort", [](FBRasterBand* b) { --b->bufferBytes; }, ClippingMono},
        Spoiled{"NotAWholePhysicalBand", [](FBRasterBand* b) { b->height -= 1; }, ClippingMono},
        Spoiled{"StartsInsideAPhysicalBand", [](FBRasterBand* b) { b->line = 64; }, ClippingMono},
        Spoiled{"NoScreens", [](FBRasterBand* b) { FBMaskDestroy(&b->screen); }, ClippingMono}),
    [](const testing::TestParamInfo<Spoiled>& param) { return param.param.name; });

TEST(BandOutputRefuses, NoSinkOrNoBand) {
    RasterBand raster(8, 1, 0);
    RecordingSink sink;
    EXPECT_EQ(ClippingMono(&raster.band, nullptr), 0);
    EXPECT_EQ(ClippingMono(nullptr, &sink), 0);
}

}  // namespace
