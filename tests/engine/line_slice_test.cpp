// The run-slice form of lines, checked against what a line must be rather
// than against the slicing arithmetic: the pixels of a line from A to B run
// from A to B one step at a time, each the closest pixel to the true line,
// and the pixels a window cuts out are exactly those inside it.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "engine/line_slice.h"

namespace {

struct Pixel {
    int64_t x, y;
    bool operator==(const Pixel&) const = default;
};

std::vector<Pixel> PixelsOf(const LineSlice& line) {
    std::vector<Pixel> pixels;
    for (uint64_t n = 0; n <= line.majorLength; ++n)
        pixels.push_back({LinePixelX(line, n), LinePixelY(line, n)});
    return pixels;
}

std::vector<Pixel> WalkedFrom(const LineSlice& line, uint64_t first, uint64_t count) {
    std::vector<Pixel> pixels;
    WalkLineRuns(line, LineCursorAt(line, first), count, [&](int64_t x, int64_t y, uint64_t n) {
        for (uint64_t i = 0; i < n; ++i) {
            const int64_t step = static_cast<int64_t>(i);
            pixels.push_back({x + step * line.axialStepX, y + step * line.axialStepY});
        }
    });
    return pixels;
}

// Random segments in every octant, with lengths from 0 to a few hundred and
// the slopes that decide ties (0, 1/2, 1, 2) among them.
std::vector<TLine> RandomSegments(uint32_t seed, int count) {
    std::mt19937 rng(seed);
    std::uniform_int_distribution<uint32_t> coord(1000, 1400);
    std::vector<TLine> lines;
    for (int i = 0; i < count; ++i) {
        TLine l{coord(rng), coord(rng), coord(rng), coord(rng)};
        const uint32_t d = l.x2 % 100;
        switch (i % 8) {
            case 0: l.y2 = l.y1; break;  // horizontal
            case 1: l.x2 = l.x1; break;  // vertical
            case 2:                      // 45 degrees, up or down
                l.x2 = l.x1 + d;
                l.y2 = i % 16 < 8 ? l.y1 + d : l.y1 - d;
                break;
            case 3:  // half slopes, where both decompositions tie
                l.x2 = l.x1 - 2 * d;
                l.y2 = i % 16 < 8 ? l.y1 + d : l.y1 - d;
                break;
            case 4:
                l.x2 = l.x1 + d;
                l.y2 = i % 16 < 8 ? l.y1 + 2 * d : l.y1 - 2 * d;
                break;
            default: break;
        }
        lines.push_back(l);
    }
    return lines;
}

class LineSliceProperties : public ::testing::TestWithParam<uint32_t> {};

TEST_P(LineSliceProperties, PixelsRunFromStartToEndOneStepAtATimeClosestToTheTrueLine) {
    for (const TLine& l : RandomSegments(GetParam(), 400)) {
        SCOPED_TRACE(testing::Message() << "(" << l.x1 << "," << l.y1 << ")-(" << l.x2 << "," << l.y2 << ")");
        LineSlice line;
        RP_SliceLine(l.x1, l.y1, l.x2, l.y2, &line, false);
        const std::vector<Pixel> pixels = PixelsOf(line);
        const int64_t dx = int64_t{line.x2} - line.x1, dy = int64_t{line.y2} - line.y1;
        ASSERT_EQ(pixels.front(), (Pixel{line.x1, line.y1}));
        ASSERT_EQ(pixels.back(), (Pixel{line.x2, line.y2}));
        const int64_t major = std::max(std::abs(dx), std::abs(dy));
        ASSERT_EQ(static_cast<int64_t>(pixels.size()), major + 1);
        for (size_t n = 0; n < pixels.size(); ++n) {
            // Within half a pixel of the true line, across its major axis.
            const int64_t along = static_cast<int64_t>(n);
            const int64_t across = line.xMajor ? (pixels[n].y - line.y1) * major - dy * along
                                               : (pixels[n].x - line.x1) * major - dx * along;
            ASSERT_LE(2 * std::abs(across), major) << "pixel " << n;
            if (n == 0) continue;
            ASSERT_LE(std::abs(pixels[n].x - pixels[n - 1].x), 1);
            ASSERT_LE(std::abs(pixels[n].y - pixels[n - 1].y), 1);
        }
        // The runs walked from any pixel give the same pixels.
        ASSERT_EQ(WalkedFrom(line, 0, pixels.size()), pixels);
        const uint64_t from = pixels.size() / 3;
        ASSERT_EQ(WalkedFrom(line, from, pixels.size() - from),
                  std::vector<Pixel>(pixels.begin() + static_cast<ptrdiff_t>(from), pixels.end()));
    }
}

TEST_P(LineSliceProperties, ClipSliceKeepsExactlyThePixelsInsideTheWindow) {
    std::mt19937 rng(GetParam() * 7 + 1);
    std::uniform_int_distribution<int64_t> edge(950, 1450);
    for (const TLine& l : RandomSegments(GetParam() + 100, 300)) {
        LineSlice line;
        RP_SliceLine(l.x1, l.y1, l.x2, l.y2, &line, false);
        LinePixelWindow window;
        window.left = edge(rng);
        window.right = window.left + edge(rng) % 200;
        window.top = edge(rng);
        window.bottom = window.top + edge(rng) % 64;
        const LineSpan span = ClipSlice(line, window);
        const std::vector<Pixel> pixels = PixelsOf(line);
        for (uint64_t n = 0; n < pixels.size(); ++n) {
            const bool inside = pixels[n].x >= window.left && pixels[n].x <= window.right &&
                                pixels[n].y >= window.top && pixels[n].y <= window.bottom;
            ASSERT_EQ(inside, !span.Empty() && n >= span.first && n <= span.last)
                << "(" << l.x1 << "," << l.y1 << ")-(" << l.x2 << "," << l.y2 << ") pixel " << n;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, LineSliceProperties, ::testing::Values(1u, 2u, 3u, 4u));

TEST(LineSlice, FortyFiveDegreeLineOfLengthFourIsOneRunOfFiveDiagonalPixels) {
    for (const TLine& l : {TLine{3, 3, 7, 7}, TLine{7, 3, 3, 7}, TLine{3, 7, 7, 3}}) {
        LineSlice line;
        RP_SliceLine(l.x1, l.y1, l.x2, l.y2, &line, false);
        EXPECT_EQ(line.runSteps, 0u);
        EXPECT_EQ(line.firstRun, 5u);
        EXPECT_EQ(line.middleRuns, 0u);
        EXPECT_EQ(line.axialStepX, 1);
        EXPECT_EQ(std::abs(line.axialStepY), 1);
    }
}

TEST(LineSlice, LinesAcrossTheWholeCoordinateRangeAreCutInLogarithmicTime) {
    // Lines billions of pixels long: the window's pixels are found without
    // walking the runs before them.
    const TLine lines[] = {{0, 0, 0xFFFFFFFFu, 0xFFFFFFF0u},
                           {0, 0xFFFFFFFFu, 0xFFFFFFFFu, 0},
                           {5, 0, 7, 0xFFFFFFFFu},
                           {0, 100, 0xFFFFFFFFu, 101},
                           {0x80000000u, 0, 0x80000001u, 0x80000000u}};
    for (const TLine& l : lines) {
        LineSlice line;
        RP_SliceLine(l.x1, l.y1, l.x2, l.y2, &line, false);
        LinePixelWindow window{0, 0, 4095, 127};
        const LineSpan span = ClipSlice(line, window);
        for (uint64_t n : {span.first, span.last}) {
            if (span.Empty()) break;
            EXPECT_GE(LinePixelX(line, n), window.left);
            EXPECT_LE(LinePixelX(line, n), window.right);
            EXPECT_GE(LinePixelY(line, n), window.top);
            EXPECT_LE(LinePixelY(line, n), window.bottom);
        }
        if (span.Empty()) continue;
        // Just outside the span, the pixels are outside the window.
        for (uint64_t n : {span.first - 1, span.last + 1}) {
            if (n > line.majorLength || (n == span.first - 1 && span.first == 0)) continue;
            const int64_t x = LinePixelX(line, n), y = LinePixelY(line, n);
            EXPECT_FALSE(x >= window.left && x <= window.right && y >= window.top && y <= window.bottom);
        }
    }
}

}  // namespace
