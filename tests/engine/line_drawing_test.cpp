// Lines played from display lists into bands: the equivalences a line
// drawer must keep (direction, band cuts, pattern carried from segment to
// segment), the worked examples of the drawers, every style on grey and
// colour pages, and hostile coordinates.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "engine/display_list.h"
#include "engine/line_slice.h"
#include "playback_test_support.h"

namespace {

using playback_test::Band;
using playback_test::DL;
using Rows = std::vector<std::string>;

constexpr uint32_t kRed = 0x810000FF;  // 0x81BBGGRR

DL& Line(DL& list, uint32_t x1, uint32_t y1, uint32_t x2, uint32_t y2) {
    return list.At(static_cast<uint16_t>(y1), static_cast<uint16_t>(x1)).Op(DL_LINE).U16(x2).U16(y2);
}
DL& LineTo(DL& list, uint32_t x, uint32_t y) { return list.Op(DL_LINE_TO).U16(y).U16(x); }
DL& Style(DL& list, uint8_t style) { return list.Op(DL_SET_LINE_STYLE).U8(style); }
DL& Phase(DL& list, uint16_t phase) { return list.Op(DL_SET_STYLE_PHASE).U16(phase); }

// A whole page drawn band by band, as the page printer does: every band
// replays the whole list.
struct Page {
    bool colour;
    uint32_t width, rows;
    std::vector<uint32_t> pixels;

    uint32_t At(uint32_t x, uint32_t y) const { return pixels[size_t{y} * width + x]; }
    bool operator==(const Page& other) const { return pixels == other.pixels; }
};

Page RenderPage(const DL& list, bool colour, uint32_t width, uint32_t rows, uint32_t bandRows) {
    Page page{colour, width, rows, std::vector<uint32_t>(size_t{width} * rows)};
    Band band(colour, width, bandRows, rows);
    for (uint32_t top = 0; top < rows; top += bandRows) {
        band.Play({list.bytes()}, top);
        EXPECT_TRUE(band.GuardsIntact());
        for (uint32_t r = 0; r < bandRows && top + r < rows; ++r)
            for (uint32_t c = 0; c < width; ++c) page.pixels[size_t{top + r} * width + c] = band.Pixel(r, c);
    }
    return page;
}

// Where two pages differ first, for the failure message.
std::string FirstDifference(const Page& a, const Page& b) {
    for (uint32_t y = 0; y < a.rows; ++y)
        for (uint32_t x = 0; x < a.width; ++x)
            if (a.At(x, y) != b.At(x, y))
                return "first difference at column " + std::to_string(x) + ", row " + std::to_string(y) +
                       ": " + std::to_string(a.At(x, y)) + " against " + std::to_string(b.At(x, y));
    return "same";
}

// Random segments over a 128 x 96 page and a little beyond it, in every
// octant; every fourth is horizontal or vertical.
std::vector<TLine> RandomSegments(uint32_t seed, int count) {
    std::mt19937 rng(seed);
    std::uniform_int_distribution<uint32_t> x(0, 140), y(0, 110);
    std::vector<TLine> lines;
    for (int i = 0; i < count; ++i) {
        TLine l{x(rng), y(rng), x(rng), y(rng)};
        if (i % 8 == 1) l.y2 = l.y1;
        if (i % 8 == 5) l.x2 = l.x1;
        lines.push_back(l);
    }
    return lines;
}

struct Drawing {
    const char* name;
    bool colour;
    uint8_t rop;
    uint32_t colourCode;
    uint8_t style;
};

std::ostream& operator<<(std::ostream& os, const Drawing& d) { return os << d.name; }

// Solid and styled, painted and combined with the page, grey and colour.
const Drawing kDrawings[] = {
    {"grey_solid", false, 0xF0, 0x81000000, 0},         {"grey_dash", false, 0xF0, 0x81404040, 1},
    {"grey_xor_dot", false, 0x5A, 0x81FFFFFF, 2},       {"colour_solid", true, 0xF0, kRed, 0},
    {"colour_dash_dot", true, 0xF0, kRed, 3},           {"colour_merge_solid", true, 0xFA, 0x8100FF00, 6},
    {"colour_dash_dot_dot", true, 0xA0, 0x81808080, 4},
};

class LineEquivalence : public ::testing::TestWithParam<Drawing> {
protected:
    DL Start() const {
        const Drawing& d = GetParam();
        DL list;
        list.RopColour(d.rop, d.colourCode);
        return Style(list, d.style);
    }
};

TEST_P(LineEquivalence, LineFromAToBLightsTheSamePixelsAsFromBToA) {
    for (const TLine& l : RandomSegments(11, 200)) {
        for (uint8_t opcode : {DL_LINE, DL_LINE_TO}) {
            DL forward = Start(), backward = Start();
            forward.At(static_cast<uint16_t>(l.y1), static_cast<uint16_t>(l.x1)).Op(opcode);
            backward.At(static_cast<uint16_t>(l.y2), static_cast<uint16_t>(l.x2)).Op(opcode);
            // DL_LINE takes the column first, DL_LINE_TO the row.
            if (opcode == DL_LINE) {
                forward.U16(l.x2).U16(l.y2);
                backward.U16(l.x1).U16(l.y1);
            } else {
                forward.U16(l.y2).U16(l.x2);
                backward.U16(l.y1).U16(l.x1);
            }
            const Page a = RenderPage(forward, GetParam().colour, 128, 96, 96);
            const Page b = RenderPage(backward, GetParam().colour, 128, 96, 96);
            ASSERT_EQ(a, b) << "(" << l.x1 << "," << l.y1 << ")-(" << l.x2 << "," << l.y2 << ") opcode "
                            << int(opcode) << ": " << FirstDifference(a, b);
        }
    }
}

TEST_P(LineEquivalence, BandsOfAnyHeightDrawExactlyTheRowsOfTheWholePage) {
    // A polyline of many segments and single lines, crossing band edges.
    DL list = Start();
    const std::vector<TLine> lines = RandomSegments(23, 60);
    list.At(static_cast<uint16_t>(lines[0].y1), static_cast<uint16_t>(lines[0].x1));
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i % 3 == 0) Line(list, lines[i].x1, lines[i].y1, lines[i].x2, lines[i].y2);
        else LineTo(list, lines[i].x2, lines[i].y2);
    }
    const Page whole = RenderPage(list, GetParam().colour, 128, 96, 96);
    for (uint32_t bandRows : {1u, 7u, 13u, 32u, 64u}) {
        const Page banded = RenderPage(list, GetParam().colour, 128, 96, bandRows);
        EXPECT_EQ(banded, whole) << "bands of " << bandRows << " rows: " << FirstDifference(banded, whole);
    }
}

