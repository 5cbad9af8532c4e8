#include "pipeline/offset_table_coder_search.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "pipeline/offset_table_coder_words.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Length of the repetition of `at` from `from` (earlier in the same data; the
// two may overlap), compared eight bytes at a time, at most maxLength.
uint32_t MatchLength(const uint8_t* at, const uint8_t* from, uint32_t maxLength) {
    uint32_t n = 0;
    while (n + 8 <= maxLength) {
        const uint64_t a = fbb_words::Load(at + n), b = fbb_words::Load(from + n);
        if (a != b) return n + static_cast<uint32_t>(std::countr_zero(a ^ b) / 8);
        n += 8;
    }
    while (n < maxLength && at[n] == from[n]) ++n;
    return n;
}

// Sets bit k of candidates[i] when the three bytes at + i .. at + i + 2
// repeat distances[k] bytes back, for i below kBlockPositions, counting only
// distances from 1 to reach (the others stay clear). Reads from at - reach
// to at + kBlockPositions + 2. kAllReach: every distance is in use and
// reaches back, so none needs the test.
template <bool kAllReach>
void CandidatesInBlock(const uint8_t* at, const uint32_t* distances, size_t reach, uint64_t* candidates) {
    static_assert(FBCopySearch::kBlockPositions == 16 && kFBBDistanceCount == 64);
#if defined(__SSE2__)
    const __m128i a0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    const __m128i a1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + 1));
    const __m128i a2 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + 2));
    // group[g], byte i: bit b set when distance 8g + b repeats at position i.
    __m128i group[8];
    for (uint32_t g = 0; g < 8; ++g) {
        __m128i bits = _mm_setzero_si128();
        for (uint32_t b = 0; b < 8; ++b) {
            const uint32_t d = distances[8 * g + b];
            if (!kAllReach && (d == 0 || d > reach)) continue;
            const uint8_t* from = at - d;
            const __m128i e0 = _mm_cmpeq_epi8(a0, _mm_loadu_si128(reinterpret_cast<const __m128i*>(from)));
            const __m128i e1 =
                _mm_cmpeq_epi8(a1, _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + 1)));
            const __m128i e2 =
                _mm_cmpeq_epi8(a2, _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + 2)));
            const __m128i repeats = _mm_and_si128(_mm_and_si128(e0, e1), e2);
            bits = _mm_or_si128(bits, _mm_and_si128(repeats, _mm_set1_epi8(static_cast<char>(1u << b))));
        }
        group[g] = bits;
    }
    // Transpose the 8 x 16 bytes to 16 x 8: position i gets byte i of every
    // group, group g in byte g of its word (bit 8g + b for distance 8g + b).
    __m128i pairs[8], quads[8];
    for (uint32_t g = 0; g < 8; g += 2) {
        pairs[g] = _mm_unpacklo_epi8(group[g], group[g + 1]);      // positions 0..7
        pairs[g + 1] = _mm_unpackhi_epi8(group[g], group[g + 1]);  // positions 8..15
    }
    for (uint32_t h = 0; h < 2; ++h) {  // h: positions 0..7 or 8..15
        for (uint32_t g = 0; g < 8; g += 4) {
            const __m128i low = pairs[g + h], high = pairs[g + 2 + h];
            quads[4 * h + g / 2] = _mm_unpacklo_epi16(low, high);      // 4 positions, 4 groups each
            quads[4 * h + g / 2 + 1] = _mm_unpackhi_epi16(low, high);  // the next 4
        }
    }
    // quads[4h + 0/1] hold groups 0..3, quads[4h + 2/3] groups 4..7, of
    // positions 8h + 0..3 and 8h + 4..7.
    for (uint32_t h = 0; h < 2; ++h) {
        for (uint32_t q = 0; q < 2; ++q) {
            const __m128i lowGroups = quads[4 * h + q], highGroups = quads[4 * h + 2 + q];
            uint64_t* out = candidates + 8 * h + 4 * q;
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_unpacklo_epi32(lowGroups, highGroups));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 2), _mm_unpackhi_epi32(lowGroups, highGroups));
        }
    }
#else
    // A word of eight bytes settles six positions (each needs the two bytes
    // after it): words from 0, 6 and 10 cover positions 0..15, 10 and 11 twice.
    constexpr uint32_t kWordStarts[] = {0, 6, 10};
    std::fill(candidates, candidates + FBCopySearch::kBlockPositions, uint64_t{0});
    for (const uint32_t start : kWordStarts) {
        const uint64_t here = fbb_words::Load(at + start);
        for (uint32_t k = 0; k < kFBBDistanceCount; ++k) {
            const uint32_t d = distances[k];
            if (!kAllReach && (d == 0 || d > reach)) continue;
            const uint64_t same = fbb_words::EqualBytes(here, fbb_words::Load(at + start - d));
            uint64_t repeats = same & (same >> 8) & (same >> 16) & 0x0000010101010101ull;
            while (repeats != 0) {
                const uint32_t i = static_cast<uint32_t>(std::countr_zero(repeats)) / 8;
                candidates[start + i] |= uint64_t{1} << k;
                repeats &= repeats - 1;
            }
        }
    }
