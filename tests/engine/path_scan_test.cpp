// The path generator and scan converter on their own: the spans a path
// gives are collected as clip runs (RDAddClipRun), so these tests see
// exactly what a consumer would be handed.
#include <gtest/gtest.h>

#include <set>
#include <tuple>
#include <utility>
#include <vector>

#include "engine/do_render.h"
#include "engine/path_generator.h"

namespace {

using Point = std::pair<float, float>;
using Polygon = std::vector<Point>;
// Covered pixels as (row, column).
using Pixels = std::set<std::pair<int, int>>;

class PathScan : public ::testing::Test {
protected:
    void Add(const Polygon& polygon) {
        pg_.vertices.StartSubPath(polygon[0].first, polygon[0].second);
        for (size_t i = 1; i < polygon.size(); ++i)
            pg_.vertices.PutPoint(polygon[i].first, polygon[i].second);
        pg_.vertices.CloseSubPath(true);
    }

    // Spans of the path inside columns left..right-1, rows top..bottom-1.
    std::vector<ClipRun> Spans(bool evenOdd, uint32_t left = 0, uint32_t right = 1000, uint32_t top = 0,
                               uint32_t bottom = 1000) {
        state_.window.clipRuns.clear();
        PGSetClipRect(&pg_, left, right, top, bottom);
        PGSetCallback(&pg_, RDAddClipRun, &state_, nullptr);
        result_ = GpmPaintPath(&pg_, evenOdd ? 1 : 0);
        return state_.window.clipRuns;
    }

    Pixels Covered(bool evenOdd) {
        Pixels out;
        for (const ClipRun& r : Spans(evenOdd))
            for (uint32_t x = r.x1; x < r.x2; ++x) out.insert({static_cast<int>(r.row), static_cast<int>(x)});
        return out;
    }

    static Pixels Box(int left, int top, int right, int bottom) {
        Pixels out;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x) out.insert({y, x});
        return out;
    }
    static Pixels Minus(Pixels a, const Pixels& b) {
        for (const auto& p : b) a.erase(p);
        return a;
    }

    PathGenerator pg_;
    RenderState state_;
    int result_ = -1;
};

const Polygon kSquare = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};

TEST_F(PathScan, TenByTenSquareCoversRowsAndColumnsZeroToNineUnderEitherRule) {
    Add(kSquare);
    for (bool evenOdd : {true, false}) {
        EXPECT_EQ(Covered(evenOdd), Box(0, 0, 10, 10));
        EXPECT_EQ(Spans(evenOdd).size(), 10u);
    }
}

TEST_F(PathScan, EdgeFromOneAndAHalfToFourPointTwoCoversRowsTwoToFour) {
    Add({{0, 1.5f}, {8, 1.5f}, {8, 4.2f}, {0, 4.2f}});
    std::vector<uint32_t> rows;
    for (const ClipRun& r : Spans(true)) rows.push_back(r.row);
    EXPECT_EQ(rows, (std::vector<uint32_t>{2, 3, 4}));
}

TEST_F(PathScan, SlantedEdgeFollowsTheExactColumnRoundedTowardItsUpperEnd) {
    // Left edge from (0,0) to (7,10): column trunc(7*c/10) at row c.
    Add({{0, 0}, {20, 0}, {20, 10}, {7, 10}});
    const auto spans = Spans(true);
    ASSERT_EQ(spans.size(), 10u);
    for (uint32_t c = 0; c < 10; ++c) {
        EXPECT_EQ(spans[c].x1, 7 * c / 10) << c;
        EXPECT_EQ(spans[c].x2, 20u);
    }
}

TEST_F(PathScan, SimplePolygonsFillAlikeUnderBothRules) {
    const std::vector<Polygon> polygons = {
        {{5, 2}, {40, 9}, {12, 33}},                     // triangle
        {{3, 3}, {30, 1}, {37, 20}, {20, 36}, {2, 25}},  // convex
        {{0, 0}, {30, 0}, {30, 30}, {15, 10}, {0, 30}},  // concave notch
        {{10, 0}, {0, 10}, {10, 20}, {20, 10}},          // diamond, clockwise the other way
    };
    for (const Polygon& p : polygons) {
        pg_.vertices.Clear();
        Add(p);
        const Pixels evenOdd = Covered(true);
        EXPECT_FALSE(evenOdd.empty());
        EXPECT_EQ(evenOdd, Covered(false));
    }
}

