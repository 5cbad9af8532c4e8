// An 8-bit raster in memory: grey (one byte a pixel, 255 white) or RGB
// (three bytes a pixel, red first), rows top to bottom without padding.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct Image8 {
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t channels = 1;  // 1 grey, 3 RGB
    std::vector<uint8_t> pixels;

    bool IsColour() const { return channels == 3; }
    size_t RowBytes() const { return size_t{width} * channels; }
    // The grey level of a pixel: the pixel itself, or the luminance of an RGB
    // pixel with the weights the printer's grey rendering uses (30, 59, 11).
    uint8_t Grey(uint32_t x, uint32_t y) const;
};

// Images larger than this in either direction are refused by the readers:
// the display list's sizes are 16 bits.
constexpr uint32_t kImageMaxSide = 65535;
// And in total, so that a forged header cannot ask for gigabytes.
constexpr uint64_t kImageMaxPixels = uint64_t{1} << 27;
