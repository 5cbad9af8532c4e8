// How the raster kernels read and write band pixels, brushes and masks.
// Grey and colour bands differ only in the pixel traits, so every kernel is a
// template over them; whether P comes from a brush or is one solid colour is
// a template parameter too, so the pixel loops hold no such decision.
#pragma once

#include <cstdint>
#include <cstring>

#include "engine/raster_ops.h"

namespace rop {

// 8-bit whiteness.
struct GreyPixels {
    using Value = uint8_t;
    static constexpr uint32_t kBytes = 1;
    static constexpr bool kTagged = false;
};

// 0xTTRRGGBB: the ROP works on the low 24 bits, TT is the object-class tag.
struct ColourPixels {
    using Value = uint32_t;
    static constexpr uint32_t kBytes = 4;
    static constexpr bool kTagged = true;
    static constexpr uint32_t kColourBits = 0x00FFFFFF;
    static constexpr uint32_t kTagBits = 0xFF000000;
};

// Band and brush buffers are byte arrays; copying through memcpy keeps the
// accesses well defined and compiles to plain loads and stores.
template <class Px>
inline typename Px::Value LoadPixel(const uint8_t* at) {
    typename Px::Value value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

template <class Px>
inline void StorePixel(uint8_t* at, typename Px::Value value) {
    std::memcpy(at, &value, sizeof value);
}

// The current tag of colour pixels, already in the top byte.
inline uint32_t CurrentTag(const RenderState& state) {
    return uint32_t(state.textObject ? kObjectTagText : kObjectTagOther) << 24;
}

// One solid colour for every pixel.
template <class Px>
struct SolidPattern {
    typename Px::Value colour;

    void StartRow(uint32_t /*pageRow*/) {}
    typename Px::Value At(uint32_t /*x*/) const { return colour; }
};

// A 32 x 32 brush anchored to the page. The brush row is chosen once per
// band row; along the row the brush column wraps with a mask, never a
// division.
template <class Px>
struct BrushPattern {
    const uint8_t* brush;
    uint32_t firstColumn;  // page column of x = 0
    const uint8_t* row = nullptr;

    void StartRow(uint32_t pageRow) {
        row = brush + (pageRow & (kBrushSide - 1)) * kBrushSide * Px::kBytes;
    }
    typename Px::Value At(uint32_t x) const {
        return LoadPixel<Px>(row + ((firstColumn + x) & (kBrushSide - 1)) * Px::kBytes);
    }
};

// The part of a request a kernel paints, after the cut at the band's right
// edge.
struct KernelArea {
    uint8_t* dest;
    uint32_t destStride;
    uint32_t width;
    uint32_t rows;
    uint32_t firstRow;     // page row of the first band row
    uint32_t firstColumn;  // page column of the first pixel
    const uint8_t* mask;   // null for a solid fill
    uint32_t maskStride;   // of the uncut request
};

// Cuts the request at the band's last column (which is never painted) and
// returns false when nothing remains.
inline bool PrepareArea(const RenderState& state, const TRect& req, KernelArea* area) {
    if (req.xs > state.bandRight) return false;
    const uint32_t xe = req.xe < state.bandRight ? req.xe : state.bandRight;
    if (req.xs >= xe) return false;
    *area = KernelArea{req.dest,  req.destStride, xe - req.xs, req.rows, req.row,
                       req.xs,    req.bits,       MaskStride(req.xe - req.xs)};
    return true;
}

// Calls visit(x, bit) for x = 0 .. width-1 with bit 1 where the mask bit is
// set, reading the mask a byte (eight pixels) at a time, most significant bit
// first.
template <class Visit>
inline void WalkMaskRow(const uint8_t* mask, uint32_t width, Visit&& visit) {
    const uint32_t wholeBytes = width / 8;
    uint32_t x = 0;
    for (uint32_t i = 0; i < wholeBytes; ++i, x += 8) {
        const uint32_t bits = mask[i];
        visit(x + 0, (bits >> 7) & 1u);
        visit(x + 1, (bits >> 6) & 1u);
        visit(x + 2, (bits >> 5) & 1u);
        visit(x + 3, (bits >> 4) & 1u);
        visit(x + 4, (bits >> 3) & 1u);
        visit(x + 5, (bits >> 2) & 1u);
        visit(x + 6, (bits >> 1) & 1u);
        visit(x + 7, bits & 1u);
    }
    if (x < width) {
        const uint32_t bits = mask[wholeBytes];
        for (uint32_t shift = 7; x < width; ++x, --shift) visit(x, (bits >> shift) & 1u);
    }
}

// All ones where the mask bit is set (bit = 1), else zero.
template <class T>
constexpr T SpreadBit(uint32_t bit) {
    return T(T(0) - T(bit));
}

}  // namespace rop
