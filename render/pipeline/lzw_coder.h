// The LZW coder of band planes (compression code 0x12): 12-bit codes, a
// dictionary of 3840 strings that freezes when full, no clear or end code.
//
// Block layout (32-bit words little-endian):
//   0  magic 0x29ABCDEF (data transposed into byte columns) or 0x19ABCDEF
//   4  code-stream length in bytes, or -1 when the block holds the raw plane
//   8  the code stream, or the width x lines raw bytes in natural order
#pragma once

#include <cstdint>

#include "pipeline/compress_cursor.h"

constexpr uint32_t kLzwMagicTransposed = 0x29ABCDEF;
constexpr uint32_t kLzwMagicPlain = 0x19ABCDEF;

constexpr int32_t kCompressGiveUp = -3;  // output would pass 3/4 of the input

constexpr uint32_t kLzwHashSlots = 5021;  // a prime, so double hashing reaches every slot
constexpr uint16_t kLzwFirstCode = 256;   // codes 0..255 are the single bytes
constexpr uint16_t kLzwLastCode = 4095;   // the dictionary freezes after this one
constexpr uint16_t kLzwEmptySlot = 0xFFFF;

// One slot of the coder's hash table: the string (prefix code, next byte) and
// the code assigned to it. The table lives at the start of the work buffer.
struct LzwHashSlot {
    uint16_t code;
    uint16_t prefix;
    uint8_t byte;
    uint8_t spare[3];
};
static_assert(sizeof(LzwHashSlot) == 8);

// Offset in the work buffer of the transposed copy of the plane; the hash
// table takes the bytes before it. A transposing call needs this plus
// width x lines bytes of work buffer.
uint32_t iLZW77_AdditionalPoolSize();

// Puts the cursor on a block at out: header at out, data from out + 8.
void iCSTLZW77_Reset(CompressCursor* cursor, uint8_t* out);

// Copies the raw plane (size bytes, all of them) behind the cursor.
void iLZW77CopyData(CompressCursor* cursor, const uint8_t* data, uint32_t size);

// Codes [in, inEnd) into codeOut. Returns the code-stream length in bytes, or
// kCompressGiveUp as soon as the output passes 3/4 of the input length. An
// empty input gives an empty stream. codeOut needs 3/4 of the input plus 16
// bytes; hash needs kLzwHashSlots slots.
int32_t iCompress_LZW77(const uint8_t* in, const uint8_t* inEnd, uint8_t* codeOut, LzwHashSlot* hash);

// Writes the LZW block of a plane of width x lines bytes to out (room for
// width x lines + 1024 bytes) and returns its size, header included. The
// plane is transposed first when asked and both dimensions exceed 1. work
// (2-byte aligned) holds the hash table and the transposed copy.
uint32_t XORLZW77_BMP_Data_En(uint8_t* out, const uint8_t* data, uint32_t width, uint32_t lines,
                              uint8_t* work, bool transpose);
