// The SSE2 block test: each distance tested at sixteen positions in three
// byte compares, the results gathered eight distances to a byte and turned
// into one 64-bit word of candidates per position.
//
// The function carries its own target, so that a 32-bit build for
// processors without SSE2 still compiles it; the copy search calls it only
// where the processor has SSE2 (FBChosenBlockTest).
#include "pipeline/offset_table_coder_blocks.h"

#if ZEBL_CODER_SSE2

#include <emmintrin.h>

#include "pipeline/offset_table_coder.h"

// The body is always inlined into the entry, so that no vector is passed on
// the stack. The entry realigns the stack in a 32-bit build: the spooler may
// call the library with a stack that is only 4-byte aligned, and SSE2 spills
// and stack operands need 16 bytes.
#define ZEBL_SSE2_INLINE __attribute__((target("sse2"), always_inline))
#if defined(__i386__)
#define ZEBL_SSE2_ENTRY __attribute__((target("sse2"), force_align_arg_pointer))
#else
#define ZEBL_SSE2_ENTRY __attribute__((target("sse2")))
#endif

namespace {

static_assert(kFBBlockPositions % 16 == 0 && kFBBDistanceCount == 64);

// Byte i of the result: bit b set when distance 8g + b (g = group) repeats
// three bytes at position i.
template <bool kAllReach>
ZEBL_SSE2_INLINE inline __m128i GroupBits(const uint8_t* at, const uint32_t* distances, size_t reach,
                                          uint32_t g, __m128i a0, __m128i a1, __m128i a2) {
    __m128i bits = _mm_setzero_si128();
    for (uint32_t b = 0; b < 8; ++b) {
        const uint32_t d = distances[8 * g + b];
        if (!kAllReach && (d == 0 || d > reach)) continue;
        const uint8_t* from = at - d;
        const __m128i e0 = _mm_cmpeq_epi8(a0, _mm_loadu_si128(reinterpret_cast<const __m128i*>(from)));
        const __m128i e1 = _mm_cmpeq_epi8(a1, _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + 1)));
        const __m128i e2 = _mm_cmpeq_epi8(a2, _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + 2)));
        const __m128i repeats = _mm_and_si128(_mm_and_si128(e0, e1), e2);
        bits = _mm_or_si128(bits, _mm_and_si128(repeats, _mm_set1_epi8(static_cast<char>(1u << b))));
    }
    return bits;
}

template <bool kAllReach>
ZEBL_SSE2_INLINE inline void TestBlockSse2(const uint8_t* at, const uint32_t* distances, size_t reach,
                                           uint64_t* candidates) {
    const __m128i a0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    const __m128i a1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + 1));
    const __m128i a2 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + 2));
    __m128i group[8];
    for (uint32_t g = 0; g < 8; ++g) group[g] = GroupBits<kAllReach>(at, distances, reach, g, a0, a1, a2);
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
}

}  // namespace

ZEBL_SSE2_ENTRY void FBBlockTestSse2(const uint8_t* at, const uint32_t* distances, size_t reach,
                                     bool allReach, uint64_t* candidates) {
    // Sixteen positions at a time.
    for (uint32_t first = 0; first < kFBBlockPositions; first += 16) {
        if (allReach) TestBlockSse2<true>(at + first, distances, reach, candidates + first);
        else TestBlockSse2<false>(at + first, distances, reach, candidates + first);
    }
}

#endif
