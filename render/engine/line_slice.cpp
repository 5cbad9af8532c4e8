#include "line_slice.h"

#include <algorithm>

namespace {

// Long middle runs among the first j middle runs. The decision variable
// before middle run j is error + 2r j - 2k L(j), and it always stays in
// [2r - 2k, 2r): that fixes L(j) without walking the runs before it.
uint64_t LongRunsBefore(const LineSlice& line, uint64_t j) {
    if (line.remainder == 0) return 0;  // no run is ever long
    const uint64_t twoK = 2 * uint64_t{line.runSteps};
    return (static_cast<uint64_t>(line.longBias) + 2 * uint64_t{line.remainder} * j) / twoK;
}

// Pixels of run `run` (0 .. runSteps).
uint64_t RunPixels(const LineSlice& line, uint64_t run) {
    if (run == 0) return line.firstRun;
    if (run >= line.runSteps) return line.lastRun;
    return line.runLength + (LongRunsBefore(line, run) - LongRunsBefore(line, run - 1));
}

// Steps along the minor axis before pixel n: one per run boundary when the
// runs are axial, one per pixel less one per run boundary when they are
// diagonal.
uint64_t MinorOffset(const LineSlice& line, uint64_t n) {
    const uint64_t run = LineRunOf(line, n);
    return line.diagonalRuns ? n - run : run;
}

int64_t YSign(const LineSlice& line) { return line.y2 < line.y1 ? -1 : 1; }

// The smallest n in [0, end] for which pred(n) holds, pred being false and
// then true as n grows; end when it never holds before end.
template <class Pred>
uint64_t FirstWhere(uint64_t end, Pred&& pred) {
    uint64_t lo = 0, hi = end;
    while (lo < hi) {
        const uint64_t mid = lo + (hi - lo) / 2;
        if (pred(mid)) hi = mid;
        else lo = mid + 1;
    }
    return lo;
}

// The pixels n whose coordinate f(n) lies in [lo, hi], f growing (or, with
// falling, shrinking) with n.
template <class Coordinate>
LineSpan SpanWhere(uint64_t pixels, bool falling, int64_t lo, int64_t hi, Coordinate&& f) {
    LineSpan span;
    uint64_t first, end;
    if (!falling) {
        first = FirstWhere(pixels, [&](uint64_t n) { return f(n) >= lo; });
        end = FirstWhere(pixels, [&](uint64_t n) { return f(n) > hi; });
    } else {
        first = FirstWhere(pixels, [&](uint64_t n) { return f(n) <= hi; });
        end = FirstWhere(pixels, [&](uint64_t n) { return f(n) < lo; });
    }
    if (first < end) {
        span.first = first;
        span.last = end - 1;
    }
    return span;
}

}  // namespace

void RP_SliceLine(uint32_t x1, uint32_t y1, uint32_t x2, uint32_t y2, LineSlice* line, bool swap) {
    if (swap || x2 < x1) {
        std::swap(x1, x2);
        std::swap(y1, y2);
    }
    *line = LineSlice{};
    line->x1 = x1;
    line->y1 = y1;
    line->x2 = x2;
    line->y2 = y2;

    const uint32_t dx = x2 - x1;
    const bool yNeg = y2 < y1;
    const uint32_t dy = yNeg ? y1 - y2 : y2 - y1;
    const int32_t sy = yNeg ? -1 : 1;
    line->xMajor = dx >= dy;
    const uint32_t major = std::max(dx, dy);
    const uint32_t minor = std::min(dx, dy);
    line->majorLength = major;

    // A run follows the axial step while the line is within 45 degrees of
    // its major axis by at most half, else the diagonal one; an exact half
    // slope decomposes either way into as many runs, and yNeg decides.
    const uint32_t rest = major - minor;
    line->diagonalRuns = minor > rest || (minor == rest && yNeg);
    const int32_t axialX = line->xMajor ? 1 : 0, axialY = line->xMajor ? 0 : sy;
    const int32_t diagonalX = 1, diagonalY = sy;
    if (line->diagonalRuns) {
        line->axialStepX = diagonalX;
        line->axialStepY = diagonalY;
        line->diagStepX = axialX - diagonalX;
        line->diagStepY = axialY - diagonalY;
    } else {
        line->axialStepX = axialX;
        line->axialStepY = axialY;
        line->diagStepX = diagonalX - axialX;
        line->diagStepY = diagonalY - axialY;
    }

    const uint32_t k = std::min(minor, rest);
    line->runSteps = k;
    if (k == 0) {
        // Horizontal, vertical or exactly 45 degrees: one run.
        line->firstRun = uint64_t{major} + 1;
        return;
    }
    const uint32_t q = major / k;
    const uint32_t r = major % k;
    const uint64_t u = (q & 1) ? uint64_t{r} + k : r;
    line->firstRun = line->lastRun = q / 2 + 1;
    if (u == 0) {
        // The two end runs share q + 1 pixels: one of them is short.
        const bool a = (!line->xMajor || yNeg) != (minor > rest);
        const bool b = yNeg && major == 2 * uint64_t{k};
        if (a != b) line->lastRun = q / 2;
        else line->firstRun = q / 2;
    }
    line->remainder = r;
    line->runLength = q;
    line->middleRuns = k - 1;
    line->errorShort = 2 * int64_t{r};
    line->errorLong = 2 * int64_t{r} - 2 * int64_t{k};
    line->longBias = static_cast<int64_t>(u) - (yNeg ? 1 : 0);
    line->error = line->errorLong + line->longBias;
}

