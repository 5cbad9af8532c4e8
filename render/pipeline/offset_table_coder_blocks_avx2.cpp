// The AVX2 block test: the SSE2 one over 32 positions at once. Each 128-bit
// lane does what the SSE2 test does for sixteen positions (the low lane
// positions 0..15, the high lane 16..31): the unpacks that gather a
// position's groups into one word work within lanes, and each lane's words
// are stored to its own half of the block.
//
// The function carries its own target, so that every x86 build compiles it;
// the copy search calls it only where the processor and the system run AVX2
// (FBChosenBlockTest).
#include "pipeline/offset_table_coder_blocks.h"

#if ZEBL_CODER_SSE2

#include <immintrin.h>

#include "pipeline/offset_table_coder.h"

// The body is always inlined into the entry, so that no vector is passed on
// the stack. The entry realigns the stack in a 32-bit build: the spooler may
// call the library with a stack that is only 4-byte aligned.
#define ZEBL_AVX2_INLINE __attribute__((target("avx2"), always_inline))
#if defined(__i386__)
#define ZEBL_AVX2_ENTRY __attribute__((target("avx2"), force_align_arg_pointer))
#else
#define ZEBL_AVX2_ENTRY __attribute__((target("avx2")))
#endif

namespace {

static_assert(kFBBlockPositions == 32 && kFBBDistanceCount == 64);

__attribute__((target("avx2"))) inline __m256i Load32(const uint8_t* at) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
}

// Byte i of the result: bit b set when distance 8g + b (g = group) repeats
// three bytes at position i.
template <bool kAllReach>
ZEBL_AVX2_INLINE inline __m256i GroupBits(const uint8_t* at, const uint32_t* distances, size_t reach,
                                          uint32_t g, __m256i a0, __m256i a1, __m256i a2) {
    __m256i bits = _mm256_setzero_si256();
    for (uint32_t b = 0; b < 8; ++b) {
        const uint32_t d = distances[8 * g + b];
        if (!kAllReach && (d == 0 || d > reach)) continue;
        const uint8_t* from = at - d;
        const __m256i e0 = _mm256_cmpeq_epi8(a0, Load32(from));
        const __m256i e1 = _mm256_cmpeq_epi8(a1, Load32(from + 1));
        const __m256i e2 = _mm256_cmpeq_epi8(a2, Load32(from + 2));
        const __m256i repeats = _mm256_and_si256(_mm256_and_si256(e0, e1), e2);
        bits = _mm256_or_si256(bits, _mm256_and_si256(repeats, _mm256_set1_epi8(static_cast<char>(1u << b))));
    }
    return bits;
}

// Stores the two 64-bit words of each lane: the low lane's to position p,
// the high lane's to position p + 16.
ZEBL_AVX2_INLINE inline void StoreLanes(uint64_t* candidates, uint32_t p, __m256i words) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(candidates + p), _mm256_castsi256_si128(words));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(candidates + 16 + p), _mm256_extracti128_si256(words, 1));
}

template <bool kAllReach>
ZEBL_AVX2_INLINE inline void TestBlockAvx2(const uint8_t* at, const uint32_t* distances, size_t reach,
                                           uint64_t* candidates) {
    const __m256i a0 = Load32(at), a1 = Load32(at + 1), a2 = Load32(at + 2);
    __m256i group[8];
    for (uint32_t g = 0; g < 8; ++g) group[g] = GroupBits<kAllReach>(at, distances, reach, g, a0, a1, a2);
    // In each lane, transpose the 8 x 16 bytes to 16 x 8 as the SSE2 test
    // does: position i gets byte i of every group, group g in byte g.
    __m256i pairs[8], quads[8];
    for (uint32_t g = 0; g < 8; g += 2) {
        pairs[g] = _mm256_unpacklo_epi8(group[g], group[g + 1]);      // lane positions 0..7
        pairs[g + 1] = _mm256_unpackhi_epi8(group[g], group[g + 1]);  // lane positions 8..15
    }
    for (uint32_t h = 0; h < 2; ++h) {
        for (uint32_t g = 0; g < 8; g += 4) {
            const __m256i low = pairs[g + h], high = pairs[g + 2 + h];
            quads[4 * h + g / 2] = _mm256_unpacklo_epi16(low, high);
            quads[4 * h + g / 2 + 1] = _mm256_unpackhi_epi16(low, high);
        }
    }
    for (uint32_t h = 0; h < 2; ++h) {
        for (uint32_t q = 0; q < 2; ++q) {
            const __m256i lowGroups = quads[4 * h + q], highGroups = quads[4 * h + 2 + q];
            const uint32_t p = 8 * h + 4 * q;
            StoreLanes(candidates, p, _mm256_unpacklo_epi32(lowGroups, highGroups));
            StoreLanes(candidates, p + 2, _mm256_unpackhi_epi32(lowGroups, highGroups));
        }
    }
}

}  // namespace

ZEBL_AVX2_ENTRY void FBBlockTestAvx2(const uint8_t* at, const uint32_t* distances, size_t reach,
                                     bool allReach, uint64_t* candidates) {
    if (allReach) TestBlockAvx2<true>(at, distances, reach, candidates);
    else TestBlockAvx2<false>(at, distances, reach, candidates);
}

#endif
