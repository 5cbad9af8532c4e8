#include "image/image.h"

uint8_t Image8::Grey(uint32_t x, uint32_t y) const {
    const size_t at = size_t{y} * RowBytes() + size_t{x} * channels;
    if (channels == 1) return pixels[at];
    return static_cast<uint8_t>((30 * pixels[at] + 59 * pixels[at + 1] + 11 * pixels[at + 2]) / 100);
}
