// The two band coders written plainly from the format, with none of the
// library's shortcuts: the oracles the fast coders are held against.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "compression_planes.h"

// LZW code stream of `in` (no block header); kCompressGiveUp when the codes
// pass three quarters of the input.
int32_t PlainLzw(const Bytes& in, Bytes* out);

// The whole LZW block (header included) of a plane, transposed when both
// dimensions exceed 1.
Bytes PlainLzwBlock(const Bytes& plane, uint32_t width, uint32_t lines);

// The plane in byte columns, by the definition of the transposition.
Bytes PlainTransposed(const Bytes& plane, uint32_t width, uint32_t lines);

// The distances and copy lengths a plain offset-table coder keeps between
// the bands of a page.
struct PlainOffsetTables {
    std::array<uint32_t, 64> distances{};
    std::array<uint32_t, 64> maxCounts{};
    bool built = false;
};

// The whole offset-table block (header included) of a plane of width x
// lines bytes, analysed when parameter is not 0 or nothing was analysed yet.
Bytes PlainOffsetTableBlock(const Bytes& plane, uint32_t width, uint32_t lines, uint8_t parameter,
                            PlainOffsetTables* tables);
