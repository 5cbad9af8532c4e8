// Colour depth of images: how source pixels of 1, 4, 8 and 24 bits become
// band pixels on grey and colour pages.
//
// Palettes are 4-byte entries B, G, R, reserved (2, 16 or 256 of them).
//   colour page: an entry becomes 0x00RRGGBB; a 24-bit pixel (stored B, G,
//                R and a byte that is ignored) is taken as it is;
//   grey page:   1- and 4-bit pixels take their entry's grey; an 8-bit pixel
//                is itself the grey level; a 24-bit pixel becomes its grey.
// The grey of a colour is its luminance (30 R + 59 G + 11 B) / 100.
//
// An image record that says it has no palette gets a grey ramp (index 0
// black up to the last index white), which is what an 8-bit pixel means on
// a grey page anyway.
#pragma once

#include <cstdint>

constexpr uint32_t ImageGrey(uint32_t red, uint32_t green, uint32_t blue) {
    return (30 * red + 59 * green + 11 * blue) / 100;
}

// A 24-bit pixel as read from its four bytes (little-endian: 0x??RRGGBB) in
// band format.
constexpr uint32_t Image24ToBand(uint32_t pixel, bool colourPage) {
    return colourPage ? pixel & 0x00FFFFFF
                      : ImageGrey((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

// Band pixel of every palette index of a 1-, 4- or 8-bit image (the grey
// level on a grey page, 0x00RRGGBB on a colour page). Indices a depth
// cannot produce are left 0.
struct ImagePaletteLut {
    uint32_t values[256] = {};
};

// `palette` holds `paletteBytes` bytes (0 when the record has none).
void BuildImagePaletteLut(uint32_t bitsPerPixel, const uint8_t* palette, uint32_t paletteBytes,
                          bool colourPage, ImagePaletteLut* lut);
