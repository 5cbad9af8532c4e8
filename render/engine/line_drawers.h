// The three drawers of one-pixel lines, and the choice between them. A line
// reaches them sliced (line_slice.h) and cut to the pixels the band holds.
//
//   kernel  horizontal and vertical lines as one-pixel-wide requests of the
//           current ROP kernel (line_drawing.cpp);
//   direct  solid lines whose ROP comes down to painting the colour: the
//           pixels are written run by run, octant pair by octant pair
//           (line_solid.cpp);
//   styled  the dash pattern and the ROP applied pixel by pixel
//           (line_styled.cpp).
#pragma once

#include <cstdint>

#include "line_slice.h"
#include "render_state.h"

enum class LineDrawer { None, Kernel, Direct, Styled };

// What the style-draw entry decides from the registers' style, ROP and
// colour: 1 the line draws nothing (null style, or a ROP that leaves the
// page as it is for this colour), 0 a plain solid drawer will do, 2 the
// styled drawer is needed.
constexpr int kStyleDrawNothing = 1;
constexpr int kStyleDrawSolid = 0;
constexpr int kStyleDrawStyled = 2;
int StyleLineDrawCheck(const RenderPage& page, const InterpreterRegisters& reg);

// Whether lines drawn through RgpLineDraw need the styled drawer (non-zero).
// notColour is the current colour inverted on a colour device (zero for
// white); a grey device goes by the registers' style mask instead.
int PreStyleLineDraw(const RenderPage& page, const InterpreterRegisters& reg, uint32_t notColour);

// The drawer of a line. DL_LINE sends lines that are neither horizontal nor
// vertical to the style-draw entry, with the direct drawer when it answers
// 0; everything else goes the way of RgpLineDraw: the styled drawer when
// PreStyleLineDraw asks for it, else the kernel (horizontal, vertical) or
// the direct drawer.
LineDrawer ChooseLineDrawer(const RenderPage& page, const InterpreterRegisters& reg, const TLine& line,
                            uint8_t opcode);

// Draws pixels span.first .. span.last of the line, all inside the band,
// with the chosen drawer. stylePosition is the pattern position of pixel 0.
void RgpLineDraw(RenderState* state, const LineSlice& line, LineSpan span, LineDrawer drawer,
                 uint64_t stylePosition);

// The direct drawer: each pixel takes the current colour (a colour pixel
// with the tag of other objects); the ROP is not applied.
void RP_LineEE_Draw(RenderState* state, const LineSlice& line, LineSpan span);

// The styled drawers, grey (M) and colour (C), for lines along x and y: the
// pixels under an on run of the style combine the colour with the page by
// the ROP as the display list gave it; the others are left alone.
void MStyleLineDrawX(RenderState* state, const LineSlice& line, LineSpan span, uint64_t stylePosition);
void MStyleLineDrawY(RenderState* state, const LineSlice& line, LineSpan span, uint64_t stylePosition);
void CStyleLineDrawX(RenderState* state, const LineSlice& line, LineSpan span, uint64_t stylePosition);
void CStyleLineDrawY(RenderState* state, const LineSlice& line, LineSpan span, uint64_t stylePosition);

// Address of pixel (x, y) of the band; the pixel must lie in the band.
uint8_t* LinePixelAddress(const RenderPage& page, const BandWindow& window, int64_t x, int64_t y);
