// DoRender's band test and clipping, seen through a recording kernel.
#include <gtest/gtest.h>

#include <vector>

#include "engine/do_render.h"
#include "playback_test_support.h"

namespace {

using playback_test::Band;

struct Seen {
    uint32_t row, rows, xs, xe;
    const uint8_t* bits;
    ptrdiff_t destOffset;
    uint32_t colour;
    uint8_t firstMaskByte;  // copied: clip runs reuse one row buffer
};
std::vector<Seen> gSeen;

void RecordingKernel(const RenderPage&, const BandWindow& window, const InterpreterRegisters&, TRect* req) {
    gSeen.push_back(Seen{req->row, req->rows, req->xs, req->xe, req->bits, req->dest - window.band,
                         req->colour, req->bits ? req->bits[0] : uint8_t{0}});
}

// A grey band of rows top .. top + 3, 64 pixels wide, with the recording kernel.
class DoRenderTest : public ::testing::Test {
protected:
    DoRenderTest() : band_(false, 64, 4, 16) {}
    void SetBand(uint32_t top) {
        RenderState& s = band_.state();
        RDInitializeBand(&s, 0, 0, top, 63, top + 3);
        s.reg.pfRenderFunc = RecordingKernel;
        s.reg.colour = 0;
        gSeen.clear();
    }
    TRect Request(uint32_t row, uint32_t rows, uint32_t xs, uint32_t xe, const uint8_t* bits = nullptr) {
        TRect r;
        r.row = row;
        r.rows = rows;
        r.xs = xs;
        r.xe = xe;
        r.bits = bits;
        return r;
    }
    Band band_;
};

TEST_F(DoRenderTest, RequestStartingAboveTheBandStartsAtItsTopWithTheMaskAdvanced) {
    std::vector<uint8_t> mask(10 * 4);
    SetBand(4);
    TRect r = Request(2, 10, 3, 20, mask.data());
    DoRender(&band_.state(), &r);
    ASSERT_EQ(gSeen.size(), 1u);
    EXPECT_EQ(gSeen[0].row, 4u);
    EXPECT_EQ(gSeen[0].rows, 4u);                   // cut at the band's end
    EXPECT_EQ(gSeen[0].bits, mask.data() + 2 * 4);  // two mask rows skipped
    EXPECT_EQ(gSeen[0].destOffset, 3);
}

TEST_F(DoRenderTest, RequestStartingInsideIsCutAtTheBandEndAndPlacedOnItsRow) {
    SetBand(4);
    TRect r = Request(6, 5, 10, 12);
    DoRender(&band_.state(), &r);
    ASSERT_EQ(gSeen.size(), 1u);
    EXPECT_EQ(gSeen[0].row, 6u);
    EXPECT_EQ(gSeen[0].rows, 2u);
    EXPECT_EQ(gSeen[0].destOffset, 2 * 64 + 10);
    EXPECT_EQ(gSeen[0].bits, nullptr);
}

TEST_F(DoRenderTest, RequestEndingInsideKeepsItsLastRows) {
    SetBand(8);
    TRect r = Request(5, 5, 0, 1);  // rows 5..9: band rows 8 and 9
    DoRender(&band_.state(), &r);
    ASSERT_EQ(gSeen.size(), 1u);
    EXPECT_EQ(gSeen[0].row, 8u);
    EXPECT_EQ(gSeen[0].rows, 2u);
}

TEST_F(DoRenderTest, RequestsOutsideTheBandAreDroppedWithoutFlags) {
    SetBand(4);
    TRect above = Request(0, 4, 0, 5), below = Request(8, 3, 0, 5), empty = Request(5, 0, 0, 5);
    DoRender(&band_.state(), &above);
    DoRender(&band_.state(), &below);
    DoRender(&band_.state(), &empty);
    EXPECT_TRUE(gSeen.empty());
    for (uint8_t f : band_.state().window.rowFlags) EXPECT_EQ(f, 0);
}

TEST_F(DoRenderTest, RequestEndingLeftOfItsStartFlagsItsRowsButDrawsNothing) {
    SetBand(4);
    TRect r = Request(5, 1, 10, 9);
    DoRender(&band_.state(), &r);
    EXPECT_TRUE(gSeen.empty());
    EXPECT_EQ(band_.state().window.rowFlags[1], 1);
}

TEST_F(DoRenderTest, RequestsNearTheTopOfTheCoordinateRangeDoNotWrap) {
    SetBand(4);
    TRect r = Request(0xFFFFFFF0u, 0x20, 0, 5);  // ends past 2^32: must not wrap onto the band
    DoRender(&band_.state(), &r);
    TRect wide = Request(4, 1, 0xFFFFFFF0u, 0xFFFFFFFFu);  // right of the band
    DoRender(&band_.state(), &wide);
    EXPECT_TRUE(gSeen.empty());
}

TEST_F(DoRenderTest, MaskWithBitOffsetIsRealignedToItsFirstDrawnBit) {
    // Two rows of 12 mask bits with offset 4: rows 0xF5 0x30 and 0x0A 0xC0.
    std::vector<uint8_t> mask = {0xF5, 0x30, 0, 0, 0x0A, 0xC0, 0, 0};
    SetBand(0);
    TRect r = Request(1, 2, 8, 20, mask.data());
    r.bitOffset = 4;
    DoRender(&band_.state(), &r);
    ASSERT_EQ(gSeen.size(), 1u);
    EXPECT_EQ(gSeen[0].xs, 12u);
    EXPECT_EQ(gSeen[0].destOffset, 64 + 12);
    // Bits 4..11 of each row: 0101 0011 and 1010 1100.
    EXPECT_EQ(gSeen[0].bits[0], 0x53);
    EXPECT_EQ(gSeen[0].bits[4], 0xAC);
}

TEST_F(DoRenderTest, ColourRowsOverrideBlackAndWhiteRowsButNotTheOtherWay) {
    SetBand(0);
    RenderState& s = band_.state();
    s.reg.colour = 0x80;
    TRect colour = Request(1, 2, 0, 4);
    DoRender(&s, &colour);
    s.reg.colour = 0;
    TRect black = Request(0, 3, 0, 4);
    DoRender(&s, &black);
    EXPECT_EQ(s.window.rowFlags[0], 1);
    EXPECT_EQ(s.window.rowFlags[1], 2);
    EXPECT_EQ(s.window.rowFlags[2], 2);
    EXPECT_EQ(s.window.rowFlags[3], 0);
    SetLineFlag(&s.window, 0, 100, kRowFlagImage);
    EXPECT_EQ(s.window.rowFlags[3], 3);
}

TEST_F(DoRenderTest, DrawnBoxStaysInsideTheBandRows) {
    SetBand(4);
    RenderState& s = band_.state();
    s.window.drawnTop = s.window.bandBottom;
    s.window.drawnLeft = s.window.bandRight;
    s.window.drawnBottom = s.window.bandTop;
    s.window.drawnRight = s.window.bandLeft;
    SetRenderingRect(&s.window, 0, 5, 20, 9);  // reaches over the whole band
    EXPECT_EQ(s.window.drawnTop, 4u);
    EXPECT_EQ(s.window.drawnBottom, 7u);
    EXPECT_EQ(s.window.drawnLeft, 5u);
    EXPECT_EQ(s.window.drawnRight, 9u);
    SetRenderingRect(&s.window, 9, 0, 12, 60);  // below the band: ignored
    EXPECT_EQ(s.window.drawnLeft, 5u);
}

TEST_F(DoRenderTest, PureColourFlagsPerChannel) {
    RenderState& s = band_.state();
    SetTextFlag(&s.window, 0x00FF0080);
    EXPECT_EQ(s.window.channelPure[0], 0u);
    EXPECT_EQ(s.window.channelPure[1], 1u);
    EXPECT_EQ(s.window.channelPure[2], 1u);
    EXPECT_EQ(s.window.pureColour, 0u);
    SetTextFlag(&s.window, 0x0000FFFF);
    EXPECT_EQ(s.window.pureColour, 1u);
}

TEST_F(DoRenderTest, ClipRunsCutTheMaskRowByRow) {
    // A 3-row mask of 16 columns at (1, 8), all ink; runs pick pieces of it.
    std::vector<uint8_t> mask = {0xFF, 0xFF, 0, 0, 0x0F, 0xF0, 0, 0, 0xFF, 0xFF, 0, 0};
    SetBand(0);
    RenderState& s = band_.state();
    RDAddClipRun(&s, nullptr, 1, 10, 13);  // columns 10..12 of row 1
    RDAddClipRun(&s, nullptr, 2, 4, 30);   // cut to the mask: 8..23
    RDAddClipRun(&s, nullptr, 7, 8, 9);    // below the mask: ignored
    RDAddClipRun(&s, nullptr, 3, 12, 12);  // empty
    TRect r = Request(1, 3, 8, 24, mask.data());
    RDDoRenderClip(&s, &r);
    ASSERT_EQ(gSeen.size(), 2u);
    EXPECT_EQ(gSeen[0].row, 1u);
    EXPECT_EQ(gSeen[0].xs, 10u);
    EXPECT_EQ(gSeen[0].xe, 13u);
    EXPECT_EQ(gSeen[0].firstMaskByte, 0xFF);  // bits 2.. of row 0
    EXPECT_EQ(gSeen[1].firstMaskByte, 0x0F);  // row 1 from its first bit
    EXPECT_EQ(gSeen[1].row, 2u);
    EXPECT_EQ(gSeen[1].xs, 8u);
    EXPECT_EQ(gSeen[1].xe, 24u);
    EXPECT_TRUE(s.window.clipRuns.empty());
}

TEST_F(DoRenderTest, ClipRunBitsStartAtTheRunsColumn) {
    // Row 0 of the mask: 0000 1011 0110 0000; a run from column xs + 4.
    std::vector<uint8_t> mask = {0x0B, 0x60, 0, 0};
    SetBand(0);
    RenderState& s = band_.state();
    RDAddClipRun(&s, nullptr, 0, 4, 12);
    TRect r = Request(0, 1, 0, 16, mask.data());
    RDDoRenderClip(&s, &r);
    ASSERT_EQ(gSeen.size(), 1u);
    EXPECT_EQ(gSeen[0].firstMaskByte, 0xB6);
}

}  // namespace
