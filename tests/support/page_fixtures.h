// Page records for tests: a page of the given resolution, depth and
// printable size on A4 (Windows paper code 9, the fallback paper), one
// copy, page 1; colour exactly when the pixels are 32 bits.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "pipeline/fb_records.h"

namespace zebl_test {

inline FBPage MakePage(uint32_t resolution, uint32_t outputResolution, uint32_t bitsPerPixel, uint32_t width,
                       uint32_t height) {
    FBPage page;
    page.paperCode = 9;
    page.resolution = resolution;
    page.outputResolution = outputResolution;
    page.bitsPerPixel = bitsPerPixel;
    page.colour = bitsPerPixel == 32 ? 1 : 0;
    page.printableWidth = width;
    page.printableHeight = height;
    page.pageWidth = width;
    page.pageHeight = height;
    page.copies = 1;
    page.pageNumber = 1;
    return page;
}

// The same, printed at the resolution it is rendered at.
inline FBPage MakePage(uint32_t resolution, uint32_t bitsPerPixel, uint32_t width, uint32_t height) {
    return MakePage(resolution, resolution, bitsPerPixel, width, height);
}

// A 32-bit pixel after colour conversion: the whiteness of each ink (255 =
// no ink), yellow in byte 0, then magenta, cyan, black.
constexpr uint32_t Inks(uint8_t yellow, uint8_t magenta, uint8_t cyan, uint8_t black) {
    return uint32_t{yellow} | uint32_t{magenta} << 8 | uint32_t{cyan} << 16 | uint32_t{black} << 24;
}
constexpr uint32_t kCyanInk = Inks(255, 255, 0, 255);
constexpr uint32_t kMagentaInk = Inks(255, 0, 255, 255);
constexpr uint32_t kYellowInk = Inks(0, 255, 255, 255);
constexpr uint32_t kBlackInk = Inks(255, 255, 255, 0);

// The colour module's conversion in its simplest form, in place: 32-bit
// pixels 0xTTRRGGBB become the whiteness of yellow, magenta, cyan and black
// (255 = no ink), black generated from the darkest channel.
inline void ConvertToInks(uint8_t* pixels, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        uint8_t* p = pixels + 4 * i;
        const int blue = p[0], green = p[1], red = p[2];
        const int white = std::max({red, green, blue});
        p[0] = static_cast<uint8_t>(255 - (white - blue));
        p[1] = static_cast<uint8_t>(255 - (white - green));
        p[2] = static_cast<uint8_t>(255 - (white - red));
        p[3] = static_cast<uint8_t>(white);
    }
}

}  // namespace zebl_test
