// An image made ready for one band: the part of it the band shows, its
// stretch tables for that part, its palette in band pixels, and the row
// expander and raster operation chosen for it. The plain drawers walk its
// rows top to bottom; the clip-path drawer paints pieces of rows in the
// order of the clip runs.
#pragma once

#include <cstdint>

#include "image_descriptor.h"
#include "image_palette.h"
#include "image_rop.h"
#include "image_rows.h"
#include "render_state.h"
#include "stretch_table.h"

// Object tags of image pixels on colour pages, in place in the top byte.
constexpr uint32_t kImageTagPhoto = 0x00000000;     // DL_STRETCH_IMAGE
constexpr uint32_t kImageTagGraphics = 0x02000000;  // DL_BLT_IMAGE

// Records that an image is drawn into rows of the band: its box in the drawn
// box, the pure-colour flags (an image is never one pure colour) and
// `rowFlag` in the row flags of its rows.
void MarkImageInBand(BandWindow* window, const ImageDescriptor& image, uint8_t rowFlag);

class ImagePainter {
public:
    // Readies `image` for the current band of `state`, with the registers'
    // ROP and pattern and `tag` for colour pixels. False when no pixel of it
    // lies in the band or the work buffers cannot be had; nothing is drawn
    // then.
    bool Prepare(RenderState* state, const ImageDescriptor& image, uint32_t tag);

    const ImageWindow& Window() const { return window_; }
    const StretchTable& Rows() const { return rows_; }

    // The drawn source row that page row `pageRow` (inside the window) shows.
    uint32_t SourceRowOf(uint32_t pageRow) const;

    // Expands drawn source row `drawnRow` across the window's columns.
    void Expand(uint32_t drawnRow);

    // Writes columns left .. right - 1 (inside the window) of the row last
    // expanded into page row `pageRow` (inside the window).
    void Paint(uint32_t pageRow, uint32_t left, uint32_t right) const;

private:
    const RenderState* state_ = nullptr;
    ImageDescriptor image_;
    ImageWindow window_;
    StretchTable columns_;
    StretchTable rows_;
    ImagePaletteLut lut_;
    ImageRowExpander expand_ = nullptr;
    ImageRopSetup rop_;
    ImageRowOp combine_ = nullptr;
    uint8_t* row_ = nullptr;  // the expanded row: window columns in band pixels
    uint32_t bytesPerPixel_ = 1;
};
