#include "job/bitmap_font.h"

#include <array>

#include "formats/display_list.h"

namespace {

struct GlyphSource {
    char c;
    const char* picture;  // rows of '#' (ink) and '.', separated by '|'
};

// The glyphs as pictures, one row per '|'-separated part, top row first;
// rows not given are blank. Capitals and digits use rows 0..6, lower case
// has its x-height at rows 2..6, descenders reach rows 7 and 8.
constexpr GlyphSource kPictures[] = {
    {' ', ""},
    {'!', "..#..|..#..|..#..|..#..|..#..|.....|..#.."},
    {'"', ".#.#.|.#.#.|.#.#."},
    {'#', ".#.#.|.#.#.|#####|.#.#.|#####|.#.#.|.#.#."},
    {'$', "..#..|.####|#.#..|.###.|..#.#|####.|..#.."},
    {'%', "##...|##..#|...#.|..#..|.#...|#..##|...##"},
    {'&', ".##..|#..#.|#.#..|.#...|#.#.#|#..#.|.##.#"},
    {'\'', "..#..|..#..|.#..."},
    {'(', "...#.|..#..|.#...|.#...|.#...|..#..|...#."},
    {')', ".#...|..#..|...#.|...#.|...#.|..#..|.#..."},
    {'*', ".....|..#..|#.#.#|.###.|#.#.#|..#..|....."},
    {'+', ".....|..#..|..#..|#####|..#..|..#..|....."},
    {',', ".....|.....|.....|.....|.....|.##..|.##..|..#..|.#..."},
    {'-', ".....|.....|.....|#####|.....|.....|....."},
    {'.', ".....|.....|.....|.....|.....|.##..|.##.."},
    {'/', ".....|....#|...#.|..#..|.#...|#....|....."},
    {'0', ".###.|#...#|#..##|#.#.#|##..#|#...#|.###."},
    {'1', "..#..|.##..|..#..|..#..|..#..|..#..|.###."},
    {'2', ".###.|#...#|....#|...#.|..#..|.#...|#####"},
    {'3', "#####|...#.|..#..|...#.|....#|#...#|.###."},
    {'4', "...#.|..##.|.#.#.|#..#.|#####|...#.|...#."},
    {'5', "#####|#....|####.|....#|....#|#...#|.###."},
    {'6', "..##.|.#...|#....|####.|#...#|#...#|.###."},
    {'7', "#####|....#|...#.|..#..|.#...|.#...|.#..."},
    {'8', ".###.|#...#|#...#|.###.|#...#|#...#|.###."},
    {'9', ".###.|#...#|#...#|.####|....#|...#.|.##.."},
    {':', ".....|.##..|.##..|.....|.##..|.##..|....."},
    {';', ".....|.##..|.##..|.....|.##..|.##..|..#..|.#..."},
    {'<', "...#.|..#..|.#...|#....|.#...|..#..|...#."},
    {'=', ".....|.....|#####|.....|#####|.....|....."},
    {'>', ".#...|..#..|...#.|....#|...#.|..#..|.#..."},
    {'?', ".###.|#...#|....#|...#.|..#..|.....|..#.."},
    {'@', ".###.|#...#|....#|.##.#|#.#.#|#.#.#|.###."},
    {'A', ".###.|#...#|#...#|#####|#...#|#...#|#...#"},
    {'B', "####.|#...#|#...#|####.|#...#|#...#|####."},
    {'C', ".###.|#...#|#....|#....|#....|#...#|.###."},
    {'D', "###..|#..#.|#...#|#...#|#...#|#..#.|###.."},
    {'E', "#####|#....|#....|####.|#....|#....|#####"},
    {'F', "#####|#....|#....|####.|#....|#....|#...."},
    {'G', ".###.|#...#|#....|#.###|#...#|#...#|.####"},
    {'H', "#...#|#...#|#...#|#####|#...#|#...#|#...#"},
    {'I', ".###.|..#..|..#..|..#..|..#..|..#..|.###."},
    {'J', "..###|...#.|...#.|...#.|...#.|#..#.|.##.."},
    {'K', "#...#|#..#.|#.#..|##...|#.#..|#..#.|#...#"},
    {'L', "#....|#....|#....|#....|#....|#....|#####"},
    {'M', "#...#|##.##|#.#.#|#.#.#|#...#|#...#|#...#"},
    {'N', "#...#|#...#|##..#|#.#.#|#..##|#...#|#...#"},
    {'O', ".###.|#...#|#...#|#...#|#...#|#...#|.###."},
    {'P', "####.|#...#|#...#|####.|#....|#....|#...."},
    {'Q', ".###.|#...#|#...#|#...#|#.#.#|#..#.|.##.#"},
    {'R', "####.|#...#|#...#|####.|#.#..|#..#.|#...#"},
    {'S', ".####|#....|#....|.###.|....#|....#|####."},
    {'T', "#####|..#..|..#..|..#..|..#..|..#..|..#.."},
    {'U', "#...#|#...#|#...#|#...#|#...#|#...#|.###."},
    {'V', "#...#|#...#|#...#|#...#|#...#|.#.#.|..#.."},
    {'W', "#...#|#...#|#...#|#.#.#|#.#.#|#.#.#|.#.#."},
    {'X', "#...#|#...#|.#.#.|..#..|.#.#.|#...#|#...#"},
    {'Y', "#...#|#...#|.#.#.|..#..|..#..|..#..|..#.."},
    {'Z', "#####|....#|...#.|..#..|.#...|#....|#####"},
    {'[', ".###.|.#...|.#...|.#...|.#...|.#...|.###."},
    {'\\', ".....|#....|.#...|..#..|...#.|....#|....."},
    {']', ".###.|...#.|...#.|...#.|...#.|...#.|.###."},
    {'^', "..#..|.#.#.|#...#"},
    {'_', ".....|.....|.....|.....|.....|.....|.....|#####"},
    {'`', ".#...|..#..|...#."},
    {'a', ".....|.....|.###.|....#|.####|#...#|.####"},
    {'b', "#....|#....|#.##.|##..#|#...#|#...#|####."},
    {'c', ".....|.....|.###.|#....|#....|#...#|.###."},
    {'d', "....#|....#|.##.#|#..##|#...#|#...#|.####"},
    {'e', ".....|.....|.###.|#...#|#####|#....|.###."},
    {'f', "..##.|.#..#|.#...|###..|.#...|.#...|.#..."},
    {'g', ".....|.....|.####|#...#|#...#|#...#|.####|....#|.###."},
    {'h', "#....|#....|#.##.|##..#|#...#|#...#|#...#"},
    {'i', "..#..|.....|.##..|..#..|..#..|..#..|.###."},
    {'j', "...#.|.....|..##.|...#.|...#.|...#.|...#.|#..#.|.##.."},
    {'k', "#....|#....|#..#.|#.#..|##...|#.#..|#..#."},
    {'l', ".##..|..#..|..#..|..#..|..#..|..#..|.###."},
    {'m', ".....|.....|##.#.|#.#.#|#.#.#|#.#.#|#.#.#"},
    {'n', ".....|.....|#.##.|##..#|#...#|#...#|#...#"},
    {'o', ".....|.....|.###.|#...#|#...#|#...#|.###."},
    {'p', ".....|.....|####.|#...#|#...#|#...#|####.|#....|#...."},
    {'q', ".....|.....|.####|#...#|#...#|#...#|.####|....#|....#"},
    {'r', ".....|.....|#.##.|##..#|#....|#....|#...."},
    {'s', ".....|.....|.####|#....|.###.|....#|####."},
    {'t', ".#...|.#...|###..|.#...|.#...|.#..#|..##."},
    {'u', ".....|.....|#...#|#...#|#...#|#..##|.##.#"},
    {'v', ".....|.....|#...#|#...#|#...#|.#.#.|..#.."},
    {'w', ".....|.....|#...#|#...#|#.#.#|#.#.#|.#.#."},
    {'x', ".....|.....|#...#|.#.#.|..#..|.#.#.|#...#"},
    {'y', ".....|.....|#...#|#...#|#...#|#...#|.####|....#|.###."},
    {'z', ".....|.....|#####|...#.|..#..|.#...|#####"},
    {'{', "...#.|..#..|..#..|.#...|..#..|..#..|...#."},
    {'|', "..#..|..#..|..#..|..#..|..#..|..#..|..#.."},
    {'}', ".#...|..#..|..#..|...#.|..#..|..#..|.#..."},
    {'~', ".....|.....|.#...|#.#.#|...#.|.....|....."},
};
constexpr size_t kGlyphCount = sizeof(kPictures) / sizeof(kPictures[0]);
static_assert(kGlyphCount == 95, "one glyph per character from 32 to 126");

using GlyphRows = std::array<uint8_t, kFontCellRows>;

// Turns a picture into rows; a picture that is not 5 columns wide or has
// too many rows makes the build fail, as does a character out of place.
constexpr GlyphRows ParsePicture(const char* picture) {
    GlyphRows rows{};
    uint32_t row = 0, column = 0;
    for (const char* p = picture; *p; ++p) {
        if (*p == '|') {
            if (column != kFontGlyphWidth) throw "glyph row is not 5 columns wide";
            ++row;
            column = 0;
            continue;
        }
        if (row >= kFontCellRows || column >= kFontGlyphWidth) throw "glyph is too large";
        if (*p == '#') rows[row] |= static_cast<uint8_t>(0x10 >> column);
        else if (*p != '.') throw "glyph pictures hold only '#' and '.'";
        ++column;
    }
    if (column != 0 && column != kFontGlyphWidth) throw "glyph row is not 5 columns wide";
    return rows;
}

constexpr std::array<GlyphRows, kGlyphCount> ParseFont() {
    std::array<GlyphRows, kGlyphCount> font{};
    for (size_t i = 0; i < kGlyphCount; ++i) {
        if (kPictures[i].c != static_cast<char>(32 + i)) throw "glyphs must be in character order";
        font[i] = ParsePicture(kPictures[i].picture);
    }
    return font;
}

constexpr std::array<GlyphRows, kGlyphCount> kFont = ParseFont();

void SetBit(std::vector<uint8_t>& bits, uint32_t stride, uint32_t row, uint32_t column) {
    bits[size_t{row} * stride + column / 8] |= static_cast<uint8_t>(0x80 >> (column % 8));
}

}  // namespace

