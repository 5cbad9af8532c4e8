// Band planes and buffers for the compression tests: the printer's band
// shapes and the kinds of content a screened band holds.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "pipeline/band_compressor.h"
#include "support/byte_strings.h"

struct BandShape {
    uint32_t resolution;
    uint32_t width;  // bytes per line
    uint32_t lines;
};

inline const BandShape kBandShapes[] = {{300, 308, 64}, {600, 620, 128}, {1200, 1240, 128}};

using Bytes = std::vector<uint8_t>;

inline Bytes RandomPlane(uint32_t width, uint32_t lines, uint32_t seed) {
    std::mt19937 rng(seed);
    Bytes plane(size_t{width} * lines);
    for (uint8_t& b : plane) b = static_cast<uint8_t>(rng());
    return plane;
}

// A mid grey screened with a tiled 8 x 8 ordered dither (0 bit = dot).
inline Bytes DitherPlane(uint32_t width, uint32_t lines, int level) {
    static const int kBayer[8][8] = {{0, 32, 8, 40, 2, 34, 10, 42},  {48, 16, 56, 24, 50, 18, 58, 26},
                                     {12, 44, 4, 36, 14, 46, 6, 38}, {60, 28, 52, 20, 62, 30, 54, 22},
                                     {3, 35, 11, 43, 1, 33, 9, 41},  {51, 19, 59, 27, 49, 17, 57, 25},
                                     {15, 47, 7, 39, 13, 45, 5, 37}, {63, 31, 55, 23, 61, 29, 53, 21}};
    Bytes plane(size_t{width} * lines);
    for (uint32_t y = 0; y < lines; ++y) {
        uint8_t byte = 0;
        for (int bit = 0; bit < 8; ++bit) {
            byte = static_cast<uint8_t>(byte << 1 | (kBayer[y % 8][bit] < level ? 0 : 1));
        }
        for (uint32_t x = 0; x < width; ++x) plane[size_t{y} * width + x] = byte;
    }
    return plane;
}

inline Bytes SolidPlane(uint32_t width, uint32_t lines, uint8_t value) {
    return Bytes(size_t{width} * lines, value);
}

// White with a few scattered dots.
inline Bytes NearlyWhitePlane(uint32_t width, uint32_t lines, uint32_t seed) {
    Bytes plane = SolidPlane(width, lines, 0xFF);
    std::mt19937 rng(seed);
    for (int i = 0; i < 40; ++i) plane[rng() % plane.size()] &= static_cast<uint8_t>(~(1u << (rng() % 8)));
    return plane;
}

// Output and work buffers of the sizes the band printer provides.
struct CoderBuffers {
    explicit CoderBuffers(uint32_t width, uint32_t lines)
        : out(CompressOutBytes(width, lines)), work(CompressWorkBytes(width, lines)) {}
    Bytes out;
    Bytes work;
};

inline uint32_t LE32At(const Bytes& b, size_t at) {
    return uint32_t{b[at]} | uint32_t{b[at + 1]} << 8 | uint32_t{b[at + 2]} << 16 | uint32_t{b[at + 3]} << 24;
}

using zebl_test::Text;
