#include "job/dl_pen.h"

#include <cstdlib>

#include "formats/display_list.h"

namespace {

bool FitsInt8(int64_t v) { return v >= -128 && v <= 127; }

}  // namespace

void DLPen::SetColourCode(uint32_t code) { wantedCode_ = code; }

void DLPen::SetHatch(uint32_t style, uint32_t foreground, uint32_t background) {
    const uint32_t code = HatchColourCode(style);
    out_->SetHatch(code, foreground, background);
    // The record also applies the code with the operation already selected.
    colourCode_ = code;
    wantedCode_ = code;
}

void DLPen::FixRop(std::optional<uint8_t> rop) { fixedRop_ = rop; }

void DLPen::SetOrigin(uint32_t row, uint32_t column) {
    out_->SetRowOrigin(row);
    out_->SetColumnOrigin(column);
    row_.reset();
    column_.reset();
    spanEnd_.reset();
}

void DLPen::Forget() {
    row_.reset();
    column_.reset();
    spanEnd_.reset();
    height_.reset();
    colourCode_.reset();
    rop_.reset();
}

// Writes what it takes for the interpreter to have the wanted colour and
// operation: one combined record when both change.
void DLPen::UseRop(uint8_t automatic) {
    const uint8_t rop = fixedRop_.value_or(automatic);
    const uint32_t code = wantedCode_.value_or(SolidColourCode(0, 0, 0));
    const bool codeChanges = colourCode_ != code;
    const bool ropChanges = rop_ != rop;
    if (codeChanges && ropChanges) {
        out_->SetRopColour(rop, code);
    } else if (codeChanges) {
        out_->SetColour(code);
    } else if (ropChanges) {
        out_->SetRop(rop);
    }
    colourCode_ = code;
    rop_ = rop;
}

bool DLPen::MoveRowTo(uint32_t y) {
    if (row_ == y) return true;
    if (row_ && FitsInt8(int64_t{y} - *row_)) {
        out_->MoveRow(static_cast<int8_t>(int64_t{y} - *row_));
    } else {
        if (y > kDLMaxPosition) return false;
        out_->SetRow(static_cast<uint16_t>(y));
    }
    row_ = y;
    return true;
}

bool DLPen::MoveColumnTo(uint32_t x) {
    if (column_ == x) return true;
    if (column_ && FitsInt8(int64_t{x} - *column_)) {
        out_->MoveColumn(static_cast<int8_t>(int64_t{x} - *column_));
    } else {
        if (x > kDLMaxPosition) return false;
        out_->SetColumn(static_cast<uint16_t>(x));
    }
    column_ = x;
    return true;
}

bool DLPen::SetSpanEndTo(uint32_t x) {
    if (spanEnd_ == x) return true;
    if (spanEnd_ && FitsInt8(int64_t{x} - *spanEnd_)) {
        out_->MoveSpanEnd(static_cast<int8_t>(int64_t{x} - *spanEnd_));
    } else {
        if (x > kDLMaxPosition) return false;
        out_->SetSpanEnd(static_cast<uint16_t>(x));
    }
    spanEnd_ = x;
    return true;
}

bool DLPen::SetHeightTo(uint32_t h) {
    if (height_ == h) return true;
    if (height_ && FitsInt8(int64_t{h} - *height_)) {
        out_->MoveHeight(static_cast<int8_t>(int64_t{h} - *height_));
    } else {
        if (h > kDLMaxPosition) return false;
        out_->SetHeight(static_cast<uint16_t>(h));
    }
    height_ = h;
    return true;
}

bool DLPen::MoveTo(uint32_t x, uint32_t y) {
    if (x > kDLMaxPosition || y > kDLMaxPosition) return false;
    return MoveRowTo(y) && MoveColumnTo(x);
}

bool DLPen::Box(uint32_t x, uint32_t y, uint32_t width, uint32_t height) {
    if (width <= 0xFF && height <= 0xFF) return Box8(x, y, width, height);
    return Box16(x, y, width, height);
}

bool DLPen::Box8(uint32_t x, uint32_t y, uint32_t width, uint32_t height) {
    if (width > 0xFF || height > 0xFF || !MoveTo(x, y)) return false;
    UseRop(kRopPatternCopy);
    out_->Box8(static_cast<uint8_t>(height), static_cast<uint8_t>(width));
    return true;
}

