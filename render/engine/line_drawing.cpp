// The line drawer: DL_LINE_TO, DL_LINE_REL and DL_LINE as one-pixel lines in
// the current colour, ROP, line style and style phase.
//
// A line is sliced into runs once; the band then draws the pixels of the
// whole line that fall inside its rows and columns, found by arithmetic, so
// that a line crossing several bands is drawn as one continuous line and a
// line of any length costs no more than the pixels the band holds. The style
// phase moves on by the whole line in every band, drawn in or not, so that
// a dashed polyline keeps its pattern from segment to segment and from band
// to band.
#include <algorithm>

#include "bit_band.h"
#include "do_render.h"
#include "drawing_seams.h"
#include "line_drawers.h"
#include "line_styles.h"

namespace {

bool IsVertical(const TLine& line) { return line.x1 == line.x2; }
bool IsHorizontal(const TLine& line) { return line.y1 == line.y2; }

uint64_t MajorLength(const TLine& line) {
    const uint64_t dx = line.x2 > line.x1 ? line.x2 - line.x1 : line.x1 - line.x2;
    const uint64_t dy = line.y2 > line.y1 ? line.y2 - line.y1 : line.y1 - line.y2;
    return std::max(dx, dy);
}

// The pattern position of the line's first pixel: the phase, reduced to the
// style's period first.
uint64_t StartStylePhase(InterpreterRegisters* reg) {
    const uint32_t period = LineStylePeriod(reg->lineStyle);
    if (period) reg->stylePhase %= period;
    return reg->stylePhase;
}

// After a styled line the pattern goes on where the line left it.
void CarryStylePhase(InterpreterRegisters* reg, LineDrawer drawer, uint64_t majorLength) {
    if (drawer != LineDrawer::Styled) return;
    const uint32_t period = LineStylePeriod(reg->lineStyle);
    if (period == 0) return;
    const uint64_t pixels = majorLength + 1;
    reg->stylePhase = static_cast<uint32_t>((uint64_t{reg->stylePhase} + pixels) % period);
}

// The pixels this band may draw: its columns within the page's rows of
// pixels, and its rows down to the page's last.
LinePixelWindow BandPixels(const RenderState& state) {
    const RenderPage& page = state.page;
    const BandWindow& window = state.window;
    LinePixelWindow pixels;
    if (window.bandRows == 0 || !window.band || page.rowPixels == 0) return pixels;
    pixels.left = window.clipLeft;
    pixels.right = std::min<int64_t>(window.clipRight, int64_t{page.rowPixels} - 1);
    pixels.top = window.bandTop;
    pixels.bottom = std::min<int64_t>(int64_t{window.bandTop} + window.bandRows - 1, page.pageRows);
    return pixels;
}

// Orders the end points (by x; a vertical line top to bottom) and gives the
// pixels the band may draw. The line itself is never bent to fit the page:
// ClipSlice cuts it exactly, so that what shows keeps its slope.
LinePixelWindow LineBoundaryCheck(const RenderState& state, TLine* line) {
    const bool swap = IsVertical(*line) ? line->y2 < line->y1 : line->x2 < line->x1;
    if (swap) {
        std::swap(line->x1, line->x2);
        std::swap(line->y1, line->y2);
    }
    return BandPixels(state);
}

// A horizontal or vertical line as a one-pixel-wide request of the current
// ROP kernel: a vertical line covers both end points, a horizontal one stops
// before its right end point.
void DrawWithKernel(RenderState* state, const LineSlice& line, LineSpan span) {
    TRect req;
    const int64_t firstX = LinePixelX(line, span.first);
    const int64_t firstY = LinePixelY(line, span.first);
    req.row = static_cast<uint32_t>(firstY);
    req.xs = static_cast<uint32_t>(firstX);
    if (line.x1 == line.x2) {
        req.xe = req.xs + 1;
        req.rows = static_cast<uint32_t>(span.Count());
    } else {
        const int64_t end = std::min<int64_t>(LinePixelX(line, span.last) + 1, line.x2);
        if (end <= firstX) return;
        req.xe = static_cast<uint32_t>(end);
        req.rows = 1;
    }
    const InterpreterRegisters& reg = state->reg;
    if (!reg.pfRenderFunc) return;
    req.brush = reg.brush;
    req.colour = reg.colour;
    req.destStride = state->page.bytesPerRow;
    req.dest = LinePixelAddress(state->page, state->window, firstX, firstY);
    reg.pfRenderFunc(state->page, state->window, reg, &req);
}

}  // namespace

