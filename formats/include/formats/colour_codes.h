// Colour codes of the display list: the 32-bit values that DL_SET_COLOR,
// DL_SET_ROP_COLOR and DL_SET_HATCH carry.
//
//   0x81BBGGRR       solid colour, red in the low byte
//   0x85000000 + n   hatch brush n (0 to 5)
//   0x86000000       hollow (null) brush
//   0x87000000       black, 0x87FFFFFF white: reduce the raster operation only
//   0x91000000 + n   downloaded brush n (0 to 254)
#pragma once

#include <cstdint>

constexpr uint32_t kColourCodeSolid = 0x81000000;
// The two solid colours that also reduce the raster operation.
constexpr uint32_t kColourCodeSolidBlack = 0x81000000;
constexpr uint32_t kColourCodeSolidWhite = 0x81FFFFFF;
constexpr uint32_t kColourCodeHatch = 0x85000000;  // + style 0..5
constexpr uint32_t kColourCodeHollow = 0x86000000;
constexpr uint32_t kColourCodeRopBlack = 0x87000000;  // reduces the ROP only
constexpr uint32_t kColourCodeRopWhite = 0x87FFFFFF;
constexpr uint32_t kColourCodeBrushSlot = 0x91000000;  // + downloaded brush slot 0..254

constexpr uint32_t kHatchStyleCount = 6;
constexpr uint32_t kDownloadedBrushSlots = 255;

constexpr uint32_t SolidColourCode(uint8_t red, uint8_t green, uint8_t blue) {
    return kColourCodeSolid | (uint32_t{blue} << 16) | (uint32_t{green} << 8) | red;
}
constexpr uint32_t HatchColourCode(uint32_t style) { return kColourCodeHatch + style; }
constexpr uint32_t DownloadedBrushCode(uint32_t slot) { return kColourCodeBrushSlot + slot; }
