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

// The function in the form the steps use: per set bit, what changes.
struct StepFunction {
    uint64_t clearFixed, clearFlip, fixedChange, flipChange;
    bool clearKeeps;  // a clear mask bit leaves D as it is

    explicit StepFunction(const BitRopFunction& f)
        : clearFixed(f.clearFixed),
          clearFlip(f.clearFlip),
          fixedChange(f.clearFixed ^ f.setFixed),
          flipChange(f.clearFlip ^ f.setFlip),
          clearKeeps(f.clearFixed == 0 && f.clearFlip == kAllOnes) {}

    // The pixels of `area` in the word d combined with their mask bits.
    uint64_t Combine(uint64_t d, uint64_t set, uint64_t area) const {
        const uint64_t fixed = clearFixed ^ (set & fixedChange);
        const uint64_t flip = clearFlip ^ (set & flipChange);
        const uint64_t result = fixed ^ (d & flip);
        return (d & ~area) | (result & area);
    }
    void Apply(uint8_t* at, uint64_t set, uint64_t area) const {
        StoreBits(at, Combine(LoadBits(at), set, area));
    }
};

// The word of bits from `shift` to `shift + count`, most significant first.
uint64_t StepArea(uint32_t shift, uint32_t count) {
    return (kAllOnes >> shift) & ~(kAllOnes >> (shift + count));
}

// One row: a step of up to kStepBits pixels per 64-bit word of the row.
void BitRopRow(uint8_t* row, uint32_t xs, uint32_t xe, const uint8_t* maskRow, uint64_t maskLeft,
               const StepFunction& f) {
    for (uint32_t x = xs; x < xe;) {
        const uint32_t shift = x & 7;
        const uint32_t count = std::min(xe - x, kStepBits - shift);
        const uint64_t area = StepArea(shift, count);
        uint64_t set = 0;
        if (maskRow != nullptr) {
            const uint32_t m = x - xs;
            const uint64_t left = maskLeft > m / 8 ? maskLeft - m / 8 : 0;
            set = ((LoadMaskBits(maskRow + m / 8, left) << (m & 7)) >> shift) & area;
        }
        if (!(maskRow != nullptr && f.clearKeeps && set == 0)) f.Apply(row + x / 8, set, area);
        x += count;
    }
}

// Masked rows that fit one step each, as glyph rows do: the step's place
// and the mask's alignment are the same on every row, and every row whose
// mask still holds eight bytes loads them at once.
void BitRopNarrowRows(const BitRopArea& a, const StepFunction& f) {
    const uint32_t shift = a.xs & 7;
    const uint64_t area = StepArea(shift, a.xe - a.xs);
    uint8_t* dest = a.dest + a.xs / 8;
    const uint64_t wholeRows = a.maskBytes >= 8 ? (a.maskBytes - 8) / a.maskStride + 1 : 0;
    const uint32_t fastRows = static_cast<uint32_t>(std::min<uint64_t>(a.rows, wholeRows));
    for (uint32_t i = 0; i < fastRows; ++i) {
        const uint64_t set = (LoadBits(a.mask + size_t{i} * a.maskStride) >> shift) & area;
        if (f.clearKeeps && set == 0) continue;
        f.Apply(dest + size_t{i} * a.destStride, set, area);
    }
    for (uint32_t i = fastRows; i < a.rows; ++i) {
        const uint64_t offset = uint64_t{i} * a.maskStride;
        if (offset >= a.maskBytes) return;
        const uint64_t set = (LoadMaskBits(a.mask + offset, a.maskBytes - offset) >> shift) & area;
        if (f.clearKeeps && set == 0) continue;
        f.Apply(dest + size_t{i} * a.destStride, set, area);
    }
}

// The steps of a row that are the same on every row of a request: where
// each step's pixels lie in the row and in the mask row.
struct RowSteps {
    static constexpr uint32_t kMax = 8;  // rows up to 7 x 56 pixels
    struct Step {
        uint32_t destByte;   // from the request's first byte
        uint32_t maskByte;   // from the mask row's start
        uint32_t maskShift;  // mask bits to drop from that byte
        uint32_t destShift;  // of the step's first pixel in its byte
        uint64_t area;
    };
    Step step[kMax];
    uint32_t count = 0;
    uint32_t maskReach = 0;  // bytes of a mask row the whole-word loads read

    // False when the row needs more than kMax steps.
    bool Plan(uint32_t xs, uint32_t xe) {
        for (uint32_t x = xs; x < xe; ++count) {
            if (count == kMax) return false;
            const uint32_t shift = x & 7, m = x - xs;
            const uint32_t n = std::min(xe - x, kStepBits - shift);
            step[count] = Step{x / 8 - xs / 8, m / 8, m & 7, shift, StepArea(shift, n)};
            x += n;
        }
        maskReach = step[count - 1].maskByte + 8;
        return true;
    }
};

// Masked rows of a few steps, planned once: every row whose mask holds the
// bytes its whole-word loads read takes them at once. A step's word shares
// a byte with the next step's: all of a row's words are read before any is
// written back, so that no read waits for the write before it to land.
void BitRopFewStepRows(const BitRopArea& a, const RowSteps& steps, const StepFunction& f) {
    uint8_t* dest = a.dest + a.xs / 8;
    for (uint32_t i = 0; i < a.rows; ++i) {
        const uint64_t offset = uint64_t{i} * a.maskStride;
        if (offset >= a.maskBytes) return;
        const uint8_t* maskRow = a.mask + offset;
        const uint64_t left = a.maskBytes - offset;
        const bool whole = steps.maskReach <= left;
        uint8_t* row = dest + size_t{i} * a.destStride;
        uint64_t d[RowSteps::kMax];
        for (uint32_t k = 0; k < steps.count; ++k) d[k] = LoadBits(row + steps.step[k].destByte);
        for (uint32_t k = 0; k < steps.count; ++k) {
            const RowSteps::Step& s = steps.step[k];
            const uint64_t word = whole ? LoadBits(maskRow + s.maskByte)
                                        : LoadMaskBits(maskRow + s.maskByte, left - s.maskByte);
            const uint64_t set = ((word << s.maskShift) >> s.destShift) & s.area;
            if (f.clearKeeps && set == 0) continue;
            StoreBits(row + s.destByte, f.Combine(d[k], set, s.area));
        }
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

void BitRopRows(const BitRopArea& area, const BitRopFunction& bitFunction) {
    if (area.xs >= area.xe) return;
    const StepFunction function(bitFunction);
    if (area.mask != nullptr && area.maskStride != 0) {
        if ((area.xs & 7) + (area.xe - area.xs) <= kStepBits) return BitRopNarrowRows(area, function);
        RowSteps steps;
        if (steps.Plan(area.xs, area.xe)) return BitRopFewStepRows(area, steps, function);
    }
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