bool DLPen::Box16(uint32_t x, uint32_t y, uint32_t width, uint32_t height) {
    if (width > 0xFFFF || height > 0xFFFF || !MoveTo(x, y)) return false;
    UseRop(kRopPatternCopy);
    out_->Box16(static_cast<uint16_t>(height), static_cast<uint16_t>(width));
    return true;
}

bool DLPen::Span(uint32_t x, uint32_t y, uint32_t spanEnd, uint32_t rows) {
    if (!MoveTo(x, y) || !SetSpanEndTo(spanEnd)) return false;
    UseRop(kRopPatternCopy);
    out_->Span(rows);
    row_ = y + rows;
    return true;
}

bool DLPen::SpanStep(int32_t dColumn, int32_t dSpanEnd) {
    if (!FitsInt8(dColumn) || !FitsInt8(dSpanEnd)) return false;
    UseRop(kRopPatternCopy);
    out_->SpanStep(static_cast<int8_t>(dColumn), static_cast<int8_t>(dSpanEnd));
    if (column_) column_ = static_cast<uint32_t>(int64_t{*column_} + dColumn);
    if (spanEnd_) spanEnd_ = static_cast<uint32_t>(int64_t{*spanEnd_} + dSpanEnd);
    if (row_) row_ = *row_ + 1;
    return true;
}

bool DLPen::VSpan(uint32_t x, uint32_t y, uint32_t height, uint32_t columns) {
    if (!MoveTo(x, y) || !SetHeightTo(height)) return false;
    UseRop(kRopPatternCopy);
    out_->VSpan(columns);
    column_ = x + columns;
    return true;
}

bool DLPen::Glyph(uint32_t x, uint32_t y, uint8_t bitOffset, uint16_t width, uint16_t rows,
                  std::span<const uint8_t> bits) {
    if (bits.size() != size_t{rows} * MaskStride(uint32_t{bitOffset} + width)) return false;
    if (!MoveTo(x, y)) return false;
    UseRop(kRopTransparentMask);
    return out_->Glyph(bitOffset, rows, width, bits);
}

bool DLPen::DrawBitmap(uint16_t slot, uint32_t x, uint32_t y) {
    if (!MoveTo(x, y)) return false;
    UseRop(kRopTransparentMask);
    out_->DrawBitmap(slot);
    return true;
}

bool DLPen::Text(uint32_t x, uint32_t y, uint32_t factor, std::string_view text) {
    if (factor == 0 || factor > 255) return false;
    for (const PlacedGlyph& g : LayOutText(text, x, y, factor)) {
        if (!Glyph(g.x, g.y, 0, g.bitmap.width, g.bitmap.rows, g.bitmap.bits)) return false;
    }
    return true;
}

bool DLPen::Image(uint32_t x, uint32_t y, const DLImageRecord& image, bool stretch) {
    if (!MoveTo(x, y)) return false;
    UseRop(kRopSourceCopy);
    return stretch ? out_->StretchImage(image) : out_->BltImage(image);
}

bool DLPen::Line(uint32_t x1, uint32_t y1, uint32_t x2, uint32_t y2) {
    if (x2 > kDLMaxPosition || y2 > kDLMaxPosition || !MoveTo(x1, y1)) return false;
    UseRop(kRopPatternCopy);
    out_->Line(static_cast<uint16_t>(x2), static_cast<uint16_t>(y2));
    return true;
}

bool DLPen::LineTo(uint32_t x, uint32_t y) {
    if (x > kDLMaxPosition || y > kDLMaxPosition) return false;
    UseRop(kRopPatternCopy);
    out_->LineTo(static_cast<uint16_t>(y), static_cast<uint16_t>(x));
    row_ = y;
    column_ = x;
    return true;
}

bool DLPen::LineRel(int32_t dx, int32_t dy) {
    if (!FitsInt8(dx) || !FitsInt8(dy)) return false;
    UseRop(kRopPatternCopy);
    out_->LineRel(static_cast<int8_t>(dy), static_cast<int8_t>(dx));
    if (row_) row_ = static_cast<uint32_t>(int64_t{*row_} + dy);
    if (column_) column_ = static_cast<uint32_t>(int64_t{*column_} + dx);
    return true;
}

bool DLPen::FillPath(const DLPathRecord& path) {
    UseRop(kRopPatternCopy);
    return out_->FillPath(path);
}

void DLPen::PaintPath() {
    UseRop(kRopPatternCopy);
    out_->PaintPath();
}
