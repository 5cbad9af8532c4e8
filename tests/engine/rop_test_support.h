// Test helpers for the raster operations: an independent ROP3 reference, a
// small band with a rendering state, and a deterministic pseudo-random source.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "engine/raster_ops.h"
#include "engine/render_state.h"
#include "support/xorshift.h"

namespace roptest {

// The ROP3 definition taken literally, one bit at a time: output bit i is
// bit (4p + 2s + d) of the code, where p, s, d are bit i of the operands.
template <class T>
T ReferenceRop3(uint8_t code, T s, T p, T d) {
    T out = 0;
    for (unsigned i = 0; i < sizeof(T) * 8; ++i) {
        const unsigned pi = (p >> i) & 1u, si = (s >> i) & 1u, di = (d >> i) & 1u;
        if ((code >> (4 * pi + 2 * si + di)) & 1u) out = T(out | (T(1) << i));
    }
    return out;
}

// Whether the code's result changes with S (or P) for some single-bit
// operands, found by trying them all through the reference.
inline bool ReferenceUsesSource(uint8_t code) {
    for (uint8_t p = 0; p < 2; ++p)
        for (uint8_t d = 0; d < 2; ++d)
            if (ReferenceRop3<uint8_t>(code, 0, p, d) != ReferenceRop3<uint8_t>(code, 1, p, d)) return true;
    return false;
}

inline bool ReferenceUsesPattern(uint8_t code) {
    for (uint8_t s = 0; s < 2; ++s)
        for (uint8_t d = 0; d < 2; ++d)
            if (ReferenceRop3<uint8_t>(code, s, 0, d) != ReferenceRop3<uint8_t>(code, s, 1, d)) return true;
    return false;
}

using Random = zebl_test::XorShift32;

// A render band of `rowPixels` x `rows` pixels whose first row is page row
// `top`, with a RenderState set up as the page printer and DoRender would.
struct TestBand {
    RenderState state;
    std::vector<uint8_t> pixels;

    TestBand(bool colour, uint32_t top, uint32_t rows, uint32_t rowPixels) {
        state.page.isColour = colour ? 1 : 0;
        state.page.bitsPerPixel = colour ? 32 : 8;
        state.page.rowPixels = rowPixels;
        state.page.bytesPerRow = rowPixels * state.page.bitsPerPixel / 8;
        state.page.dwordsPerRow = state.page.bytesPerRow / 4;
        state.window.bandTop = top;
        state.window.bandBottom = top + rows - 1;
        state.window.bandLeft = 0;
        state.window.bandRight = rowPixels - 1;
        state.window.clipLeft = 0;
        state.window.clipRight = rowPixels - 1;
        state.window.bandRows = rows;
        pixels.assign(size_t(state.page.bytesPerRow) * rows, 0xFF);
        state.window.band = pixels.data();
    }

    TestBand(const TestBand&) = delete;
    TestBand& operator=(const TestBand&) = delete;

    uint32_t BytesPerPixel() const { return state.page.isColour ? 4 : 1; }

    uint32_t Pixel(uint32_t pageRow, uint32_t col) const { return PixelIn(pixels, pageRow, col); }

    // A pixel of a saved copy of the band's pixels.
    uint32_t PixelIn(const std::vector<uint8_t>& saved, uint32_t pageRow, uint32_t col) const {
        const uint8_t* at = saved.data() + (PixelAddress(pageRow, col) - pixels.data());
        if (!state.page.isColour) return *at;
        uint32_t v;
        std::memcpy(&v, at, 4);
        return v;
    }

    void SetPixel(uint32_t pageRow, uint32_t col, uint32_t value) {
        uint8_t* at = const_cast<uint8_t*>(PixelAddress(pageRow, col));
        if (!state.page.isColour) *at = uint8_t(value);
        else std::memcpy(at, &value, 4);
    }

    void FillRandom(Random& random) {
        for (uint32_t r = 0; r < state.window.bandRows; ++r)
            for (uint32_t c = 0; c < state.page.rowPixels; ++c)
                SetPixel(state.window.bandTop + r, c, random.Next());
    }

    // A request as DoRender hands it to a kernel (already inside the band rows).
    TRect Request(uint32_t pageRow, uint32_t xs, uint32_t xe, uint32_t rows, const uint8_t* mask) {
        TRect req;
        req.row = pageRow;
        req.xs = xs;
        req.xe = xe;
        req.rows = rows;
        req.bits = mask;
        req.brush = state.reg.brush;
        req.colour = state.reg.colour;
        req.dest = const_cast<uint8_t*>(PixelAddress(pageRow, xs));
        req.destStride = state.page.bytesPerRow;
        return req;
    }

    // Runs the kernel the current selection chose.
    void Draw(TRect req) { state.reg.pfRenderFunc(state.page, state.window, state.reg, &req); }

private:
    const uint8_t* PixelAddress(uint32_t pageRow, uint32_t col) const {
        return pixels.data() + size_t(pageRow - state.window.bandTop) * state.page.bytesPerRow +
               size_t(col) * BytesPerPixel();
    }
};

// Bit `x` of a mask row, most significant bit first.
inline bool MaskBit(const uint8_t* row, uint32_t x) { return (row[x / 8] >> (7 - x % 8)) & 1u; }

}  // namespace roptest
