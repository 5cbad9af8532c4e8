#include "image_palette.h"

namespace {

constexpr uint32_t kPaletteEntryBytes = 4;

uint32_t EntryCount(uint32_t bitsPerPixel) {
    switch (bitsPerPixel) {
        case 1: return 2;
        case 4: return 16;
        case 8: return 256;
        default: return 0;
    }
}

// B, G, R, reserved read as 0x00RRGGBB.
uint32_t EntryRgb(const uint8_t* entry) {
    return uint32_t{entry[0]} | uint32_t{entry[1]} << 8 | uint32_t{entry[2]} << 16;
}

// Index i of n on a ramp from black (0) to white.
uint32_t RampGrey(uint32_t i, uint32_t n) { return i * 255 / (n - 1); }

}  // namespace

void BuildImagePaletteLut(uint32_t bitsPerPixel, const uint8_t* palette, uint32_t paletteBytes,
                          bool colourPage, ImagePaletteLut* lut) {
    *lut = ImagePaletteLut{};
    const uint32_t n = EntryCount(bitsPerPixel);
    if (n == 0) return;
    const bool hasPalette = palette != nullptr && paletteBytes >= n * kPaletteEntryBytes;
    // On a grey page an 8-bit pixel is the grey level, whatever its palette says.
    const bool ramp = !hasPalette || (!colourPage && bitsPerPixel == 8);
    for (uint32_t i = 0; i < n; ++i) {
        if (ramp) {
            const uint32_t grey = RampGrey(i, n);
            lut->values[i] = colourPage ? grey * 0x010101u : grey;
        } else {
            const uint32_t rgb = EntryRgb(palette + i * kPaletteEntryBytes);
            lut->values[i] = colourPage ? rgb : Image24ToBand(rgb, false);
        }
    }
}