#endif
}

// Length of the repetition from `from` if it is longer than `shorter`, else
// at most shorter: a longer one repeats the byte where the shorter stopped.
uint32_t LengthIfLonger(const uint8_t* at, const uint8_t* from, uint32_t shorter, uint32_t maxLength) {
    if (from[shorter] != at[shorter]) return 0;
    return MatchLength(at, from, maxLength);
}

}  // namespace

FBCopyChoice FBFindCopyInOrder(const uint8_t* data, size_t pos, uint32_t maxLength, const uint32_t* distances,
                               const uint16_t* maxCounts) {
    FBCopyChoice best;
    const uint8_t* at = data + pos;
    for (uint32_t k = 0; k < kFBBDistanceCount; ++k) {
        const uint32_t d = distances[k];
        if (d == 0 || d > pos || at[-static_cast<ptrdiff_t>(d)] != *at) continue;
        // best.length < maxLength until the search ends, so that byte exists.
        const uint32_t length = LengthIfLonger(at, at - d, best.length, maxLength);
        if (length > best.length) {
            best = {length, k};
            // No later distance can be longer than the bytes left.
            if (length >= maxCounts[k] || length == maxLength) break;
        }
    }
    return best;
}

FBCopySearch::FBCopySearch(const uint8_t* data, size_t size, const uint32_t* distances,
                           const uint16_t* maxCounts)
    : data_(data), size_(size), distances_(distances), maxCounts_(maxCounts) {
    uint32_t used = 0;
    for (uint32_t k = 0; k < kFBBDistanceCount; ++k) {
        if (distances[k] == 0) continue;
        if (maxCounts[k] < kFBBMinCopy) candidatesDecide_ = false;
        ascending_[used++] = distances[k];
    }
    allUsed_ = used == kFBBDistanceCount;
    std::sort(ascending_, ascending_ + used);
    distinct_ = static_cast<uint32_t>(std::unique(ascending_, ascending_ + used) - ascending_);
}

FBCopyChoice FBCopySearch::Find(size_t pos, uint32_t maxLength, bool afterLiteral) {
    FBCopyChoice best;
    const uint32_t first = distances_[0];
    if (!afterLiteral && first != 0 && first <= pos) {
        // After a copy the most frequent distance often runs for a whole
        // copy: then it is the first to end the search in table order.
        const uint8_t* at = data_ + pos;
        const uint32_t length = LengthIfLonger(at, at - first, 0, maxLength);
        if (length != 0 && (length >= maxCounts_[0] || length == maxLength)) return {length, 0};
        if (length >= kFBBMinCopy) best = {length, 0};
    }
    if (!candidatesDecide_ || ((pos < blockStart_ || pos >= blockEnd_) && !TestBlock(pos)))
        return FBFindCopyInOrder(data_, pos, maxLength, distances_, maxCounts_);
    uint64_t candidates = candidates_[pos - blockStart_];
    if (best.length != 0) candidates &= ~uint64_t{1};  // distance 0 measured already
    return FromCandidates(pos, maxLength, candidates, best);
}

// The search in table order over the distances that repeat three bytes or
// more, from the best found so far; the others could neither win nor end it.
FBCopyChoice FBCopySearch::FromCandidates(size_t pos, uint32_t maxLength, uint64_t candidates,
                                          FBCopyChoice best) const {
    const uint8_t* at = data_ + pos;
    for (; candidates != 0; candidates &= candidates - 1) {
        const uint32_t k = static_cast<uint32_t>(std::countr_zero(candidates));
        const uint32_t length = LengthIfLonger(at, at - distances_[k], best.length, maxLength);
        if (length > best.length) {
            best = {length, k};
            if (length >= maxCounts_[k] || length == maxLength) break;
        }
    }
    return best;
}

// Tests the block from pos on against the distances that reach back from
// pos. It ends where a longer distance starts to reach back, and it needs
// room for its reads before the end of the data.
bool FBCopySearch::TestBlock(size_t pos) {
    if (pos + kBlockPositions + 2 > size_) return false;
    while (reachable_ < distinct_ && ascending_[reachable_] <= pos) ++reachable_;
    size_t end = pos + kBlockPositions;
    if (reachable_ < distinct_) {
        end = std::min<size_t>(end, ascending_[reachable_]);
        CandidatesInBlock<false>(data_ + pos, distances_, pos, candidates_);
    } else if (allUsed_) {
        CandidatesInBlock<true>(data_ + pos, distances_, pos, candidates_);
    } else {
        CandidatesInBlock<false>(data_ + pos, distances_, pos, candidates_);
    }
    blockStart_ = pos;
    blockEnd_ = end;
    return true;
}
