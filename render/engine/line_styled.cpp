// Styled lines: the dash pattern and the ROP applied pixel by pixel, and the
// decisions of when a line needs them.
#include "line_drawers.h"
#include "line_styles.h"
#include "raster_ops.h"
#include "rop_logic.h"
#include "rop_pixels.h"

namespace {

using rop::ColourPixels;
using rop::GreyPixels;
using rop::LoadPixel;
using rop::StorePixel;

constexpr uint32_t kWhite24 = 0xFFFFFF;

bool IsWhite(const RenderPage& page, const InterpreterRegisters& reg) {
    return page.isColour && (reg.colour & kWhite24) == kWhite24;
}

// Combines the line's colour P with the page D by the ROP's (P, D) table. A
// line pixel counts as ink, S = 0, as a set mask bit does; the sixteen codes
// a line is normally drawn with do not depend on S at all.
template <class Px>
void DrawStyled(RenderState* state, const LineSlice& line, LineSpan span, uint64_t stylePosition) {
    using Value = typename Px::Value;
    if (span.Empty()) return;
    const InterpreterRegisters& reg = state->reg;
    const auto combine = rop::RuntimeTable<Value>::From(rop::PatternDestTable(reg.rop, 0));
    const Value colour = static_cast<Value>(reg.colour);
    const uint32_t tag = rop::CurrentTag(reg);
    LineStylePattern pattern(reg.lineStyle, stylePosition + span.first);
    const ptrdiff_t step = ptrdiff_t{line.axialStepY} * state->page.bytesPerRow +
                           ptrdiff_t{line.axialStepX} * static_cast<ptrdiff_t>(Px::kBytes);
    WalkLineRuns(line, LineCursorAt(line, span.first), span.Count(),
                 [&](int64_t x, int64_t y, uint64_t pixels) {
                     uint8_t* at = LinePixelAddress(state->page, state->window, x, y);
                     for (uint64_t i = 0; i < pixels; ++i, at += step, pattern.Next()) {
                         if (!pattern.On()) continue;
                         const Value result = combine(colour, LoadPixel<Px>(at));
                         if constexpr (Px::kTagged) {
                             StorePixel<Px>(at, (result & ColourPixels::kColourBits) | tag);
                         } else {
                             StorePixel<Px>(at, result);
                         }
                     }
                 });
}

}  // namespace

int StyleLineDrawCheck(const RenderPage& page, const InterpreterRegisters& reg) {
    if (reg.lineStyle == kLineStyleNull) return kStyleDrawNothing;
    const bool s = reg.lineStyle != kLineStyleSolid;
    const bool w = IsWhite(page, reg);
    const int styledOrSolid = s ? kStyleDrawStyled : kStyleDrawSolid;
    switch (reg.rop) {
        case 0x05:
        case 0x50:
        case 0x55:
        case 0xFF: return kStyleDrawStyled;
        case 0x0A:
        case 0x5A: return w ? kStyleDrawNothing : kStyleDrawStyled;
        case 0x0F:
        case 0x5F: return (s || !w) ? kStyleDrawStyled : kStyleDrawSolid;
        case 0xA0:
        case 0xA5: return w ? kStyleDrawStyled : kStyleDrawNothing;
        case 0xAA: return kStyleDrawNothing;
        case 0xAF: return !w ? kStyleDrawNothing : styledOrSolid;
        case 0xF0:
        case 0xF5: return (s || w) ? kStyleDrawStyled : kStyleDrawSolid;
        case 0xFA: return w ? kStyleDrawNothing : styledOrSolid;
        default: return styledOrSolid;
    }
}

int PreStyleLineDraw(const RenderPage& page, const InterpreterRegisters& reg, uint32_t notColour) {
    if (reg.lineStyle == kLineStyleNull) return 1;
    const uint32_t c = page.isColour ? (notColour & kWhite24) : reg.styleMask;
    const bool styled = reg.lineStyle != kLineStyleSolid;
    switch (reg.rop) {
        case 0x0F:
        case 0x5F:
        case 0xAF: return (styled || c != 0) ? 2 : 0;
        case 0xF0:
        case 0xF5:
        case 0xFA: return (styled || c == 0) ? 2 : 0;
        case 0x05:
        case 0x0A:
        case 0x50:
        case 0x55:
        case 0x5A:
        case 0xA0:
        case 0xA5:
        case 0xAA:
        case 0xFF: return 2;
        default: return styled ? 2 : 0;
    }
}

// The grey and colour drawers differ in their pixels only; lines along x and
// along y differ only in which step their runs take, which the slice holds.
void MStyleLineDrawX(RenderState* state, const LineSlice& line, LineSpan span, uint64_t stylePosition) {
    DrawStyled<GreyPixels>(state, line, span, stylePosition);
}
void MStyleLineDrawY(RenderState* state, const LineSlice& line, LineSpan span, uint64_t stylePosition) {
    DrawStyled<GreyPixels>(state, line, span, stylePosition);
}
void CStyleLineDrawX(RenderState* state, const LineSlice& line, LineSpan span, uint64_t stylePosition) {
    DrawStyled<ColourPixels>(state, line, span, stylePosition);
}
void CStyleLineDrawY(RenderState* state, const LineSlice& line, LineSpan span, uint64_t stylePosition) {
    DrawStyled<ColourPixels>(state, line, span, stylePosition);
}
