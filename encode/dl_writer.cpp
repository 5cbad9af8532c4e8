#include "encode/dl_writer.h"

#include <algorithm>
#include <limits>

namespace {

uint32_t PaletteBytesFor(uint8_t bitsPerPixel) {
    switch (bitsPerPixel) {
        case 1: return 8;
        case 4: return 64;
        case 8: return 1024;
        default: return 0;
    }
}

bool FitsInt16(int32_t v) {
    return v >= std::numeric_limits<int16_t>::min() && v <= std::numeric_limits<int16_t>::max();
}

}  // namespace

uint32_t ImageRowBytes(uint32_t pixelsWithLead, uint32_t bitsPerPixel) {
    return DLImageRowBytes(pixelsWithLead, bitsPerPixel);
}

void DLPathSetBoundsFromPoints(DLPathRecord* path) {
    bool first = true;
    int64_t left = 0, top = 0, right = 0, bottom = 0;
    for (const auto& subpath : path->subpaths) {
        for (const DLPathPoint& p : subpath) {
            if (first) {
                left = right = p.x;
                top = bottom = p.y;
                first = false;
            }
            left = std::min<int64_t>(left, p.x);
            top = std::min<int64_t>(top, p.y);
            right = std::max<int64_t>(right, p.x);
            bottom = std::max<int64_t>(bottom, p.y);
        }
    }
    // The box is unsigned; points left of or above the origin clamp to 0.
    path->left = static_cast<uint32_t>(std::max<int64_t>(left, 0));
    path->top = static_cast<uint32_t>(std::max<int64_t>(top, 0));
    path->right = static_cast<uint32_t>(std::max<int64_t>(right + 1, 0));
    path->bottom = static_cast<uint32_t>(std::max<int64_t>(bottom + 1, 0));
}

void DLWriter::Begin(uint8_t opcode) {
    starts_.push_back(bytes_.size());
    bytes_.push_back(opcode);
}

void DLWriter::U16(uint16_t v) {
    bytes_.push_back(static_cast<uint8_t>(v));
    bytes_.push_back(static_cast<uint8_t>(v >> 8));
}

void DLWriter::U32(uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8) bytes_.push_back(static_cast<uint8_t>(v >> shift));
}

void DLWriter::Append(std::span<const uint8_t> bytes) {
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
}

// +0 reserved, +1 slot, +3 rows, +5 width, +7 data
bool DLWriter::DefineBitmap(uint16_t slot, uint16_t rows, uint16_t width, std::span<const uint8_t> data) {
    if (slot >= 4096 || data.size() != size_t{rows} * MaskStride(width)) return false;
    Begin(DL_DEFINE_BITMAP);
    U8(0);
    U16(slot);
    U16(rows);
    U16(width);
    Append(data);
    return true;
}

void DLWriter::DrawBitmap(uint16_t slot) {
    Begin(DL_DRAW_BITMAP);
    U16(slot);
}

// +0 format, +1 slot as a 32-bit number, +5 data
void DLWriter::DefineBrush(uint8_t format, uint32_t slot, std::span<const uint8_t> data) {
    Begin(DL_DEFINE_BRUSH);
    U8(format);
    U32(slot);
    Append(data);
}

bool DLWriter::DefineBrushPattern(uint8_t slot, uint32_t colour0, uint32_t colour1,
                                  std::span<const uint8_t> pattern) {
    if (pattern.size() != kDLBrushPatternBytes) return false;
    std::vector<uint8_t> data;
    for (uint32_t colour : {colour0, colour1}) {  // B, G, R, 0
        data.push_back(static_cast<uint8_t>(colour));
        data.push_back(static_cast<uint8_t>(colour >> 8));
        data.push_back(static_cast<uint8_t>(colour >> 16));
        data.push_back(0);
    }
    data.insert(data.end(), pattern.begin(), pattern.end());
    DefineBrush(kBrushPattern, slot, data);
    return true;
}

