#include "pipeline/lzw_coder.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <cstring>
#include <new>

#include "pipeline/transpose.h"

namespace {

constexpr uint32_t kTransposePoolOffset = 45200;
static_assert(kLzwHashSlots * sizeof(LzwHashSlot) <= kTransposePoolOffset);

// Packs 12-bit codes two to three bytes, most significant bits first:
//
//   byte 0   a11 a10 a9 a8 a7 a6 a5 a4
//   byte 1   a3  a2  a1 a0 b11 b10 b9 b8
//   byte 2   b7  b6  b5 b4 b3  b2  b1 b0
//
// The first code of a pair waits until the second arrives; pos moves three
// bytes per pair.
struct CodePacker {
    uint8_t* pos;
    uint16_t pending = 0;
    bool hasPending = false;

    void Emit(uint16_t code) {
        if (!hasPending) {
            pending = code;
            hasPending = true;
            return;
        }
        pos[0] = static_cast<uint8_t>(pending >> 4);
        pos[1] = static_cast<uint8_t>((pending & 0x0F) << 4 | code >> 8);
        pos[2] = static_cast<uint8_t>(code);
        pos += 3;
        hasPending = false;
    }

    // An odd code count is padded with a zero code.
    void Flush() {
        if (hasPending) Emit(0);
    }
};

void ClearHash(LzwHashSlot* hash) {
    for (uint32_t i = 0; i < kLzwHashSlots; ++i) hash[i].code = kLzwEmptySlot;
}

// Finds the slot of the string (prefix, byte): the slot that holds it, or the
// empty slot where it belongs. First probe (byte << 4) ^ prefix, then steps of
// kLzwHashSlots - h backwards (1 when h is 0). At most 3840 slots are ever
// used, so an empty slot always ends the walk.
LzwHashSlot* ProbeHash(LzwHashSlot* hash, uint16_t prefix, uint8_t byte) {
    uint32_t h = (uint32_t{byte} << 4) ^ prefix;
    const uint32_t step = h == 0 ? 1 : kLzwHashSlots - h;
    while (hash[h].code != kLzwEmptySlot && (hash[h].prefix != prefix || hash[h].byte != byte)) {
        h = h >= step ? h - step : h + kLzwHashSlots - step;
    }
    return &hash[h];
}

// White (no dots) is all ones in a plane, so white bands are long runs of
// 0xFF bytes. Their strings enter the dictionary one byte longer each time,
// always as (the longest white string, 0xFF): the white strings in the
// dictionary are exactly the runs of 1 to `longest` bytes.
constexpr uint8_t kWhiteByte = 0xFF;

struct WhiteRuns {
    // code[n]: the code of n white bytes, for n from 1 to longest.
    std::array<uint16_t, kLzwLastCode - kLzwFirstCode + 3> code;
    uint32_t longest = 1;

    WhiteRuns() { code[1] = kWhiteByte; }
    void Add(uint16_t newCode) { code[++longest] = newCode; }
};

// The white bytes from p on, at most max of them.
size_t CountWhite(const uint8_t* p, const uint8_t* end, size_t max) {
    const size_t available = std::min(max, static_cast<size_t>(end - p));
    size_t n = 0;
    uint64_t word = 0;
    while (n + 8 <= available && (std::memcpy(&word, p + n, 8), word == ~uint64_t{0})) n += 8;
    while (n < available && p[n] == kWhiteByte) ++n;
    return n;
}

LzwHashSlot* HashInWork(uint8_t* work) {
    assert(reinterpret_cast<uintptr_t>(work) % alignof(LzwHashSlot) == 0);
    // Begins the slots' lifetime in the caller's raw buffer; ClearHash fills them.
    return new (work) LzwHashSlot[kLzwHashSlots];
}

}  // namespace

uint32_t iLZW77_AdditionalPoolSize() { return kTransposePoolOffset; }

void iCSTLZW77_Reset(CompressCursor* cursor, uint8_t* out) {
    cursor->start = out;
    cursor->pos = out + kCompressHeaderSize;
}

void iLZW77CopyData(CompressCursor* cursor, const uint8_t* data, uint32_t size) {
    CopyRawPlane(cursor, data, size);
}

int32_t iCompress_LZW77(const uint8_t* in, const uint8_t* inEnd, uint8_t* codeOut, LzwHashSlot* hash) {
    if (in == inEnd) return 0;
    const size_t inputSize = static_cast<size_t>(inEnd - in);
    const uint8_t* const limit = codeOut + (3 * inputSize) / 4;

    ClearHash(hash);
    uint16_t nextCode = kLzwFirstCode;
    uint16_t prefix = in[0];
    CodePacker packer{codeOut};
    WhiteRuns white;
    uint32_t prefixWhite = in[0] == kWhiteByte ? 1 : 0;  // the prefix is that many white bytes, or 0

    for (const uint8_t* p = in + 1; p < inEnd; ++p) {
        if (prefixWhite != 0 && prefixWhite < white.longest && *p == kWhiteByte) {
            // The dictionary holds every white string up to the longest one,
            // so the string grows along the white bytes in one step, with the
            // codes the byte-by-byte walk would have found.
            const size_t run = CountWhite(p, inEnd, white.longest - prefixWhite);
            prefixWhite += static_cast<uint32_t>(run);
            prefix = white.code[prefixWhite];
            p += run;
            if (p == inEnd) break;
            // Here the next byte is not white, or the string is the longest
            // white one and the byte makes a new string.
        }
        const uint8_t c = *p;
        LzwHashSlot* slot = ProbeHash(hash, prefix, c);
        if (slot->code != kLzwEmptySlot) {
            prefix = slot->code;  // the string goes on
            prefixWhite = 0;
            continue;
        }
        if (nextCode <= kLzwLastCode) {
            if (prefixWhite != 0 && c == kWhiteByte) white.Add(nextCode);
            slot->code = nextCode++;
            slot->prefix = prefix;
            slot->byte = c;
        }
        packer.Emit(prefix);
        if (packer.pos > limit) return kCompressGiveUp;
        prefix = c;
        prefixWhite = c == kWhiteByte ? 1 : 0;
    }
    packer.Emit(prefix);
    packer.Flush();
    return static_cast<int32_t>(packer.pos - codeOut);
}

uint32_t XORLZW77_BMP_Data_En(uint8_t* out, const uint8_t* data, uint32_t width, uint32_t lines,
                              uint8_t* work, bool transpose) {
    const uint32_t size = width * lines;
    CompressCursor cursor;
    iCSTLZW77_Reset(&cursor, out);

    const bool transposed = transpose && width > 1 && lines > 1;
    const uint32_t magic = transposed ? kLzwMagicTransposed : kLzwMagicPlain;
    const uint8_t* source = data;
    if (transposed) {
        uint8_t* pool = work + iLZW77_AdditionalPoolSize();
        iiTranspose(pool, data, width, lines);
        source = pool;
    }

    const int32_t length = iCompress_LZW77(source, source + size, cursor.pos, HashInWork(work));
    if (length == kCompressGiveUp) {
        PutBlockHeader(cursor, magic, kCompressRawMarker);
        iLZW77CopyData(&cursor, data, size);
        return size + kCompressHeaderSize;
    }
    PutBlockHeader(cursor, magic, static_cast<uint32_t>(length));
    return static_cast<uint32_t>(length) + kCompressHeaderSize;
}
