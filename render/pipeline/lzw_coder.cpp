#include "pipeline/lzw_coder.h"

#include <algorithm>
#include <array>
#include <bit>
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
// Codes go into a bit accumulator, and every code stores the accumulator's
// pending bits as eight bytes at pos, which then moves past the whole bytes:
// there is no branch on whether a code opens or closes a pair, an
// alternation the branch predictor loses among the coder's other branches.
// The store reaches up to eight bytes past the last whole byte.
class CodePacker {
public:
    explicit CodePacker(uint8_t* out) : start_(out), pos_(out) {}

    void Emit(uint16_t code) {
        bits_ = bits_ << kCodeBits | code;
        pendingBits_ += kCodeBits;
        uint64_t bigEndian = __builtin_bswap64(bits_ << (64 - pendingBits_));
        std::memcpy(pos_, &bigEndian, sizeof bigEndian);
        pos_ += pendingBits_ / 8;
        pendingBits_ %= 8;
        ++codes_;
    }

    // An odd code count is padded with a zero code.
    void Flush() {
        if (codes_ % 2 != 0) Emit(0);
    }

    // Whether the pairs of codes completed so far end at or before limit (a
    // code waiting for its pair counts for nothing yet).
    bool PairsEndBy(const uint8_t* limit) const {
        return static_cast<size_t>(limit - start_) >= 3 * (codes_ / 2);
    }

    uint8_t* End() const { return pos_; }  // after Flush

private:
    static constexpr uint32_t kCodeBits = 12;
    uint8_t* start_;
    uint8_t* pos_;
    uint64_t bits_ = 0;
    uint32_t pendingBits_ = 0;  // the low bits of bits_ not yet past pos
    size_t codes_ = 0;
};
static_assert(std::endian::native == std::endian::little, "the packer stores its bits byte-swapped");

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

// Dots come in runs down a byte column (the stems of glyphs, the white
// between them, flat tints), so most strings grow by the byte they already
// end in. Those strings are kept apart from the hash table: Next(s) is the
// code of string s followed by its own last byte, and following a run costs
// an array step per byte instead of a hash probe. Every string of the
// dictionary is in exactly one of the two tables, so together they assign
// and find the same codes as one table would.
class RepeatLinks {
public:
    static constexpr uint16_t kNone = 0xFFFF;

    RepeatLinks() {
        next_.fill(kNone);
        for (uint32_t byte = 0; byte < kLzwFirstCode; ++byte) lastByte_[byte] = static_cast<uint8_t>(byte);
    }

    bool Extends(uint16_t code, uint8_t byte) const { return lastByte_[code] == byte; }
    uint16_t Next(uint16_t code) const { return next_[code]; }

    // code is a string (in the hash table) that ends in byte.
    void AddOther(uint16_t code, uint8_t byte) { lastByte_[code] = byte; }

    // code is the string prefix followed by prefix's last byte.
    void AddRepeat(uint16_t prefix, uint16_t code) {
        lastByte_[code] = lastByte_[prefix];
        next_[prefix] = code;
    }

private:
    std::array<uint16_t, kLzwLastCode + 1> next_;
    std::array<uint8_t, kLzwLastCode + 1> lastByte_;
};

// The white bytes from p on, at most max of them: eight at a time, and the
// first byte that is not white found in its word by counting bits rather
// than byte by byte, where eight bytes can be read.
size_t CountWhite(const uint8_t* p, const uint8_t* end, size_t max) {
    const size_t readable = static_cast<size_t>(end - p);
    const size_t available = std::min(max, readable);
    size_t n = 0;
    for (; n + 8 <= readable; n += 8) {
        uint64_t word = 0;
        std::memcpy(&word, p + n, sizeof word);
        if (word != ~uint64_t{0} || n + 8 >= available) {
            const size_t white = static_cast<size_t>(std::countr_zero(~word)) / 8;  // first byte is lowest
            return std::min(n + white, available);
        }
    }
    while (n < available && p[n] == kWhiteByte) ++n;
    return n;
}

