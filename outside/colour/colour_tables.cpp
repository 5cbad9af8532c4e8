#include "colour_tables.h"

#include <algorithm>

namespace tzqr4cm {
namespace {

constexpr uint32_t kTextTag = 0x01;

// Y, M, C, K whiteness packed as the screener reads them.
constexpr uint32_t Pack(uint32_t yellowInk, uint32_t magentaInk, uint32_t cyanInk, uint32_t blackInk) {
    return (255 - yellowInk) | (255 - magentaInk) << 8 | (255 - cyanInk) << 16 | (255 - blackInk) << 24;
}

uint32_t ConvertPixel(const ColourTables& tables, uint32_t pixel) {
    const uint32_t red = (pixel >> 16) & 0xFF;
    const uint32_t green = (pixel >> 8) & 0xFF;
    const uint32_t blue = pixel & 0xFF;
    const uint32_t cyan = 255 - red;
    const uint32_t magenta = 255 - green;
    const uint32_t yellow = 255 - blue;
    if ((pixel & 0xFFFFFF) == 0 || ((pixel >> 24) == kTextTag && red == green && green == blue))
        return Pack(0, 0, 0, cyan);
    const uint32_t grey = std::min({cyan, magenta, yellow});
    const uint32_t removed = tables.underColourRemoval[grey];
    return Pack(yellow - removed, magenta - removed, cyan - removed, tables.blackGeneration[grey]);
}

}  // namespace

void BuildColourTables(ColourTables* tables) {
    for (uint32_t grey = 0; grey < 256; ++grey) {
        const auto black = static_cast<uint8_t>((grey * grey + 127) / 255);
        tables->blackGeneration[grey] = black;
        tables->underColourRemoval[grey] = black / 2;
    }
}

void ConvertPixels(const ColourTables& tables, uint32_t* pixels, size_t count) {
    // Pages are drawn in areas of one colour: a pixel like the one before it
    // takes the same inks without being converted again.
    uint32_t lastPixel = 0xFFFFFFFFu, lastInks = 0xFFFFFFFFu;
    for (size_t i = 0; i < count; ++i) {
        const uint32_t pixel = pixels[i];
        if (pixel != lastPixel) {
            lastPixel = pixel;
            // Most of a page is paper: white, whatever drew it, stays unprinted.
            lastInks = (pixel & 0xFFFFFF) == 0xFFFFFF ? 0xFFFFFFFFu : ConvertPixel(tables, pixel);
        }
        pixels[i] = lastInks;
    }
}

}  // namespace tzqr4cm
