// Band set-up and the render-band height policy.
#include <gtest/gtest.h>

#include "engine/raster_ops.h"
#include "engine/render_band.h"
#include "playback_test_support.h"

namespace {

constexpr uint64_t kGiB = 1ull << 30;
constexpr uint64_t kMiB = 1ull << 20;

TEST(RendBandHeight, A4At600DpiGreyIsHalfThePageWhenMemoryAllowsTheWholePage) {
    // 60 MiB hold 12684 grey rows of 4960 pixels, more than the 7040-row page
    // (7016 rounded up to 128): split into two bands of 3520, rounded up to 3584.
    EXPECT_EQ(RDRendBandHeightFor(kGiB, 0, 4960, 8, 7016, 600, 100), 3584u);
}

TEST(RendBandHeight, ColourPagesAndSmallerSharesTakeMoreBands) {
    // 32 bits: 3171 rows fit; ceil(7040 / 3171) = 3 bands of 2346 -> 2432.
    EXPECT_EQ(RDRendBandHeightFor(kGiB, 0, 4960, 32, 7016, 600, 100), 2432u);
    // 10 percent: 6 MiB hold 317 rows; 23 bands of 306 -> 384.
    EXPECT_EQ(RDRendBandHeightFor(kGiB, 0, 4960, 32, 7016, 600, 10), 384u);
}

TEST(RendBandHeight, BudgetHasAFloorOfFourMiBAndTheBandAtLeastOnePhysicalBand) {
    // 2 MiB available: the floor of 4 MiB gives 211 colour rows; 34 bands of
    // 207 rows -> 256.
    EXPECT_EQ(RDRendBandHeightFor(2 * kMiB, 0, 4960, 32, 7016, 600, 100), 256u);
    // A very wide row: fewer rows than one physical band -> one physical band.
    EXPECT_EQ(RDRendBandHeightFor(2 * kMiB, 0, 200000, 32, 7016, 600, 100), 128u);
    // 300 dpi bands are 64 lines.
    EXPECT_EQ(RDRendBandHeightFor(2 * kMiB, 0, 200000, 32, 3508, 300, 100), 64u);
}

TEST(RendBandHeight, ConfiguredBandBufferSizeWinsWhenItHoldsMoreThanOnePhysicalBand) {
    EXPECT_EQ(RDRendBandHeightFor(kGiB, 4960 * 1000, 4960, 8, 7016, 600, 100), 1024u);
    // 100 rows are not more than one physical band: ignored.
    EXPECT_EQ(RDRendBandHeightFor(kGiB, 4960 * 100, 4960, 8, 7016, 600, 100), 3584u);
}

TEST(RendBandHeight, UnusableGeometryGivesNoBand) {
    EXPECT_EQ(RDRendBandHeightFor(kGiB, 0, 0, 8, 7016, 600, 100), 0u);
    EXPECT_EQ(RDRendBandHeightFor(kGiB, 0, 4960, 0, 7016, 600, 100), 0u);
    // An empty page still gets one physical band.
    EXPECT_EQ(RDRendBandHeightFor(kGiB, 0, 4960, 8, 0, 600, 100), 128u);
    // The live memory query gives a multiple of the physical band.
    EXPECT_EQ(GetRendBandHeight(0, 4960, 8, 7016, 600, 100) % 128, 0u);
}

TEST(BandSetup, InitializeBandClearsTheBufferFlagsAndDrawnBox) {
    playback_test::Band band(true, 64, 4);
    RenderState& s = band.state();
    std::fill(s.window.band, s.window.band + s.page.bytesPerRow * 4, uint8_t{0});
    s.window.rowFlags.assign(2, 3);
    s.window.drawnTop = 9;
    ASSERT_EQ(RDInitializeBand(&s, 5, 0, 640, 63, 643), 1);
    EXPECT_EQ(s.window.bandIndex, 5u);
    EXPECT_EQ(s.window.bandTop, 640u);
    EXPECT_EQ(s.window.bandBottom, 643u);
    EXPECT_EQ(s.window.bandRows, 4u);
    EXPECT_EQ(s.window.clipRight, 63u);
    EXPECT_EQ(s.window.drawnTop, 0u);
    ASSERT_GE(s.window.rowFlags.size(), 4u);
    for (uint8_t f : s.window.rowFlags) EXPECT_EQ(f, 0);
    EXPECT_TRUE(band.AllWhite());
    EXPECT_TRUE(band.GuardsIntact());
}

TEST(BandSetup, BandWiderThanTheBufferIsCutAndAnInvertedBandDrawsNothing) {
    playback_test::Band band(false, 32, 4);
    RenderState& s = band.state();
    ASSERT_EQ(RDInitializeBand(&s, 0, 0, 0, 1000, 3), 1);
    EXPECT_EQ(s.window.bandRight, 31u);
    EXPECT_EQ(RDInitializeBand(&s, 0, 0, 5, 31, 4), 0);
    EXPECT_EQ(s.window.bandRows, 0u);
    EXPECT_TRUE(band.GuardsIntact());
}

TEST(BandSetup, DestroyEmptiesSlotsAndInitializeSetsHatchColours) {
    playback_test::Band band(false, 32, 4);
    RenderState& s = band.state();
    s.doc.bitmapSlots[3] = std::make_unique<DLBitmap>();
    s.doc.brushSlots[2] = std::make_unique<uint8_t[]>(kBrushSlotBytes);
    s.reg.brush = s.doc.brushSlots[2].get();
    s.reg.hatchForeground = 0x123456;
    RDDestroy(&s);
    EXPECT_EQ(s.doc.bitmapSlots[3], nullptr);
    EXPECT_EQ(s.doc.brushSlots[2], nullptr);
    EXPECT_EQ(s.reg.brush, nullptr);
    RDInitialize(&s);
    EXPECT_EQ(s.reg.hatchForeground, 0u);
    EXPECT_EQ(s.reg.hatchBackground, 0xFFFFFFu);
    EXPECT_EQ(RDInitializePage(), 1);
}

// What outlives a band (the work buffers, the row flags) is given back by
// RDDestroy, however much the document's objects made it grow; the page's
// own set-up is left for the page printer to make again.
TEST(BandSetup, DestroyGivesBackTheWorkBuffersAndRowFlags) {
    playback_test::Band band(false, 32, 8);
    RenderState& s = band.state();
    // A hatch brush is built in the scratch; a scaled glyph with an offset
    // uses both glyph buffers.
    band.Play(playback_test::DL()
                  .RopColour(0xF0, kColourCodeHatch + 1)
                  .At(0, 0)
                  .Box8(2, 2)
                  .Scale(1, 3)
                  .Glyph(2, 2, 2, {0xE0, 0, 0, 0, 0xD0, 0, 0, 0}));
    ASSERT_GT(s.scratch.brushBuild.capacity(), 0u);
    ASSERT_GT(s.scratch.glyphScratch.capacity(), 0u);
    ASSERT_GT(s.scratch.scaledGlyphScratch.capacity(), 0u);
    ASSERT_GT(s.window.rowFlags.capacity(), 0u);
    RDDestroy(&s);
    EXPECT_EQ(s.scratch.brushBuild.capacity(), 0u);
    EXPECT_EQ(s.scratch.realignScratch.capacity(), 0u);
    EXPECT_EQ(s.scratch.clipRowScratch.capacity(), 0u);
    EXPECT_EQ(s.scratch.glyphScratch.capacity(), 0u);
    EXPECT_EQ(s.scratch.scaledGlyphScratch.capacity(), 0u);
    EXPECT_EQ(s.window.rowFlags.capacity(), 0u);
    EXPECT_EQ(s.window.clipRuns.capacity(), 0u);
    EXPECT_EQ(s.doc.pathGenerator, nullptr);
    EXPECT_EQ(s.page.rowPixels, 32u);
}

// A band buffer reused band after band is made white again only where the
// band before drew (its row flags); a buffer written otherwise is made white
// whole once RDForgetBandContents is called. Either way a reused buffer must
// hold exactly what a fresh one holds after the same band.
class BandReuse : public ::testing::TestWithParam<bool> {
protected:
    static constexpr uint32_t kWidth = 64, kRows = 8, kPageRows = 64;

