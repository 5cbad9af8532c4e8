#include "colour_tables.h"

#include <algorithm>
#include <cstring>

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

// One pixel, reusing the inks of the last pixel converted when it is the
// same; most of a page is paper, and white, whatever drew it, stays
// unprinted.
void ConvertInPlace(const ColourTables& tables, uint32_t* pixel, uint32_t* lastPixel, uint32_t* lastInks) {
    if (*pixel != *lastPixel) {
        *lastPixel = *pixel;
        *lastInks = (*pixel & 0xFFFFFF) == 0xFFFFFF ? 0xFFFFFFFFu : ConvertPixel(tables, *pixel);
    }
    *pixel = *lastInks;
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
    // takes the same inks without being converted again, and a pair of such
    // pixels is settled by one 64-bit test and store.
    uint32_t lastPixel = 0xFFFFFFFFu, lastInks = 0xFFFFFFFFu;
    uint64_t lastPair = ~uint64_t{0}, inksPair = ~uint64_t{0};
    size_t i = 0;
    for (; i + 2 <= count; i += 2) {
        uint64_t pair;
        std::memcpy(&pair, pixels + i, sizeof pair);
        if (pair == lastPair) {
            std::memcpy(pixels + i, &inksPair, sizeof inksPair);
            continue;
        }
        for (size_t j = i; j < i + 2; ++j) ConvertInPlace(tables, &pixels[j], &lastPixel, &lastInks);
        lastPair = uint64_t{lastPixel} << 32 | lastPixel;
        inksPair = uint64_t{lastInks} << 32 | lastInks;
    }
    for (; i < count; ++i) ConvertInPlace(tables, &pixels[i], &lastPixel, &lastInks);
}

}  // namespace tzqr4cm
