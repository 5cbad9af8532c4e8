// Image raster operations: rows of expanded image pixels combined with the
// band through the current ROP, with the brush or solid colour as pattern.
//
// Unlike a mask, an image gives a whole pixel as S (8-bit grey, 24-bit
// colour); the result for every pixel is SetRopImgGray / SetRopImgColor of
// the reduced ROP code. The operation is chosen once per image: a plain copy
// for 0xCC (the image as it is, what drivers send), a two-operand table for
// codes that ignore P or S, and the full ROP3 otherwise, each with a solid or
// a brush pattern and for grey or colour pixels. On colour pages every
// written pixel takes the image's object tag in its top byte.
#pragma once

#include <cstdint>

struct ImageRopSetup {
    uint8_t rop = 0xCC;              // reduced ROP code (the registers' ubRopCode)
    const uint8_t* brush = nullptr;  // 32 x 32 brush in band format anchored to the page; null: solid
    uint32_t colour = 0;             // the solid pattern: grey level or 0x00RRGGBB
    uint32_t tag = 0;                // colour pages: the top byte of every written pixel, in place
};

// Combines `width` image pixels (band format, 1 or 4 bytes each) with the
// band pixels at `dest`; the first lies at page row `pageRow`, page column
// `pageColumn` (they place the brush).
using ImageRowOp = void (*)(const ImageRopSetup& setup, uint8_t* dest, const uint8_t* image, uint32_t width,
                            uint32_t pageRow, uint32_t pageColumn);

ImageRowOp SelectImageRowOp(bool colourPage, const ImageRopSetup& setup);