// +0 bitOffset, +1..+3 reserved, +4 rows, +6 width, +8..+11 reserved, +12 data
bool DLWriter::Glyph(uint8_t bitOffset, uint16_t rows, uint16_t width, std::span<const uint8_t> data) {
    if (data.size() != size_t{rows} * MaskStride(uint32_t{bitOffset} + width)) return false;
    Begin(DL_GLYPH);
    U8(bitOffset);
    U8(0);
    U16(0);
    U16(rows);
    U16(width);
    U32(0);
    Append(data);
    return true;
}

// +0 lead, +1 bits, +2 palette flag, +3 flags, +4 srcRows, +6 srcWidth,
// +8 destRows, +10 destCols, +12 palette, then the rows
bool DLWriter::Image(uint8_t opcode, const DLImageRecord& image) {
    const uint32_t paletteBytes = PaletteBytesFor(image.bitsPerPixel);
    if (!image.palette.empty() && image.palette.size() != paletteBytes) return false;
    const uint64_t rowBytes = ImageRowBytes(uint32_t{image.srcWidth} + image.lead, image.bitsPerPixel);
    if (image.pixels.size() != rowBytes * image.srcRows) return false;
    Begin(opcode);
    U8(image.lead);
    U8(image.bitsPerPixel);
    U8(image.palette.empty() ? 0 : 1);
    U8(image.flags);
    U16(image.srcRows);
    U16(image.srcWidth);
    U16(image.destRows);
    U16(image.destCols);
    Append(image.palette);
    Append(image.pixels);
    return true;
}

bool DLWriter::StretchImage(const DLImageRecord& image) { return Image(DL_STRETCH_IMAGE, image); }
bool DLWriter::BltImage(const DLImageRecord& image) { return Image(DL_BLT_IMAGE, image); }

void DLWriter::LineTo(uint16_t row, uint16_t column) {
    Begin(DL_LINE_TO);
    U16(row);
    U16(column);
}

void DLWriter::LineRel(int8_t dRow, int8_t dColumn) {
    Begin(DL_LINE_REL);
    U8(static_cast<uint8_t>(dRow));
    U8(static_cast<uint8_t>(dColumn));
}

// Column first, unlike DL_LINE_TO.
void DLWriter::Line(uint16_t column, uint16_t row) {
    Begin(DL_LINE);
    U16(column);
    U16(row);
}

void DLWriter::Box8(uint8_t rows, uint8_t width) {
    Begin(DL_BOX8);
    U8(rows);
    U8(width);
}

void DLWriter::Box16(uint16_t rows, uint16_t width) {
    Begin(DL_BOX16);
    U16(rows);
    U16(width);
}

void DLWriter::Span(uint32_t count) {
    for (uint32_t i = 0; i < count; ++i) Begin(DL_SPAN);
}

void DLWriter::SpanStep(int8_t dColumn, int8_t dSpanEnd) {
    Begin(DL_SPAN_STEP);
    U8(static_cast<uint8_t>(dColumn));
    U8(static_cast<uint8_t>(dSpanEnd));
}

void DLWriter::VSpan(uint32_t count) {
    for (uint32_t i = 0; i < count; ++i) Begin(DL_VSPAN);
}

void DLWriter::SetRow(uint16_t row) {
    Begin(DL_SET_ROW);
    U16(row);
}
void DLWriter::MoveRow(int8_t delta) {
    Begin(DL_MOVE_ROW);
    U8(static_cast<uint8_t>(delta));
}
void DLWriter::SetColumn(uint16_t column) {
    Begin(DL_SET_COL);
    U16(column);
}
void DLWriter::MoveColumn(int8_t delta) {
    Begin(DL_MOVE_COL);
    U8(static_cast<uint8_t>(delta));
}
void DLWriter::SetSpanEnd(uint16_t column) {
    Begin(DL_SET_SPAN_END);
    U16(column);
}
void DLWriter::MoveSpanEnd(int8_t delta) {
    Begin(DL_MOVE_SPAN_END);
    U8(static_cast<uint8_t>(delta));
}
void DLWriter::SetHeight(uint16_t rows) {
    Begin(DL_SET_HEIGHT);
    U16(rows);
}
void DLWriter::MoveHeight(int8_t delta) {
    Begin(DL_MOVE_HEIGHT);
    U8(static_cast<uint8_t>(delta));
}
void DLWriter::SetRowOrigin(uint32_t row) {
    Begin(DL_SET_ROW_ORIGIN);
    U32(row);
}
void DLWriter::SetColumnOrigin(uint32_t column) {
    Begin(DL_SET_COL_ORIGIN);
    U32(column);
}

