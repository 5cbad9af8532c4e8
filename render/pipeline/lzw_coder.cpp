#include "pipeline/lzw_coder.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cassert>
#include <cstring>
#include <new>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "pipeline/offset_table_coder_words.h"
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

// Every string of the dictionary is either a head (a single byte, or a
// string whose last byte differs from the byte before it) or a repeat: a
// head followed by one or more copies of the head's last byte. Heads longer
// than a byte live in the hash table under (prefix, byte); the repeats of a
// head form its chain, the head followed by 1, 2, 3 ... copies. Chains only
// grow at their end, one code each time the coder runs past the longest.
//
// Dots come in runs down a byte column (the stems of glyphs, the white
// between them, flat tints), and a run of n equal bytes moves a string n
// steps down a chain: kept as arrays, the chains take the whole run in one
// step instead of a dictionary lookup per byte.
class RepeatChains {
public:
    RepeatChains() {
        for (uint32_t byte = 0; byte < kLzwFirstCode; ++byte) length_[byte] = 0;
    }

    void AddHead(uint16_t code) { length_[code] = 0; }
    uint32_t Length(uint16_t head) const { return length_[head]; }

    // The head followed by depth copies of its last byte, depth <= Length.
    uint16_t Code(uint16_t head, uint32_t depth) const {
        return depth == 0 ? head : pool_[base_[head] + depth - 1];
    }

    // code is the longest string of the head's chain followed by one more copy.
    void Append(uint16_t head, uint16_t code) {
        const uint32_t length = length_[head];
        if (IsFull(length)) Grow(head, length);
        pool_[base_[head] + length] = code;
        length_[head] = static_cast<uint16_t>(length + 1);
    }

private:
    // A chain's room doubles from two codes, moving it to the end of the
    // pool: a chain of n codes has taken 2 + 4 + ... + c slots, c < 2n for
    // n >= 2 and c = 2 for n = 1, so fewer than 4n. The dictionary's 3840
    // codes then never need more than 4 x 3840 slots.
    static constexpr uint32_t kPoolSlots = 4 * (kLzwLastCode + 1 - kLzwFirstCode);

    static bool IsFull(uint32_t length) {
        return length == 0 || (length >= 2 && (length & (length - 1)) == 0);
    }

    void Grow(uint16_t head, uint32_t length) {
        const uint32_t room = length == 0 ? 2 : 2 * length;
        assert(used_ + room <= kPoolSlots);
        // A new chain has nothing to move and no base yet.
        if (length != 0) std::copy_n(pool_.begin() + base_[head], length, pool_.begin() + used_);
        base_[head] = static_cast<uint16_t>(used_);
        used_ += room;
    }

    std::array<uint16_t, kLzwLastCode + 1> length_;  // of the heads' chains
    std::array<uint16_t, kLzwLastCode + 1> base_;    // of the heads' chains in the pool
    std::array<uint16_t, kPoolSlots> pool_;
    uint32_t used_ = 0;
};

// The input is taken a run of equal bytes at a time. Where runs start is
// found for a block of input at once, comparing the input with itself one
// byte on: with SSE2, which every 64-bit build has, 64 bytes a step in four
// compares, so that a white stretch costs a branch per 64 bytes; else eight
// a step, a word's bytes that are not zero showing the starts (the 32-bit
// Windows build, which cannot assume SSE2).
constexpr size_t kRunBlockBytes = 2048;

// Appends at starts the offsets from `from` of the bytes in [i, to) that
// differ from the byte before them, and returns the new count.
size_t FindRunStartsBytewise(const uint8_t* in, size_t i, size_t from, size_t to, uint16_t* starts,
                             size_t count) {
    for (; i < to; ++i)
        if (in[i] != in[i - 1]) starts[count++] = static_cast<uint16_t>(i - from);
    return count;
}

#if defined(__SSE2__)

// The offsets from `from` of the bytes in [from, to) that differ from the
// byte before them (from >= 1, to - from <= kRunBlockBytes); returns their count.
size_t FindRunStarts(const uint8_t* in, size_t from, size_t to, uint16_t* starts) {
    size_t count = 0;
    size_t i = from;
    for (; i + 64 <= to; i += 64) {
        uint64_t differ = 0;
        for (size_t part = 0; part < 4; ++part) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i + 16 * part));
            const __m128i before = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i + 16 * part - 1));
            const auto same = static_cast<uint64_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, before)));
            differ |= (same ^ 0xFFFFu) << (16 * part);
        }
        while (differ != 0) {
            starts[count++] = static_cast<uint16_t>(i - from + static_cast<size_t>(std::countr_zero(differ)));
            differ &= differ - 1;
        }
    }
    return FindRunStartsBytewise(in, i, from, to, starts, count);
}