TEST_P(LineEquivalence, APolylineCarriesItsPatternFromSegmentToSegment) {
    // Drawn in one list, each segment starts where the one before left the
    // pattern; drawn one by one, each needs that phase given.
    const std::vector<TLine> lines = RandomSegments(37, 12);
    DL joined = Start();
    Phase(joined, 5);
    for (const TLine& l : lines) Line(joined, l.x1, l.y1, l.x2, l.y2);
    const Page carried = RenderPage(joined, GetParam().colour, 128, 96, 32);

    DL separate = Start();
    uint64_t walked = 5;
    for (const TLine& l : lines) {
        Phase(separate, static_cast<uint16_t>(walked % (56 * 66 * 82 * 16)));
        Line(separate, l.x1, l.y1, l.x2, l.y2);
        const uint32_t dx = l.x2 > l.x1 ? l.x2 - l.x1 : l.x1 - l.x2;
        const uint32_t dy = l.y2 > l.y1 ? l.y2 - l.y1 : l.y1 - l.y2;
        walked += std::max(dx, dy) + 1;
    }
    const Page given = RenderPage(separate, GetParam().colour, 128, 96, 32);
    EXPECT_EQ(carried, given) << FirstDifference(carried, given);
}

INSTANTIATE_TEST_SUITE_P(Drawings, LineEquivalence, ::testing::ValuesIn(kDrawings),
                         [](const ::testing::TestParamInfo<Drawing>& p) {
                             return std::string(p.param.name);
                         });

// ---- Worked examples -------------------------------------------------------------

TEST(LineDrawing, VerticalLineGivenUpwardsCoversBothEndRows) {
    Band band(false, 32, 8);
    DL list;
    band.Play(Line(list.Black(), 10, 5, 10, 1));
    for (uint32_t row = 0; row < 8; ++row) EXPECT_EQ(band.Pixel(row, 10) == 0, row >= 1 && row <= 5) << row;
}

TEST(LineDrawing, HorizontalLineThroughTheKernelStopsBeforeItsRightEnd) {
    Band band(false, 32, 8);
    DL list;
    list.Black().At(5, 1);
    band.Play(LineTo(list, 10, 5));
    EXPECT_EQ(band.Row(5, 12), ".#########..");
}

TEST(LineDrawing, FortyFiveDegreeLineOfLengthFourLightsFiveDiagonalPixels) {
    Band band(false, 32, 8);
    DL list;
    band.Play(Line(list.Black(), 1, 1, 5, 5));
    EXPECT_EQ(band.Rows(7),
              (Rows{".......", ".#.....", "..#....", "...#...", "....#..", ".....#.", ".......", "......."}));
}

