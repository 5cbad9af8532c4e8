// The offset-table coder of band planes (compression code 0x11): runs of bytes
// become copies from one of 64 back-reference distances, which an analysis of
// the band picks by sampling; everything else goes out as literal runs.
//
// Block layout (32-bit words little-endian):
//     0  magic 0x09ABCDEF
//     4  L, the number of leading literal bytes (0..128), or -1 for the raw form
//     8  64 distances, 16-bit little-endian (distance k is entry k)
//   136  the first L data bytes
// 136+L  tokens until the data is consumed:
//        literal run  0nnnnnnn + (n + 1) bytes                    (1..128 bytes)
//        copy         1mmmmmmm MMkkkkkk   m = length - 3 in 9 bits (M = m8 m7),
//                     k = distance index: repeat length bytes from distance k back
// The data is the plane transposed into byte columns when both dimensions
// exceed 1, otherwise the plane as it is. The raw form holds the plane in
// natural order right behind the 8-byte header.
#pragma once

#include <cstdint>

#include "pipeline/compress_cursor.h"

constexpr uint32_t kFBBMagic = 0x09ABCDEF;
constexpr int kFBBDistanceCount = 64;
constexpr uint32_t kFBBMaxDistance = 2048;  // farthest distance the analysis tries
constexpr uint32_t kFBBMinCopy = 3;
constexpr uint32_t kFBBMaxCopy = 514;  // 3 + the largest 9-bit m
constexpr uint32_t kFBBMaxLiteralRun = 128;
constexpr uint32_t kFBBMaxLeadingLiterals = 128;
constexpr uint32_t kFBBTableBytes = kFBBDistanceCount * 2;
constexpr uint32_t kFBBDataOffset = kCompressHeaderSize + kFBBTableBytes;  // 136

// The distances and copy lengths the analysis chose. Bands that skip the
// analysis reuse those of an earlier band of the same document, so every
// document keeps its own tables (two documents may print at once in one
// spooler process).
struct FBCompressTables {
    // Entry k is minus distance k (-1 .. -2048); entry 0 == 0: not built yet.
    int32_t xFX_rFXOffs[kFBBDistanceCount] = {};
    // Entry k: a copy this long from distance k ends the search for a longer one.
    uint16_t xFX_MaxMatchCnts[kFBBDistanceCount] = {};

    bool IsBuilt() const { return xFX_rFXOffs[0] != 0; }
};

// Rebuilds the tables from size x count bytes of data: the 64 distances that
// repeat most often at the sampled positions (equal counts: shorter distance
// first) and the copy lengths that the parameter asks for. Returns 0.
int iFindXFXOffs(const uint8_t* data, uint32_t size, uint32_t count, uint8_t parameter,
                 FBCompressTables* tables);

// Codes size x count bytes behind the cursor: distance table, leading
// literals (their number goes to header word 2), tokens. Returns 0, or
// kCompressGiveUp when the output passes 3/4 of the input.
int iCSTFBB_WriteBiLLine(CompressCursor* cursor, const uint8_t* data, uint32_t size, uint32_t count,
                         const FBCompressTables& tables);

void iCSTFBB_Reset(CompressCursor* cursor, uint8_t* out);
void iCSTFBB_AdvancePointer(CompressCursor* cursor, uint32_t bytes);
uint32_t iCSTFBB_DataSize(const CompressCursor& cursor);  // bytes from the header on
void iFBBCopyData(CompressCursor* cursor, const uint8_t* data, uint32_t size);

// Writes the offset-table block of a plane of width x lines bytes to out
// (room for width x lines + 1024 bytes) and returns its size, header
// included. work receives the transposed plane (width x lines bytes); without
// it a plane that needs transposing is sent in the raw form. The analysis
// runs when parameter is not 0 or the tables are not built yet.
uint32_t XORFBB_BMP_Data_En(uint8_t* out, const uint8_t* data, uint32_t width, uint32_t lines, uint8_t* work,
                            uint8_t parameter, FBCompressTables* tables);
