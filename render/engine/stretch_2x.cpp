// 2 x 2 pixel doubling for the 600 x 1200 mode: every pixel of a 600-dpi
// rendering row becomes two pixels of two printer rows. It runs over every
// pixel of every doubled band, so rows are doubled many pixels a step, with
// no per-pixel branch or call: with SSE2 (every 64-bit x86 build) 32
// grey or four colour pixels are interleaved with themselves in registers;
// otherwise (the 32-bit build, which must run on processors without SSE2)
// eight grey pixels are spread into sixteen bytes with shifts and masks and
// a colour pixel is written twice as one 64-bit word. The second row is a
// copy of the first.
#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "band_output.h"

namespace {

// The four bytes of v, each twice, in memory order (little-endian words):
// b0 b1 b2 b3 -> b0 b0 b1 b1 b2 b2 b3 b3.
uint64_t SpreadBytes(uint32_t v) {
    uint64_t y = v;
    y = (y | y << 16) & 0x0000FFFF0000FFFFull;
    y = (y | y << 8) & 0x00FF00FF00FF00FFull;
    return y | y << 8;
}

void DoubleGreyRow(uint8_t* dst, const uint8_t* src, uint32_t pixels) {
    uint32_t x = 0;
#if defined(__SSE2__)
    for (; x + 32 <= pixels; x += 32) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + x));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + x + 16));
        __m128i* out = reinterpret_cast<__m128i*>(dst + 2 * size_t{x});
        _mm_storeu_si128(out, _mm_unpacklo_epi8(a, a));
        _mm_storeu_si128(out + 1, _mm_unpackhi_epi8(a, a));
        _mm_storeu_si128(out + 2, _mm_unpacklo_epi8(b, b));
        _mm_storeu_si128(out + 3, _mm_unpackhi_epi8(b, b));
    }
#endif
    if constexpr (std::endian::native == std::endian::little) {
        for (; x + 8 <= pixels; x += 8) {
            uint32_t half[2];
            std::memcpy(half, src + x, 8);
            const uint64_t doubled[2] = {SpreadBytes(half[0]), SpreadBytes(half[1])};
            std::memcpy(dst + 2 * size_t{x}, doubled, 16);
        }
    }
    for (; x < pixels; ++x) dst[2 * size_t{x}] = dst[2 * size_t{x} + 1] = src[x];
}

void DoubleColourRow(uint8_t* dst, const uint8_t* src, uint32_t pixels) {
    uint32_t x = 0;
#if defined(__SSE2__)
    for (; x + 4 <= pixels; x += 4) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 4 * size_t{x}));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 8 * size_t{x}), _mm_unpacklo_epi32(v, v));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 8 * size_t{x} + 16), _mm_unpackhi_epi32(v, v));
    }
#endif
    for (; x < pixels; ++x) {
        uint32_t pixel;
        std::memcpy(&pixel, src + 4 * size_t{x}, 4);
        const uint64_t twice = uint64_t{pixel} << 32 | pixel;  // the same in either byte order
        std::memcpy(dst + 8 * size_t{x}, &twice, 8);
    }
}

}  // namespace

int MyStretch2X(uint8_t* dst, uint32_t n, uint32_t rows, const uint8_t* src, uint32_t bytesPerPixel) {
    if (dst == nullptr || src == nullptr || (bytesPerPixel != 1 && bytesPerPixel != 4)) return 0;
    void (*doubleRow)(uint8_t*, const uint8_t*, uint32_t) =
        bytesPerPixel == 1 ? DoubleGreyRow : DoubleColourRow;
    const uint32_t srcPixels = n / 2;
    const size_t srcRowBytes = size_t{srcPixels} * bytesPerPixel;
    const size_t dstRowBytes = size_t{n} * bytesPerPixel;
    for (uint32_t y = 0; y < rows / 2; ++y) {
        uint8_t* top = dst + 2 * y * dstRowBytes;
        doubleRow(top, src + y * srcRowBytes, srcPixels);
        std::memcpy(top + dstRowBytes, top, 2 * srcRowBytes);
    }
    return 1;
}
