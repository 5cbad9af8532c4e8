// The band record: set-up from the page, the band count, the band rectangle
// in the plain and the 600 x 1200 modes.
#include "pipeline/fb_band.h"

#include <gtest/gtest.h>

#include "engine/halftone.h"
#include "pipeline/band_geometry.h"
#include "support/page_fixtures.h"

namespace {

FBPage Page(uint32_t resolution, uint32_t outputResolution, uint32_t bitsPerPixel) {
    return zebl_test::MakePage(resolution, outputResolution, bitsPerPixel, 4760, 6814);
}

class BandRecord : public testing::Test {
protected:
    ~BandRecord() override { FBDestroyBand(&band_); }
    FBBandCache cache_;
    FBBand band_;
};

TEST_F(BandRecord, AGreyPageAt600Dpi) {
    ASSERT_EQ(FBInitializeBand(&band_, &cache_, Page(600, 600, 8), kScreenNormal), 1);
    EXPECT_EQ(band_.resolution, 600u);
    EXPECT_EQ(band_.outputResolution, 600u);
    EXPECT_FALSE(FBBandIsDoubled(band_));
    EXPECT_EQ(band_.raster.bitsPerPixel, 8u);
    EXPECT_EQ(band_.raster.colour, 0u);
    EXPECT_EQ(band_.raster.physWidthBytes, 620u);
    EXPECT_EQ(band_.raster.physHeight, 128u);
    EXPECT_EQ(band_.cache, &cache_);
    EXPECT_GE(FBCacheCapacity(cache_, kCacheHalftoneBand), 620u * 128);
    EXPECT_GE(FBCacheCapacity(cache_, kCacheCompressedBand), 620u * 128 + 1024);
    EXPECT_GE(FBCacheCapacity(cache_, kCacheCompressWork), 620u * 128 + 67584);
    EXPECT_EQ(FBCacheCapacity(cache_, kCacheRenderBuffer), 0u);  // the page printer's
    // One plane, the 600-dpi normal screen.
    EXPECT_EQ(band_.raster.screen.colourHandle, nullptr);
    EXPECT_EQ(band_.raster.screen.plane[0].width, 96u);
    EXPECT_TRUE(band_.raster.doubledRows.empty());
}

TEST_F(BandRecord, AColourPageGetsFourPlanesOfBuffersAndScreens) {
    ASSERT_EQ(FBInitializeBand(&band_, &cache_, Page(300, 300, 32), kScreenText), 1);
    EXPECT_EQ(band_.raster.colour, 1u);
    EXPECT_EQ(band_.raster.physWidthBytes, 308u);
    EXPECT_EQ(band_.raster.physHeight, 64u);
    EXPECT_GE(FBCacheCapacity(cache_, kCacheHalftoneBand), 308u * 64 * 4);
    EXPECT_NE(band_.raster.screen.colourHandle, nullptr);
    EXPECT_EQ(band_.raster.screen.screenClass, kScreenText);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(band_.raster.screen.plane[i].width, 24u) << i;
}

TEST_F(BandRecord, The600By1200ModeWorksAt1200DpiAndDoubles) {
    ASSERT_EQ(FBInitializeBand(&band_, &cache_, Page(600, 1200, 32), kScreenNormal), 1);
    EXPECT_TRUE(FBBandIsDoubled(band_));
    EXPECT_EQ(band_.outputResolution, 1200u);
    EXPECT_EQ(band_.raster.physWidthBytes, 1240u);
    EXPECT_EQ(band_.raster.physHeight, 128u);
    EXPECT_GE(FBCacheCapacity(cache_, kCacheHalftoneBand), 1240u * 128 * 4);
    EXPECT_EQ(band_.raster.screen.resolution, 1200u);
    EXPECT_EQ(band_.raster.screen.plane[kScreenBlack].width, 120u);
    // One physical band of doubled colour pixels, as wide as the printer's band.
    EXPECT_GE(band_.raster.doubledRows.size(), 128u * 9920 * 4);

    // Output at 1200 from a page rendered at 1200 (or 300) is not doubling.
    FBBand plain;
    ASSERT_EQ(FBInitializeBand(&plain, &cache_, Page(1200, 1200, 8), kScreenNormal), 1);
    EXPECT_FALSE(FBBandIsDoubled(plain));
    ASSERT_EQ(FBInitializeBand(&plain, &cache_, Page(300, 1200, 8), kScreenNormal), 1);
    EXPECT_FALSE(FBBandIsDoubled(plain));
    EXPECT_EQ(plain.outputResolution, 300u);
    FBDestroyBand(&plain);
}

TEST_F(BandRecord, PixelDepthsOtherThan8And32AreRefused) {
    EXPECT_EQ(FBInitializeBand(&band_, &cache_, Page(600, 600, 16), kScreenNormal), 0);
    EXPECT_EQ(FBInitializeBand(&band_, &cache_, Page(600, 600, 0), kScreenNormal), 0);
    EXPECT_EQ(FBInitializeBand(&band_, nullptr, Page(600, 600, 8), kScreenNormal), 0);
    EXPECT_EQ(FBInitializeBand(nullptr, &cache_, Page(600, 600, 8), kScreenNormal), 0);
}

TEST_F(BandRecord, BandCountFromRenderingBands) {
    EXPECT_EQ(FBOutBandSetTotalBandNums(&band_, 5), 0);  // not set up yet
    ASSERT_EQ(FBInitializeBand(&band_, &cache_, Page(600, 600, 8), kScreenNormal), 1);
    ASSERT_EQ(FBOutBandSetTotalBandNums(&band_, 5), 1);
    EXPECT_EQ(band_.bandCount, 5u);
    ASSERT_EQ(FBInitializeBand(&band_, &cache_, Page(300, 300, 8), kScreenNormal), 1);
    ASSERT_EQ(FBOutBandSetTotalBandNums(&band_, 7), 1);
    EXPECT_EQ(band_.bandCount, 7u);
    // 600 x 1200: (128 / 128) x (n x 1200 / 600).
    ASSERT_EQ(FBInitializeBand(&band_, &cache_, Page(600, 1200, 8), kScreenNormal), 1);
    ASSERT_EQ(FBOutBandSetTotalBandNums(&band_, 5), 1);
    EXPECT_EQ(band_.bandCount, 10u);
    ASSERT_EQ(FBOutBandSetTotalBandNums(&band_, 0xFFFFFFFFu), 1);
    EXPECT_EQ(band_.bandCount, 0xFFFFFFFFu);  // held at the largest count
}

TEST_F(BandRecord, PrepareTakesAnInclusiveRectangle) {
    ASSERT_EQ(FBInitializeBand(&band_, &cache_, Page(600, 600, 32), kScreenNormal), 1);
    ASSERT_EQ(FBPrepareBand(&band_, 0, 256, 4767, 511), 1);
    EXPECT_EQ(band_.raster.line, 256u);
    EXPECT_EQ(band_.raster.width, 4768u);
    EXPECT_EQ(band_.raster.height, 256u);
    EXPECT_EQ(band_.raster.bytesPerRow, 4768u * 4);
    ASSERT_EQ(FBPrepareBand(&band_, 32, 7, 32, 7), 1);  // one pixel
    EXPECT_EQ(band_.raster.line, 7u);
    EXPECT_EQ(band_.raster.width, 1u);
    EXPECT_EQ(band_.raster.height, 1u);
}

TEST_F(BandRecord, PrepareDoublesLineWidthAndHeightIn600By1200) {
    ASSERT_EQ(FBInitializeBand(&band_, &cache_, Page(600, 1200, 8), kScreenNormal), 1);
    ASSERT_EQ(FBPrepareBand(&band_, 0, 64, 2463, 127), 1);
    EXPECT_EQ(band_.raster.line, 128u);
    EXPECT_EQ(band_.raster.width, 2u * 2463 + 2);
    EXPECT_EQ(band_.raster.height, 2u * 63 + 2);
    EXPECT_EQ(band_.raster.bytesPerRow, 2464u);  // the rendering buffer's rows are not doubled
}

TEST_F(BandRecord, AnInvertedOrOversizedRectangleEmptiesTheBand) {
    ASSERT_EQ(FBInitializeBand(&band_, &cache_, Page(600, 1200, 32), kScreenNormal), 1);
    ASSERT_EQ(FBPrepareBand(&band_, 0, 0, 31, 127), 1);
    EXPECT_EQ(FBPrepareBand(&band_, 10, 0, 9, 127), 0);
    EXPECT_EQ(band_.raster.width, 0u);
    EXPECT_EQ(band_.raster.height, 0u);
    ASSERT_EQ(FBPrepareBand(&band_, 0, 0, 31, 127), 1);
    EXPECT_EQ(FBPrepareBand(&band_, 0, 5, 31, 4), 0);
    EXPECT_EQ(band_.raster.height, 0u);
    // Doubled, these would not fit 32 bits.
    EXPECT_EQ(FBPrepareBand(&band_, 0, 0x80000000u, 31, 0x80000001u), 0);
    EXPECT_EQ(FBPrepareBand(&band_, 0, 0, 0x80000000u, 1), 0);
    EXPECT_EQ(FBPrepareBand(nullptr, 0, 0, 1, 1), 0);
}

TEST_F(BandRecord, DestroyReleasesTheScreensAndTheDoublingRows) {
    ASSERT_EQ(FBInitializeBand(&band_, &cache_, Page(600, 1200, 8), kScreenNormal), 1);
    ASSERT_FALSE(band_.raster.doubledRows.empty());
    EXPECT_EQ(FBDestroyBand(&band_), 1);
    EXPECT_EQ(band_.raster.screen.plane[0].table, nullptr);
    EXPECT_TRUE(band_.raster.doubledRows.empty());
    EXPECT_EQ(FBDestroyBand(nullptr), 0);
}

}  // namespace
