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

// Bit i set when some distance of ascending[0 .. count) repeats the three
// bytes at + i .. at + i + 2, for i below kBlockPositions. Reads from
// at - ascending[count - 1] to at + kBlockPositions + 2.
uint32_t RepeatsInBlock(const uint8_t* at, const uint32_t* ascending, uint32_t count) {
#if defined(__SSE2__)
    static_assert(FBCopySearch::kBlockPositions == 16);
    const __m128i a0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    const __m128i a1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + 1));
    const __m128i a2 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + 2));
    __m128i any = _mm_setzero_si128();
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* from = at - ascending[i];
        const __m128i e0 = _mm_cmpeq_epi8(a0, _mm_loadu_si128(reinterpret_cast<const __m128i*>(from)));
        const __m128i e1 = _mm_cmpeq_epi8(a1, _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + 1)));
        const __m128i e2 = _mm_cmpeq_epi8(a2, _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + 2)));
        any = _mm_or_si128(any, _mm_and_si128(_mm_and_si128(e0, e1), e2));
    }
    return static_cast<uint32_t>(_mm_movemask_epi8(any));
#else
    // A word of eight bytes settles six positions (each needs the two bytes
    // after it): words from 0, 6 and 10 cover positions 0..15, 10 and 11 twice.
    constexpr uint32_t kWordStarts[] = {0, 6, 10};
    uint32_t repeats = 0;
    for (const uint32_t start : kWordStarts) {
        const uint64_t here = fbb_words::Load(at + start);
        uint64_t any = 0;
        for (uint32_t i = 0; i < count; ++i) {
            const uint64_t same = fbb_words::EqualBytes(here, fbb_words::Load(at + start - ascending[i]));
            any |= same & (same >> 8) & (same >> 16);
        }
        for (uint32_t b = 0; b < 6; ++b)
            repeats |= static_cast<uint32_t>((any >> (8 * b)) & 1) << (start + b);
    }
    return repeats;
#endif
}

}  // namespace

FBCopyChoice FBFindCopyInOrder(const uint8_t* data, size_t pos, uint32_t maxLength, const uint32_t* distances,
                               const uint16_t* maxCounts) {
    FBCopyChoice best;
    const uint8_t* at = data + pos;
    for (uint32_t k = 0; k < kFBBDistanceCount; ++k) {
        const uint32_t d = distances[k];
        if (d == 0 || d > pos) continue;
        const uint8_t* from = at - d;
        // Only a longer repetition can win, and it repeats the byte the best
        // so far stopped at (best.length < maxLength, so that byte exists).
        if (from[best.length] != at[best.length] || *from != *at) continue;
        const uint32_t length = MatchLength(at, from, maxLength);
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
    for (uint32_t k = 0; k < kFBBDistanceCount; ++k)
        if (distances[k] != 0) ascending_[distinct_++] = distances[k];
    std::sort(ascending_, ascending_ + distinct_);
    distinct_ = static_cast<uint32_t>(std::unique(ascending_, ascending_ + distinct_) - ascending_);
}

FBCopyChoice FBCopySearch::Find(size_t pos, uint32_t maxLength, bool afterLiteral) {
    // With no distance repeating three bytes the search in table order finds
    // nothing either, whatever the maximum copy lengths: a literal.
    if (afterLiteral && !MayRepeat(pos)) return {};
    return FBFindCopyInOrder(data_, pos, maxLength, distances_, maxCounts_);
}

bool FBCopySearch::MayRepeat(size_t pos) {
    if (pos >= blockEnd_ || pos < blockStart_) {
        if (!TestBlock(pos)) return true;  // no block here: the search in order decides
    }
    return (repeats_ >> (pos - blockStart_)) & 1;
}

// Tests the block from pos on against the distances that reach back from
// pos. It ends where a longer distance starts to reach back, and it needs
// room for its reads before the end of the data.
bool FBCopySearch::TestBlock(size_t pos) {
    while (reachable_ < distinct_ && ascending_[reachable_] <= pos) ++reachable_;
    if (pos + kBlockPositions + 2 > size_) return false;
    size_t end = pos + kBlockPositions;
    if (reachable_ < distinct_) end = std::min<size_t>(end, ascending_[reachable_]);
    repeats_ = RepeatsInBlock(data_ + pos, ascending_, reachable_);
    blockStart_ = pos;
    blockEnd_ = end;
    return true;
}
