// The write cursor of a compressed plane block. Both coders lay a block out
// the same way: an 8-byte header (two little-endian 32-bit words: magic, then
// the data length or -1 for the raw form) and the data from byte 8 on.
#pragma once

#include <cstdint>
#include <cstring>

constexpr uint32_t kCompressHeaderSize = 8;
constexpr uint32_t kCompressRawMarker = 0xFFFFFFFFu;  // header word 2 of the raw form

struct CompressCursor {
    uint8_t* start = nullptr;  // the block header
    uint8_t* pos = nullptr;    // next byte to write
};

// Stores a 32-bit word little-endian, the byte order the printer reads.
inline void PutLE32(uint8_t* at, uint32_t value) {
    at[0] = static_cast<uint8_t>(value);
    at[1] = static_cast<uint8_t>(value >> 8);
    at[2] = static_cast<uint8_t>(value >> 16);
    at[3] = static_cast<uint8_t>(value >> 24);
}

// Writes the header word 1 (magic) and word 2 (length or raw marker).
inline void PutBlockHeader(const CompressCursor& cursor, uint32_t magic, uint32_t word2) {
    PutLE32(cursor.start, magic);
    PutLE32(cursor.start + 4, word2);
}

// Copies size bytes of an untransposed plane behind the cursor: the raw form
// of a block. All bytes are copied, also a tail that does not fill a 32-bit word.
inline void CopyRawPlane(CompressCursor* cursor, const uint8_t* data, uint32_t size) {
    if (size != 0) std::memcpy(cursor->pos, data, size);
    cursor->pos += size;
}
