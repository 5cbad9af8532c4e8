// Row fetch of images: one drawn row of an image's source read from the
// record, expanded into band pixels and stretched across by the column
// table.
//
// A drawn row is a stored row read left to right, or right to left when the
// image is mirrored, or a stored column read top to bottom when it is
// rotated. All three are one walk: a byte offset of the stored row and a
// pixel index within it, each advanced by a fixed step per pixel. So the
// expansion loops know nothing of the image's geometry; they are chosen once
// per image by depth and page kind.
#pragma once

#include <cstddef>
#include <cstdint>

#include "image_descriptor.h"
#include "image_palette.h"
#include "stretch_table.h"

struct ImageRowWalk {
    const uint8_t* pixels = nullptr;  // the record's first stored row
    size_t rowOffset = 0;             // byte offset of the stored row of the first pixel
    size_t rowOffsetStep = 0;         // per pixel: 0 along a stored row, the stride down a column
    uint32_t x = 0;                   // pixel index of the first pixel in its stored row (lead counted)
    uint32_t xStep = 0;               // per pixel, modulo 2^32: +1, -1 when mirrored, 0 when rotated
};

// The walk over drawn row `drawnRow` from drawn column `firstColumn` on
// (drawnRow < drawnRows, firstColumn < drawnCols).
ImageRowWalk GetImageRowWalk(const ImageDescriptor& image, uint32_t drawnRow, uint32_t firstColumn);

// Expands the source pixels columns.first .. columns.last of a drawn row into
// band pixels at `out` (1 or 4 bytes each), source pixel first + k repeated
// columns.counts[k] times: as many pixels as the visible part is wide.
using ImageRowExpander = void (*)(const ImageRowWalk& walk, const StretchTable& columns,
                                  const ImagePaletteLut& lut, uint8_t* out);

// The expander for a depth (1, 4, 8 or 24) on a grey or colour page; null
// for another depth.
ImageRowExpander SelectImageRowExpander(uint32_t bitsPerPixel, bool colourPage);
