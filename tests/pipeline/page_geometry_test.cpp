#include "pipeline/page_geometry.h"

#include <gtest/gtest.h>

namespace {

TEST(PageGeometry, A4At600DotsPerInch) {
    uint32_t w = 0, h = 0;
    ASSERT_EQ(GetPageDimension(9, &w, &h, 600), 1);
    EXPECT_EQ(w, 4760u);
    EXPECT_EQ(h, 6814u);
    uint32_t l = 0, t = 0, r = 0, b = 0;
    ASSERT_EQ(GetPageMargin(9, &l, &t, &r, &b, 600), 1);
    EXPECT_EQ(l + t + r + b, 400u);
}

TEST(PageGeometry, UnknownCodeLeavesOutputsUntouched) {
    uint32_t w = 7, h = 8, l = 1, t = 2, r = 3, b = 4;
    EXPECT_EQ(GetPageDimension(41, &w, &h, 600), 0);
    EXPECT_EQ(GetPageMargin(41, &l, &t, &r, &b, 600), 0);
    EXPECT_EQ(w, 7u);
    EXPECT_EQ(h, 8u);
    EXPECT_EQ(l + t + r + b, 10u);
}

TEST(PageGeometry, TableHoldsFortyTwoDistinctCodesWithFixedMargins) {
    for (int i = 0; i < kPaperTableEntries; ++i) {
        const PaperEntry& e = aPaperTable[i];
        EXPECT_EQ(FindPaper(e.code), &e) << "duplicate code " << e.code;
        EXPECT_EQ(e.marginLeft + e.marginTop + e.marginRight + e.marginBottom, 200);
        EXPECT_TRUE(e.unit == 1000 || e.unit == 254);
    }
    // Metric papers: printable size plus margins matches the paper in 1/300 inch.
    const PaperEntry* a3 = FindPaper(8);
    ASSERT_NE(a3, nullptr);
    EXPECT_NEAR(a3->paperWidth * 300.0 / 254.0, a3->printableWidth + 100, 2.0);
    EXPECT_EQ(FindPaper(256)->printableHeight, 4100);
    EXPECT_EQ(FindPaper(70)->printableWidth, 1140);
}

TEST(PageGeometry, DotsScaleWithResolutionAndTruncate) {
    uint32_t w = 0, h = 0;
    ASSERT_EQ(GetPageDimension(19, &w, &h, 1200), 1);  // 1063 x 2562 in 1/300 inch
    EXPECT_EQ(w, 4252u);
    EXPECT_EQ(h, 10248u);
    ASSERT_EQ(GetPageDimension(38, &w, &h, 600), 1);
    EXPECT_EQ(w, 1976u);
    ASSERT_EQ(GetPageDimension(1, &w, &h, 300), 1);
    EXPECT_EQ(w, 2450u);
}

}  // namespace
