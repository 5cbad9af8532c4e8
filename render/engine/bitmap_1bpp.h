// 1-bit masks (glyphs, downloaded bitmaps): realignment and resampling.
// Rows are most significant bit first and padded to 4 bytes (MaskStride).
#pragma once

#include <cstddef>
#include <cstdint>

#include "render_state.h"

// Copies bits firstBit .. firstBit + 8*dstBytes - 1 of a mask row of
// srcBytes bytes into dst, so that bit firstBit becomes bit 7 of dst[0].
// Bits beyond the source row read as 0.
void RDExtractMaskBits(uint8_t* dst, size_t dstBytes, const uint8_t* src, size_t srcBytes, uint32_t firstBit);

// Copies the mask of `req` into dst without the first bitOffset bits of each
// row; then req->bits = dst, req->xs += bitOffset, req->bitOffset = 0. dst
// holds req->rows rows of MaskStride(xe - xs - bitOffset) bytes. The caller
// guarantees xs + bitOffset <= xe.
void DeletebLeft(TRect* req, uint8_t* dst);

// Resamples a srcWidth x srcRows mask to dstWidth x dstRows into dst, which
// must be zero-filled and hold dstRows x MaskStride(dstWidth) bytes. Source
// column i covers destination columns floor(i*dstWidth/srcWidth) ..
// floor((i+1)*dstWidth/srcWidth) - 1, and likewise for rows; enlargements by
// 2, 3 and 4 or more smooth the stair steps of diagonal edges.
void Scale1BPPBitmap(uint8_t* dst, uint32_t dstWidth, uint32_t dstRows, const uint8_t* src, uint32_t srcWidth,
                     uint32_t srcRows);
