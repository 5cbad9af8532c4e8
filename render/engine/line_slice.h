// A one-pixel line in run-slice form: the line's pixels, one per step along
// its major axis, grouped into runs that share one step direction. The form
// is made once per line; every band then finds its own pixels in it by
// arithmetic, so that each band draws exactly the pixels the whole line has
// in its rows, whatever the line's length.
#pragma once

#include <cstddef>
#include <cstdint>

#include "render_state.h"

// The TLine extended with its slice form.
//
// Pixel n (0 .. majorLength) lies n steps along the major axis from (x1, y1).
// Inside a run the pixels follow the axial step; between two runs the extra
// diagonal step is taken as well. Runs: firstRun pixels, then middleRuns runs
// of runLength pixels (one more when the error before it is >= 0; the error
// then grows by errorLong, else by errorShort), then lastRun pixels.
struct LineSlice {
    uint32_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // x1 <= x2 (top to bottom when vertical)
    int32_t axialStepX = 0, axialStepY = 0;   // from one pixel of a run to the next
    int32_t diagStepX = 0, diagStepY = 0;     // extra step between two runs
    int64_t error = 0;                        // before the first middle run
    int64_t errorLong = 0;                    // added after a long run: 2r - 2k
    int64_t errorShort = 0;                   // added after a short run: 2r
    uint64_t firstRun = 0;                    // up to 2^32 pixels: a line across the whole coordinate range
    uint64_t lastRun = 0;
    uint32_t middleRuns = 0;
    uint32_t runLength = 0;
    uint32_t majorLength = 0;
    bool xMajor = true;
    bool diagonalRuns = false;  // runs follow the diagonal step (slopes over 1/2)
    // Where n-th pixels are found without walking: the long middle runs among
    // the first j are floor((longBias + 2r j) / 2k) (see RunStart).
    int64_t longBias = 0;
    uint32_t remainder = 0;  // r = majorLength mod k
    uint32_t runSteps = 0;   // k: steps between runs (the number of runs less one)
};

// Fills the slice form of the line from (x1, y1) to (x2, y2); the points are
// swapped first when x2 < x1, or when swap is set (a vertical line given
// bottom to top).
void RP_SliceLine(uint32_t x1, uint32_t y1, uint32_t x2, uint32_t y2, LineSlice* line, bool swap);

// Pixel index at which run `run` (0 .. runSteps) starts.
uint64_t LineRunStart(const LineSlice& line, uint64_t run);

// The run that holds pixel n.
uint64_t LineRunOf(const LineSlice& line, uint64_t n);

// Column and row of pixel n (n <= majorLength).
int64_t LinePixelX(const LineSlice& line, uint64_t n);
int64_t LinePixelY(const LineSlice& line, uint64_t n);

// The pixels of a line that a band draws: n = first .. last, each inside the
// window's columns and rows. Empty when first > last.
struct LinePixelWindow {
    int64_t left = 0, top = 0, right = -1, bottom = -1;  // inclusive
};
struct LineSpan {
    uint64_t first = 1;
    uint64_t last = 0;
    bool Empty() const { return first > last; }
    uint64_t Count() const { return Empty() ? 0 : last - first + 1; }
};

// Finds the pixels of the line inside the window. Columns and rows of a
// line's pixels only ever grow or only ever shrink with n, so they form one
// interval, found by bisection in logarithmic time.
LineSpan ClipSlice(const LineSlice& line, const LinePixelWindow& window);

// Walks a line's runs from a given pixel: what the drawers advance run by
// run, with only additions.
struct LineRunCursor {
    int64_t x = 0, y = 0;    // first pixel of the current (part of a) run
    uint64_t run = 0;        // 0 .. runSteps
    uint64_t runPixels = 0;  // pixels of the current run from (x, y) on
    int64_t error = 0;       // before the next middle run
};

// The cursor at pixel n.
LineRunCursor LineCursorAt(const LineSlice& line, uint64_t n);

// Calls draw(x, y, pixels) for each (part of a) run of `count` pixels from
// the cursor on; each run steps by (axialStepX, axialStepY).
template <class DrawRun>
void WalkLineRuns(const LineSlice& line, LineRunCursor cursor, uint64_t count, DrawRun&& draw) {
    while (count > 0) {
        const uint64_t pixels = cursor.runPixels < count ? cursor.runPixels : count;
        if (pixels == 0) return;  // no run is empty; never spin if one were
        draw(cursor.x, cursor.y, pixels);
        count -= pixels;
        if (count == 0) return;
        const int64_t steps = static_cast<int64_t>(pixels);
        cursor.x += steps * line.axialStepX + line.diagStepX;
        cursor.y += steps * line.axialStepY + line.diagStepY;
        ++cursor.run;
        if (cursor.run >= line.runSteps) {
            cursor.runPixels = line.lastRun;
        } else {
            const bool isLong = cursor.error >= 0;
            cursor.runPixels = line.runLength + (isLong ? 1 : 0);
            cursor.error += isLong ? line.errorLong : line.errorShort;
        }
    }
}
