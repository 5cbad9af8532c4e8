// The display-list encoder: one method per record of the display-list format
// (formats/display_list.h), each appending the opcode and its little-endian
// operands. It is what the driver's graphics part would produce, so tests and
// `zebl compose` can make any display list, including records the renderer
// does not draw yet (lines, paths, images), byte-exact; the print pipeline
// writes its own commands (origin, scale, frames, watermark brackets) with it
// too, so there is one encoder of the format.
//
// The writer remembers where each record starts, so that a page's list can be
// cut into spooled pieces that never split a record.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "formats/colour_codes.h"
#include "formats/display_list.h"

// 0x00RRGGBB, as the hatch colours of DL_SET_HATCH are given.
constexpr uint32_t Rgb(uint8_t red, uint8_t green, uint8_t blue) {
    return (uint32_t{red} << 16) | (uint32_t{green} << 8) | blue;
}

// The fields of an image record (DL_STRETCH_IMAGE, DL_BLT_IMAGE).
struct DLImageRecord {
    uint8_t lead = 0;          // leading pixels of each source row not drawn
    uint8_t bitsPerPixel = 8;  // 1, 4, 8 or 24 (24 stored as B, G, R, 0)
    uint8_t flags = 0;         // bit 0 rotated, bit 1 mirrored
    uint16_t srcRows = 0;
    uint16_t srcWidth = 0;         // pixels, without the lead
    uint16_t destRows = 0;         // +8: destination rows (columns when rotated)
    uint16_t destCols = 0;         // +10
    std::vector<uint8_t> palette;  // empty, or 8 / 64 / 1024 bytes of B, G, R, 0
    std::vector<uint8_t> pixels;   // srcRows rows of ImageRowBytes() bytes
};

// Bytes of one padded source row of an image record.
uint32_t ImageRowBytes(uint32_t pixelsWithLead, uint32_t bitsPerPixel);

// The fields of a path record (DL_FILL_PATH, DL_SET_PATH).
struct DLPathPoint {
    int32_t x = 0;
    int32_t y = 0;
};
struct DLPathRecord {
    uint16_t fillMode = 22;                             // 20 winding, 22 alternate
    bool wideCoordinates = false;                       // int32 coordinates instead of int16
    uint32_t left = 0, top = 0, right = 0, bottom = 0;  // right and bottom exclusive
    std::vector<std::vector<DLPathPoint>> subpaths;
};

// The bounding box of the points (right and bottom one past the largest).
void DLPathSetBoundsFromPoints(DLPathRecord* path);

class DLWriter {
public:
    const std::vector<uint8_t>& Bytes() const { return bytes_; }
    // Offsets where records start, in order.
    const std::vector<size_t>& RecordStarts() const { return starts_; }
    bool Empty() const { return bytes_.empty(); }

    // ---- Downloaded bitmaps, brushes, glyphs, images ------------------------
    // `data` must hold rows x MaskStride(width) bytes; false (nothing written)
    // when it does not or the slot is over 4095.
    bool DefineBitmap(uint16_t slot, uint16_t rows, uint16_t width, std::span<const uint8_t> data);
    void DrawBitmap(uint16_t slot);
    // Any format byte; the data is written as given (the renderer's size for
    // the format is the caller's business, so malformed brushes can be made).
    void DefineBrush(uint8_t format, uint32_t slot, std::span<const uint8_t> data);
    // Format 1: colours 0x00RRGGBB for pattern bits 0 and 1, 128 pattern bytes.
    bool DefineBrushPattern(uint8_t slot, uint32_t colour0, uint32_t colour1,
                            std::span<const uint8_t> pattern);
    // `data` rows x MaskStride(bitOffset + width) bytes; false when it does not fit.
    bool Glyph(uint8_t bitOffset, uint16_t rows, uint16_t width, std::span<const uint8_t> data);
    // False when the palette or pixel sizes do not match the header fields.
    bool StretchImage(const DLImageRecord& image);
    bool BltImage(const DLImageRecord& image);

    // ---- Lines --------------------------------------------------------------
    void LineTo(uint16_t row, uint16_t column);
    void LineRel(int8_t dRow, int8_t dColumn);
    void Line(uint16_t column, uint16_t row);

    // ---- Fills --------------------------------------------------------------
    void Box8(uint8_t rows, uint8_t width);
    void Box16(uint16_t rows, uint16_t width);
    // `count` DL_SPAN bytes: fills count rows from R, columns C..E-1.
    void Span(uint32_t count = 1);
    void SpanStep(int8_t dColumn, int8_t dSpanEnd);
    // `count` DL_VSPAN bytes: fills H rows, count columns from C.
    void VSpan(uint32_t count = 1);

    // ---- Registers ----------------------------------------------------------
    void SetRow(uint16_t row);
    void MoveRow(int8_t delta);
    void SetColumn(uint16_t column);
    void MoveColumn(int8_t delta);
    void SetSpanEnd(uint16_t column);
    void MoveSpanEnd(int8_t delta);
    void SetHeight(uint16_t rows);
    void MoveHeight(int8_t delta);
    void SetRowOrigin(uint32_t row);
    void SetColumnOrigin(uint32_t column);
    void SetScale(uint32_t denominator, uint32_t numerator);

    // ---- Colour and raster operation ----------------------------------------
    void SetColour(uint32_t code, bool alternateOpcode = false);  // 113 or 114
    void SetRop(uint8_t rop);
    void SetRopColour(uint8_t rop, uint32_t code);
    void SetHatch(uint32_t code, uint32_t foreground, uint32_t background);
    void SetLineStyle(uint8_t style);
    void SetStylePhase(uint16_t phase);

    // ---- Paths and clipping -------------------------------------------------
    // False when a coordinate does not fit a 16-bit path or there are no points.
    bool FillPath(const DLPathRecord& path);
    bool SetPath(const DLPathRecord& path);
    void PaintPath();
    void ClipMode(uint8_t mode);

    // ---- Brackets and fillers -----------------------------------------------
    void WatermarkBegin();
    void WatermarkEnd();
    void Skip1(uint8_t value, bool alternateOpcode = false);  // 88 or 112
    void Skip4(uint32_t value);
    // Bytes as given, counted as one record (for raw and malformed input).
    void Raw(std::span<const uint8_t> bytes);

private:
    void Begin(uint8_t opcode);
    void U8(uint8_t v) { bytes_.push_back(v); }
    void U16(uint16_t v);
    void U32(uint32_t v);
    void Append(std::span<const uint8_t> bytes);
    bool Image(uint8_t opcode, const DLImageRecord& image);
    bool Path(uint8_t opcode, const DLPathRecord& path);

    std::vector<uint8_t> bytes_;
    std::vector<size_t> starts_;
};