TEST(LineDrawing, ShallowLineLightsTheSamePixelsBothWays) {
    Band a(false, 32, 4), b(false, 32, 4);
    DL one, two;
    a.Play(Line(one.Black(), 0, 0, 10, 3));
    b.Play(Line(two.Black(), 10, 3, 0, 0));
    EXPECT_EQ(a.Rows(11), b.Rows(11));
    // Column 5 lies half way between rows 1 and 2: the tie goes up.
    EXPECT_EQ(a.Rows(11), (Rows{"##.........", "..####.....", "......###..", ".........##"}));
}

TEST(LineDrawing, SecondDashedLineStartsThirtyPixelsIntoThePattern) {
    Band two(false, 128, 1), one(false, 128, 1);
    DL list;
    Style(list.Black(), 1);
    Line(list, 0, 0, 29, 0);
    Line(list, 30, 0, 59, 0);
    two.Play(list);
    DL whole;
    Style(whole.Black(), 1);
    one.Play(Line(whole, 0, 0, 59, 0));
    EXPECT_EQ(two.Row(0, 64), one.Row(0, 64));
    EXPECT_EQ(two.Row(0, 64), std::string(40, '#') + std::string(16, '.') + std::string(4, '#') + "....");
    EXPECT_EQ(two.state().reg.stylePhase, 60u % 56);
}

TEST(LineDrawing, RowsOfALineAreFlaggedAsDrawnInColour) {
    Band band(false, 32, 8);
    DL list;
    band.Play(Line(list.Black(), 0, 2, 20, 4));
    EXPECT_EQ(band.state().window.rowFlags, (std::vector<uint8_t>{0, 0, 2, 2, 2, 0, 0, 0}));
}

// ---- Styles ------------------------------------------------------------------------

// Each style's pattern from its description: runs on, off, on, off ...
std::string Pattern(uint8_t style, size_t length) {
    const std::vector<std::vector<int>> runs = {{}, {40, 16}, {8, 8}, {28, 15, 8, 15}, {28, 15, 8, 8, 8, 15}};
    std::string s;
    if (style == 5) return std::string(length, '.');
    if (style >= runs.size() || runs[style].empty()) return std::string(length, '#');
    for (size_t i = 0; s.size() < length; ++i) {
        const size_t k = i % runs[style].size();
        s += std::string(static_cast<size_t>(runs[style][k]), k % 2 ? '.' : '#');
    }
    return s.substr(0, length);
}

class LineStyles : public ::testing::TestWithParam<std::tuple<bool, int>> {};

TEST_P(LineStyles, EveryStyleDrawsItsPatternAlongRowsColumnsAndDiagonals) {
    const auto [colour, styleNumber] = GetParam();
    const uint8_t style = static_cast<uint8_t>(styleNumber);
    const uint32_t code = colour ? 0x81FF0000 : 0x81000000;  // blue, or black
    const uint32_t ink = colour ? 0x020000FFu : 0u;
    Band band(colour, 256, 200);
    DL list;
    list.RopColour(0xF0, code);
    Style(list, style);
    // Each line starts the pattern afresh.
    Line(list, 10, 3, 209, 3);  // along a row, left to right
    Phase(list, 0);
    Line(list, 5, 199, 5, 10);  // up a column: drawn from its top
    Phase(list, 0);
    Line(list, 20, 10, 209, 199);  // the diagonal
    band.Play(list);
    std::string row, column, diagonal;
    for (uint32_t i = 0; i < 200; ++i) row += band.Pixel(3, 10 + i) == ink ? '#' : '.';
    for (uint32_t i = 0; i < 190; ++i) column += band.Pixel(10 + i, 5) == ink ? '#' : '.';
    for (uint32_t i = 0; i < 190; ++i) diagonal += band.Pixel(10 + i, 20 + i) == ink ? '#' : '.';
    // A solid style-0 line along a row or column goes through the ROP
    // kernel, which leaves out a horizontal line's right end.
    std::string expectRow = Pattern(style, 200);
    if (style == 0) expectRow.back() = '.';
    EXPECT_EQ(row, expectRow);
    EXPECT_EQ(column, Pattern(style, 190));
    EXPECT_EQ(diagonal, Pattern(style, 190));
}

INSTANTIATE_TEST_SUITE_P(GreyAndColour, LineStyles,
                         ::testing::Combine(::testing::Bool(), ::testing::Range(0, 8)));

TEST(LineStyles, NullStyleAndRopsThatKeepThePageDrawNothingButStillFlagTheRows) {
    for (bool colour : {false, true}) {
        Band band(colour, 64, 16);
        DL list;
        list.RopColour(0xF0, 0x81000000);
        Style(list, 5);
        Line(list, 0, 0, 60, 10);
        Style(list, 1).RopColour(0xAA, 0x81000000);
        Line(list, 0, 12, 60, 12);
        band.Play(list);
        EXPECT_TRUE(band.AllWhite());
        const std::vector<uint8_t>& flags = band.state().window.rowFlags;
        EXPECT_EQ(flags[0], 2);
        EXPECT_EQ(flags[10], 2);
        EXPECT_EQ(flags[11], 0);
        EXPECT_EQ(flags[12], 2);
    }
}

