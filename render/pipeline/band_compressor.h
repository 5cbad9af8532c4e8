// Compression of one screened band plane for its band record: picks the coder
// and, for the offset-table coder, whether and how the distance analysis runs.
#pragma once

#include <cstdint>

#include "pipeline/offset_table_coder.h"

// Compression codes of a band record's plane.
constexpr uint8_t kBandCodeRaw = 0x0A;
constexpr uint8_t kBandCodeOffsetTable = 0x11;
constexpr uint8_t kBandCodeLzw = 0x12;

// Buffer sizes a band of width x lines bytes needs: the compressed block and
// the coders' work area (LZW hash table plus a transposed copy).
constexpr uint32_t kCompressOutSlack = 1024;
constexpr uint32_t kCompressWorkSlack = 67584;
constexpr uint32_t CompressOutBytes(uint32_t width, uint32_t lines) {
    return width * lines + kCompressOutSlack;
}
constexpr uint32_t CompressWorkBytes(uint32_t width, uint32_t lines) {
    return width * lines + kCompressWorkSlack;
}

// The offset-table coder's parameter for a band: 100 (fresh analysis, full
// copy lengths) at 1200 dpi; else 10 for the first and the last band of the
// page, 50 for every fourth band (index mod 4 == 3), and 0 (reuse the tables
// of the previous analysis) for the others.
uint8_t FBCompressParameter(uint32_t bandIndex, uint32_t bandCount, uint32_t resolution);

// Compresses the plane (lines rows of width bytes) into out, which holds
// CompressOutBytes; work holds CompressWorkBytes and is 2-byte aligned.
// Bands whose rows hold only text and lines (objectFlag) use LZW on the
// transposed plane, code 0x12; others the offset-table coder, code 0x11, with
// this document's tables. Returns the block size. The block may be the raw
// form or not smaller than the plane; the caller then sends the plane itself
// with code 0x0A.
uint32_t CompressOneBand(uint8_t* out, const uint8_t* plane, uint32_t bandIndex, uint32_t bandCount,
                         uint32_t lines, uint32_t width, uint8_t* work, uint8_t* codeOut, uint32_t resolution,
                         bool objectFlag, FBCompressTables* tables);