uint64_t LineRunStart(const LineSlice& line, uint64_t run) {
    if (run == 0) return 0;
    return line.firstRun + (run - 1) * line.runLength + LongRunsBefore(line, run - 1);
}

uint64_t LineRunOf(const LineSlice& line, uint64_t n) {
    // The last run whose start is not after n.
    uint64_t lo = 0, hi = line.runSteps;
    while (lo < hi) {
        const uint64_t mid = lo + (hi - lo + 1) / 2;
        if (LineRunStart(line, mid) <= n) lo = mid;
        else hi = mid - 1;
    }
    return lo;
}

int64_t LinePixelX(const LineSlice& line, uint64_t n) {
    const uint64_t along = line.xMajor ? n : MinorOffset(line, n);
    return int64_t{line.x1} + static_cast<int64_t>(along);
}

int64_t LinePixelY(const LineSlice& line, uint64_t n) {
    const uint64_t along = line.xMajor ? MinorOffset(line, n) : n;
    return int64_t{line.y1} + YSign(line) * static_cast<int64_t>(along);
}

LineSpan ClipSlice(const LineSlice& line, const LinePixelWindow& window) {
    const uint64_t pixels = uint64_t{line.majorLength} + 1;
    const auto inside = [&](int64_t x, int64_t y) {
        return x >= window.left && x <= window.right && y >= window.top && y <= window.bottom;
    };
    // Columns and rows are monotone along the line: when both ends are
    // inside, so is everything between them (the common case of short lines).
    if (inside(line.x1, line.y1) && inside(line.x2, line.y2)) return LineSpan{0, pixels - 1};

    const LineSpan columns =
        SpanWhere(pixels, false, window.left, window.right, [&](uint64_t n) { return LinePixelX(line, n); });
    if (columns.Empty()) return columns;
    const LineSpan rows = SpanWhere(pixels, line.y2 < line.y1, window.top, window.bottom,
                                    [&](uint64_t n) { return LinePixelY(line, n); });
    return LineSpan{std::max(columns.first, rows.first), std::min(columns.last, rows.last)};
}

LineRunCursor LineCursorAt(const LineSlice& line, uint64_t n) {
    LineRunCursor cursor;
    cursor.run = LineRunOf(line, n);
    cursor.runPixels = RunPixels(line, cursor.run) - (n - LineRunStart(line, cursor.run));
    cursor.x = LinePixelX(line, n);
    cursor.y = LinePixelY(line, n);
    if (cursor.run < line.runSteps) {
        const uint64_t longRuns = LongRunsBefore(line, cursor.run);
        cursor.error = line.error + 2 * int64_t{line.remainder} * static_cast<int64_t>(cursor.run) -
                       2 * int64_t{line.runSteps} * static_cast<int64_t>(longRuns);
    }
    return cursor;
}
