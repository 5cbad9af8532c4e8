// Page pictures from planes set dot by dot: black on white for grey pages,
// each ink taking its share away from white on colour pages, and averaging.
#include "image/page_picture.h"

#include <gtest/gtest.h>

namespace {

DecodedPage BlankPage(uint16_t width, uint16_t height) {
    DecodedPage page;
    page.header.width = width;
    page.header.height = height;
    return page;
}

void Dot(DecodedPage& page, uint8_t planeId, uint32_t x, uint32_t y) {
    PagePlane& plane = page.planes[planeId - 1];
    if (!plane.Allocated()) PagePlaneAllocate(&plane, page.header.width, page.header.height);
    plane.bits[size_t{y} * plane.stride + x / 8] &= static_cast<uint8_t>(~(0x80 >> (x % 8)));
}

TEST(PagePicture, GreyPagesAreBlackDotsOnWhite) {
    DecodedPage page = BlankPage(10, 2);
    Dot(page, 4, 0, 0);
    Dot(page, 4, 9, 1);
    Image8 picture;
    ASSERT_TRUE(MakePagePicture(page, 1, &picture));
    EXPECT_EQ(picture.channels, 1u);
    EXPECT_EQ(picture.width, 10u);
    ASSERT_EQ(picture.pixels.size(), 20u);
    for (size_t i = 0; i < 20; ++i) {
        const bool dot = i == 0 || i == 19;
        EXPECT_EQ(picture.pixels[i], dot ? 0 : 255) << i;
    }
}

TEST(PagePicture, InksTakeTheirShareFromWhite) {
    DecodedPage page = BlankPage(8, 1);
    Dot(page, 1, 0, 0);  // cyan: no red
    Dot(page, 2, 1, 0);  // magenta: no green
    Dot(page, 3, 2, 0);  // yellow: no blue
    Dot(page, 4, 3, 0);  // black: nothing
    Dot(page, 1, 4, 0);  // cyan and yellow: green
    Dot(page, 3, 4, 0);
    Dot(page, 1, 5, 0);  // cyan, magenta, yellow: black too
    Dot(page, 2, 5, 0);
    Dot(page, 3, 5, 0);
    Image8 picture;
    ASSERT_TRUE(MakePagePicture(page, 1, &picture));
    ASSERT_TRUE(PageHasColour(page));
    EXPECT_EQ(picture.channels, 3u);
    const std::vector<uint8_t> expected = {
        0, 255, 255, 255, 0, 255, 255, 255, 0, 0, 0, 0, 0, 255, 0, 0, 0, 0, 255, 255, 255, 255, 255, 255,
    };
    EXPECT_EQ(picture.pixels, expected);
}

TEST(PagePicture, ScalingAveragesEachBlockIncludingTheEdges) {
    DecodedPage page = BlankPage(5, 3);
    // Block (0, 0) of 2 x 2: one dot of four; block (2, 1) is the single
    // corner dot of the 5 x 3 page, inked.
    Dot(page, 4, 1, 1);
    Dot(page, 4, 4, 2);
    Image8 picture;
    ASSERT_TRUE(MakePagePicture(page, 2, &picture));
    EXPECT_EQ(picture.width, 3u);
    EXPECT_EQ(picture.height, 2u);
    // 3 of 4 white: 191.25 -> 191; the edge block (4, 0..1) has 2 white of 2.
    EXPECT_EQ(picture.pixels, (std::vector<uint8_t>{191, 255, 255, 255, 255, 0}));
}

TEST(PagePicture, ScalingAgreesWithAveragingTheFullSizePicture) {
    DecodedPage page = BlankPage(37, 29);
    for (uint32_t y = 0; y < 29; ++y)
        for (uint32_t x = 0; x < 37; ++x)
            if ((x * 7 + y * 3) % 5 == 0) Dot(page, 2, x, y);
    Image8 full, scaled;
    ASSERT_TRUE(MakePagePicture(page, 1, &full));
    ASSERT_TRUE(MakePagePicture(page, 4, &scaled));
    for (uint32_t oy = 0; oy < scaled.height; ++oy) {
        for (uint32_t ox = 0; ox < scaled.width; ++ox) {
            uint32_t sum = 0, count = 0;
            for (uint32_t y = oy * 4; y < std::min(29u, oy * 4 + 4); ++y)
                for (uint32_t x = ox * 4; x < std::min(37u, ox * 4 + 4); ++x, ++count)
                    sum += full.pixels[(size_t{y} * 37 + x) * 3 + 1];
            EXPECT_EQ(scaled.pixels[(size_t{oy} * scaled.width + ox) * 3 + 1], (sum + count / 2) / count)
                << ox << "," << oy;
        }
    }
}

TEST(PagePicture, RefusesAPageWithoutSize) {
    Image8 picture;
    EXPECT_FALSE(MakePagePicture(BlankPage(0, 5), 1, &picture));
    EXPECT_FALSE(MakePagePicture(BlankPage(5, 5), 0, &picture));
    // A page without planes is white.
    ASSERT_TRUE(MakePagePicture(BlankPage(3, 1), 1, &picture));
    EXPECT_EQ(picture.pixels, (std::vector<uint8_t>{255, 255, 255}));
}

}  // namespace