void DLWriter::SetScale(uint32_t denominator, uint32_t numerator) {
    Begin(DL_SET_SCALE);
    U32(denominator);
    U32(numerator);
}

void DLWriter::SetColour(uint32_t code, bool alternateOpcode) {
    Begin(alternateOpcode ? DL_SET_COLOR_ALT : DL_SET_COLOR);
    U32(code);
}

void DLWriter::SetRop(uint8_t rop) {
    Begin(DL_SET_ROP);
    U8(rop);
}

void DLWriter::SetRopColour(uint8_t rop, uint32_t code) {
    Begin(DL_SET_ROP_COLOR);
    U8(rop);
    U32(code);
}

void DLWriter::SetHatch(uint32_t code, uint32_t foreground, uint32_t background) {
    Begin(DL_SET_HATCH);
    U32(code);
    U32(foreground);
    U32(background);
}

void DLWriter::SetLineStyle(uint8_t style) {
    Begin(DL_SET_LINE_STYLE);
    U8(style);
}

void DLWriter::SetStylePhase(uint16_t phase) {
    Begin(DL_SET_STYLE_PHASE);
    U16(phase);
}

// +0 fill mode, +2 words per point, +3 reserved, +4 left, +8 top, +12 right,
// +16 bottom, +20 subpaths, +24 points, +28 points, then the point counts
// when there is more than one subpath.
bool DLWriter::Path(uint8_t opcode, const DLPathRecord& path) {
    uint64_t points = 0;
    for (const auto& subpath : path.subpaths) {
        points += subpath.size();
        if (!path.wideCoordinates) {
            for (const DLPathPoint& p : subpath)
                if (!FitsInt16(p.x) || !FitsInt16(p.y)) return false;
        }
    }
    if (points == 0 || points > 0xFFFFFFFFu) return false;
    Begin(opcode);
    U16(path.fillMode);
    U8(path.wideCoordinates ? 4 : 2);
    U8(0);
    U32(path.left);
    U32(path.top);
    U32(path.right);
    U32(path.bottom);
    U32(static_cast<uint32_t>(path.subpaths.size()));
    U32(static_cast<uint32_t>(points));
    for (const auto& subpath : path.subpaths) {
        for (const DLPathPoint& p : subpath) {
            if (path.wideCoordinates) {
                U32(static_cast<uint32_t>(p.x));
                U32(static_cast<uint32_t>(p.y));
            } else {
                U16(static_cast<uint16_t>(p.x));
                U16(static_cast<uint16_t>(p.y));
            }
        }
    }
    if (path.subpaths.size() > 1) {
        for (const auto& subpath : path.subpaths) U32(static_cast<uint32_t>(subpath.size()));
    }
    return true;
}

bool DLWriter::FillPath(const DLPathRecord& path) { return Path(DL_FILL_PATH, path); }
bool DLWriter::SetPath(const DLPathRecord& path) { return Path(DL_SET_PATH, path); }
void DLWriter::PaintPath() { Begin(DL_PAINT_PATH); }

void DLWriter::ClipMode(uint8_t mode) {
    Begin(DL_CLIP_MODE);
    U8(mode);
}

void DLWriter::WatermarkBegin() { Begin(DL_WATERMARK_BEGIN); }
void DLWriter::WatermarkEnd() { Begin(DL_WATERMARK_END); }

void DLWriter::Skip1(uint8_t value, bool alternateOpcode) {
    Begin(alternateOpcode ? DL_SKIP1_ALT : DL_SKIP1);
    U8(value);
}

void DLWriter::Skip4(uint32_t value) {
    Begin(DL_SKIP4);
    U32(value);
}

void DLWriter::Raw(std::span<const uint8_t> bytes) {
    if (bytes.empty()) return;
    starts_.push_back(bytes_.size());
    Append(bytes);
}
