#include "decode/page_plane.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(PagePlane, CountsZeroBitsAsDots) {
    const uint8_t bytes[] = {0xFF, 0x00, 0x7F, 0xFE, 0xAA, 0xFF, 0xFF, 0xFF, 0xFF, 0x0F};
    EXPECT_EQ(CountDots(bytes, 0), 0u);
    EXPECT_EQ(CountDots(bytes, 1), 0u);
    EXPECT_EQ(CountDots(bytes, 2), 8u);
    EXPECT_EQ(CountDots(bytes, 10), 8u + 1 + 1 + 4 + 4);
    // The word-at-a-time path and the byte path agree at every length.
    std::vector<uint8_t> many(37);
    for (size_t i = 0; i < many.size(); ++i) many[i] = static_cast<uint8_t>(i * 37 + 11);
    for (size_t n = 0; n <= many.size(); ++n) {
        uint64_t slow = 0;
        for (size_t i = 0; i < n; ++i) {
            for (int bit = 0; bit < 8; ++bit) slow += ((many[i] >> bit) & 1) == 0;
        }
        EXPECT_EQ(CountDots(many.data(), n), slow) << n;
    }
}

TEST(PagePlane, PlacesBandRowsAndCutsWhatLiesOutside) {
    // A page 12 dots wide (2 bytes, 4 padding bits) and 5 lines tall; a band
    // 3 bytes (24 dots) wide and 4 lines from line 3: two of its lines and
    // its columns 12..23 lie outside.
    PagePlane plane;
    PagePlaneAllocate(&plane, 12, 5);
    ASSERT_EQ(plane.stride, 2u);
    ASSERT_EQ(plane.bits.size(), 10u);
    const uint8_t band[] = {
        0x7F, 0xF0, 0xFE,  // line 3: dots at x 0, x 12..15 (outside), x 23 (outside)
        0xFF, 0xEF, 0xFF,  // line 4: dot at x 11
        0x00, 0xFF, 0xFF,  // line 5: below the page, 8 dots
        0xFF, 0xFF, 0x7F,  // line 6: below the page, 1 dot
    };
    EXPECT_EQ(PagePlanePlaceBand(&plane, band, 3, 4, 3), 4u + 1 + 8 + 1);
    EXPECT_TRUE(plane.Dot(0, 3));
    EXPECT_TRUE(plane.Dot(11, 4));
    EXPECT_FALSE(plane.Dot(1, 3));
    EXPECT_FALSE(plane.Dot(12, 3));  // outside the page
    EXPECT_FALSE(plane.Dot(0, 5));
    EXPECT_EQ(plane.bits[6], 0x7F);
    EXPECT_EQ(plane.bits[7], 0xFF);  // padding bits stay "no dot"
    EXPECT_EQ(plane.bits[9], 0xEF);
    PagePlaneCountDots(&plane);
    EXPECT_EQ(plane.dots, 2u);
    // Dots in the page plus dots outside are the band's dots.
    EXPECT_EQ(plane.dots + 14u, CountDots(band, sizeof band));
}

TEST(PagePlane, NarrowBandLeavesTheRestWhite) {
    PagePlane plane;
    PagePlaneAllocate(&plane, 24, 2);
    const uint8_t band[] = {0x00, 0x0F};  // 2 bytes wide, 1 line
    EXPECT_EQ(PagePlanePlaceBand(&plane, band, 2, 1, 1), 0u);
    PagePlaneCountDots(&plane);
    EXPECT_EQ(plane.dots, 12u);
    EXPECT_TRUE(plane.Dot(8, 1));
    EXPECT_FALSE(plane.Dot(12, 1));
    EXPECT_FALSE(plane.Dot(16, 1));
    // A band that starts below the page adds nothing to it.
    EXPECT_EQ(PagePlanePlaceBand(&plane, band, 2, 1, 2), 12u);
    PagePlaneCountDots(&plane);
    EXPECT_EQ(plane.dots, 12u);
}

}  // namespace
