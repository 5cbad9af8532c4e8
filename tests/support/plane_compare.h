// Comparisons of decoded planes with what a test expects, dot by dot. A
// mismatch is described so that a failure shows where to look: how many
// dots differ, the first one, and the rows and columns the differences span.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "decode/page_plane.h"

namespace zebl_test {

// How the plane's top-left width x height dots differ from expected(x, y)
// (true: a dot), or "" when they do not.
template <typename Expected>
std::string CompareDots(const PagePlane& plane, uint32_t width, uint32_t height, Expected expected) {
    uint64_t differences = 0, extra = 0;
    uint32_t firstX = 0, firstY = 0, left = UINT32_MAX, right = 0, top = UINT32_MAX, bottom = 0;
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
            const bool dot = plane.Dot(x, y);
            if (dot == static_cast<bool>(expected(x, y))) continue;
            if (differences++ == 0) {
                firstX = x;
                firstY = y;
            }
            extra += dot ? 1 : 0;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    if (differences == 0) return "";
    return std::to_string(differences) + " dots differ (" + std::to_string(extra) + " unexpected, " +
           std::to_string(differences - extra) + " missing), first at (" + std::to_string(firstX) + ", " +
           std::to_string(firstY) + ") which has " + (plane.Dot(firstX, firstY) ? "a dot" : "no dot") +
           "; differences span rows " + std::to_string(top) + ".." + std::to_string(bottom) + ", columns " +
           std::to_string(left) + ".." + std::to_string(right);
}

// Whether dot x of row y of a packed plane of rowBytes a row is inked: a
// 0 bit is a dot, as the printer takes it, leftmost dot in the high bit.
inline bool PackedDot(const uint8_t* plane, uint32_t rowBytes, uint32_t x, uint32_t y) {
    return (plane[size_t{y} * rowBytes + x / 8] & (0x80 >> (x % 8))) == 0;
}

// Dots of a plane inside a rectangle (right and bottom exclusive).
inline uint64_t DotsIn(const PagePlane& plane, uint32_t left, uint32_t top, uint32_t right, uint32_t bottom) {
    uint64_t dots = 0;
    for (uint32_t y = top; y < bottom; ++y)
        for (uint32_t x = left; x < right; ++x) dots += plane.Dot(x, y) ? 1 : 0;
    return dots;
}

}  // namespace zebl_test