#else

size_t FindRunStarts(const uint8_t* in, size_t from, size_t to, uint16_t* starts) {
    size_t count = 0;
    size_t i = from;
    for (; i + 8 <= to; i += 8) {
        // The top bit of every byte that differs (the first byte lowest).
        uint64_t tops = fbb_words::NonZeroBytes(fbb_words::Load(in + i) ^ fbb_words::Load(in + i - 1));
        while (tops != 0) {
            starts[count++] =
                static_cast<uint16_t>(i - from + static_cast<size_t>(std::countr_zero(tops)) / 8);
            tops &= tops - 1;
        }
    }
    return FindRunStartsBytewise(in, i, from, to, starts, count);
}

#endif

// The coder's state over one input: the dictionary's hash table and chains,
// the string matched so far (a head and how far down its chain) and the
// code packer.
class LzwEncoder {
public:
    LzwEncoder(LzwHashSlot* hash, uint8_t* codeOut, const uint8_t* limit)
        : hash_(hash), packer_(codeOut), limit_(limit) {
        ClearHash(hash_);
    }

    // Codes [in, in + size), size >= 1; false as soon as the codes pass limit.
    bool Code(const uint8_t* in, size_t size) {
        head_ = in[0];
        lastByte_ = in[0];
        std::array<uint16_t, kRunBlockBytes + 1> starts;
        for (size_t from = 1; from < size; from += kRunBlockBytes) {
            const size_t to = std::min(size, from + kRunBlockBytes);
            const size_t count = FindRunStarts(in, from, to, starts.data());
            starts[count] = static_cast<uint16_t>(to - from);
            size_t at = 0;
            for (size_t k = 0; k <= count; ++k) {
                const size_t end = starts[k];
                if (end > at && !Take(in[from + at], static_cast<uint32_t>(end - at))) return false;
                at = end;
            }
        }
        packer_.Emit(Matched());
        packer_.Flush();
        return true;
    }

    uint8_t* End() const { return packer_.End(); }

private:
    uint16_t Matched() const { return chains_.Code(head_, depth_); }

    // Takes count bytes `byte` after the string matched so far (a run, or
    // the rest of one that began in the block before).
    bool Take(uint8_t byte, uint32_t count) {
        if (byte != lastByte_) {
            lastByte_ = byte;
            if (!FollowHash(byte) && !EndString(byte)) return false;
            --count;
        }
        return FollowChain(byte, count);
    }

    // Grows the string by a byte other than its last one; false when the
    // dictionary lacks the longer string (it is added if there is room).
    bool FollowHash(uint8_t byte) {
        const uint16_t prefix = Matched();
        LzwHashSlot* slot = ProbeHash(hash_, prefix, byte);
        if (slot->code != kLzwEmptySlot) {
            head_ = slot->code;
            depth_ = 0;
            return true;
        }
        if (nextCode_ <= kLzwLastCode) {
            slot->prefix = prefix;
            slot->byte = byte;
            slot->code = nextCode_;
            chains_.AddHead(nextCode_++);
        }
        return false;
    }

    // Grows the string by count copies of its last byte, down the chain and,
    // where the chain ends, adding the next longer string and starting again
    // at the single byte.
    bool FollowChain(uint8_t byte, uint32_t count) {
        while (count > 0) {
            const uint32_t room = chains_.Length(head_) - depth_;
            if (count <= room) {
                depth_ += count;
                return true;
            }
            depth_ += room;
            count -= room;
            if (nextCode_ <= kLzwLastCode) chains_.Append(head_, nextCode_++);
            if (!EndString(byte)) return false;
            --count;
        }
        return true;
    }

    // Sends the string matched so far and starts the next one at byte.
    bool EndString(uint8_t byte) {
        packer_.Emit(Matched());
        head_ = byte;
        depth_ = 0;
        return packer_.PairsEndBy(limit_);
    }

    LzwHashSlot* hash_;
    CodePacker packer_;
    const uint8_t* limit_;
    RepeatChains chains_;
    uint16_t nextCode_ = kLzwFirstCode;
    uint16_t head_ = 0;
    uint32_t depth_ = 0;
    uint8_t lastByte_ = 0;  // of the string matched so far
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
    LzwEncoder encoder(hash, codeOut, codeOut + (3 * inputSize) / 4);
    if (!encoder.Code(in, inputSize)) return kCompressGiveUp;
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
