// Drawing in page positions on top of the display-list encoder: the pen
// knows what the interpreter's registers (row R, column C, span end E,
// height H) and its colour and raster operation will be at each point of the
// list, and writes only the records that change them, with the short
// relative forms where they reach.
//
// At the start of a page nothing is taken as known: an overlay played in
// front of the page may have left the registers anywhere. Positions are
// relative to the row and column origins, which the pen leaves alone unless
// asked (job finishing sets them to place pages on a sheet).
//
// Raster operation: fills use 0xF0 (the brush or colour as it is) and masks
// (glyphs, bitmaps) 0xB8 (the brush or colour where the mask has ink, the
// page elsewhere), images 0xCC (the image's pixels), unless a fixed
// operation is set.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "encode/dl_writer.h"
#include "job/bitmap_font.h"

constexpr uint8_t kRopPatternCopy = 0xF0;
constexpr uint8_t kRopTransparentMask = 0xB8;
constexpr uint8_t kRopSourceCopy = 0xCC;
// Positions in the display list are 16 bits wide.
constexpr uint32_t kDLMaxPosition = 0xFFFF;

class DLPen {
public:
    explicit DLPen(DLWriter* out) : out_(out) {}

    DLWriter& Writer() { return *out_; }

    // ---- State ----------------------------------------------------------------
    void SetColourCode(uint32_t code);
    void SetHatch(uint32_t style, uint32_t foreground, uint32_t background);
    // A fixed raster operation for every drawing, or back to the automatic
    // choice with std::nullopt.
    void FixRop(std::optional<uint8_t> rop);
    // New origins; the registers are then unknown relative to them.
    void SetOrigin(uint32_t row, uint32_t column);
    // Forgets everything the pen knows (after raw bytes, for example).
    void Forget();

    // ---- Drawing (false when a position or size does not fit 16 bits) --------
    bool MoveTo(uint32_t x, uint32_t y);
    bool Box(uint32_t x, uint32_t y, uint32_t width, uint32_t height);
    // Forces the 8-bit or 16-bit box record (sizes must fit it).
    bool Box8(uint32_t x, uint32_t y, uint32_t width, uint32_t height);
    bool Box16(uint32_t x, uint32_t y, uint32_t width, uint32_t height);
    // `rows` rows from (x, y), columns x .. spanEnd-1, as a run of DL_SPAN.
    bool Span(uint32_t x, uint32_t y, uint32_t spanEnd, uint32_t rows);
    // One DL_SPAN_STEP from where the last span left the registers.
    bool SpanStep(int32_t dColumn, int32_t dSpanEnd);
    // `columns` columns from (x, y), `height` rows each, as a run of DL_VSPAN.
    bool VSpan(uint32_t x, uint32_t y, uint32_t height, uint32_t columns);
    // A 1-bit mask whose first bit lies at (x, y); rows of MaskStride(bitOffset + width).
    bool Glyph(uint32_t x, uint32_t y, uint8_t bitOffset, uint16_t width, uint16_t rows,
               std::span<const uint8_t> bits);
    bool DrawBitmap(uint16_t slot, uint32_t x, uint32_t y);
    // Text in the font, `factor` dots per font dot, cell top-left at (x, y).
    bool Text(uint32_t x, uint32_t y, uint32_t factor, std::string_view text);
    // An image record drawn at (x, y); 0xCC (the image as it is) by default.
    bool Image(uint32_t x, uint32_t y, const DLImageRecord& image, bool stretch);
    bool Line(uint32_t x1, uint32_t y1, uint32_t x2, uint32_t y2);
    bool LineTo(uint32_t x, uint32_t y);
    bool LineRel(int32_t dx, int32_t dy);
    // A filled path drawn with the colour as it is (0xF0 by default); a path
    // only set (a clip path) needs no raster operation.
    bool FillPath(const DLPathRecord& path);
    void PaintPath();

private:
    void UseRop(uint8_t automatic);
    bool MoveRowTo(uint32_t y);
    bool MoveColumnTo(uint32_t x);
    bool SetSpanEndTo(uint32_t x);
    bool SetHeightTo(uint32_t h);

    DLWriter* out_;
    std::optional<uint32_t> row_, column_, spanEnd_, height_;
    std::optional<uint32_t> colourCode_;  // as the interpreter has it
    std::optional<uint8_t> rop_;          // as the interpreter has it
    std::optional<uint32_t> wantedCode_;  // set by the scene, not yet written
    std::optional<uint8_t> fixedRop_;
};