// Nested squares: the inner one the same way round or the other way.
TEST_F(PathScan, NestedSquaresDifferByRuleOnlyWhenTheyRunTheSameWay) {
    const Polygon outer = {{0, 0}, {30, 0}, {30, 30}, {0, 30}};
    const Polygon inner = {{10, 10}, {20, 10}, {20, 20}, {10, 20}};
    const Polygon innerReversed = {{10, 10}, {10, 20}, {20, 20}, {20, 10}};
    const Pixels ring = Minus(Box(0, 0, 30, 30), Box(10, 10, 20, 20));

    Add(outer);
    Add(inner);
    EXPECT_EQ(Covered(true), ring);
    EXPECT_EQ(Covered(false), Box(0, 0, 30, 30));

    pg_.vertices.Clear();
    Add(outer);
    Add(innerReversed);
    EXPECT_EQ(Covered(true), ring);
    EXPECT_EQ(Covered(false), ring);
}

TEST_F(PathScan, SelfCrossingStarLeavesItsCentreToTheWindingRule) {
    // A five-pointed star drawn in one stroke: its centre is wound twice.
    Add({{50, 0}, {79, 90}, {2, 35}, {98, 35}, {21, 90}});
    const Pixels evenOdd = Covered(true), winding = Covered(false);
    EXPECT_EQ(evenOdd.count({50, 50}), 0u);
    EXPECT_EQ(winding.count({50, 50}), 1u);
    // The points of the star are covered once: both rules fill them.
    EXPECT_EQ(evenOdd.count({10, 50}), 1u);
    EXPECT_EQ(winding.count({10, 50}), 1u);
    EXPECT_LT(evenOdd.size(), winding.size());
    for (const auto& p : evenOdd) EXPECT_EQ(winding.count(p), 1u);
}

TEST_F(PathScan, SpansAreCutToTheClipRectangle) {
    Add(kSquare);
    const auto spans = Spans(true, 3, 7, 2, 5);
    ASSERT_EQ(spans.size(), 3u);
    for (uint32_t i = 0; i < 3; ++i) {
        EXPECT_EQ(spans[i].row, 2 + i);
        EXPECT_EQ(spans[i].x1, 3u);
        EXPECT_EQ(spans[i].x2, 7u);
    }
    EXPECT_TRUE(Spans(true, 20, 30, 0, 10).empty());  // right of the path
    EXPECT_TRUE(Spans(true, 0, 10, 10, 20).empty());  // below it
}

TEST_F(PathScan, MoreSpansThanTheRunBufferHoldsAllArriveInRowOrder) {
    Add({{0, 0}, {4, 0}, {4, 1200}, {0, 1200}});
    const auto spans = Spans(true, 0, 10, 0, 1200);
    ASSERT_EQ(spans.size(), 1200u);
    for (uint32_t i = 0; i < spans.size(); ++i) EXPECT_EQ(spans[i].row, i);
}

TEST_F(PathScan, RepeatedPointsAndLoneStartPointsAddNoVertex) {
    pg_.vertices.StartSubPath(1, 1);
    pg_.vertices.PutPoint(5, 1);
    pg_.vertices.PutPoint(5, 1);  // repeated: dropped
    pg_.vertices.PutPoint(5, 6);
    pg_.vertices.CloseSubPath(true);  // the start point is appended as the closing point
    EXPECT_EQ(pg_.vertices.Count(), 4u);
    EXPECT_EQ(pg_.vertices.At(3).kind, kPGVertexClose);
    pg_.vertices.StartSubPath(9, 9);
    pg_.vertices.PutPoint(9, 9);
    pg_.vertices.CloseSubPath(true);  // one distinct point: taken back
    EXPECT_EQ(pg_.vertices.Count(), 4u);
    pg_.vertices.StartSubPath(2, 2);
    pg_.vertices.PutPoint(7, 7);
    pg_.vertices.PutPoint(2, 2);  // back at the start: it becomes the closing point
    pg_.vertices.CloseSubPath(false);
    EXPECT_EQ(pg_.vertices.Count(), 7u);
    EXPECT_EQ(pg_.vertices.At(6).kind, kPGVertexClose);
}

