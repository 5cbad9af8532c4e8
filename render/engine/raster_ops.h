// Raster operations and brushes.
//
// Every drawing request ends as a ternary raster operation (ROP3) that
// combines, pixel by pixel and bit by bit, a source S (a 1-bit mask or an
// image pixel), a pattern P (the current brush or solid colour) and the
// destination D (the band pixel). The result bit for operand bits (p, s, d)
// is bit (4p + 2s + d) of the ROP code.
//
// All values are whiteness: a grey pixel is 0..255 with 255 white; a colour
// pixel is 0xTTRRGGBB whose low 24 bits are the colour (0xFFFFFF white) and
// whose top byte TT is the object-class tag. A set mask bit is ink and counts
// as S = 0 (black); a clear mask bit counts as S = all ones (white).
//
// Selection: a colour code becomes the current colour and brush
// (Frame_prhMAPuid); a ROP code is reduced for that colour code and mapped to
// one of four kernels (FrameSelectRopBrush). DoRender then calls
// the registers' pfRenderFunc for each request clipped to the band rows.
#pragma once

#include <array>
#include <cstdint>

#include "formats/colour_codes.h"
#include "render_state.h"

// ---------------------------------------------------------------------------
// Object-class tags: the top byte of a colour band pixel.

constexpr uint8_t kObjectTagText = 0x01;     // glyphs and downloaded bitmaps
constexpr uint8_t kObjectTagOther = 0x02;    // everything else that is drawn
constexpr uint8_t kObjectTagCleared = 0xFF;  // nothing drawn since the band was cleared

// ---------------------------------------------------------------------------
// Colour codes of the display list: formats/colour_codes.h.

// ---------------------------------------------------------------------------
// Brushes: 32 x 32 pixels in band format, row after row, anchored to the page
// (the pixel for page position (row, column) is brush[row % 32][column % 32]).

constexpr uint32_t kBrushSide = 32;

// Bytes of a brush in band format: 1024 grey, 4096 colour.
constexpr uint32_t BrushBytes(uint32_t isColour) { return kBrushSide * kBrushSide * (isColour ? 4 : 1); }

// A hatch or hollow brush description: a 6-byte header (the brush code,
// little-endian, then the 16-bit value 0x0200, little-endian) followed by a
// 32 x 32 matrix of 0 (background) and 255 (line).
struct BrushRecord {
    uint8_t header[6];
    uint8_t matrix[kBrushSide][kBrushSide];
};
static_assert(sizeof(BrushRecord) == 1030, "brush records are 1030 bytes");

constexpr int kHatchStyles = 6;
// Hatch styles 0..5: horizontal, vertical, forward diagonal (top left to
// bottom right), backward diagonal (top right to bottom left), cross,
// diagonal cross. Each line is a band 8 pixels wide (12 pixels along a row
// for the diagonals).
extern const BrushRecord arHatchBrush600[kHatchStyles];
// The hollow (null) brush: code 0x86000000 and an all-zero matrix.
extern const BrushRecord arHollowBrush[1];

// Applies a colour code to the state's current colour and brush:
// 0x81BBGGRR sets a solid colour (grey devices take (30R + 59G + 11B) / 100)
// and clears the brush; 0x85000000 + n builds hatch brush n from the hatch
// foreground and background colours; 0x86000000 builds the hollow brush;
// 0x91000000 + n selects downloaded brush slot n (the brush stays null when
// the slot is empty). Any other code changes nothing.
//
// The brush pointer refers to the brush build buffer or to a brush slot: whoever
// frees or replaces that slot must re-apply a colour code (or null the brush)
// before the next request is drawn.
void Frame_prhMAPuid(RenderState* state, uint32_t code);

// Expands a downloaded brush into `brush` (BrushBytes(isColour) bytes).
// Format 1: an 8-byte palette of two B,G,R,0 entries, then 32 rows of four
// bytes of a 1-bit pattern (most significant bit first; bit 0 takes entry 0,
// bit 1 entry 1); grey devices take each entry's (30R + 59G + 11B) / 100.
// Any other format: the brush pixels in band format, copied as they are.
// Returns 1, or 0 (brush untouched) when `size` is less than
// StretchBrushSourceSize(format, isColour).
int StretchBrush(uint8_t* brush, const uint8_t* data, uint32_t size, uint8_t format, uint32_t isColour);

