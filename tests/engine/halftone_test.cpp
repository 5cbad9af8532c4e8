// The screeners: set-up, hand-worked bytes, tone ramps, band continuity,
// agreement of the grey and colour paths, and a per-pixel reference.
#include <gtest/gtest.h>

#include <numeric>
#include <random>

#include "halftone_test_support.h"
#include "support/page_fixtures.h"

namespace {

using halftone_test::AllMatrices;
using halftone_test::CountDots;
using halftone_test::MatrixEntry;
using halftone_test::Values;

constexpr uint32_t kBlankAll = 0x01010101;

uint32_t BlankFlags(const uint8_t* blank) {
    uint32_t flags;
    std::memcpy(&flags, blank, 4);
    return flags;
}

using zebl_test::Inks;

std::vector<uint8_t> ColourBand(const std::vector<uint32_t>& pixels) {
    std::vector<uint8_t> bytes(pixels.size() * 4);
    std::memcpy(bytes.data(), pixels.data(), bytes.size());
    return bytes;
}

// ---------------------------------------------------------------------------
// Set-up

TEST(FBMaskInitialize, GreyDeviceSelectsTheBlackMatrixOfClassAndResolution) {
    struct Case {
        uint32_t screenClass, resolution;
        const uint8_t* table;
        uint32_t width;
    };
    const Case cases[] = {
        {0, 600, MaskNormal600K, 96}, {1, 600, MaskText600K, 24},   {2, 600, MaskPhoto600K, 12},
        {7, 600, MaskPhoto600K, 12},  {0, 300, MaskNormal600K, 96}, {0, 1200, Mask1200K, 120},
        {1, 1200, Mask1200K, 120},    {2, 1200, Mask1200K, 120},
    };
    for (const Case& c : cases) {
        FBScreen screen;
        ASSERT_EQ(FBMaskInitialize(&screen, c.screenClass, c.resolution, nullptr), 1);
        EXPECT_EQ(screen.plane[kScreenBlack].table, c.table) << c.screenClass << "/" << c.resolution;
        EXPECT_EQ(screen.plane[kScreenBlack].width, c.width);
        EXPECT_EQ(screen.plane[kScreenBlack].height, c.width);
        EXPECT_EQ(screen.plane[kScreenBlack].size, c.width * c.width);
        for (uint32_t p = 1; p < 4; ++p) EXPECT_EQ(screen.plane[p].table, nullptr);
        EXPECT_EQ(screen.screenClass, c.screenClass);
        EXPECT_EQ(screen.resolution, c.resolution);
    }
}

TEST(FBMaskInitialize, ColourDeviceSelectsFourMatricesWhatever1200Class) {
    int handle = 0;
    struct Case {
        uint32_t screenClass, resolution;
        const uint8_t* tables[4];  // black, cyan, magenta, yellow
    };
    const Case cases[] = {
        {0, 600, {MaskNormal600K, MaskNormal600C, MaskNormal600M, MaskNormal600Y}},
        {1, 600, {MaskText600K, MaskText600C, MaskText600M, MaskText600Y}},
        {2, 600, {MaskPhoto600K, MaskPhoto600C, MaskPhoto600M, MaskPhoto600Y}},
        {9, 600, {MaskPhoto600K, MaskPhoto600C, MaskPhoto600M, MaskPhoto600Y}},
        {0, 1200, {Mask1200K, Mask1200C, Mask1200M, Mask1200Y}},
        {1, 1200, {Mask1200K, Mask1200C, Mask1200M, Mask1200Y}},
        {2, 1200, {Mask1200K, Mask1200C, Mask1200M, Mask1200Y}},
    };
    for (const Case& c : cases) {
        FBScreen screen;
        ASSERT_EQ(FBMaskInitialize(&screen, c.screenClass, c.resolution, &handle), 1);
        EXPECT_EQ(screen.colourHandle, &handle);
        for (uint32_t p = 0; p < 4; ++p) {
            EXPECT_EQ(screen.plane[p].table, c.tables[p])
                << c.screenClass << "/" << c.resolution << " plane " << p;
        }
    }
    EXPECT_EQ(FBMaskInitialize(nullptr, 0, 600, nullptr), 0);
}

// The info tables agree with the tables they describe: each size is the
// table's byte count and width * height.
TEST(FBMaskInitialize, InfoTablesDescribeTheMatrices) {
    const size_t sizes600[3][4] = {
        {sizeof MaskNormal600K, sizeof MaskNormal600C, sizeof MaskNormal600M, sizeof MaskNormal600Y},
        {sizeof MaskText600K, sizeof MaskText600C, sizeof MaskText600M, sizeof MaskText600Y},
        {sizeof MaskPhoto600K, sizeof MaskPhoto600C, sizeof MaskPhoto600M, sizeof MaskPhoto600Y}};
    const size_t sizes1200[4] = {sizeof Mask1200K, sizeof Mask1200C, sizeof Mask1200M, sizeof Mask1200Y};
    for (int c = 0; c < 3; ++c) {
        for (int p = 0; p < 4; ++p) {
            EXPECT_EQ(adwMaskInfoTbl600[c][8 + p], sizes600[c][p]);
            EXPECT_EQ(adwMaskInfoTbl600[c][p] * adwMaskInfoTbl600[c][4 + p], sizes600[c][p]);
        }
    }
    for (int p = 0; p < 4; ++p) {
        EXPECT_EQ(adwMaskInfoTbl1200[8 + p], sizes1200[p]);
        EXPECT_EQ(adwMaskInfoTbl1200[p] * adwMaskInfoTbl1200[4 + p], sizes1200[p]);
    }
    EXPECT_EQ(adwMaskInfoTbl1200[1], 116u);   // cyan at 1200 dpi
    EXPECT_EQ(adwMaskInfoTbl600[0][3], 64u);  // yellow, normal
}

TEST(FBMaskDestroy, ClearsTheRecordSoItNoLongerScreens) {
    FBScreen screen;
    FBMaskInitialize(&screen, 0, 600, nullptr);
    FBMaskDestroy(&screen);
    EXPECT_EQ(screen.plane[kScreenBlack].table, nullptr);
    std::vector<uint8_t> src(8, 0), dst(1, 0xFF);
    uint8_t blank[4] = {};
    EXPECT_EQ(MaskBand8(&screen, dst.data(), 1, src.data(), 0, 8, 1, blank), 0);
    EXPECT_EQ(BlankFlags(blank), kBlankAll);
    EXPECT_EQ(dst[0], 0xFF);
    FBMaskDestroy(nullptr);  // harmless
}

// ---------------------------------------------------------------------------
// Hand-worked bytes

// A 12 x 2 matrix: row 0 thresholds 10, 20, ... 120; row 1 zero but for 200
// in its last column.
const uint8_t kSmallMatrix[24] = {10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120,
                                  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,   0,   200};

TEST(MaskBand8, BitsAreMostSignificantFirstZeroForADotAndTiesDot) {
    const FBScreen screen = halftone_test::SingleMatrixScreen(kSmallMatrix, 12, 2);
    // 16 pixels of 50 in page row 0: columns 4..11 (thresholds 50..120) dot,
    // pixels 12..15 wrap to columns 0..3 (10..40) and do not.
    std::vector<uint8_t> src(16, 50), dst(2, 0xFF);
    uint8_t blank[4];
    ASSERT_EQ(MaskBand8(&screen, dst.data(), 2, src.data(), 0, 16, 1, blank), 1);
    EXPECT_EQ(dst[0], 0xF0);
    EXPECT_EQ(dst[1], 0x0F);
    EXPECT_EQ(BlankFlags(blank), 0x01010100u);

    // Page row 3 uses matrix row 1: whiteness 100 dots only at column 11.
    std::fill(src.begin(), src.end(), 100);
    ASSERT_EQ(MaskBand8(&screen, dst.data(), 2, src.data(), 3, 16, 1, blank), 1);
    EXPECT_EQ(dst[0], 0xFF);
    EXPECT_EQ(dst[1], 0xEF);
    EXPECT_EQ(blank[0], 0);

    // Whiteness 121 in row 0 exceeds every threshold: the group is written
    // (no dot) and the plane stays blank.
    std::fill(src.begin(), src.end(), 121);
    std::fill(dst.begin(), dst.end(), 0x00);
    ASSERT_EQ(MaskBand8(&screen, dst.data(), 2, src.data(), 0, 16, 1, blank), 1);
    EXPECT_EQ(dst[0], 0xFF);
    EXPECT_EQ(dst[1], 0xFF);
    EXPECT_EQ(blank[0], 1);
}

TEST(MaskBand8, SinglePixelsLandOnTheirBits) {
    FBScreen screen;
    FBMaskInitialize(&screen, 0, 600, nullptr);
    std::vector<uint8_t> src(32, 255), dst(4, 0xFF);
    src[0] = 0;   // byte 0, bit 7
    src[9] = 0;   // byte 1, bit 6
    src[31] = 0;  // byte 3, bit 0
    uint8_t blank[4];
    ASSERT_EQ(MaskBand8(&screen, dst.data(), 4, src.data(), 0, 32, 1, blank), 1);
    EXPECT_EQ(dst[0], 0x7F);
    EXPECT_EQ(dst[1], 0xBF);
    EXPECT_EQ(dst[2], 0xFF);  // all-white group: untouched
    EXPECT_EQ(dst[3], 0xFE);
}

TEST(MaskBand8, AllWhiteBandLeavesThePlaneAndReportsBlank) {
    for (uint32_t resolution : {600u, 1200u}) {
        for (uint32_t screenClass : {0u, 1u, 2u}) {
            FBScreen screen;
            FBMaskInitialize(&screen, screenClass, resolution, nullptr);
            const uint32_t width = 256, rows = 64, stride = 40;  // stride wider than the row
            std::vector<uint8_t> src(width * rows, 255), dst(stride * rows, 0x5A);
            uint8_t blank[4] = {};
            ASSERT_EQ(MaskBand8(&screen, dst.data(), stride, src.data(), 17, width, rows, blank), 1);
            EXPECT_EQ(BlankFlags(blank), kBlankAll);
            EXPECT_TRUE(std::all_of(dst.begin(), dst.end(), [](uint8_t b) { return b == 0x5A; }));
        }
    }
}

TEST(MaskBand8, BlackAlwaysDotsWithEveryMatrix) {
    for (const MatrixEntry& m : AllMatrices()) {
        const FBScreen screen = halftone_test::SingleMatrixScreen(m.table, m.width, m.width);
        const uint32_t width = 8 * m.width;  // every column of every row
        std::vector<uint8_t> src(width * m.width, 0), dst(width / 8 * m.width, 0xFF);
        uint8_t blank[4];
        ASSERT_EQ(MaskBand8(&screen, dst.data(), width / 8, src.data(), 0, width, m.width, blank), 1);
        EXPECT_EQ(CountDots(dst), src.size()) << m.name;
        EXPECT_EQ(blank[0], 0);
    }
}

// White paper never takes ink, also inside a group that holds a drawn pixel
// and where the text screens' threshold is 255.
TEST(MaskBand8, WhiteNextToInkStaysWhite) {
    FBScreen screen;
    FBMaskInitialize(&screen, kScreenText, 600, nullptr);
    const uint8_t* row0 = MaskText600K;
    const uint8_t* hit = std::find(row0, row0 + 24, 255);
    const uint32_t rowsToSearch = 24;
    uint32_t row = 0;
    while (hit == row0 + 24 && ++row < rowsToSearch) {
        row0 = MaskText600K + row * 24;
        hit = std::find(row0, row0 + 24, 255);
    }
    ASSERT_LT(row, rowsToSearch) << "the text screen has a threshold of 255";
    const uint32_t column = static_cast<uint32_t>(hit - row0);
    const uint32_t neighbour = column ^ 1;  // same group of eight
    std::vector<uint8_t> src(24, 255), dst(3, 0xFF);
    src[neighbour] = 0;
    uint8_t blank[4];
    ASSERT_EQ(MaskBand8(&screen, dst.data(), 3, src.data(), row, 24, 1, blank), 1);
    EXPECT_EQ(CountDots(dst), 1u);
    EXPECT_EQ((dst[neighbour / 8] >> (7 - neighbour % 8)) & 1, 0);
}

// ---------------------------------------------------------------------------
// Tone ramps

// Screens one tile of every matrix flat at every grey level. The dot count
// must be the number of thresholds at least as high as the grey (none for
// white), so it rises as the grey darkens: at every step for the screens
// that hold every value (down to grey 1 for the text screens, whose lowest
// threshold is 1), at 144 steps for the photo screens.
TEST(MaskBand8, EveryMatrixReproducesAGreyRampMonotonically) {
    for (const MatrixEntry& m : AllMatrices()) {
        SCOPED_TRACE(m.name);
        const FBScreen screen = halftone_test::SingleMatrixScreen(m.table, m.width, m.width);
        const uint32_t width = std::lcm(m.width, 8u), repeats = width / m.width;
        std::vector<size_t> atLeast(257, 0);  // thresholds >= g
        for (uint32_t i = 0; i < m.width * m.width; ++i) ++atLeast[m.table[i]];
        for (int g = 254; g >= 0; --g) atLeast[g] += atLeast[g + 1];

        std::vector<uint8_t> src(width * m.width), dst(width / 8 * m.width);
        size_t previous = 0, rises = 0;
        for (int grey = 255; grey >= 0; --grey) {
            std::fill(src.begin(), src.end(), static_cast<uint8_t>(grey));
            std::fill(dst.begin(), dst.end(), 0xFF);
            uint8_t blank[4];
            ASSERT_EQ(MaskBand8(&screen, dst.data(), width / 8, src.data(), 0, width, m.width, blank), 1);
            const size_t dots = CountDots(dst);
            ASSERT_EQ(dots, grey == 255 ? 0 : atLeast[grey] * repeats) << "grey " << grey;
            ASSERT_GE(dots, previous) << "grey " << grey;
            // Text screens start at threshold 1: grey 1 already dots everywhere.
            const int lowestRisingGrey = m.values == Values::Fine ? 1 : 0;
            if (m.values != Values::Distinct && grey < 255 && grey >= lowestRisingGrey) {
                ASSERT_GT(dots, previous) << "grey " << grey;
            }
            rises += dots > previous;
            previous = dots;
        }
        EXPECT_EQ(previous, static_cast<size_t>(width) * m.width);  // black covers all
        const size_t expectedRises = m.values == Values::Distinct ? 144
                                     : m.values == Values::Fine   ? 254
                                                                  : 255;
        EXPECT_EQ(rises, expectedRises);
    }
}

// ---------------------------------------------------------------------------
// Colour

TEST(MaskBand32, FullInkDotsCyanMagentaBlackButNotYellow) {
    int handle = 0;
    for (uint32_t resolution : {600u, 1200u}) {
        FBScreen screen;
        FBMaskInitialize(&screen, 0, resolution, &handle);
        const uint32_t width = 64, rows = 3, stride = 8, planeOffset = stride * rows;
        std::vector<uint8_t> src = ColourBand(std::vector<uint32_t>(width * rows, 0));
        std::vector<uint8_t> dst(planeOffset * 4, 0xFF);
        uint8_t blank[4];
        ASSERT_EQ(MaskBand32(&screen, dst.data(), planeOffset, stride, src.data(), 5, width, rows, blank), 1);
        for (uint32_t p = 0; p < 4; ++p) {
            const bool yellow = p == 2;
            for (uint32_t i = 0; i < planeOffset; ++i)
                ASSERT_EQ(dst[p * planeOffset + i], yellow ? 0xFF : 0x00) << "plane " << p << " byte " << i;
        }
        EXPECT_EQ(BlankFlags(blank), 0x00010000u);  // cyan, magenta, black drawn; yellow blank
    }
}

// Each pixel byte goes to its own plane: byte 0 yellow, 1 magenta, 2 cyan,
// 3 black; planes in the order cyan, magenta, yellow, black.
TEST(MaskBand32, EachInkLandsInItsPlane) {
    int handle = 0;
    FBScreen screen;
    FBMaskInitialize(&screen, 0, 600, &handle);
    const uint32_t planeOffset = 3;  // planes packed tight: one byte each
    const uint32_t inkOfPlane[4] = {2, 1, 0, 3};
    for (uint32_t plane = 0; plane < 4; ++plane) {
        uint8_t ink[4] = {255, 255, 255, 255};
        ink[inkOfPlane[plane]] = 0;
        std::vector<uint32_t> pixels(8, Inks(255, 255, 255, 255));
        pixels[1] = Inks(ink[0], ink[1], ink[2], ink[3]);
        std::vector<uint8_t> src = ColourBand(pixels), dst(4 * planeOffset, 0xEE);
        uint8_t blank[4];
        ASSERT_EQ(MaskBand32(&screen, dst.data(), planeOffset, 1, src.data(), 0, 8, 1, blank), 1);
        for (uint32_t p = 0; p < 4; ++p) {
            EXPECT_EQ(dst[p * planeOffset], p == plane ? 0xBF : 0xFF)
                << "ink plane " << plane << " plane " << p;
            EXPECT_EQ(blank[p], p == plane ? 0 : 1);
            EXPECT_EQ(dst[p * planeOffset + 1], 0xEE);  // bytes between planes untouched
        }
    }
}

TEST(MaskBand32, AllWhiteBandLeavesThePlanesAndReportsBlank) {
    int handle = 0;
    FBScreen screen;
    FBMaskInitialize(&screen, 1, 600, &handle);
    const uint32_t width = 96, rows = 16, stride = 12, planeOffset = stride * rows;
    std::vector<uint8_t> src(width * rows * 4, 0xFF), dst(4 * planeOffset, 0x3C);
    uint8_t blank[4] = {};
    ASSERT_EQ(MaskBand32(&screen, dst.data(), planeOffset, stride, src.data(), 0, width, rows, blank), 1);
    EXPECT_EQ(BlankFlags(blank), kBlankAll);
    EXPECT_TRUE(std::all_of(dst.begin(), dst.end(), [](uint8_t b) { return b == 0x3C; }));
}

std::vector<uint8_t> RandomGreyBand(std::mt19937& rng, uint32_t pixels) {
    std::vector<uint8_t> band(pixels);
    std::uniform_int_distribution<int> kind(0, 9), byte(0, 255);
    for (uint32_t g = 0; g < pixels; g += 8) {
        const int k = kind(rng);  // some white groups, some flat, most random
        const uint8_t flat = static_cast<uint8_t>(byte(rng));
        for (uint32_t j = 0; j < 8; ++j)
            band[g + j] = k < 2 ? 255 : k < 3 ? flat : static_cast<uint8_t>(byte(rng));
    }
    return band;
}

// A colour band whose black byte is a grey band screens its black plane
// exactly like the grey band, and any ink alone screens like a grey band
// against that ink's matrix.
TEST(MaskBand32, EachInkAloneMatchesTheGreyScreenerWithItsMatrix) {
    std::mt19937 rng(1234);
    int handle = 0;
    const uint32_t width = 8 * 29, rows = 40, stride = width / 8 + 2, planeOffset = stride * rows;
    const uint32_t inkOfPlane[4] = {2, 1, 0, 3};
    const uint32_t screenPlaneOf[4] = {kScreenCyan, kScreenMagenta, kScreenYellow, kScreenBlack};
    for (uint32_t resolution : {600u, 1200u}) {
        for (uint32_t screenClass : {0u, 1u, 2u}) {
            FBScreen colour;
            FBMaskInitialize(&colour, screenClass, resolution, &handle);
            for (uint32_t plane = 0; plane < 4; ++plane) {
                const std::vector<uint8_t> grey = RandomGreyBand(rng, width * rows);
                std::vector<uint8_t> src(width * rows * 4, 0xFF);
                for (uint32_t i = 0; i < grey.size(); ++i) src[4 * i + inkOfPlane[plane]] = grey[i];

                FBScreen greyScreen;
                greyScreen.plane[kScreenBlack] = colour.plane[screenPlaneOf[plane]];
                std::vector<uint8_t> greyOut(planeOffset, 0xFF), colourOut(4 * planeOffset, 0xFF);
                uint8_t greyBlank[4], colourBlank[4];
                ASSERT_EQ(
                    MaskBand8(&greyScreen, greyOut.data(), stride, grey.data(), 77, width, rows, greyBlank),
                    1);
                ASSERT_EQ(MaskBand32(&colour, colourOut.data(), planeOffset, stride, src.data(), 77, width,
                                     rows, colourBlank),
                          1);
                for (uint32_t p = 0; p < 4; ++p) {
                    const std::vector<uint8_t> got(colourOut.begin() + p * planeOffset,
                                                   colourOut.begin() + (p + 1) * planeOffset);
                    if (p == plane) {
                        EXPECT_EQ(got, greyOut)
                            << "class " << screenClass << " at " << resolution << ", plane " << p;
                        EXPECT_EQ(colourBlank[p], greyBlank[0]);
                    } else {
                        EXPECT_EQ(CountDots(got), 0u) << "plane " << p;
                        EXPECT_EQ(colourBlank[p], 1);
                    }
                }
            }
        }
    }
}

// ---------------------------------------------------------------------------
// Bands and the reference screener

// Screening rows 0 .. 2P-1 at once equals two bands of P rows with first
// rows 0 and P, for P not a multiple of any matrix height.
TEST(MaskBand, ScreensContinueAcrossBands) {
    std::mt19937 rng(99);
    int handle = 0;
    for (uint32_t resolution : {600u, 1200u}) {
        for (uint32_t screenClass : {0u, 1u, 2u}) {
            for (uint32_t p : {64u, 128u}) {
                const uint32_t width = 8 * 41, stride = width / 8;
                FBScreen grey, colour;
                FBMaskInitialize(&grey, screenClass, resolution, nullptr);
                FBMaskInitialize(&colour, screenClass, resolution, &handle);

                const std::vector<uint8_t> src8 = RandomGreyBand(rng, width * 2 * p);
                std::vector<uint8_t> once(stride * 2 * p, 0xFF), twice(stride * 2 * p, 0xFF);
                uint8_t blank[4];
                ASSERT_EQ(MaskBand8(&grey, once.data(), stride, src8.data(), 0, width, 2 * p, blank), 1);
                ASSERT_EQ(MaskBand8(&grey, twice.data(), stride, src8.data(), 0, width, p, blank), 1);
                ASSERT_EQ(MaskBand8(&grey, twice.data() + stride * p, stride, src8.data() + width * p, p,
                                    width, p, blank),
                          1);
                EXPECT_EQ(once, twice)
                    << "grey, class " << screenClass << " at " << resolution << ", P " << p;

                const std::vector<uint8_t> src32 = RandomGreyBand(rng, width * 2 * p * 4);
                const uint32_t planeOffset = stride * 2 * p;
                std::vector<uint8_t> once32(4 * planeOffset, 0xFF), twice32(4 * planeOffset, 0xFF);
                ASSERT_EQ(MaskBand32(&colour, once32.data(), planeOffset, stride, src32.data(), 0, width,
                                     2 * p, blank),
                          1);
                ASSERT_EQ(MaskBand32(&colour, twice32.data(), planeOffset, stride, src32.data(), 0, width, p,
                                     blank),
                          1);
                ASSERT_EQ(MaskBand32(&colour, twice32.data() + stride * p, planeOffset, stride,
                                     src32.data() + width * p * 4, p, width, p, blank),
                          1);
                EXPECT_EQ(once32, twice32)
                    << "colour, class " << screenClass << " at " << resolution << ", P " << p;
            }
        }
    }
}

// The fast screeners against the per-pixel reference on random bands,
// odd first rows and widths that are no multiple of any matrix width. The
// planes start out patterned, so skipped all-white groups show.
TEST(MaskBand, MatchesThePerPixelReference) {
    std::mt19937 rng(2024);
    int handle = 0;
    const uint32_t firstRows[] = {0, 1, 95, 119, 12345, 4000000001u};
    for (uint32_t resolution : {600u, 1200u}) {
        for (uint32_t screenClass : {0u, 1u, 2u}) {
            for (uint32_t firstRow : firstRows) {
                const uint32_t width = 8 * (1 + rng() % 60), rows = 1 + rng() % 37;
                const uint32_t stride = width / 8 + rng() % 3;
                SCOPED_TRACE(::testing::Message() << "class " << screenClass << " at " << resolution
                                                  << ", row " << firstRow << ", " << width << " x " << rows);
                FBScreen grey, colour;
                FBMaskInitialize(&grey, screenClass, resolution, nullptr);
                FBMaskInitialize(&colour, screenClass, resolution, &handle);

                const std::vector<uint8_t> src8 = RandomGreyBand(rng, width * rows);
                std::vector<uint8_t> fast(stride * rows, 0xA5), slow(stride * rows, 0xA5);
                uint8_t fastBlank[4], slowBlank[4];
                ASSERT_EQ(
                    MaskBand8(&grey, fast.data(), stride, src8.data(), firstRow, width, rows, fastBlank), 1);
                halftone_test::ReferenceMaskBand8(grey, slow.data(), stride, src8.data(), firstRow, width,
                                                  rows, slowBlank);
                EXPECT_EQ(fast, slow);
                EXPECT_EQ(BlankFlags(fastBlank), BlankFlags(slowBlank));

                // Colour: random ink bytes, with whole white groups, fully
                // inked pixels and flat inks mixed in.
                std::vector<uint8_t> src32 = RandomGreyBand(rng, width * rows * 4);
                for (uint32_t i = 0; i < width * rows; i += 5) {
                    if (rng() % 4 == 0) std::memset(&src32[4 * i], 0, 4);
                }
                const uint32_t planeOffset = stride * rows + 5;
                std::vector<uint8_t> fast32(4 * planeOffset, 0xA5), slow32(4 * planeOffset, 0xA5);
                ASSERT_EQ(MaskBand32(&colour, fast32.data(), planeOffset, stride, src32.data(), firstRow,
                                     width, rows, fastBlank),
                          1);
                halftone_test::ReferenceMaskBand32(colour, slow32.data(), planeOffset, stride, src32.data(),
                                                   firstRow, width, rows, slowBlank);
                EXPECT_EQ(fast32, slow32);
                EXPECT_EQ(BlankFlags(fastBlank), BlankFlags(slowBlank));
            }
        }
    }
}

// Darker and darker flat colour greys: the ink limit drops yellow exactly
// where cyan, magenta and black all dot, and nowhere else.
TEST(MaskBand32, InkLimitDropsYellowOnlyUnderFullInk) {
    int handle = 0;
    FBScreen screen;
    FBMaskInitialize(&screen, 0, 600, &handle);
    const uint32_t width = 960, rows = 96, stride = width / 8, planeOffset = stride * rows;
    for (int grey : {200, 90, 20, 0}) {
        std::vector<uint8_t> src(width * rows * 4, static_cast<uint8_t>(grey));
        std::vector<uint8_t> dst(4 * planeOffset, 0xFF);
        uint8_t blank[4];
        ASSERT_EQ(MaskBand32(&screen, dst.data(), planeOffset, stride, src.data(), 0, width, rows, blank), 1);
        size_t yellowDots = 0, expectedYellow = 0, fullInk = 0;
        for (uint32_t i = 0; i < planeOffset; ++i) {
            for (int bit = 0; bit < 8; ++bit) {
                const bool c = !((dst[i] >> bit) & 1), m = !((dst[planeOffset + i] >> bit) & 1);
                const bool y = !((dst[2 * planeOffset + i] >> bit) & 1),
                           k = !((dst[3 * planeOffset + i] >> bit) & 1);
                const uint32_t x = (i % stride) * 8 + (7 - bit), row = i / stride;
                const bool yellowWanted =
                    halftone_test::Dot(static_cast<uint8_t>(grey),
                                       halftone_test::Threshold(screen.plane[kScreenYellow], row, x));
                fullInk += c && m && k;
                yellowDots += y;
                expectedYellow += yellowWanted && !(c && m && k);
                ASSERT_FALSE(y && c && m && k);
            }
        }
        EXPECT_EQ(yellowDots, expectedYellow) << "grey " << grey;
        if (grey == 0) {
            EXPECT_EQ(fullInk, static_cast<size_t>(width) * rows);
            EXPECT_EQ(yellowDots, 0u);
        }
    }
}

// ---------------------------------------------------------------------------
// Bad calls

TEST(MaskBand, RefusesCallsItCannotServeWithoutTouchingThePlanes) {
    int handle = 0;
    FBScreen grey, colour, empty;
    FBMaskInitialize(&grey, 0, 600, nullptr);
    FBMaskInitialize(&colour, 0, 600, &handle);
    std::vector<uint8_t> src(64 * 4, 0), dst(64, 0x77);
    uint8_t blank[4] = {};
    auto untouched = [&] { return std::all_of(dst.begin(), dst.end(), [](uint8_t b) { return b == 0x77; }); };

    EXPECT_EQ(MaskBand8(&grey, dst.data(), 2, src.data(), 0, 12, 1, blank), 0);  // not a multiple of 8
    EXPECT_EQ(BlankFlags(blank), kBlankAll);
    EXPECT_EQ(MaskBand8(&empty, dst.data(), 2, src.data(), 0, 16, 1, blank), 0);
    EXPECT_EQ(MaskBand8(nullptr, dst.data(), 2, src.data(), 0, 16, 1, blank), 0);
    EXPECT_EQ(MaskBand8(&grey, nullptr, 2, src.data(), 0, 16, 1, blank), 0);
    EXPECT_EQ(MaskBand8(&grey, dst.data(), 2, nullptr, 0, 16, 1, blank), 0);
    EXPECT_EQ(MaskBand8(&grey, dst.data(), 2, src.data(), 0, 16, 1, nullptr), 0);
    EXPECT_EQ(MaskBand32(&grey, dst.data(), 4, 2, src.data(), 0, 16, 1, blank), 0);  // grey set-up
    EXPECT_EQ(MaskBand32(&colour, dst.data(), 4, 2, src.data(), 0, 20, 1, blank), 0);

    FBScreen tooWide = grey;  // a matrix wider than the row buffers
    tooWide.plane[kScreenBlack].width = kMaxMaskWidth + 8;
    tooWide.plane[kScreenBlack].size = tooWide.plane[kScreenBlack].width * tooWide.plane[kScreenBlack].height;
    EXPECT_EQ(MaskBand8(&tooWide, dst.data(), 2, src.data(), 0, 16, 1, blank), 0);
    FBScreen inconsistent = grey;
    inconsistent.plane[kScreenBlack].size = 100;
    EXPECT_EQ(MaskBand8(&inconsistent, dst.data(), 2, src.data(), 0, 16, 1, blank), 0);
    inconsistent.plane[kScreenBlack] = FBScreenPlane{16, 1u << 28, 0, MaskPhoto600K};  // 16 << 28 wraps to 0
    EXPECT_EQ(MaskBand8(&inconsistent, dst.data(), 2, src.data(), 0x7FFFFFFF, 16, 1, blank), 0);
    EXPECT_EQ(BlankFlags(blank), kBlankAll);
    EXPECT_TRUE(untouched());

    // No rows: nothing to do, a success with every plane blank.
    EXPECT_EQ(MaskBand8(&grey, dst.data(), 2, src.data(), 0, 16, 0, blank), 1);
    EXPECT_EQ(MaskBand32(&colour, dst.data(), 4, 2, src.data(), 0, 16, 0, blank), 1);
    EXPECT_EQ(BlankFlags(blank), kBlankAll);
    EXPECT_TRUE(untouched());
}

}  // namespace