// The coder's state over one input: the two dictionary tables, the string
// matched so far and the code packer.
class LzwEncoder {
public:
    LzwEncoder(LzwHashSlot* hash, uint8_t* codeOut) : hash_(hash), packer_(codeOut) { ClearHash(hash_); }

    // Codes [in, inEnd); false as soon as the codes pass limit.
    bool Code(const uint8_t* in, const uint8_t* inEnd, const uint8_t* limit) {
        Start(in[0]);
        for (const uint8_t* p = in + 1; p < inEnd; ++p) {
            if (links_.Extends(prefix_, *p)) {
                p = FollowRun(p, inEnd);
                if (p == inEnd) break;
                if (links_.Extends(prefix_, *p)) {
                    // The string is the longest of its run: one more byte is new.
                    AddRepeat();
                    if (!EndString(limit, *p)) return false;
                    continue;
                }
            }
            if (!FollowHash(*p) && !EndString(limit, *p)) return false;
        }
        packer_.Emit(prefix_);
        packer_.Flush();
        return true;
    }

    uint8_t* End() const { return packer_.End(); }

private:
    void Start(uint8_t byte) {
        prefix_ = byte;
        prefixWhite_ = byte == kWhiteByte ? 1 : 0;
    }

    // Grows the string along the bytes from p that repeat its last byte, as
    // far as the dictionary holds the longer strings. Returns the first byte
    // not taken: a different byte, one the dictionary lacks, or inEnd.
    const uint8_t* FollowRun(const uint8_t* p, const uint8_t* inEnd) {
        if (prefixWhite_ != 0) {
            // The dictionary holds every white string up to the longest one.
            const size_t run = CountWhite(p, inEnd, white_.longest - prefixWhite_);
            prefixWhite_ += static_cast<uint32_t>(run);
            prefix_ = white_.code[prefixWhite_];
            return p + run;
        }
        const uint8_t byte = *p;
        for (uint16_t next; p != inEnd && *p == byte && (next = links_.Next(prefix_)) != RepeatLinks::kNone;
             ++p)
            prefix_ = next;
        return p;
    }

    // Grows the string by a byte other than its last one; false when the
    // dictionary lacks the longer string (it is added if there is room).
    bool FollowHash(uint8_t byte) {
        LzwHashSlot* slot = ProbeHash(hash_, prefix_, byte);
        if (slot->code != kLzwEmptySlot) {
            prefix_ = slot->code;
            prefixWhite_ = 0;
            return true;
        }
        if (nextCode_ <= kLzwLastCode) {
            slot->prefix = prefix_;
            slot->byte = byte;
            slot->code = nextCode_;
            links_.AddOther(nextCode_++, byte);
        }
        return false;
    }

    // Adds the string: the one matched so far followed by its last byte.
    void AddRepeat() {
        if (nextCode_ > kLzwLastCode) return;
        if (prefixWhite_ != 0) white_.Add(nextCode_);
        links_.AddRepeat(prefix_, nextCode_++);
    }

    // Sends the string matched so far and starts the next one at byte.
    bool EndString(const uint8_t* limit, uint8_t byte) {
        packer_.Emit(prefix_);
        Start(byte);
        return packer_.PairsEndBy(limit);
    }

    LzwHashSlot* hash_;
    CodePacker packer_;
    RepeatLinks links_;
    WhiteRuns white_;
    uint16_t nextCode_ = kLzwFirstCode;
    uint16_t prefix_ = 0;
    uint32_t prefixWhite_ = 0;  // the string is that many white bytes, or 0
};

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
    LzwEncoder encoder(hash, codeOut);
    if (!encoder.Code(in, inEnd, codeOut + (3 * inputSize) / 4)) return kCompressGiveUp;
    return static_cast<int32_t>(encoder.End() - codeOut);
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
