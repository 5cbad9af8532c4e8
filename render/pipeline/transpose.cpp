#include "pipeline/transpose.h"

#include <algorithm>
#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

static_assert(std::endian::native == std::endian::little,
              "the word-wise transposes assume little-endian byte order");

namespace {

uint32_t LoadWord(const uint8_t* p) {
    uint32_t w;
    std::memcpy(&w, p, sizeof w);
    return w;
}

void StoreWord(uint8_t* p, uint32_t w) { std::memcpy(p, &w, sizeof w); }

// Columns per tile of the block transposition: a tile's source (its columns
// of every line) and its destination (those columns, all lines) both stay
// within the first-level cache for bands up to 128 lines, instead of every
// group of four lines writing across the whole transposed plane.
constexpr uint32_t kTileColumns = 64;

// Transposes the 4 x 4 bytes at rows (four rows stride apart, columns from
// 0) into four columns of `column`, lines apart.
inline void Transpose4x4(uint8_t* column, size_t lines, const uint8_t* rows, size_t stride) {
    // r<n> holds row n, columns 0..3 (column 0 in the low byte).
    const uint32_t r0 = LoadWord(rows);
    const uint32_t r1 = LoadWord(rows + stride);
    const uint32_t r2 = LoadWord(rows + 2 * stride);
    const uint32_t r3 = LoadWord(rows + 3 * stride);
    // Interleave pairs of rows: t0 = r0[0] r1[0] r0[2] r1[2],
    // t1 = r0[1] r1[1] r0[3] r1[3], and t2, t3 the same for rows 2, 3.
    const uint32_t t0 = (r0 & 0x00FF00FFu) | ((r1 << 8) & 0xFF00FF00u);
    const uint32_t t1 = ((r0 >> 8) & 0x00FF00FFu) | (r1 & 0xFF00FF00u);
    const uint32_t t2 = (r2 & 0x00FF00FFu) | ((r3 << 8) & 0xFF00FF00u);
    const uint32_t t3 = ((r2 >> 8) & 0x00FF00FFu) | (r3 & 0xFF00FF00u);
    // Then pairs of halves: column c gets r0[c] r1[c] r2[c] r3[c].
    StoreWord(column, (t0 & 0xFFFFu) | (t2 << 16));
    StoreWord(column + lines, (t1 & 0xFFFFu) | (t3 << 16));
    StoreWord(column + 2 * lines, (t0 >> 16) | (t2 & 0xFFFF0000u));
    StoreWord(column + 3 * lines, (t1 >> 16) | (t3 & 0xFFFF0000u));
}

#if defined(__SSE2__)
// Transposes 16 x 16 bytes: rows `stride` apart from `rows` become columns
// `lines` apart from `column`, in four rounds of interleaving (bytes, then
// pairs, fours and eights of them).
void Transpose16x16(uint8_t* column, size_t lines, const uint8_t* rows, size_t stride) {
    __m128i r[16];
    for (size_t i = 0; i < 16; ++i)
        r[i] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows + i * stride));
    // Rows 2k and 2k + 1 byte by byte: columns 0..7 (low) and 8..15 (high).
    __m128i low[8], high[8];
    for (int k = 0; k < 8; ++k) {
        low[k] = _mm_unpacklo_epi8(r[2 * k], r[2 * k + 1]);
        high[k] = _mm_unpackhi_epi8(r[2 * k], r[2 * k + 1]);
    }
    // Rows 4g .. 4g + 3 of four columns each: quad[g][c] holds columns
    // 4c .. 4c + 3.
    __m128i quad[4][4];
    for (int g = 0; g < 4; ++g) {
        quad[g][0] = _mm_unpacklo_epi16(low[2 * g], low[2 * g + 1]);
        quad[g][1] = _mm_unpackhi_epi16(low[2 * g], low[2 * g + 1]);
        quad[g][2] = _mm_unpacklo_epi16(high[2 * g], high[2 * g + 1]);
        quad[g][3] = _mm_unpackhi_epi16(high[2 * g], high[2 * g + 1]);
    }
    // Rows 8h .. 8h + 7 of two columns each: pair[h][p] holds columns 2p, 2p + 1.
    __m128i pair[2][8];
    for (int h = 0; h < 2; ++h) {
        for (int c = 0; c < 4; ++c) {
            pair[h][2 * c] = _mm_unpacklo_epi32(quad[2 * h][c], quad[2 * h + 1][c]);
            pair[h][2 * c + 1] = _mm_unpackhi_epi32(quad[2 * h][c], quad[2 * h + 1][c]);
        }
    }
    for (size_t p = 0; p < 8; ++p) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(column + 2 * p * lines),
                         _mm_unpacklo_epi64(pair[0][p], pair[1][p]));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(column + (2 * p + 1) * lines),
                         _mm_unpackhi_epi64(pair[0][p], pair[1][p]));
    }
}
#endif

}  // namespace

