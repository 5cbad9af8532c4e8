// Watermark shades and their patterns.
#include <gtest/gtest.h>

#include "engine/watermark.h"
#include "playback_test_support.h"

namespace {

using playback_test::Band;
using playback_test::DL;
using Rows = std::vector<std::string>;

int ShadeOf(uint32_t colour) {
    TRect r;
    r.colour = colour;
    return FindShadowId(&r);
}

TEST(Watermark, ShadeComesFromTheFirstMatchingColour) {
    EXPECT_EQ(ShadeOf(0x808080), 2);
    EXPECT_EQ(ShadeOf(0xE0E0E0), 4);
    EXPECT_EQ(ShadeOf(0x123456), 2);  // unlisted: medium
    EXPECT_EQ(ShadeOf(0x000000), 0);  // black: family 0, extra dark
    EXPECT_EQ(ShadeOf(0xC0C0C0), 3);
    EXPECT_EQ(ShadeOf(0x4040C0), 1);
    EXPECT_EQ(ShadeOf(0x802020), 0);
}

TEST(Watermark, PatternRowsFollowThePageRowAndTheStartColumn) {
    // Medium (0xCC 0x66 0x33 0x99) on grey, colour 0x808080 -> grey 128.
    // Starting at column 1 shifts the byte index by one: row 0 takes
    // B[(0 - 1) mod 4] = 0x99.
    Band band(false, 32, 4);
    band.Play(DL().Op(DL_WATERMARK_BEGIN).RopColour(0xF0, 0x81808080).At(0, 1).Box8(4, 8));
    EXPECT_EQ(band.Rows(9), (Rows{".#..##..#", ".##..##..", "..##..##.", "...##..##"}));
    EXPECT_EQ(band.Pixel(0, 1), 128u);
}

TEST(Watermark, MaskedRequestsPaintWhereBothMaskAndPatternAreSet) {
    // Extra dark (black) paints every pixel; the glyph mask 0xF0 limits it.
    Band band(true, 32, 2);
    band.Play(DL().Op(DL_WATERMARK_BEGIN).Black().At(0, 0).Glyph(0, 2, 8, {0xF0, 0, 0, 0, 0x0F, 0, 0, 0}));
    EXPECT_EQ(band.Rows(8), (Rows{"####....", "....####"}));
    EXPECT_EQ(band.Pixel(0, 0), 0x01000000u);
}

TEST(Watermark, RequestIsCutBeforeTheBandsLastColumn) {
    Band band(false, 32, 1);
    band.Play(DL().Op(DL_WATERMARK_BEGIN).Black().At(0, 28).Box8(1, 20));
    EXPECT_EQ(band.Row(0, 32).substr(26), "..###.");
    EXPECT_TRUE(band.GuardsIntact());
}

}  // namespace
