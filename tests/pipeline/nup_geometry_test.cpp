// N-up geometry: placements worked out by hand for an A4 sheet, and the
// properties every count, orientation and order must keep (each page in a
// cell of its own, inside the sheet, the page fitting its cell).
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "pipeline/nup_geometry.h"

namespace {

// A4's printable area at 600 dpi.
constexpr uint32_t kA = 4760, kB = 6814;

TEST(NupGeometry, FourUpOnA4WorkedByHand) {
    // f = 2, margin 20; cells (6814 - 40) / 2 = 3387 rows by (4760 - 40) / 2
    // = 2360 columns; scale min(338700 / 6814, 236000 / 4760) = 49. The page
    // takes 3338 x 2332 dots of its cell: slack 49 and 28, halved 24 and 14.
    FBNupPlacement first, last;
    EXPECT_EQ(GetNupValues(4, 0, 0, 0, kA, kB, 600, 1, &first), 49u);
    EXPECT_EQ(first.rowPosition, 89u);     // (0 + 24 + 20) * 100 / 49
    EXPECT_EQ(first.columnPosition, 69u);  // (0 + 14 + 20) * 100 / 49
    EXPECT_EQ(first.r0, 20u);
    EXPECT_EQ(first.c0, 20u);
    EXPECT_EQ(first.r1, 3407u);
    EXPECT_EQ(first.c1, 2380u);
    EXPECT_EQ(GetNupValues(4, 0, 0, 3, kA, kB, 600, 1, &last), 49u);
    EXPECT_EQ(last.rowPosition, 7002u);     // (3387 + 24 + 20) * 100 / 49
    EXPECT_EQ(last.columnPosition, 4885u);  // (2360 + 14 + 20) * 100 / 49
    EXPECT_EQ(last.r0, 3407u);
    EXPECT_EQ(last.c0, 2380u);
    EXPECT_EQ(last.r1, 6794u);
    EXPECT_EQ(last.c1, 4740u);
}

TEST(NupGeometry, TwoUpPagesAreTurnedAndBordersStayOnTheSheet) {
    // Turned: the page's 4760 rows must fit 3387: scale min(3387 * 100 /
    // 4760, 4720 * 100 / 6814) = min(71, 69) = 69.
    FBNupPlacement bottom;
    EXPECT_EQ(GetNupValues(2, 0, 0, 1, kA, kB, 600, 100, &bottom), 69u);
    // A wide border factor keeps the rectangle 200 dots inside the sheet.
    EXPECT_EQ(bottom.r1, kB - 200 - 2);
    EXPECT_EQ(bottom.c1, kA - 200 - 2);
}

TEST(NupGeometry, SheetTooSmallForItsCellsPlacesNothing) {
    FBNupPlacement placement;
    EXPECT_EQ(GetNupValues(16, 0, 0, 5, 30, 30, 600, 1, &placement), 0u);
    EXPECT_EQ(placement.rowPosition, 0u);
    EXPECT_EQ(GetNupValues(4, 0, 0, 0, 0, kB, 600, 1, &placement), 0u);
}

struct GridCase {
    uint32_t pagesPerSheet;
    uint32_t orientation;
    uint32_t order;
};

class NupCells : public testing::TestWithParam<GridCase> {};

TEST_P(NupCells, EveryPageHasACellOfItsOwnAndFitsIt) {
    const GridCase c = GetParam();
    const FBNupGrid grid = FBNupGridFor(c.pagesPerSheet);
    ASSERT_EQ(grid.columns * grid.rows, c.pagesPerSheet);
    std::set<std::pair<uint32_t, uint32_t>> cells;
    for (uint32_t i = 0; i < c.pagesPerSheet; ++i) {
        uint32_t p = 0, q = 0;
        FBNupCell(grid, c.orientation, c.order, i, &p, &q);
        EXPECT_LT(p, grid.rows);
        EXPECT_LT(q, grid.columns);
        cells.insert({p, q});
        FBNupPlacement placement;
        const uint32_t scale =
            GetNupValues(c.pagesPerSheet, c.orientation, c.order, i, kA, kB, 600, 1, &placement);
        ASSERT_GT(scale, 0u);
        // The page's far corner, reduced, stays inside its border rectangle.
        const uint64_t pageRows = grid.turned ? kA : kB, pageColumns = grid.turned ? kB : kA;
        EXPECT_LE((placement.rowPosition + pageRows) * scale / 100, placement.r1 + 1u) << i;
        EXPECT_LE((placement.columnPosition + pageColumns) * scale / 100, placement.c1 + 1u) << i;
        EXPECT_GE(uint64_t{placement.rowPosition} * scale / 100, placement.r0 - 1u) << i;
        EXPECT_GE(uint64_t{placement.columnPosition} * scale / 100, placement.c0 - 1u) << i;
    }
    EXPECT_EQ(cells.size(), c.pagesPerSheet);
}

std::vector<GridCase> AllGrids() {
    std::vector<GridCase> cases;
    for (uint32_t n : {2u, 3u, 4u, 6u, 8u, 9u, 16u})
        for (uint32_t orientation : {0u, 1u})
            for (uint32_t order = 0; order < 4; ++order) cases.push_back({n, orientation, order});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(NupGeometry, NupCells, testing::ValuesIn(AllGrids()),
                         [](const testing::TestParamInfo<GridCase>& p) {
                             return std::to_string(p.param.pagesPerSheet) + "Up" +
                                    (p.param.orientation ? "Landscape" : "Portrait") + "Order" +
                                    std::to_string(p.param.order);
                         });

TEST(NupGeometry, UnknownOrderReadsLikeTheFirstAndNeverLeavesTheSheet) {
    const FBNupGrid grid = FBNupGridFor(4);
    for (uint32_t i = 0; i < 4; ++i) {
        uint32_t p = 0, q = 0, p0 = 0, q0 = 0;
        FBNupCell(grid, 0, 7, i, &p, &q);
        FBNupCell(grid, 0, 0, i, &p0, &q0);
        EXPECT_EQ(std::make_pair(p, q), std::make_pair(p0, q0));
    }
}

TEST(NupGeometry, CountsWithoutAGridGetOneCell) {
    for (uint32_t n : {0u, 1u, 5u, 7u, 100u}) {
        const FBNupGrid grid = FBNupGridFor(n);
        EXPECT_EQ(grid.columns * grid.rows, 1u) << n;
    }
}

}  // namespace
