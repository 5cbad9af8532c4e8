// Paths played from display lists: filled paths against the boxes and bands
// they must match, the points of 16- and 32-bit records, and glyphs drawn
// through a clip path.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/display_list.h"
#include "engine/drawing_seams.h"
#include "engine/path_generator.h"
#include "playback_test_support.h"

namespace {

using playback_test::Band;
using playback_test::DL;
using Rows = std::vector<std::string>;

struct P {
    int32_t x, y;
};

// A path record of one subpath per list, 16-bit points unless `wide`.
DL& Path(DL& d, uint8_t opcode, uint16_t mode, const std::vector<std::vector<P>>& subpaths, bool wide = false,
         uint32_t left = 0, uint32_t top = 0, uint32_t right = 0xFFFF, uint32_t bottom = 0xFFFF) {
    uint32_t points = 0;
    for (const auto& s : subpaths) points += static_cast<uint32_t>(s.size());
    d.Op(opcode).U16(mode).U8(wide ? 4 : 2).U8(0).U32(left).U32(top).U32(right).U32(bottom);
    d.U32(static_cast<uint32_t>(subpaths.size())).U32(points);
    for (const auto& s : subpaths) {
        for (const P& p : s) {
            if (wide) {
                d.U32(static_cast<uint32_t>(p.x)).U32(static_cast<uint32_t>(p.y));
            } else {
                d.U16(static_cast<uint16_t>(p.x)).U16(static_cast<uint16_t>(p.y));
            }
        }
    }
    if (subpaths.size() > 1)
        for (const auto& s : subpaths) d.U32(static_cast<uint32_t>(s.size()));
    return d;
}

std::vector<P> Rect(int32_t x, int32_t y, int32_t w, int32_t h) {
    return {{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}};
}

TEST(PathPlayback, RectangularPathFillsExactlyLikeTheSameBox) {
    for (bool colour : {false, true}) {
        for (uint16_t mode : {kPGFillWinding, kPGFillAlternate}) {
            DL path, box;
            Path(path.RopColour(0xF0, 0x8140A0C0), DL_FILL_PATH, mode, {Rect(5, 3, 21, 9)});
            box.RopColour(0xF0, 0x8140A0C0).At(3, 5).Box8(9, 21);
            Band a(colour, 64, 16), b(colour, 64, 16);
            a.Play(path);
            b.Play(box);
            EXPECT_EQ(a.bandBytes(), b.bandBytes()) << colour << " " << mode;
            EXPECT_EQ(a.state().window.rowFlags, b.state().window.rowFlags);
        }
    }
}

TEST(PathPlayback, SetPathDrawsOnlyWhenPainted) {
    DL d;
    Path(d.Black(), DL_SET_PATH, kPGFillAlternate, {Rect(0, 0, 4, 2)});
    Band band(false, 32, 4);
    band.Play(d);
    EXPECT_TRUE(band.AllWhite());
    d.Op(DL_PAINT_PATH);
    band.Play(d);
    EXPECT_EQ(band.Rows(6), (Rows{"####..", "####..", "......", "......"}));
}

// A polygon with slanted, crossing and nested edges, drawn whole and band
// by band: every band must hold exactly its rows of the whole page.
class PathAcrossBands : public ::testing::TestWithParam<uint32_t> {};

TEST_P(PathAcrossBands, SpansAreTheSameWhicheverBandCutsThem) {
    constexpr uint32_t kRows = 256, kWidth = 256;
    DL d;
    d.Black();
    Path(d, DL_FILL_PATH, kPGFillWinding,
         {{{128, 3}, {250, 200}, {10, 90}, {245, 95}, {20, 252}},  // a star
          Rect(30, 30, 60, 190),
          {{200, 10}, {251, 10}, {240, 150}}});
    Path(d, DL_FILL_PATH, kPGFillAlternate, {{{5, 100}, {120, 255}, {5, 255}}, Rect(40, 140, 30, 80)});
    Band whole(false, kWidth, kRows);
    whole.Play(d);
    const uint32_t height = GetParam();
    Band band(false, kWidth, height, kRows);
    for (uint32_t top = 0; top < kRows; top += height) {
        band.Play({d.bytes()}, top);
        for (uint32_t r = 0; r < height && top + r < kRows; ++r)
            ASSERT_EQ(band.Row(r, kWidth), whole.Row(top + r, kWidth)) << "row " << top + r;
    }
}

INSTANTIATE_TEST_SUITE_P(BandHeights, PathAcrossBands, ::testing::Values(1u, 7u, 64u, 128u, 256u));

TEST(PathPlayback, SixteenBitPointsStepByTheirWrappedDifference) {
    // Raw x 32000 then -32000: a step of +1536, so the path goes on at 33536.
    DL d;
    Path(d, DL_SET_PATH, kPGFillAlternate, {{{32000, 0}, {-32000, 0}, {-32000, 8}}});
    DLPath path;
    ASSERT_TRUE(DLParsePath(d.bytes().data() + 1, d.size() - 1, &path));
    PathGenerator pg;
    RDSetPath(&pg, RDRect{0, 0, 40000, 10}, path, 0, 0, 100, 100);
    ASSERT_EQ(pg.vertices.Count(), 4u);
    EXPECT_EQ(pg.vertices.At(0).x, 32000.f);
    EXPECT_EQ(pg.vertices.At(1).x, 33536.f);
    EXPECT_EQ(pg.vertices.At(2).x, 33536.f);
    EXPECT_EQ(pg.vertices.At(2).y, 8.f);
    EXPECT_EQ(pg.vertices.At(3).kind, kPGVertexClose);
}

TEST(PathPlayback, PointsTakeOriginsAndScale) {
    // The same square as 16-bit points, 32-bit points and at half scale; the
    // origins move the points before the scale does.
    const std::vector<DL> lists = [] {
        DL narrow, wide, scaled;
        Path(narrow.Black(), DL_FILL_PATH, kPGFillAlternate, {Rect(2, 1, 6, 3)});
        Path(wide.Black(), DL_FILL_PATH, kPGFillAlternate, {Rect(2, 1, 6, 3)}, true);
        Path(scaled.Black().Scale(200, 100), DL_FILL_PATH, kPGFillAlternate, {Rect(14, 4, 12, 6)});
        return std::vector<DL>{narrow, wide, scaled};
    }();
    for (const DL& list : lists) {
        Band band(false, 32, 8);
        band.Play({list.bytes()}, 0, 2, 10);
        EXPECT_EQ(band.Rows(20), (Rows{"....................", "....................", "....................",
                                       "............######..", "............######..", "............######..",
                                       "....................", "...................."}));
    }
}

TEST(PathPlayback, SubpathCountsRunningPastThePointsAreCutAtTheLastPoint) {
    // Two subpaths claim 4 and 1000 points; the record holds 8. The second
    // takes the four that remain.
    DL d;
    d.Black().Op(DL_FILL_PATH).U16(22).U8(2).U8(0).U32(0).U32(0).U32(32).U32(8).U32(2).U32(8);
    for (const P& p : Rect(0, 0, 3, 2)) d.U16(static_cast<uint16_t>(p.x)).U16(static_cast<uint16_t>(p.y));
    for (const P& p : Rect(5, 4, 2, 3)) d.U16(static_cast<uint16_t>(p.x)).U16(static_cast<uint16_t>(p.y));
    d.U32(4).U32(1000);
    Band band(false, 32, 8);
    band.Play(d);
    EXPECT_EQ(band.Rows(8), (Rows{"###.....", "###.....", "........", "........", ".....##.", ".....##.",
                                  ".....##.", "........"}));
    EXPECT_TRUE(band.GuardsIntact());
}

// ---- Glyphs through a clip path -------------------------------------------------

DL ClipTriangleThenGlyph(uint8_t clipMode) {
    DL d;
    d.Black();
    Path(d, DL_SET_PATH, kPGFillAlternate, {{{0, 0}, {8, 0}, {0, 8}}});
    d.Op(DL_CLIP_MODE).U8(clipMode).At(0, 0).Glyph(0, 8, 16, std::vector<uint8_t>(8 * 4, 0xFF));
    return d;
}

TEST(PathPlayback, GlyphUnderClipModeThreeShowsOnlyInsideThePath) {
    Band band(false, 32, 8);
    band.Play(ClipTriangleThenGlyph(3));
    EXPECT_EQ(band.Rows(16),
              (Rows{"########........", "#######.........", "######..........", "#####...........",
                    "####............", "###.............", "##..............", "#..............."}));
    // Clip mode 0 drops the path: the glyph is drawn whole.
    band.Play(ClipTriangleThenGlyph(0));
    EXPECT_EQ(band.Row(7, 16), "################");
}

TEST(PathPlayback, OneClipPathServesEveryGlyphAndMissesWhatItDoesNotMeet) {
    DL d;
    d.Black();
    Path(d, DL_SET_PATH, kPGFillWinding, {Rect(2, 0, 4, 4), Rect(40, 0, 4, 4), Rect(52, 0, 4, 4)});
    d.Op(DL_CLIP_MODE).U8(3);
    const std::vector<uint8_t> solid(4 * 4, 0xFF);
    d.At(0, 0).Glyph(0, 4, 8, solid);   // meets the first square
    d.At(0, 40).Glyph(0, 4, 8, solid);  // the second
    d.At(0, 20).Glyph(0, 4, 8, solid);  // neither: nothing
    // A downloaded bitmap goes through the same clip.
    d.DefineBitmap(9, 4, 8, solid).At(0, 50).Op(DL_DRAW_BITMAP).U16(9);
    Band band(false, 64, 4);
    band.Play(d);
    for (uint32_t r = 0; r < 4; ++r)
        EXPECT_EQ(band.Row(r, 60), "..####..................................####........####....");
    EXPECT_TRUE(band.state().window.clipRuns.empty());
}

}  // namespace
