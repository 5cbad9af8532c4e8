// Coordinate scaling, 1-bit realignment and 1-bit resampling.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "engine/bitmap_1bpp.h"
#include "engine/scaling.h"

namespace {

TRect Box(uint32_t row, uint32_t rows, uint32_t xs, uint32_t xe) {
    TRect r;
    r.row = row;
    r.rows = rows;
    r.xs = xs;
    r.xe = xe;
    return r;
}

TEST(Scaling, BoxesTruncateButKeepAtLeastOnePixel) {
    TRect r = Box(3, 1, 3, 4);
    RDScaleTRect(&r, 100, 200);
    EXPECT_EQ(r.row, 6u);
    EXPECT_EQ(r.rows, 2u);
    EXPECT_EQ(r.xs, 6u);
    EXPECT_EQ(r.xe, 8u);

    r = Box(5, 1, 5, 6);  // 1/3: rows 1..2 -> 1..2 would vanish
    RDScaleTRect(&r, 3, 1);
    EXPECT_EQ(r.row, 1u);
    EXPECT_EQ(r.rows, 1u);
    EXPECT_EQ(r.xs, 1u);
    EXPECT_EQ(r.xe, 2u);

    r = Box(5, 0, 5, 5);  // an empty box stays empty
    RDScaleTRect(&r, 3, 1);
    EXPECT_EQ(r.rows, 0u);
    EXPECT_EQ(r.xe, r.xs);
}

TEST(Scaling, ReducedSpansRoundUpAndEnlargedOnesTruncate) {
    TRect r = Box(1, 3, 1, 6);  // 2/3: rows ceil(2/3)=1 .. ceil(8/3)=3, columns 1 .. 4
    RDScaleTRectF(&r, 3, 2);
    EXPECT_EQ(r.row, 1u);
    EXPECT_EQ(r.rows, 2u);
    EXPECT_EQ(r.xs, 1u);
    EXPECT_EQ(r.xe, 4u);

    r = Box(1, 1, 1, 2);  // 3/2 enlarging: as boxes, floor(1.5)=1 .. floor(3)=3
    RDScaleTRectF(&r, 2, 3);
    EXPECT_EQ(r.row, 1u);
    EXPECT_EQ(r.rows, 2u);
    EXPECT_EQ(r.xs, 1u);
    EXPECT_EQ(r.xe, 3u);
}

TEST(Scaling, AdjacentReducedSpansNeitherOverlapNorLeaveGaps) {
    // Equivalence: two spans side by side cover exactly what one span covers.
    for (uint32_t num = 1; num <= 7; ++num) {
        for (uint32_t cut = 1; cut < 40; ++cut) {
            TRect left = Box(0, 1, 0, cut), right = Box(0, 1, cut, 40), whole = Box(0, 1, 0, 40);
            RDScaleTRectF(&left, 7, num);
            RDScaleTRectF(&right, 7, num);
            RDScaleTRectF(&whole, 7, num);
            EXPECT_EQ(left.xe, right.xs);
            EXPECT_EQ(left.xs, whole.xs);
            EXPECT_EQ(right.xe, whole.xe);
        }
    }
}

TEST(Scaling, HugeFactorsSaturateInsteadOfWrapping) {
    TRect r = Box(7000, 10, 7000, 7010);
    RDScaleTRect(&r, 1, 0x80000000u);
    EXPECT_EQ(r.xs, 0xFFFFFFFFu);  // far off the page, not wrapped back onto it
    EXPECT_EQ(r.row, 0xFFFFFFFFu);
    EXPECT_EQ(RDScaleFloor(0x1FFFFFFFEull, 0xFFFFFFFFu, 0xFFFFFFFFu), 0xFFFFFFFFu);
    EXPECT_EQ(RDScaleFloor(0x1FFFFFFFEull, 4, 1), 0x7FFFFFFFu);
    EXPECT_EQ(RDScaleCeil(0x1FFFFFFFEull, 0xFFFFFFFFu, 1), 2u);
    EXPECT_EQ(RDScaleCeil(10, 0, 5), 10u);  // no divisor: unscaled
    TLine l{10, 20, 30, 40};
    RDScaleTLines(&l, 10, 15);
    EXPECT_EQ(l.x1, 15u);
    EXPECT_EQ(l.y2, 60u);
    RDRect box{1, 2, 3, 4};
    RDScaleRectF(&box, 3, 2);
    EXPECT_EQ(box.left, 1u);
    EXPECT_EQ(box.top, 2u);
    EXPECT_EQ(box.right, 2u);
    EXPECT_EQ(box.bottom, 3u);
}

// ---- 1-bit masks --------------------------------------------------------------

bool Bit(const uint8_t* row, uint32_t x) { return row[x / 8] & (0x80 >> (x % 8)); }

std::string Picture(const std::vector<uint8_t>& bits, uint32_t width, uint32_t rows) {
    std::string s;
    for (uint32_t r = 0; r < rows; ++r) {
        for (uint32_t x = 0; x < width; ++x) s += Bit(&bits[r * MaskStride(width)], x) ? '#' : '.';
        s += '\n';
    }
    return s;
}

TEST(Bitmap1bpp, DeletebLeftDropsTheLeadingBitsOfEveryRow) {
    // Rows of 40 bits with offset 13: the source stride is 8, the result's 4.
    std::vector<uint8_t> src = {0xFF, 0xFA, 0xAA, 0xAA, 0xA0, 0, 0, 0, 0x00, 0x03, 0x33, 0x33, 0x30, 0, 0, 0};
    std::vector<uint8_t> dst(2 * 4);
    TRect r = Box(0, 2, 100, 140);
    r.bits = src.data();
    r.bitOffset = 13;
    DeletebLeft(&r, dst.data());
    EXPECT_EQ(r.xs, 113u);
    EXPECT_EQ(r.bitOffset, 0);
    EXPECT_EQ(r.bits, dst.data());
    // Bits 13.. of 1111 1111 1111 1010 1010 ...: 010 1010 1010 ...
    EXPECT_EQ(dst[0], 0x55);
    EXPECT_EQ(dst[1], 0x55);
    EXPECT_EQ(dst[4], 0x66);
    EXPECT_EQ(dst[5], 0x66);
}

TEST(Bitmap1bpp, TwoByTwoToThreeByThreeCoversOneThenTwo) {
    std::vector<uint8_t> src = {0x80, 0, 0, 0, 0x40, 0, 0, 0};  // 10 / 01
    std::vector<uint8_t> dst(3 * 4);
    Scale1BPPBitmap(dst.data(), 3, 3, src.data(), 2, 2);
    EXPECT_EQ(Picture(dst, 3, 3), "#..\n.##\n.##\n");
}

TEST(Bitmap1bpp, ReducingDropsSourcePixelsWithoutMergingThem) {
    // 3 -> 2 columns: column 0 covers none, 1 and 2 one each.
    std::vector<uint8_t> src = {0x80, 0, 0, 0, 0x40, 0, 0, 0, 0x20, 0, 0, 0};
    std::vector<uint8_t> dst(2 * 4);
    Scale1BPPBitmap(dst.data(), 2, 2, src.data(), 3, 3);
    EXPECT_EQ(Picture(dst, 2, 2), "#.\n.#\n");
}

TEST(Bitmap1bpp, LargeSingleSourcePixelCoversMoreThan255Pixels) {
    std::vector<uint8_t> src = {0x80, 0, 0, 0};
    std::vector<uint8_t> dst(MaskStride(300) * 2);
    Scale1BPPBitmap(dst.data(), 300, 2, src.data(), 1, 1);
    for (uint32_t x = 0; x < 300; ++x) ASSERT_TRUE(Bit(dst.data(), x)) << x;
    EXPECT_EQ(dst[37] & 0x0F, 0);  // nothing past column 299
}

TEST(Bitmap1bpp, WithoutSmoothingEachDestinationPixelIsItsNearestSourcePixel) {
    // Equivalence with a per-pixel formula: destination x shows source
    // column floor(((x + 1) * srcWidth - 1) / dstWidth), likewise for rows.
    std::mt19937 rng(7);
    const uint32_t sizes[][4] = {{16, 12, 24, 18}, {16, 12, 10, 7}, {37, 9, 50, 20}, {40, 30, 41, 31}};
    for (const auto& s : sizes) {
        const uint32_t sw = s[0], sr = s[1], dw = s[2], dr = s[3];
        std::vector<uint8_t> src(MaskStride(sw) * sr);
        for (auto& b : src) b = static_cast<uint8_t>(rng());
        std::vector<uint8_t> dst(MaskStride(dw) * dr);
        Scale1BPPBitmap(dst.data(), dw, dr, src.data(), sw, sr);
        for (uint32_t y = 0; y < dr; ++y) {
            const uint32_t sy = ((y + 1) * sr - 1) / dr;
            for (uint32_t x = 0; x < dw; ++x) {
                const uint32_t sx = ((x + 1) * sw - 1) / dw;
                ASSERT_EQ(Bit(&dst[y * MaskStride(dw)], x), Bit(&src[sy * MaskStride(sw)], sx))
                    << sw << "x" << sr << " -> " << dw << "x" << dr << " at " << x << "," << y;
            }
        }
    }
}

// A staircase: source row j has ink in columns 0..j (16 x 8).
std::vector<uint8_t> Staircase() {
    std::vector<uint8_t> src(8 * 4);
    for (uint32_t j = 0; j < 8; ++j) {
        for (uint32_t x = 0; x <= j; ++x) src[j * 4 + x / 8] |= 0x80 >> (x % 8);
    }
    return src;
}

// The staircase scaled to a size, and the top left of what comes out.
struct StaircaseCase {
    const char* name;
    uint32_t dstWidth, dstRows, srcRows;
    uint32_t shownWidth, shownRows;
    const char* picture;
};

class ScaledStaircase : public testing::TestWithParam<StaircaseCase> {};

TEST_P(ScaledStaircase, HasTheExpectedEdge) {
    const StaircaseCase& c = GetParam();
    const std::vector<uint8_t> src = Staircase();
    std::vector<uint8_t> dst(MaskStride(c.dstWidth) * c.dstRows);
    Scale1BPPBitmap(dst.data(), c.dstWidth, c.dstRows, src.data(), 16, c.srcRows);
    EXPECT_EQ(Picture(dst, c.shownWidth, c.shownRows), c.picture);
}

INSTANTIATE_TEST_SUITE_P(
    Bitmap1bpp, ScaledStaircase,
    testing::Values(
        // Pure doubling would give pairs of equal rows (2, 2, 4, 4, 6, 6, ...);
        // the smoothing puts one more pixel on the second row of each pair.
        StaircaseCase{"DoublingSmoothsTheStairs", 32, 16, 8, 12, 8,
                      "##..........\n"
                      "##..........\n"
                      "####........\n"
                      "#####.......\n"
                      "######......\n"
                      "#######.....\n"
                      "########....\n"
                      "#########...\n"},
        // One and a half times is plain replication: source row j covers
        // floor(1.5 j) .. floor(1.5 (j + 1)) - 1.
        StaircaseCase{"OneAndAHalfTimesIsNotSmoothed", 24, 12, 8, 8, 6,
                      "#.......\n"
                      "###.....\n"
                      "###.....\n"
                      "####....\n"
                      "######..\n"
                      "######..\n"},
        // Seven source rows: below the eight rows the smoothing needs.
        StaircaseCase{"ShortSourcesAreNotSmoothed", 32, 14, 7, 6, 4, "##....\n##....\n####..\n####..\n"}),
    [](const testing::TestParamInfo<StaircaseCase>& p) { return std::string(p.param.name); });

}  // namespace
