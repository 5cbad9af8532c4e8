// Images as 1-bit masks for the display list, as long as the printer draws
// pictures as glyphs: the image is resized (nearest pixel) and turned into
// ink and paper by a threshold or by Floyd-Steinberg error diffusion, which
// keeps the grey levels as dot density.
#pragma once

#include <cstdint>
#include <vector>

#include "image/image.h"

enum class MaskMethod { Threshold, Dither };

struct MaskOptions {
    MaskMethod method = MaskMethod::Dither;
    uint8_t threshold = 128;  // grey levels below it are ink
    uint32_t width = 0;       // dots; 0 = the image's width
    uint32_t height = 0;      // dots; 0 = keep the image's proportions
};

// Most significant bit first, rows of MaskStride(width) bytes; a set bit is ink.
struct Mask1 {
    uint32_t width = 0;
    uint32_t rows = 0;
    std::vector<uint8_t> bits;

    bool Ink(uint32_t x, uint32_t y) const;
};

// Empty when the target size is 0 or over 65535 in either direction.
Mask1 MakeMask(const Image8& image, const MaskOptions& options);

// The image resized to width x height, nearest pixel.
Image8 ResizeNearest(const Image8& image, uint32_t width, uint32_t height);