void iTranspose0(uint8_t* dst, const uint8_t* src, uint32_t width, uint32_t lines) {
    for (uint32_t j = 0; j < lines; ++j) {
        const uint8_t* row = src + static_cast<size_t>(j) * width;
        uint8_t* column = dst + j;
        for (uint32_t i = 0; i < width; ++i) {
            *column = row[i];
            column += lines;
        }
    }
}

void iTranspose1(uint8_t* dst, const uint8_t* src, uint32_t width, uint32_t lines) {
    const size_t columnStep = lines;
    for (uint32_t j = 0; j < lines; ++j) {
        const uint8_t* row = src + static_cast<size_t>(j) * width;
        uint8_t* column = dst + j;
        for (uint32_t i = 0; i < width; i += 4) {
            const uint32_t w = LoadWord(row + i);  // columns i..i+3, column i in the low byte
            column[0] = static_cast<uint8_t>(w);
            column[columnStep] = static_cast<uint8_t>(w >> 8);
            column[2 * columnStep] = static_cast<uint8_t>(w >> 16);
            column[3 * columnStep] = static_cast<uint8_t>(w >> 24);
            column += 4 * columnStep;
        }
    }
}

void iTranspose2(uint8_t* dst, const uint8_t* src, uint32_t width, uint32_t lines) {
    const size_t stride = width;
    uint32_t first = 0;  // the first column left for the 4 x 4 blocks
#if defined(__SSE2__)
    if (lines % 16 == 0) {
        first = width - width % 16;
        for (uint32_t tile = 0; tile < first; tile += kTileColumns) {
            const uint32_t tileEnd = std::min(first, tile + kTileColumns);
            for (uint32_t j = 0; j < lines; j += 16) {
                const uint8_t* rows = src + j * stride;
                for (uint32_t i = tile; i < tileEnd; i += 16)
                    Transpose16x16(dst + static_cast<size_t>(i) * lines + j, lines, rows + i, stride);
            }
        }
    }
#endif
    for (uint32_t tile = first; tile < width; tile += kTileColumns) {
        const uint32_t tileEnd = std::min(width, tile + kTileColumns);
        for (uint32_t j = 0; j < lines; j += 4) {
            const uint8_t* rows = src + j * stride;
            for (uint32_t i = tile; i < tileEnd; i += 4)
                Transpose4x4(dst + static_cast<size_t>(i) * lines + j, lines, rows + i, stride);
        }
    }
}

void iiTranspose(uint8_t* dst, const uint8_t* src, uint32_t width, uint32_t lines) {
    const bool wideInWords = width % 4 == 0;
    if (wideInWords && lines % 4 == 0) {
        iTranspose2(dst, src, width, lines);
    } else if (wideInWords) {
        iTranspose1(dst, src, width, lines);
    } else {
        iTranspose0(dst, src, width, lines);
    }
}
