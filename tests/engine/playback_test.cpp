// Display lists played into small bands, checked against pixels worked out
// by hand from the record descriptions.
#include <gtest/gtest.h>

#include "engine/display_list.h"
#include "engine/do_render.h"
#include "playback_test_support.h"

namespace {

using playback_test::Band;
using playback_test::DL;
using Rows = std::vector<std::string>;

TEST(Playback, BytesOutsideTheTableLeaveTheBandWhite) {
    Band band(false, 32, 8);
    DL list;
    for (uint8_t b : {0, 6, 63, 65, 89, 95, 106, 111, 119, 127, 132, 143, 146, 159, 162, 174, 176, 255}) {
        ASSERT_EQ(DLFindOpcode(b), nullptr) << int(b);
        list.U8(b);
    }
    band.Play(list);
    EXPECT_TRUE(band.AllWhite());
    for (uint8_t f : band.state().window.rowFlags) EXPECT_EQ(f, 0);
}

TEST(Playback, StartsWithRop88SoASolidFillDrawsNothingButAGlyphDraws) {
    Band band(false, 32, 4);
    // ROP 0x88 (S AND D) needs a mask: the box paints nothing.
    band.Play(DL().At(0, 0).Box8(2, 8).At(2, 0).Glyph(0, 1, 8, {0xA5, 0, 0, 0}));
    EXPECT_EQ(band.Rows(10), (Rows{"..........", "..........", "#.#..#.#..", ".........."}));
    EXPECT_EQ(band.Pixel(2, 0), 0u);
}

TEST(Playback, SpanRunOfThreeBytesFillsThreeRowsAndMovesRowByThree) {
    Band band(false, 32, 8);
    band.Play(DL().Black().At(1, 2).SpanEnd(5).Op(DL_SPAN).Op(DL_SPAN).Op(DL_SPAN).Box8(1, 1));
    EXPECT_EQ(band.Rows(8), (Rows{"........", "..###...", "..###...", "..###...", "..#.....", "........",
                                  "........", "........"}));
    EXPECT_EQ(band.state().reg.currentRow, 4u);
    EXPECT_EQ(band.state().reg.spanEnd, 5u);
}

TEST(Playback, SpanStepWithEndNotRightOfStartFillsNothingButAdvances) {
    Band band(false, 32, 6);
    DL list;
    list.Black().At(1, 4).SpanEnd(6);
    list.Op(DL_SPAN_STEP).U8(0).U8(0xFE);  // E = 4 = C: nothing on row 1
    list.Op(DL_SPAN_STEP).U8(0xFF).U8(3);  // C = 3, E = 7: row 2, columns 3..6
    list.Op(DL_SPAN_STEP).U8(4).U8(0);     // C = 7 = E: nothing on row 3
    list.Op(DL_SPAN);                      // row 4, columns 7..6: nothing
    band.Play(list);
    EXPECT_EQ(band.Rows(8), (Rows{"........", "........", "...####.", "........", "........", "........"}));
    EXPECT_EQ(band.state().reg.currentRow, 5u);
    EXPECT_EQ(band.state().reg.currentCol, 7u);
    // Nothing reached rows 1, 3 and 4: their flags stay clear.
    EXPECT_EQ(band.state().window.rowFlags[1], 0);
    EXPECT_EQ(band.state().window.rowFlags[2], 1);
    EXPECT_EQ(band.state().window.rowFlags[3], 0);
}

TEST(Playback, VerticalSpanRunFillsHeightRowsAndMovesTheColumn) {
    Band band(false, 32, 6);
    band.Play(DL().Black()
                  .At(1, 2)
                  .Height(3)
                  .Op(DL_VSPAN)
                  .Op(DL_VSPAN)
                  .At(5, 0)
                  .Box8(1, 1)
                  .SetRow(0)
                  .Op(DL_MOVE_COL)
                  .U8(0xFF)
                  .Box8(1, 1));
    // The last box: At(5, 0) set C = 0, MOVE_COL -1 wraps it to 2^32 - 1,
    // where the box lies off the band (and its end wraps below its start).
    EXPECT_EQ(band.Rows(6), (Rows{"......", "..##..", "..##..", "..##..", "......", "#....."}));
}

TEST(Playback, VerticalSpanMovesColumnByRunLength) {
    Band band(false, 32, 4);
    band.Play(DL().Black().At(0, 1).Height(1).Op(DL_VSPAN).Op(DL_VSPAN).Op(DL_VSPAN).SetRow(2).Box8(1, 1));
    EXPECT_EQ(band.Rows(6), (Rows{".###..", "......", "....#.", "......"}));
}

TEST(Playback, BoxesOfBothWidths) {
    Band band(false, 32, 8);
    band.Play(DL().Black().At(1, 1).Box8(2, 3).At(4, 5).Box16(3, 2));
    EXPECT_EQ(band.Rows(8), (Rows{"........", ".###....", ".###....", "........", ".....##.", ".....##.",
                                  ".....##.", "........"}));
}

TEST(Playback, FirstWhiteBox16WithPatCopyIsSkippedButNotAfterADrawingCommand) {
    // First drawing command: skipped, so it flags no rows and grows no box.
    Band first(false, 32, 8);
    first.Play(DL().RopColour(0xF0, 0x81FFFFFF).At(0, 0).Box16(4, 8));
    for (uint8_t f : first.state().window.rowFlags) EXPECT_EQ(f, 0);
    EXPECT_EQ(first.state().window.drawnTop, 7u);  // the box stays inverted: nothing drawn
    EXPECT_EQ(first.state().window.drawnBottom, 0u);

    // DL_BOX8 is never skipped.
    Band box8(false, 32, 8);
    box8.Play(DL().RopColour(0xF0, 0x81FFFFFF).At(0, 0).Box8(4, 8));
    EXPECT_EQ(box8.state().window.rowFlags[0], 1);

    // After a black box the same white box is drawn over it.
    Band after(false, 32, 8);
    after.Play(DL().Black().At(0, 0).Box8(4, 8).RopColour(0xF0, 0x81FFFFFF).At(1, 2).Box16(2, 4));
    EXPECT_EQ(after.Rows(8)[0], "########");
    EXPECT_EQ(after.Rows(8)[1], "##....##");
    EXPECT_EQ(after.Rows(8)[2], "##....##");
    EXPECT_EQ(after.Rows(8)[3], "########");
    EXPECT_EQ(after.Pixel(1, 2), 255u);
}

TEST(Playback, GlyphWithBitOffsetDrawsOnlyTheBitsAfterTheOffset) {
    Band band(false, 32, 4);
    // Offset 3, width 5: the three leading bits (set here) are not drawn.
    // Row 0: 111 10110, row 1: 111 01001.
    band.Play(DL().At(1, 10).Glyph(3, 2, 5, {0xF6, 0, 0, 0, 0xE9, 0, 0, 0}));
    EXPECT_EQ(band.Row(0, 20), "....................");
    EXPECT_EQ(band.Row(1, 20), ".............#.##...");
    EXPECT_EQ(band.Row(2, 20), "..............#..#..");
}

TEST(Playback, GlyphOnColourDeviceCarriesTheTextTag) {
    Band band(true, 32, 2);
    band.Play(DL().At(0, 0).Glyph(0, 1, 2, {0x80, 0, 0, 0}).Black().At(1, 0).Box8(1, 1));
    EXPECT_EQ(band.Pixel(0, 0), 0x01000000u);
    EXPECT_EQ(band.Pixel(0, 1), 0xFFFFFFFFu);
    EXPECT_EQ(band.Pixel(1, 0), 0x02000000u);
}

TEST(Playback, DownloadedBitmapsAndTheirSlots) {
    Band band(false, 32, 6);
    DL list;
    list.DefineBitmap(4095, 2, 3, {0xA0, 0, 0, 0, 0x40, 0, 0, 0});
    list.DefineBitmap(4096, 1, 8, {0xFF, 0, 0, 0});  // outside the table: refused
    list.At(0, 1).Op(DL_DRAW_BITMAP).U16(4095);
    list.At(3, 0).Op(DL_DRAW_BITMAP).U16(4096);      // nothing
    list.At(3, 0).Op(DL_DRAW_BITMAP).U16(7);         // empty slot: nothing
    list.DefineBitmap(4095, 1, 2, {0xC0, 0, 0, 0});  // redefined
    list.At(4, 4).Op(DL_DRAW_BITMAP).U16(4095);
    band.Play(list);
    EXPECT_EQ(band.Rows(8), (Rows{".#.#....", "..#.....", "........", "........", "....##..", "........"}));
    EXPECT_EQ(band.state().doc.bitmapSlots[4095]->width, 2);
    // Slots outlive the playback: the next band can draw without the definition.
    band.Play(DL().At(0, 0).Op(DL_DRAW_BITMAP).U16(4095));
    EXPECT_EQ(band.Row(0, 4), "##..");
}

std::vector<uint8_t> TwoColourBrush(uint8_t patternByte) {
    // Palette entry 0 white, entry 1 black (B, G, R, 0), then 32 rows of 4 bytes.
    std::vector<uint8_t> data = {0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0};
    for (int i = 0; i < 32 * 4; ++i) data.push_back(patternByte);
    return data;
}

TEST(Playback, DownloadedBrushIsAnchoredToThePage) {
    Band band(false, 64, 2);
    DL list;
    list.Op(DL_DEFINE_BRUSH).U8(1).U32(0x107).Bytes(TwoColourBrush(0xAA));  // slot 7 (low byte)
    list.RopColour(0xF0, 0x91000007).At(0, 0).Box8(1, 4).At(1, 33).Box8(1, 4);
    band.Play(list);
    EXPECT_EQ(band.Row(0, 4), "#.#.");
    // Page column 33 takes brush column 1 (white), column 34 brush column 2.
    EXPECT_EQ(band.Pixel(1, 33), 255u);
    EXPECT_EQ(band.Pixel(1, 34), 0u);
    EXPECT_EQ(band.Pixel(1, 35), 255u);
}

TEST(Playback, RedefiningTheSelectedBrushSlotDrawsTheNewPattern) {
    Band band(false, 32, 1);
    DL list;
    list.Op(DL_DEFINE_BRUSH).U8(1).U32(3).Bytes(TwoColourBrush(0xAA));
    list.RopColour(0xF0, 0x91000003);
    list.Op(DL_DEFINE_BRUSH).U8(1).U32(3).Bytes(TwoColourBrush(0xF0));
    list.At(0, 0).Box8(1, 8);
    band.Play(list);
    EXPECT_EQ(band.Row(0, 8), "####....");
}

TEST(Playback, EmptyBrushFormatLeavesAZeroFilledSlot) {
    Band band(false, 32, 1);
    DL list;
    list.Op(DL_DEFINE_BRUSH).U8(0).U32(9);
    for (int i = 0; i < 128; ++i) list.U8(0xFF);  // consumed, not used
    list.RopColour(0xF0, 0x91000009).At(0, 0).Box8(1, 3);
    band.Play(list);
    EXPECT_EQ(band.Row(0, 5), "###..");
    EXPECT_EQ(band.Pixel(0, 0), 0u);
}

TEST(Playback, RawBrushSizeFollowsTheDevice) {
    // Format 2 carries band pixels: 1024 bytes on grey, 4096 on colour. A box
    // after the brush shows that the record was skipped by the right size.
    Band grey(false, 32, 1);
    DL g;
    g.Op(DL_DEFINE_BRUSH).U8(2).U32(1);
    for (int i = 0; i < 1024; ++i) g.U8(i % 2 ? 0x00 : 0xFF);
    g.RopColour(0xF0, 0x91000001).At(0, 0).Box8(1, 4);
    grey.Play(g);
    EXPECT_EQ(grey.Row(0, 4), ".#.#");

    Band colour(true, 32, 1);
    DL c;
    c.Op(DL_DEFINE_BRUSH).U8(2).U32(1);
    for (int i = 0; i < 1024; ++i) c.U32(0x00FF0000);  // red pixels
    c.RopColour(0xF0, 0x91000001).At(0, 0).Box8(1, 2);
    colour.Play(c);
    EXPECT_EQ(colour.Pixel(0, 0), 0x02FF0000u);
    EXPECT_EQ(colour.Pixel(0, 2), 0xFFFFFFFFu);
}

// A glyph of 10 rows: row i has its bit i (mod 8) set, 8 pixels wide.
std::vector<uint8_t> DiagonalGlyph(uint16_t rows) {
    std::vector<uint8_t> data;
    for (uint16_t i = 0; i < rows; ++i) {
        data.insert(data.end(), {static_cast<uint8_t>(0x80 >> (i % 8)), 0, 0, 0});
    }
    return data;
}

TEST(Playback, GlyphAcrossThreeBandsIsCutAtTheBandEdgesWithItsMaskAdvanced) {
    const DL list = DL().At(1, 2).Glyph(0, 10, 8, DiagonalGlyph(10)).Black().At(3, 0).Box8(3, 1);
    Band whole(false, 32, 12);
    whole.Play(list);
    std::vector<std::string> page;
    for (uint32_t top : {0u, 4u, 8u}) {
        Band band(false, 32, 4, 12);
        band.Play(list, top);
        for (const auto& r : band.Rows(12)) page.push_back(r);
        // Row flags of each band: glyph rows 1..10 and box rows 3..5 are black.
        for (uint32_t r = 0; r < 4; ++r) {
            const uint32_t pageRow = top + r;
            EXPECT_EQ(band.state().window.rowFlags[r], (pageRow >= 1 && pageRow <= 10) ? 1 : 0) << pageRow;
        }
        // The drawn box never leaves the band's rows.
        EXPECT_GE(band.state().window.drawnTop, top);
        EXPECT_LE(band.state().window.drawnBottom, top + 3);
    }
    EXPECT_EQ(page, whole.Rows(12));
    EXPECT_EQ(page, (Rows{"............", "..#.........", "...#........", "#...#.......", "#....#......",
                          "#.....#.....", ".......#....", "........#...", ".........#..", "..#.........",
                          "...#........", "............"}));
}

TEST(Playback, ScaleTwoEnlargesBoxesAndKeepsOnePixelBoxesWhenReducing) {
    Band band(false, 32, 10);
    band.Play(DL().Black()
                  .Scale(100, 200)
                  .At(1, 1)
                  .Box8(1, 1)
                  .Scale(100, 50)
                  .At(16, 2)
                  .Box8(2, 1)  // rows 8..8, column 1, one pixel kept
                  .Scale(100, 100)
                  .At(9, 5)
                  .Box8(1, 3));
    EXPECT_EQ(band.Rows(8), (Rows{"........", "........", "..##....", "..##....", "........", "........",
                                  "........", "........", ".#......", ".....###"}));
}

TEST(Playback, ReducedSpansRoundEveryEdgeUp) {
    Band band(false, 32, 4);
    // Rows 0..2, columns 1..3 at 1/2: rows ceil(0)..ceil(1.5) = 0..1, columns
    // ceil(0.5)..ceil(2) = 1..1.
    band.Play(DL().Black().Scale(2, 1).At(0, 1).SpanEnd(4).Op(DL_SPAN).Op(DL_SPAN).Op(DL_SPAN));
    EXPECT_EQ(band.Rows(4), (Rows{".#..", ".#..", "....", "...."}));
}

TEST(Playback, ScaledGlyphIsResampledAfterItsOffsetIsRemoved) {
    Band band(false, 32, 8);
    // 2 x 2 glyph 10 / 01 behind an offset of 2 set bits, scaled by 3.
    band.Play(DL().Scale(1, 3).At(0, 1).Glyph(2, 2, 2, {0xE0, 0, 0, 0, 0xD0, 0, 0, 0}));
    // Box C + 2 .. C + 4 = 3 .. 5 scales to columns 9 .. 14, rows 0 .. 5.
    EXPECT_EQ(band.Rows(16),
              (Rows{".........###....", ".........###....", ".........###....", "............###.",
                    "............###.", "............###.", "................", "................"}));
}

TEST(Playback, RowFlagsAndDrawnBoxOfABand) {
    Band band(true, 64, 8);
    band.Play(DL().Black()
                  .At(1, 3)
                  .Box8(1, 4)
                  .RopColour(0xF0, 0x810000FF)
                  .At(2, 10)
                  .Box8(2, 5)  // red
                  .RopColour(0xF0, 0x81000000)
                  .At(3, 1)
                  .Box8(1, 1));  // black over a red row
    const auto& flags = band.state().window.rowFlags;
    EXPECT_EQ(std::vector<uint8_t>(flags.begin(), flags.begin() + 8),
              (std::vector<uint8_t>{0, 1, 2, 2, 0, 0, 0, 0}));
    EXPECT_EQ(band.state().window.drawnTop, 1u);
    EXPECT_EQ(band.state().window.drawnLeft, 1u);
    EXPECT_EQ(band.state().window.drawnBottom, 4u);  // exclusive end of the red box's rows
    EXPECT_EQ(band.state().window.drawnRight, 15u);
    EXPECT_EQ(band.Pixel(2, 10), 0x02FF0000u);
    EXPECT_EQ(band.state().window.pureColour, 1u);
}

TEST(Playback, WhiteOnGreyCountsAsBlackAndWhite) {
    Band band(false, 32, 4);
    band.Play(DL().Black()
                  .At(0, 0)
                  .Box8(1, 4)
                  .RopColour(0xF0, 0x81FFFFFF)
                  .At(1, 0)
                  .Box8(1, 2)
                  .RopColour(0xF0, 0x81808080)
                  .At(2, 0)
                  .Box8(1, 2));
    EXPECT_EQ(band.state().window.rowFlags[0], 1);
    EXPECT_EQ(band.state().window.rowFlags[1], 1);
    EXPECT_EQ(band.state().window.rowFlags[2], 2);
}

TEST(Playback, LineLeavesThePositionButLineToAndLineRelMoveIt) {
    Band band(false, 32, 10);
    DL list;
    // Null-style lines: only the boxes mark the positions.
    list.Black().Op(DL_SET_LINE_STYLE).U8(5).At(2, 3);
    list.Op(DL_LINE).U16(10).U16(7);  // column 10, row 7: position stays (2, 3)
    list.Box8(1, 1);
    list.Op(DL_LINE_TO).U16(5).U16(6);  // row 5, column 6: position (5, 6)
    list.Box8(1, 1);
    list.Op(DL_LINE_REL).U8(2).U8(0xFE);  // row + 2, column - 2: position (7, 4)
    list.Box8(1, 1);
    band.Play(list);
    EXPECT_EQ(band.Pixel(2, 3), 0u);
    EXPECT_EQ(band.Pixel(5, 6), 0u);
    EXPECT_EQ(band.Pixel(7, 4), 0u);
    EXPECT_EQ(band.Pixel(7, 10), 255u);
    EXPECT_EQ(band.state().reg.currentRow, 7u);
    EXPECT_EQ(band.state().reg.currentCol, 4u);
}

TEST(Playback, OriginsApplyToAbsolutePositions) {
    Band band(false, 32, 8);
    DL list;
    list.Black().Op(DL_SET_LINE_STYLE).U8(5).Op(DL_SET_ROW_ORIGIN).U32(2).Op(DL_SET_COL_ORIGIN).U32(5);
    list.At(1, 1).Box8(1, 1);                      // (3, 6)
    list.Op(DL_LINE_TO).U16(3).U16(0).Box8(1, 1);  // (5, 5)
    band.Play({list.bytes()}, 0, 100, 100);        // both origins replaced by the list
    EXPECT_EQ(band.Pixel(3, 6), 0u);
    EXPECT_EQ(band.Pixel(5, 5), 0u);
    Band shifted(false, 32, 8);
    shifted.Play({DL().Black().At(1, 1).Box8(1, 1).bytes()}, 0, 2, 3);
    EXPECT_EQ(shifted.Pixel(3, 4), 0u);
}

TEST(Playback, ClipModeThreeBeforeAnyPathDrawsNoGlyph) {
    Band band(false, 32, 4);
    band.Play(DL().Op(DL_CLIP_MODE)
                  .U8(3)
                  .At(0, 0)
                  .Glyph(0, 1, 8, {0xFF, 0, 0, 0})
                  .Op(DL_CLIP_MODE)
                  .U8(0)
                  .At(2, 0)
                  .Glyph(0, 1, 8, {0xFF, 0, 0, 0}));
    EXPECT_EQ(band.Row(0, 8), "........");
    EXPECT_EQ(band.Row(2, 8), "########");
}

TEST(Playback, WatermarkBracketsPaintThroughTheShadePattern) {
    Band band(true, 32, 5);
    band.Play(DL().Op(DL_WATERMARK_BEGIN)
                  .RopColour(0xF0, 0x81E0E0E0)
                  .At(0, 0)
                  .Box8(4, 8)
                  .Op(DL_WATERMARK_END)
                  .Black()
                  .At(4, 0)
                  .Box8(1, 2));
    // Extra light: 0x88, 0x44, 0x22, 0x11 down the rows.
    EXPECT_EQ(band.Rows(8), (Rows{"#...#...", ".#...#..", "..#...#.", "...#...#", "##......"}));
    EXPECT_EQ(band.Pixel(0, 0), 0x01E0E0E0u);
    EXPECT_EQ(band.Pixel(4, 0), 0x02000000u);
}

TEST(Playback, WatermarkBracketLeftOpenDoesNotLeakIntoTheNextBand) {
    // Grey 128 is no watermark colour: in watermark mode it would be drawn
    // through the medium pattern (0xCC on row 0).
    const DL list = DL().RopColour(0xF0, 0x81808080).At(0, 0).Box8(1, 8).Op(DL_WATERMARK_BEGIN);
    Band band(false, 32, 2);
    band.Play(list);
    EXPECT_EQ(band.Row(0, 8), "########");
    band.Play(list);
    EXPECT_EQ(band.Row(0, 8), "########");
}

TEST(Playback, RecordRunningPastItsChunkEndsOnlyThatChunk) {
    DL first;
    first.Black();
    // A bitmap definition announcing 100 rows of 4 bytes: runs past the chunk.
    // The bytes behind it look like a box, but belong to the broken record.
    first.Op(DL_DEFINE_BITMAP).U8(0).U16(1).U16(100).U16(8).At(0, 0).Box8(1, 4);
    DL second;
    second.At(1, 0).Box8(1, 2);
    Band band(false, 32, 2);
    band.Play({first.bytes(), second.bytes()});
    EXPECT_EQ(band.Row(0, 4), "....");
    EXPECT_EQ(band.Row(1, 4), "##..");
    EXPECT_EQ(band.state().doc.bitmapSlots[1], nullptr);
}

TEST(Playback, ImagesAndPathsAreSkippedByTheirComputedSize) {
    DL list;
    list.Black();
    // The images lie below the one-row band: only their sizes matter here.
    list.At(4, 0);
    // 4-bit image with palette, 3 rows of 5 pixels plus a lead of 2:
    // stride ((4 * 7 + 31) / 32) * 4 = 4, palette 64 bytes.
    list.Op(DL_BLT_IMAGE).U8(2).U8(4).U8(1).U8(0).U16(3).U16(5).U16(3).U16(5);
    for (int i = 0; i < 64 + 3 * 4; ++i) list.U8(DL_BOX8);
    // 24-bit image without palette, width 3: 12 bytes per row, 2 rows.
    list.Op(DL_STRETCH_IMAGE).U8(0).U8(24).U8(1).U8(0).U16(2).U16(3).U16(2).U16(3);
    for (int i = 0; i < 24; ++i) list.U8(DL_BOX8);
    // Path with 16-bit points: 3 points, 2 subpaths (+ 2 counts).
    list.Op(DL_SET_PATH).U16(22).U8(2).U8(0).U32(0).U32(0).U32(4).U32(4).U32(2).U32(3);
    for (int i = 0; i < 3 * 4 + 2 * 4; ++i) list.U8(DL_BOX8);
    list.Op(DL_PAINT_PATH);
    list.At(0, 0).Box8(1, 3);
    Band band(false, 32, 1);
    band.Play(list);
    EXPECT_EQ(band.Row(0, 6), "###...");
}

TEST(Playback, HatchColoursAreResetForEveryBand) {
    // Hatch 0 (horizontal lines at rows 12..19) selected before the list sets
    // red hatch colours: every playback must draw it black on white.
    DL list;
    list.RopColour(0xF0, 0x85000000).At(12, 0).Box8(1, 2);
    list.Op(DL_SET_HATCH).U32(0x85000000).U32(0x00FF0000).U32(0x0000FF00);
    Band band(true, 32, 16);
    band.Play(list);
    EXPECT_EQ(band.Pixel(12, 0), 0x02000000u);
    band.Play(list);
    EXPECT_EQ(band.Pixel(12, 0), 0x02000000u);
}

}  // namespace