// Bytes StretchBrush reads for a format: 136 for format 1, else the brush size.
constexpr uint32_t StretchBrushSourceSize(uint8_t format, uint32_t isColour) {
    return format == 1 ? 8 + kBrushSide * 4 : BrushBytes(isColour);
}

// ---------------------------------------------------------------------------
// ROP selection.

// Stores `rop` as the registers' ROP, resets the line-style mask, reduces
// the code for the colour code (solid or ROP black/white: the result for P
// all zero or all one bits; hollow: aubRP_NullBrushRopTranslate) and selects
// the kernel for the reduced code.
void FrameSelectRopBrush(InterpreterRegisters* reg, uint8_t rop, uint32_t code);

// Stores the reduced ROP code that the kernels and image operators use.
void Set_Boolean(InterpreterRegisters* reg, uint8_t rop);

// Per ROP code, a code that no longer depends on P (every entry has equal
// nibbles); used with the hollow brush.
extern const std::array<uint8_t, 256> aubRP_NullBrushRopTranslate;

// The kernel for each ROP code, by the operands the code depends on:
// neither P nor S Run_DL_D, P only Run_DL_HD, S only Run_DL_SD, both
// Run_DL_SHD.
extern const std::array<RenderFunc, 256> pfFuncTable;

// ---------------------------------------------------------------------------
// Kernels. Each fills a request that DoRender has clipped to the band rows
// and prepared (dest, destStride, brush, colour). The right end is cut to the
// band's last column: xe = min(xe, bandRight), so column bandRight itself is
// never painted; nothing is drawn when xs >= xe after the cut. Mask rows keep
// the stride of the uncut request.

// 0x00, 0x55, 0xAA, 0xFF: black, invert, nothing, white. Ignores the mask;
// colour pixels that change receive the current tag.
void Run_DL_D(const RenderPage& page, const BandWindow& window, const InterpreterRegisters& reg, TRect* req);
// The twelve S-only codes. Needs a mask (nothing without one); colour pixels
// take the current tag where the mask bit is set and keep theirs elsewhere.
void Run_DL_SD(const RenderPage& page, const BandWindow& window, const InterpreterRegisters& reg, TRect* req);
// The twelve P-only codes. Ignores the mask; colour pixels receive the
// current tag.
void Run_DL_HD(const RenderPage& page, const BandWindow& window, const InterpreterRegisters& reg, TRect* req);
// Codes that depend on S and P. Needs a mask; tags as Run_DL_SD.
void Run_DL_SHD(const RenderPage& page, const BandWindow& window, const InterpreterRegisters& reg,
                TRect* req);

// ---------------------------------------------------------------------------
// General evaluators: the ROP3 definition bit by bit. The colour result's low
// 24 bits are the colour; callers supply their own tag.

uint8_t SetSHD_ROP_Gray(uint8_t rop, uint8_t S, uint8_t P, uint8_t D);
uint32_t SetSHD_ROP_Color(uint8_t rop, uint32_t S, uint32_t P, uint32_t D);

// Image operators: S is a whole image pixel (8-bit grey, 24-bit colour) and
// the code is the registers' reduced ROP (ubRopCode). The overloads taking a
// ROP code let a caller that has read the code once skip the registers.
uint8_t SetRopImgGray(const InterpreterRegisters* reg, uint8_t S, uint8_t P, uint8_t D);
uint32_t SetRopImgColor(const InterpreterRegisters* reg, uint32_t S, uint32_t P, uint32_t D);
uint8_t SetRopImgGray(uint8_t rop, uint8_t S, uint8_t P, uint8_t D);
uint32_t SetRopImgColor(uint8_t rop, uint32_t S, uint32_t P, uint32_t D);