uint8_t* LinePixelAddress(const RenderPage& page, const BandWindow& window, int64_t x, int64_t y) {
    const size_t row = static_cast<size_t>(y - int64_t{window.bandTop});
    return window.band + row * page.bytesPerRow + static_cast<size_t>(x) * (page.isColour ? 4 : 1);
}

LineDrawer ChooseLineDrawer(const RenderPage& page, const InterpreterRegisters& reg, const TLine& line,
                            uint8_t opcode) {
    const bool axisAligned = IsVertical(line) || IsHorizontal(line);
    const auto styleEntry = [&](LineDrawer solid) {
        switch (StyleLineDrawCheck(page, reg)) {
            case kStyleDrawStyled: return LineDrawer::Styled;
            case kStyleDrawNothing: return LineDrawer::None;
            default: return solid;
        }
    };
    if (opcode == DL_LINE && !axisAligned) return styleEntry(LineDrawer::Direct);
    const LineDrawer plain = axisAligned ? LineDrawer::Kernel : LineDrawer::Direct;
    const uint32_t notColour = ~reg.colour;
    if (PreStyleLineDraw(page, reg, notColour) != 0) return styleEntry(plain);
    return plain;
}

void RgpLineDraw(RenderState* state, const LineSlice& line, LineSpan span, LineDrawer drawer,
                 uint64_t stylePosition) {
    if (span.Empty()) return;
    switch (drawer) {
        case LineDrawer::None: return;
        case LineDrawer::Kernel: DrawWithKernel(state, line, span); return;
        case LineDrawer::Direct: RP_LineEE_Draw(state, line, span); return;
        case LineDrawer::Styled:
            if (state->page.isColour) {
                if (line.xMajor) CStyleLineDrawX(state, line, span, stylePosition);
                else CStyleLineDrawY(state, line, span, stylePosition);
            } else {
                if (line.xMajor) MStyleLineDrawX(state, line, span, stylePosition);
                else MStyleLineDrawY(state, line, span, stylePosition);
            }
            return;
    }
}

int LineDraw(RenderState* state, TLine* line, uint8_t opcode) {
    const TLine given = *line;
    const LinePixelWindow window = LineBoundaryCheck(*state, line);
    LineSlice slice;
    RP_SliceLine(line->x1, line->y1, line->x2, line->y2, &slice, false);
    const LineDrawer drawer = ChooseLineDrawer(state->page, state->reg, *line, opcode);
    const uint64_t stylePosition = StartStylePhase(&state->reg);

    const LineSpan span = ClipSlice(slice, window);
    if (!span.Empty()) {
        const int64_t firstY = LinePixelY(slice, span.first), lastY = LinePixelY(slice, span.last);
        const int64_t top = std::min(firstY, lastY), bottom = std::max(firstY, lastY);
        const int64_t left = LinePixelX(slice, span.first), right = LinePixelX(slice, span.last);
        BandWindow& band = state->window;
        SetLineFlag(&band, static_cast<uint32_t>(top), static_cast<uint32_t>(bottom - top + 1),
                    kRowFlagColour);
        SetTextFlag(&band, state->reg.colour);
        if (drawer != LineDrawer::None) {
            RDUseBytePixels(state);  // the line drawers write bytes
            SetRenderingRect(&band, static_cast<uint32_t>(top), static_cast<uint32_t>(left),
                             static_cast<uint32_t>(bottom + 1), static_cast<uint32_t>(right + 1));
            RgpLineDraw(state, slice, span, drawer, stylePosition);
        }
    }
    CarryStylePhase(&state->reg, drawer, slice.majorLength);
    *line = given;
    return span.Empty() ? 0 : 1;
}

void LineMissesBand(RenderState* state, const TLine* line, uint8_t opcode) {
    const LineDrawer drawer = ChooseLineDrawer(state->page, state->reg, *line, opcode);
    StartStylePhase(&state->reg);
    CarryStylePhase(&state->reg, drawer, MajorLength(*line));
}