const uint8_t* FontGlyphRows(char c) {
    const auto code = static_cast<unsigned char>(c);
    if (code < 32 || code > 126) return kFont['?' - 32].data();
    return kFont[code - 32].data();
}

FontBitmap RenderFontGlyph(char c, uint32_t factor, bool trim) {
    FontBitmap glyph;
    if (factor == 0 || factor > 255) return glyph;
    const uint8_t* rows = FontGlyphRows(c);
    uint32_t first = 0, last = kFontCellRows - 1;
    if (trim) {
        while (first < kFontCellRows && rows[first] == 0) ++first;
        if (first == kFontCellRows) return glyph;  // no ink
        while (rows[last] == 0) --last;
    }
    glyph.width = static_cast<uint16_t>(kFontGlyphWidth * factor);
    glyph.rows = static_cast<uint16_t>((last - first + 1) * factor);
    glyph.top = static_cast<uint16_t>(first * factor);
    const uint32_t stride = MaskStride(glyph.width);
    glyph.bits.assign(size_t{stride} * glyph.rows, 0);
    for (uint32_t r = first; r <= last; ++r) {
        for (uint32_t col = 0; col < kFontGlyphWidth; ++col) {
            if (!(rows[r] & (0x10 >> col))) continue;
            for (uint32_t dy = 0; dy < factor; ++dy)
                for (uint32_t dx = 0; dx < factor; ++dx)
                    SetBit(glyph.bits, stride, (r - first) * factor + dy, col * factor + dx);
        }
    }
    return glyph;
}