    // Boxes on rows of every band, one reaching over a band edge, and a
    // glyph: some bands drawn at the top, some at the bottom, some not at all.
    static playback_test::DL List() {
        playback_test::DL list;
        list.Black().At(1, 0).Box8(3, 20).At(13, 5).Box8(6, 30).At(30, 40).Box8(1, 10);
        list.At(45, 3).Glyph(0, 4, 8, {0xF0, 0, 0, 0, 0x0F, 0, 0, 0, 0xFF, 0, 0, 0, 0x81, 0, 0, 0});
        return list;
    }

    static std::vector<uint8_t> FreshBand(uint32_t top) {
        playback_test::Band fresh(GetParam(), kWidth, kRows, kPageRows);
        fresh.Play(List(), top);
        return fresh.bandBytes();
    }
};

TEST_P(BandReuse, AReusedBufferHoldsWhatAFreshOneHolds) {
    playback_test::Band reused(GetParam(), kWidth, kRows, kPageRows);
    for (uint32_t top = 0; top < kPageRows; top += kRows) {
        reused.Play(List(), top);
        EXPECT_EQ(reused.bandBytes(), FreshBand(top)) << "band at row " << top;
    }
    // Pages go on in the same buffer.
    reused.Play(List(), 8);
    EXPECT_EQ(reused.bandBytes(), FreshBand(8));
}

TEST_P(BandReuse, ARefusedBandOrAnyOtherWritingMakesTheNextBandWhiteThroughout) {
    playback_test::Band reused(GetParam(), kWidth, kRows, kPageRows);
    RenderState& s = reused.state();
    reused.Play(List(), 0);
    // A refused band draws nothing; the rows its predecessor drew still go.
    EXPECT_EQ(RDInitializeBand(&s, 0, 0, 9, kWidth - 1, 8), 0);
    reused.Play(List(), 24);
    EXPECT_EQ(reused.bandBytes(), FreshBand(24));
    // Bytes written past the drawing (as colour conversion does) on rows no
    // drawing flagged.
    std::fill(s.window.band, s.window.band + size_t{s.page.bytesPerRow} * kRows, uint8_t{0x3C});
    RDForgetBandContents(&s.window);
    reused.Play(List(), 56);
    EXPECT_EQ(reused.bandBytes(), FreshBand(56));
    EXPECT_TRUE(reused.GuardsIntact());
}

INSTANTIATE_TEST_SUITE_P(Depths, BandReuse, ::testing::Bool(),
                         [](const auto& colour) { return colour.param ? "colour" : "grey"; });

}  // namespace
