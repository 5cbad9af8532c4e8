// A small bitmap font of our own for text in composed jobs: ASCII 32 to 126,
// each glyph 5 columns wide in a cell of 9 rows (7 rows down to the baseline,
// 2 for descenders), drawn by hand as data in bitmap_font.cpp. Glyphs are
// enlarged by whole factors (each dot becomes factor x factor dots), which
// keeps them crisp at printer resolutions.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

constexpr uint32_t kFontGlyphWidth = 5;
constexpr uint32_t kFontCellRows = 9;
constexpr uint32_t kFontBaselineRows = 7;  // rows 0..6 stand on the baseline
constexpr uint32_t kFontAdvance = 6;       // columns from one glyph to the next
constexpr uint32_t kFontLineAdvance = 11;  // rows from one line to the next

// The nine rows of a character's glyph, bit 4 the leftmost column; the glyph
// of '?' for characters outside 32..126.
const uint8_t* FontGlyphRows(char c);

// A glyph as a 1-bit mask ready for the display list: most significant bit
// first, rows padded to 4 bytes.
struct FontBitmap {
    uint16_t width = 0;  // dots
    uint16_t rows = 0;
    uint16_t top = 0;  // dots from the top of the cell to the first row
    std::vector<uint8_t> bits;
    bool Empty() const { return rows == 0; }
};

// The glyph enlarged `factor` times (1..255). With `trim`, blank rows above
// and below the ink are left out (top says where the ink starts); a glyph
// with no ink (space) is then empty.
FontBitmap RenderFontGlyph(char c, uint32_t factor, bool trim);

// A line of text as one bitmap: the full cell height, kFontAdvance x factor
// columns a character; empty when the text is empty or over 65535 dots wide.
FontBitmap RenderFontText(std::string_view text, uint32_t factor);

// A glyph placed on the page: its bitmap's top-left corner in dots.
struct PlacedGlyph {
    uint32_t x = 0;
    uint32_t y = 0;
    FontBitmap bitmap;
};

// Lays out one line of text whose cell starts at (x, y): trimmed glyphs, no
// entries for blanks.
std::vector<PlacedGlyph> LayOutText(std::string_view text, uint32_t x, uint32_t y, uint32_t factor);