FontBitmap RenderFontText(std::string_view text, uint32_t factor) {
    FontBitmap line;
    if (factor == 0 || factor > 255 || text.empty()) return line;
    const uint64_t width = uint64_t{text.size()} * kFontAdvance * factor;
    if (width > 0xFFFF) return line;
    line.width = static_cast<uint16_t>(width);
    line.rows = static_cast<uint16_t>(kFontCellRows * factor);
    const uint32_t stride = MaskStride(line.width);
    line.bits.assign(size_t{stride} * line.rows, 0);
    for (size_t i = 0; i < text.size(); ++i) {
        const uint8_t* rows = FontGlyphRows(text[i]);
        const uint32_t left = static_cast<uint32_t>(i) * kFontAdvance * factor;
        for (uint32_t r = 0; r < kFontCellRows * factor; ++r)
            for (uint32_t col = 0; col < kFontGlyphWidth * factor; ++col)
                if (rows[r / factor] & (0x10 >> (col / factor))) SetBit(line.bits, stride, r, left + col);
    }
    return line;
}

std::vector<PlacedGlyph> LayOutText(std::string_view text, uint32_t x, uint32_t y, uint32_t factor) {
    std::vector<PlacedGlyph> placed;
    for (size_t i = 0; i < text.size(); ++i) {
        FontBitmap bitmap = RenderFontGlyph(text[i], factor, true);
        if (bitmap.Empty()) continue;
        const uint32_t glyphX = x + static_cast<uint32_t>(i) * kFontAdvance * factor;
        const uint32_t glyphY = y + bitmap.top;
        placed.push_back({glyphX, glyphY, std::move(bitmap)});
    }
    return placed;
}
