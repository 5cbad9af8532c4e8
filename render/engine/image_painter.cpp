#include "image_painter.h"

#include <algorithm>

#include "do_render.h"
#include "scratch_buffer.h"

namespace {

// A colour with no channel at 0 or 255: images never count as pure colour.
constexpr uint32_t kMixedColour = 0x123456;

uint32_t SaturatedEnd(uint64_t end) { return static_cast<uint32_t>(std::min<uint64_t>(end, UINT32_MAX)); }

}  // namespace

void MarkImageInBand(BandWindow* window, const ImageDescriptor& image, uint8_t rowFlag) {
    SetRenderingRect(window, image.destRow, image.destCol, SaturatedEnd(image.DestBottom()),
                     SaturatedEnd(image.DestRight()));
    SetTextFlag(window, kMixedColour);
    SetLineFlag(window, image.destRow, image.destRows, rowFlag);
}

bool ImagePainter::Prepare(RenderState* state, const ImageDescriptor& image, uint32_t tag) {
    state_ = state;
    image_ = image;
    const bool colourPage = state->page.isColour != 0;
    bytesPerPixel_ = colourPage ? 4 : 1;
    if (!VisibleImageWindow(image, state->page, state->window, &window_)) return false;
    // The tables cover only the window: offsets from the image's first pixel.
    RenderScratch& scratch = state->scratch;
    if (!GetStrchingTbl(image.drawnCols, image.destCols, window_.left - image.destCol,
                        window_.right - image.destCol, scratch.imageColumns, &columns_) ||
        !GetStrchingTbl(image.drawnRows, image.destRows, window_.top - image.destRow,
                        window_.bottom - image.destRow, scratch.imageRows, &rows_)) {
        return false;
    }
    if (!ReserveScratch(scratch.imageRow, size_t{window_.right - window_.left} * bytesPerPixel_))
        return false;
    row_ = scratch.imageRow.data();

    BuildImagePaletteLut(image.bitsPerPixel, image.palette, image.paletteBytes, colourPage, &lut_);
    expand_ = SelectImageRowExpander(image.bitsPerPixel, colourPage);
    rop_.rop = state->reg.ubRopCode;
    rop_.brush = state->reg.brush;
    rop_.colour = state->reg.colour;
    rop_.tag = tag;
    combine_ = SelectImageRowOp(colourPage, rop_);
    return expand_ != nullptr && combine_ != nullptr;
}

uint32_t ImagePainter::SourceRowOf(uint32_t pageRow) const {
    return StretchSourceOf(image_.drawnRows, image_.destRows, pageRow - image_.destRow);
}

void ImagePainter::Expand(uint32_t drawnRow) {
    expand_(GetImageRowWalk(image_, drawnRow, columns_.first), columns_, lut_, row_);
}

void ImagePainter::Paint(uint32_t pageRow, uint32_t left, uint32_t right) const {
    const BandWindow& window = state_->window;
    uint8_t* dest = window.band + size_t{pageRow - window.bandTop} * state_->page.bytesPerRow +
                    size_t{left} * bytesPerPixel_;
    const uint8_t* pixels = row_ + size_t{left - window_.left} * bytesPerPixel_;
    combine_(rop_, dest, pixels, right - left, pageRow, left);
}
