// The direct drawer of solid lines. The octant pair of a line follows from
// its run direction: 0/7 runs along x (x-major lines of at most half a
// slope), 1/6 diagonal runs of x-major lines, 2/5 diagonal runs of y-major
// lines, 3/4 runs along y. Each pair has a sector routine that walks the
// runs and a run writer that paints one run of the colour: along a row
// (contiguous pixels), along the diagonal or down a column.
#include <cstring>

#include "line_drawers.h"
#include "raster_ops.h"
#include "rop_pixels.h"

namespace {

using rop::ColourPixels;
using rop::GreyPixels;
using rop::StorePixel;

// A run along a row: contiguous pixels.
template <class Px>
void ShortSlice07(uint8_t* at, uint64_t pixels, typename Px::Value value) {
    if constexpr (Px::kBytes == 1) {
        std::memset(at, value, pixels);
    } else {
        for (uint64_t i = 0; i < pixels; ++i) StorePixel<Px>(at + i * Px::kBytes, value);
    }
}

// A run along the diagonal (octants 1/6 and 2/5): one pixel per row, `step`
// bytes apart.
template <class Px>
void ShortSliceDiagonal(uint8_t* at, uint64_t pixels, ptrdiff_t step, typename Px::Value value) {
    for (uint64_t i = 0; i < pixels; ++i, at += step) StorePixel<Px>(at, value);
}

// A run down a column is written the same way, one row apart.
template <class Px>
void DisplaySlice34(uint8_t* at, uint64_t pixels, ptrdiff_t step, typename Px::Value value) {
    ShortSliceDiagonal<Px>(at, pixels, step, value);
}

// Byte distance of the run step.
ptrdiff_t RunStepBytes(const RenderPage& page, const LineSlice& line) {
    return ptrdiff_t{line.axialStepY} * page.bytesPerRow +
           ptrdiff_t{line.axialStepX} * (page.isColour ? 4 : 1);
}

template <class Px>
void Sector07(RenderState* state, const LineSlice& line, const LineRunCursor& start, uint64_t count,
              typename Px::Value value) {
    WalkLineRuns(line, start, count, [&](int64_t x, int64_t y, uint64_t pixels) {
        ShortSlice07<Px>(LinePixelAddress(state->page, state->window, x, y), pixels, value);
    });
}

template <class Px>
void Sector16(RenderState* state, const LineSlice& line, const LineRunCursor& start, uint64_t count,
              typename Px::Value value) {
    const ptrdiff_t step = RunStepBytes(state->page, line);
    WalkLineRuns(line, start, count, [&](int64_t x, int64_t y, uint64_t pixels) {
        ShortSliceDiagonal<Px>(LinePixelAddress(state->page, state->window, x, y), pixels, step, value);
    });
}

// Diagonal runs of a y-major line are written as those of an x-major one:
// the slice's steps already say which way the runs and the steps between
// them go.
template <class Px>
void Sector25(RenderState* state, const LineSlice& line, const LineRunCursor& start, uint64_t count,
              typename Px::Value value) {
    Sector16<Px>(state, line, start, count, value);
}

template <class Px>
void Sector34(RenderState* state, const LineSlice& line, const LineRunCursor& start, uint64_t count,
              typename Px::Value value) {
    const ptrdiff_t step = RunStepBytes(state->page, line);
    WalkLineRuns(line, start, count, [&](int64_t x, int64_t y, uint64_t pixels) {
        DisplaySlice34<Px>(LinePixelAddress(state->page, state->window, x, y), pixels, step, value);
    });
}

template <class Px>
void DrawDirect(RenderState* state, const LineSlice& line, LineSpan span, typename Px::Value value) {
    const LineRunCursor start = LineCursorAt(line, span.first);
    const uint64_t count = span.Count();
    if (line.xMajor) {
        if (line.diagonalRuns) Sector16<Px>(state, line, start, count, value);
        else Sector07<Px>(state, line, start, count, value);
    } else {
        if (line.diagonalRuns) Sector25<Px>(state, line, start, count, value);
        else Sector34<Px>(state, line, start, count, value);
    }
}

}  // namespace

void RP_LineEE_Draw(RenderState* state, const LineSlice& line, LineSpan span) {
    if (span.Empty()) return;
    const uint32_t colour = state->reg.colour;
    if (state->page.isColour) {
        const uint32_t value = (colour & ColourPixels::kColourBits) | uint32_t{kObjectTagOther} << 24;
        DrawDirect<ColourPixels>(state, line, span, value);
    } else {
        DrawDirect<GreyPixels>(state, line, span, static_cast<uint8_t>(colour));
    }
}
