#include "bit_rop.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "rop_pixels.h"

static_assert(std::endian::native == std::endian::little, "one-bit rows are read as byte-swapped words");

namespace {

constexpr uint64_t kAllOnes = ~uint64_t{0};
// Pixels a step takes at most: with up to seven bits before them in the
// first byte they stay within one 64-bit word, and so do the mask bits.
constexpr uint32_t kStepBits = 56;

uint64_t LoadBits(const uint8_t* at) {
    uint64_t word;
    std::memcpy(&word, at, sizeof word);
    return __builtin_bswap64(word);
}

void StoreBits(uint8_t* at, uint64_t bits) {
    const uint64_t word = __builtin_bswap64(bits);
    std::memcpy(at, &word, sizeof word);
}

// Up to eight bytes from `at`, of which only `available` may be read; the
// bytes past them read as zero (no ink).
uint64_t LoadMaskBits(const uint8_t* at, uint64_t available) {
    if (available >= 8) return LoadBits(at);
    uint64_t bits = 0;
    for (uint64_t i = 0; i < 8; ++i) bits = bits << 8 | (i < available ? at[i] : 0u);
    return bits;
}

// Bit (4P + 2S + D) of the code, spread over a word.
uint64_t RopBit(uint8_t rop, bool p, bool s, bool d) {
    return ((rop >> (4 * p + 2 * s + d)) & 1u) ? kAllOnes : 0;
}

// One row: a step of up to kStepBits pixels per 64-bit word of the row.
void BitRopRow(uint8_t* row, uint32_t xs, uint32_t xe, const uint8_t* maskRow, uint64_t maskLeft,
               const BitRopFunction& f) {
    const uint64_t fixedChange = f.clearFixed ^ f.setFixed;
    const uint64_t flipChange = f.clearFlip ^ f.setFlip;
    const bool clearKeeps = f.clearFixed == 0 && f.clearFlip == kAllOnes;
    for (uint32_t x = xs; x < xe;) {
        const uint32_t shift = x & 7;
        const uint32_t count = std::min(xe - x, kStepBits - shift);
        const uint64_t area = (kAllOnes >> shift) & ~(kAllOnes >> (shift + count));
        uint64_t set = 0;
        if (maskRow != nullptr) {
            const uint32_t m = x - xs;
            const uint64_t left = maskLeft > m / 8 ? maskLeft - m / 8 : 0;
            set = ((LoadMaskBits(maskRow + m / 8, left) << (m & 7)) >> shift) & area;
            if (clearKeeps && set == 0) {
                x += count;
                continue;
            }
        }
        uint8_t* at = row + x / 8;
        const uint64_t d = LoadBits(at);
        const uint64_t fixed = f.clearFixed ^ (set & fixedChange);
        const uint64_t flip = f.clearFlip ^ (set & flipChange);
        const uint64_t result = fixed ^ (d & flip);
        StoreBits(at, (d & ~area) | (result & area));
        x += count;
    }
}

}  // namespace

BitRopFunction BitRopFor(uint8_t rop, bool patternWhite) {
    const bool p = patternWhite;
    BitRopFunction f;
    f.clearFixed = RopBit(rop, p, true, false);
    f.clearFlip = f.clearFixed ^ RopBit(rop, p, true, true);
    f.setFixed = RopBit(rop, p, false, false);
    f.setFlip = f.setFixed ^ RopBit(rop, p, false, true);
    return f;
}

void BitRopRows(const BitRopArea& area, const BitRopFunction& function) {
    if (area.xs >= area.xe) return;
    for (uint32_t i = 0; i < area.rows; ++i) {
        uint8_t* row = area.dest + size_t{i} * area.destStride;
        const uint64_t maskOffset = uint64_t{i} * area.maskStride;
        if (area.mask != nullptr && maskOffset >= area.maskBytes) return;
        const uint8_t* maskRow = area.mask != nullptr ? area.mask + maskOffset : nullptr;
        BitRopRow(row, area.xs, area.xe, maskRow, area.maskBytes - maskOffset, function);
    }
}

void WidenBitsToGrey(uint8_t* pixels, const uint8_t* bits, uint32_t bytes) {
    for (uint32_t i = 0; i < bytes; ++i)
        std::memcpy(pixels + size_t{i} * 8, rop::kMaskSpread<uint8_t>.pixels[bits[i]], 8);
}
