// The portable block test, eight bytes a word, and the choice between it and
// the SSE2 one.
#include "pipeline/offset_table_coder_blocks.h"

#include <algorithm>
#include <bit>

#include "engine/cpu_features.h"
#include "pipeline/offset_table_coder.h"
#include "pipeline/offset_table_coder_words.h"

namespace {

static_assert(kFBBDistanceCount == 64, "a position's candidates are one 64-bit word");

// A word of eight bytes settles six positions (each needs the two bytes
// after it): words from 0, 6, 12, 18, 24 and 26 cover positions 0..31, 26
// to 29 twice.
template <bool kAllReach>
void TestBlockWords(const uint8_t* at, const uint32_t* distances, size_t reach, uint64_t* candidates) {
    static_assert(kFBBlockPositions == 32);
    constexpr uint32_t kWordStarts[] = {0, 6, 12, 18, 24, 26};
    std::fill(candidates, candidates + kFBBlockPositions, uint64_t{0});
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
}

FBBlockTest ChooseBlockTest() {
#if ZEBL_CODER_SSE2
    if (FBBlockTestAvx2Runs()) return FBBlockTestAvx2;
    if (FBBlockTestSse2Runs()) return FBBlockTestSse2;
#endif
    return FBBlockTestWords;
}

}  // namespace

void FBBlockTestWords(const uint8_t* at, const uint32_t* distances, size_t reach, bool allReach,
                      uint64_t* candidates) {
    if (allReach) TestBlockWords<true>(at, distances, reach, candidates);
    else TestBlockWords<false>(at, distances, reach, candidates);
}

bool FBBlockTestSse2Runs() { return ZEBL_CODER_SSE2 && CpuHasSse2(); }

bool FBBlockTestAvx2Runs() { return ZEBL_CODER_SSE2 && CpuHasAvx2(); }

FBBlockTest FBChosenBlockTest() {
    static const FBBlockTest chosen = ChooseBlockTest();
    return chosen;
}