TEST(LineStyles, XorLineDrawnTwiceLeavesThePageAsItWas) {
    for (bool colour : {false, true}) {
        Band band(colour, 64, 32);
        DL list;
        list.RopColour(0xF0, 0x81808080).At(0, 0).Box8(32, 64);
        list.RopColour(0x5A, 0x8100FFFF);
        Style(list, 3);
        Line(list, 3, 30, 60, 2);
        Line(list, 3, 30, 60, 2);  // the phase moved on: reset it between the two
        band.Play(list);
        Band fresh(colour, 64, 32);
        DL once;
        once.RopColour(0xF0, 0x81808080).At(0, 0).Box8(32, 64).RopColour(0x5A, 0x8100FFFF);
        Style(once, 3);
        Line(once, 3, 30, 60, 2);
        Phase(once, 0);
        Line(once, 3, 30, 60, 2);
        fresh.Play(once);
        Band plain(colour, 64, 32);
        plain.Play(DL().RopColour(0xF0, 0x81808080).At(0, 0).Box8(32, 64));
        for (uint32_t r = 0; r < 32; ++r)
            for (uint32_t c = 0; c < 64; ++c)
                ASSERT_EQ(fresh.Pixel(r, c), plain.Pixel(r, c)) << r << "," << c;
        // With the phase carried, the second pass is shifted: not everything cancels.
        bool differs = false;
        for (uint32_t r = 0; r < 32; ++r)
            for (uint32_t c = 0; c < 64; ++c) differs = differs || band.Pixel(r, c) != plain.Pixel(r, c);
        EXPECT_TRUE(differs);
    }
}

// ---- Hostile coordinates -----------------------------------------------------------

TEST(LineDrawing, HostileCoordinatesNeitherCrashNorWalkTheWholeLine) {
    DL list;
    list.Black();
    for (uint8_t style : {0, 1, 6}) {
        Style(list, style);
        // Origins near the top of the coordinate range: ends far off the page.
        list.Op(DL_SET_ROW_ORIGIN).U32(0xFFFF0000).Op(DL_SET_COL_ORIGIN).U32(0xFFFF0000);
        Line(list, 0, 0, 0xFFFF, 0xFFFF);
        list.Op(DL_SET_ROW_ORIGIN).U32(0).Op(DL_SET_COL_ORIGIN).U32(0);
        // From the page to the far corner of the coordinate range and back.
        list.At(5, 5).Op(DL_SET_COL_ORIGIN).U32(0xFFFFFF00).Op(DL_LINE_TO).U16(0xFFFF).U16(0xFFFF);
        list.Op(DL_SET_COL_ORIGIN).U32(0).Op(DL_LINE_TO).U16(3).U16(40);
        // Relative steps that wrap around zero.
        list.At(0, 0).Op(DL_LINE_REL).U8(0x80).U8(0x80).Op(DL_LINE_REL).U8(0x7F).U8(0x7F);
        // Degenerate lines: a point, and lines along the page's last row and column.
        Line(list, 7, 7, 7, 7);
        Line(list, 0, 47, 63, 47);
        Line(list, 63, 0, 63, 47);
        // Scaled up beyond the range.
        list.Scale(1, 0xFFFFFFFF);
        Line(list, 1, 1, 2, 3);
        list.Scale(100, 100);
    }
    for (bool colour : {false, true}) {
        Band band(colour, 64, 16, 48);
        for (uint32_t top : {0u, 16u, 32u}) {
            band.Play({list.bytes()}, top);
            ASSERT_TRUE(band.GuardsIntact()) << top;
        }
        // The point and the line along the last column are there.
        Band first(colour, 64, 16, 48);
        first.Play({list.bytes()}, 0);
        EXPECT_NE(first.Pixel(7, 7), first.White());
        EXPECT_NE(first.Pixel(2, 63), first.White());
    }
}

TEST(LineDrawing, ALineOfFourBillionPixelsDrawsOnlyWhatTheBandHolds) {
    Band band(false, 64, 16, 64);
    DL list;
    list.Black().Op(DL_SET_COL_ORIGIN).U32(0xFFFF0000).Op(DL_SET_ROW_ORIGIN).U32(0xFFFF0000);
    // From (0, 0), set before the origins moved, to the far corner.
    band.Play(list.Op(DL_LINE_TO).U16(0xFFFF).U16(0xFFFF));
    for (uint32_t i = 0; i < 16; ++i) EXPECT_EQ(band.Pixel(i, i), 0u) << i;
    EXPECT_EQ(band.Pixel(0, 1), 255u);
}

}  // namespace
