// The font: known glyphs dot by dot, enlargement, trimming and layout.
#include "job/bitmap_font.h"

#include <gtest/gtest.h>

namespace {

// Row r of a bitmap as its first two bytes (big enough for factor 1 and 2).
uint16_t Row(const FontBitmap& g, uint32_t r) {
    const size_t stride = ((g.width + 31u) / 32u) * 4u;
    return static_cast<uint16_t>(g.bits[r * stride] << 8 | g.bits[r * stride + 1]);
}

TEST(BitmapFont, CapitalAIsDrawnAsDesigned) {
    const FontBitmap a = RenderFontGlyph('A', 1, false);
    EXPECT_EQ(a.width, 5);
    EXPECT_EQ(a.rows, 9);
    EXPECT_EQ(a.bits.size(), 9u * 4);
    // .###. #...# #...# ##### #...# #...# #...#, then two blank rows, most
    // significant bit leftmost.
    const uint16_t expected[9] = {0x7000, 0x8800, 0x8800, 0xF800, 0x8800, 0x8800, 0x8800, 0, 0};
    for (uint32_t r = 0; r < 9; ++r) EXPECT_EQ(Row(a, r), expected[r]) << "row " << r;
}

TEST(BitmapFont, EnlargementRepeatsEveryDot) {
    const FontBitmap a = RenderFontGlyph('A', 2, false);
    EXPECT_EQ(a.width, 10);
    EXPECT_EQ(a.rows, 18);
    EXPECT_EQ(Row(a, 0), 0x3F00);  // ..######..
    EXPECT_EQ(Row(a, 1), 0x3F00);
    EXPECT_EQ(Row(a, 2), 0xC0C0);  // ##......##
    EXPECT_EQ(Row(a, 6), 0xFFC0);  // ##########
    EXPECT_EQ(Row(a, 16), 0);
    // Factor 7: 35 columns need two 32-bit words a row.
    const FontBitmap big = RenderFontGlyph('I', 7, false);
    EXPECT_EQ(big.bits.size(), 63u * 8);
}

TEST(BitmapFont, TrimmingKeepsOnlyTheInkedRows) {
    const FontBitmap g = RenderFontGlyph('g', 3, true);
    EXPECT_EQ(g.top, 6);           // x-height starts at row 2
    EXPECT_EQ(g.rows, 21);         // rows 2..8
    EXPECT_EQ(Row(g, 0), 0x1FFE);  // .#### at factor 3: columns 3..14
    EXPECT_TRUE(RenderFontGlyph(' ', 4, true).Empty());
    EXPECT_FALSE(RenderFontGlyph(' ', 4, false).Empty());
}

TEST(BitmapFont, EveryPrintableCharacterHasInkAndOthersShowAQuestionMark) {
    for (int c = 33; c <= 126; ++c) {
        const uint8_t* rows = FontGlyphRows(static_cast<char>(c));
        int ink = 0;
        for (uint32_t r = 0; r < kFontCellRows; ++r) ink |= rows[r];
        EXPECT_NE(ink, 0) << "character " << c;
        EXPECT_EQ(ink & ~0x1F, 0) << "character " << c;
    }
    EXPECT_EQ(FontGlyphRows('\x7F'), FontGlyphRows('?'));
    EXPECT_EQ(FontGlyphRows('\n'), FontGlyphRows('?'));
    EXPECT_NE(FontGlyphRows('A'), FontGlyphRows('B'));
    EXPECT_TRUE(RenderFontGlyph('A', 0, false).Empty());
}

TEST(BitmapFont, LayOutAdvancesByTheCellAndSkipsBlanks) {
    const auto glyphs = LayOutText("a b", 100, 50, 2);
    ASSERT_EQ(glyphs.size(), 2u);
    EXPECT_EQ(glyphs[0].x, 100u);
    EXPECT_EQ(glyphs[0].y, 54u);  // x-height starts 2 font rows down
    EXPECT_EQ(glyphs[1].x, 100u + 2 * 6 * 2);
    EXPECT_EQ(glyphs[1].y, 50u);  // 'b' has an ascender
}

}  // namespace
