#include "watermark.h"

#include <algorithm>
#include <cstring>

const uint32_t adwWMColors[kWMColourFamilies][kWMShades] = {
    {0x000000, 0x000000, 0x000000, 0x000000, 0x000000}, {0x202020, 0x404040, 0x808080, 0xC0C0C0, 0xE0E0E0},
    {0x000020, 0x000040, 0x000080, 0x2020C0, 0x4040E0}, {0x002000, 0x004000, 0x008000, 0x20C020, 0x40E040},
    {0x002020, 0x004040, 0x008080, 0x20C0C0, 0x40E0E0}, {0x200000, 0x400000, 0x800000, 0xC02020, 0xE04040},
    {0x200020, 0x400040, 0x800080, 0xC020C0, 0xE040E0}, {0x202000, 0x404000, 0x808000, 0xC0C020, 0xE0E040},
    {0x202080, 0x4040C0, 0x0000FF, 0xC0C0FF, 0xE0E0FF}, {0x208020, 0x40C040, 0x00FF00, 0xC0FFC0, 0xE0FFE0},
    {0x208080, 0x40C0C0, 0x00FFFF, 0xC0FFFF, 0xE0FFFF}, {0x802020, 0xC04040, 0xFF0000, 0xFFC0C0, 0xFFE0E0},
    {0x802080, 0xC040C0, 0xFF00FF, 0xFFC0FF, 0xFFE0FF}, {0x808020, 0xC0C040, 0xFFFF00, 0xFFFFC0, 0xFFFFE0},
};

// Extra dark paints every pixel; the others are diagonal screens of 6, 4, 2
// and 1 pixels in 8 (the byte moves one pixel per row).
const uint8_t abExDark[4] = {0xFF, 0x00, 0x00, 0x00};
const uint8_t abDark[4] = {0x77, 0xBB, 0xDD, 0xEE};
const uint8_t abMedium[4] = {0xCC, 0x66, 0x33, 0x99};
const uint8_t abLight[4] = {0xAA, 0x55, 0xAA, 0x55};
const uint8_t abExLight[4] = {0x88, 0x44, 0x22, 0x11};

namespace {

struct ShadePattern {
    const uint8_t* bytes;
    uint32_t used;  // bytes of the pattern that rotate (1 for extra dark)
};

ShadePattern PatternOf(int shade) {
    switch (shade) {
        case 0: return {abExDark, 1};
        case 1: return {abDark, 4};
        case 3: return {abLight, 4};
        case 4: return {abExLight, 4};
        default: return {abMedium, 4};
    }
}

constexpr uint32_t kWatermarkTag = 0x01000000;

// Paints the pixels of one row whose bit is set in `paint(n)` (pixel n of
// the request). Pixels are written directly, without a raster operation.
template <typename PaintMask>
void PaintRow(const RenderPage& page, uint8_t* dest, uint32_t width, uint32_t colour, PaintMask paint) {
    if (page.isColour) {
        const uint32_t pixel = (colour & 0xFFFFFF) | kWatermarkTag;
        for (uint32_t byte = 0; byte * 8 < width; ++byte) {
            const uint8_t bits = paint(byte);
            if (!bits) continue;
            const uint32_t end = std::min(width, byte * 8 + 8);
            for (uint32_t n = byte * 8; n < end; ++n) {
                if (bits & (0x80 >> (n & 7))) std::memcpy(dest + size_t{n} * 4, &pixel, 4);
            }
        }
    } else {
        const uint8_t grey = static_cast<uint8_t>(colour);
        for (uint32_t byte = 0; byte * 8 < width; ++byte) {
            const uint8_t bits = paint(byte);
            if (!bits) continue;
            const uint32_t end = std::min(width, byte * 8 + 8);
            for (uint32_t n = byte * 8; n < end; ++n) {
                if (bits & (0x80 >> (n & 7))) dest[n] = grey;
            }
        }
    }
}

// Shared walk of both drawers; `mask` is null for DrawWaterMarkHD.
void DrawWaterMark(const RenderPage& page, const BandWindow& window, TRect* req, const uint8_t* mask) {
    if (req->xs > window.bandRight) return;
    const uint32_t xe = std::min(req->xe, window.bandRight);
    if (xe < req->xs) return;
    const uint32_t width = xe - req->xs;
    const uint32_t maskStride = MaskStride(req->xe - req->xs);
    const ShadePattern pattern = PatternOf(FindShadowId(req));
    const uint32_t k = pattern.used;
    for (uint32_t i = 0; i < req->rows; ++i) {
        const uint32_t y = req->row + i;
        // k is 1 or 4, a divisor of 2^32, so the unsigned difference wraps
        // to the right residue.
        const uint8_t rowByte = pattern.bytes[((y % k) - (req->xs % k)) % k];
        uint8_t* dest = req->dest + size_t{i} * req->destStride;
        if (mask) {
            const uint8_t* maskRow = mask + size_t{i} * maskStride;
            PaintRow(page, dest, width, req->colour,
                     [&](uint32_t byte) { return static_cast<uint8_t>(rowByte & maskRow[byte]); });
        } else {
            PaintRow(page, dest, width, req->colour, [&](uint32_t) { return rowByte; });
        }
    }
}

}  // namespace

int FindShadowId(const TRect* req) {
    for (const auto& family : adwWMColors) {
        for (int shade = 0; shade < kWMShades; ++shade) {
            if (family[shade] == req->colour) return shade;
        }
    }
    return kWMShadeMedium;
}

void DrawWaterMarkHD(const RenderPage& page, const BandWindow& window, TRect* req) {
    DrawWaterMark(page, window, req, nullptr);
}

void DrawWaterMarkSHD(const RenderPage& page, const BandWindow& window, TRect* req) {
    if (!req->bits) return;
    DrawWaterMark(page, window, req, req->bits);
}
