#include "pipeline/transpose.h"

#include <algorithm>
#include <bit>
#include <cstring>

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
    for (uint32_t tile = 0; tile < width; tile += kTileColumns) {
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
