// Shared by the halftone tests: the list of threshold matrices and plain
// per-pixel screeners (modulo per pixel, one bit at a time) that the fast
// screeners must match.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "engine/halftone.h"
#include "engine/threshold_matrices.h"

namespace halftone_test {

enum class Values { ZeroCapped, Fine, Distinct };

struct MatrixEntry {
    const char* name;
    const uint8_t* table;
    uint32_t width;  // square matrices: height == width
    Values values;
};

#define HT_ENTRY(table, kind) \
    MatrixEntry { #table, table, static_cast < uint32_t>(sqrtOf(sizeof(table))), Values::kind }

constexpr uint32_t sqrtOf(size_t n) {
    uint32_t r = 0;
    while (static_cast<size_t>(r + 1) * (r + 1) <= n) ++r;
    return r;
}

// In the order of the generator's designs.
inline const std::vector<MatrixEntry>& AllMatrices() {
    static const std::vector<MatrixEntry> list = {
        HT_ENTRY(MaskNormal600K, ZeroCapped), HT_ENTRY(MaskNormal600C, ZeroCapped),
        HT_ENTRY(MaskNormal600M, ZeroCapped), HT_ENTRY(MaskNormal600Y, ZeroCapped),
        HT_ENTRY(MaskText600K, Fine),         HT_ENTRY(MaskText600C, Fine),
        HT_ENTRY(MaskText600M, Fine),         HT_ENTRY(MaskText600Y, Fine),
        HT_ENTRY(MaskPhoto600K, Distinct),    HT_ENTRY(MaskPhoto600C, Distinct),
        HT_ENTRY(MaskPhoto600M, Distinct),    HT_ENTRY(MaskPhoto600Y, Distinct),
        HT_ENTRY(Mask1200K, ZeroCapped),      HT_ENTRY(Mask1200C, ZeroCapped),
        HT_ENTRY(Mask1200M, ZeroCapped),      HT_ENTRY(Mask1200Y, ZeroCapped),
    };
    return list;
}
#undef HT_ENTRY

// A grey screen that screens with one given matrix.
inline FBScreen SingleMatrixScreen(const uint8_t* table, uint32_t width, uint32_t height) {
    FBScreen screen;
    screen.plane[kScreenBlack] = FBScreenPlane{width, height, width * height, table};
    return screen;
}

// Whether a pixel of the given whiteness gets a dot against a threshold.
// White paper never takes ink.
inline bool Dot(uint8_t whiteness, uint8_t threshold) { return whiteness != 255 && whiteness <= threshold; }

inline uint8_t Threshold(const FBScreenPlane& plane, uint64_t pageRow, uint32_t x) {
    return plane.table[(pageRow % plane.height) * plane.width + x % plane.width];
}

inline bool AllWhite(const uint8_t* bytes, size_t n) {
    for (size_t i = 0; i < n; ++i) {
        if (bytes[i] != 255) return false;
    }
    return true;
}

inline void ReferenceMaskBand8(const FBScreen& screen, uint8_t* dst, uint32_t dstStride, const uint8_t* src,
                               uint32_t firstRow, uint32_t pixelsPerRow, uint32_t rows, uint8_t* blank) {
    std::memset(blank, 1, 4);
    const FBScreenPlane& plane = screen.plane[kScreenBlack];
    for (uint32_t r = 0; r < rows; ++r) {
        for (uint32_t x = 0; x < pixelsPerRow; x += 8) {
            const uint8_t* group = src + static_cast<size_t>(r) * pixelsPerRow + x;
            if (AllWhite(group, 8)) continue;
            uint8_t byte = 0xFF;
            for (uint32_t j = 0; j < 8; ++j) {
                if (Dot(group[j], Threshold(plane, uint64_t{firstRow} + r, x + j))) {
                    byte &= static_cast<uint8_t>(~(0x80u >> j));
                    blank[0] = 0;
                }
            }
            dst[static_cast<size_t>(r) * dstStride + x / 8] = byte;
        }
    }
}

inline void ReferenceMaskBand32(const FBScreen& screen, uint8_t* dst, uint32_t planeOffset,
                                uint32_t dstStride, const uint8_t* src, uint32_t firstRow,
                                uint32_t pixelsPerRow, uint32_t rows, uint8_t* blank) {
    std::memset(blank, 1, 4);
    // Output plane order cyan, magenta, yellow, black; pixel byte order
    // yellow, magenta, cyan, black.
    const uint32_t screenPlaneOf[4] = {kScreenCyan, kScreenMagenta, kScreenYellow, kScreenBlack};
    const uint32_t pixelByteOf[4] = {2, 1, 0, 3};
    for (uint32_t r = 0; r < rows; ++r) {
        for (uint32_t x = 0; x < pixelsPerRow; x += 8) {
            const uint8_t* group = src + (static_cast<size_t>(r) * pixelsPerRow + x) * 4;
            if (AllWhite(group, 32)) continue;
            uint8_t bytes[4] = {0xFF, 0xFF, 0xFF, 0xFF};
            for (uint32_t j = 0; j < 8; ++j) {
                bool dot[4];
                for (int p = 0; p < 4; ++p) {
                    dot[p] = Dot(group[4 * j + pixelByteOf[p]],
                                 Threshold(screen.plane[screenPlaneOf[p]], uint64_t{firstRow} + r, x + j));
                }
                if (dot[0] && dot[1] && dot[2] && dot[3]) dot[2] = false;  // no yellow under full ink
                for (int p = 0; p < 4; ++p) {
                    if (!dot[p]) continue;
                    bytes[p] &= static_cast<uint8_t>(~(0x80u >> j));
                    blank[p] = 0;
                }
            }
            for (int p = 0; p < 4; ++p)
                dst[static_cast<size_t>(p) * planeOffset + static_cast<size_t>(r) * dstStride + x / 8] =
                    bytes[p];
        }
    }
}

// Number of dots (0 bits) in a plane buffer.
inline size_t CountDots(const std::vector<uint8_t>& plane) {
    size_t dots = 0;
    for (uint8_t b : plane) {
        for (int bit = 0; bit < 8; ++bit) dots += ((b >> bit) & 1) == 0;
    }
    return dots;
}

}  // namespace halftone_test