TEST_F(PathScan, VertexBlocksGrowFromTheHeapAndStopAtTheLimit) {
    pg_.vertices.StartSubPath(0, 0);
    for (uint32_t i = 1; i < kPGBlockVertices + 1; ++i) pg_.vertices.PutPoint(static_cast<float>(i), 0);
    EXPECT_EQ(pg_.vertices.Blocks(), 2u);
    EXPECT_EQ(pg_.vertices.At(kPGBlockVertices).x, static_cast<float>(kPGBlockVertices));
    for (uint32_t i = kPGBlockVertices + 1; i <= kPGMaxVertices + 10; ++i)
        pg_.vertices.PutPoint(static_cast<float>(i & 1), static_cast<float>(i));
    pg_.vertices.CloseSubPath(true);
    EXPECT_TRUE(pg_.vertices.Overflowed());
    EXPECT_EQ(pg_.vertices.Count(), kPGMaxVertices);
    EXPECT_EQ(pg_.vertices.Blocks(), kPGMaxBlocks);
    EXPECT_TRUE(Spans(true).empty());
    EXPECT_EQ(result_, 0);  // refused
    pg_.vertices.Clear();
    EXPECT_EQ(pg_.vertices.Blocks(), 1u);
    Add(kSquare);
    EXPECT_EQ(Covered(true), Box(0, 0, 10, 10));
}

TEST_F(PathScan, MoreThan65535EdgesInsideTheClipRowsAreRefused) {
    // A comb of narrow teeth, each tooth two edges crossing rows 0..9.
    auto comb = [&](uint32_t teeth) {
        pg_.vertices.Clear();
        pg_.vertices.StartSubPath(0, 20);
        for (uint32_t t = 0; t < teeth; ++t) {
            pg_.vertices.PutPoint(static_cast<float>(2 * t), 0);
            pg_.vertices.PutPoint(static_cast<float>(2 * t + 1), 0);
            pg_.vertices.PutPoint(static_cast<float>(2 * t + 1), 10);
            pg_.vertices.PutPoint(static_cast<float>(2 * t + 2), 10);
        }
        pg_.vertices.PutPoint(static_cast<float>(2 * teeth), 20);
        pg_.vertices.CloseSubPath(true);
    };
    comb(32000);  // 64,002 edges
    EXPECT_EQ(Spans(true, 0, 70000, 0, 10).size(), 10u * 32000);
    EXPECT_EQ(result_, 1);
    comb(33000);  // 66,002 edges
    EXPECT_TRUE(Spans(true, 0, 70000, 0, 10).empty());
    EXPECT_EQ(result_, 0);
    // Outside the clip rows the same edges do not count.
    EXPECT_EQ(Spans(true, 0, 70000, 15, 20).size(), 5u);
    EXPECT_EQ(result_, 1);
}

TEST_F(PathScan, CoordinatesFarBeyondSixteenBitsAreCutToTheClip) {
    // A triangle reaching billions of dots out, and a box past 32767.
    Add({{-3e9f, -3e9f}, {3e9f, 0}, {-3e9f, 3e9f}});
    const auto spans = Spans(true, 100, 200, 40000, 40003);
    ASSERT_EQ(spans.size(), 3u);
    for (const ClipRun& r : spans) {
        EXPECT_EQ(r.x1, 100u);
        EXPECT_EQ(r.x2, 200u);
    }
    pg_.vertices.Clear();
    Add({{40000, 50000}, {40010, 50000}, {40010, 50002}, {40000, 50002}});
    const auto far = Spans(true, 0, 100000, 0, 100000);
    ASSERT_EQ(far.size(), 2u);
    EXPECT_EQ(std::make_tuple(far[0].row, far[0].x1, far[0].x2), std::make_tuple(50000u, 40000u, 40010u));
}

}  // namespace
