// The distance analysis of the offset-table coder: which 64 distances repeat
// most often at about one sampled position per column, and how long a copy
// from each must be to end the search.
#include <algorithm>
#include <cstring>
#include <functional>
#include <iterator>

#include "pipeline/offset_table_coder.h"
#include "pipeline/offset_table_coder_words.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr uint32_t kMaxSampleLines = 1024;

// Distance between samples: about one sample per column (count - 1 of them,
// at most 1024). Small planes, which the printer's band sizes never produce,
// still sample every byte from 2048 on rather than stall on a zero step.
size_t SampleStep(size_t total, uint32_t count) {
    const uint32_t spans = (count < 2 || count - 1 > kMaxSampleLines) ? kMaxSampleLines : count - 1;
    if (total <= kFBBMaxDistance) return 1;  // no sample position at all
    return std::max<size_t>((total - kFBBMaxDistance) / spans, 1);
}

// Counts, for every distance d in 1..2048, the samples whose byte repeats d
// bytes back. The window before a sample is read forwards, so the count of
// distance d sits at index 2048 - d. Counts go into one byte per distance,
// sixteen (eight without vector registers) distances a step, and into the
// 32-bit totals before a byte could overflow.
class RepeatCounter {
public:
    void Add(const uint8_t* sample) {
        const uint8_t* window = sample - kFBBMaxDistance;
#if defined(__SSE2__)
        const __m128i value = _mm_set1_epi8(static_cast<char>(*sample));
        for (uint32_t q = 0; q < kFBBMaxDistance; q += 16) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(window + q));
            __m128i* count = reinterpret_cast<__m128i*>(counts_ + q);
            // A match is 0xFF, minus one: the count goes up by one.
            _mm_store_si128(count, _mm_sub_epi8(_mm_load_si128(count), _mm_cmpeq_epi8(bytes, value)));
        }
#else
        const uint64_t value = fbb_words::kOnes * *sample;
        for (uint32_t q = 0; q < kFBBMaxDistance; q += 8) {
            const uint64_t sum =
                fbb_words::Load(counts_ + q) + fbb_words::EqualBytes(fbb_words::Load(window + q), value);
            std::memcpy(counts_ + q, &sum, sizeof sum);
        }
#endif
        if (++pending_ == kMaxPending) Flush();
    }

    // The totals by 2048 - d.
    const uint32_t* Totals() {
        Flush();
        return totals_;
    }

private:
    static constexpr uint32_t kMaxPending = 255;

    void Flush() {
        for (uint32_t q = 0; q < kFBBMaxDistance; ++q) totals_[q] += counts_[q];
        std::fill(std::begin(counts_), std::end(counts_), uint8_t{0});
        pending_ = 0;
    }

    alignas(16) uint8_t counts_[kFBBMaxDistance] = {};
    uint32_t totals_[kFBBMaxDistance] = {};
    uint32_t pending_ = 0;
};

// The 64 distances with the most hits, most first; among equal counts the
// shorter distance first. Each candidate becomes one number that orders the
// same way (hits above, 2048 - d below), and the best 64 are sorted out.
void PickDistances(const uint32_t* hitsByBack, int32_t* offsets) {
    constexpr uint32_t kDistanceBits = 12;  // 2048 - d is 0..2047
    uint64_t ranked[kFBBMaxDistance];
    for (uint32_t q = 0; q < kFBBMaxDistance; ++q)
        ranked[q] = uint64_t{hitsByBack[q]} << kDistanceBits | q;  // q = 2048 - d
    std::partial_sort(ranked, ranked + kFBBDistanceCount, ranked + kFBBMaxDistance, std::greater<>());
    for (int slot = 0; slot < kFBBDistanceCount; ++slot) {
        const uint32_t q = static_cast<uint32_t>(ranked[slot] & ((1u << kDistanceBits) - 1));
        offsets[slot] = -static_cast<int32_t>(kFBBMaxDistance - q);
    }
}

// Parameter 1..99 makes later (less frequent) distances settle for shorter
// copies: entry i = 514 - i * step, at least 3. Any other parameter: 514 each.
void FillMaxMatchCounts(uint8_t parameter, uint16_t* counts) {
    const bool graded = parameter > 0 && parameter < 100;
    const uint32_t step = graded ? uint32_t{static_cast<uint8_t>(25700u / (uint32_t{parameter} * 64u))} : 0u;
    for (int i = 0; i < kFBBDistanceCount; ++i) {
        const int32_t length = static_cast<int32_t>(kFBBMaxCopy) - i * static_cast<int32_t>(step);
        counts[i] = static_cast<uint16_t>(std::max<int32_t>(length, kFBBMinCopy));
    }
}

}  // namespace

int iFindXFXOffs(const uint8_t* data, uint32_t size, uint32_t count, uint8_t parameter,
                 FBCompressTables* tables) {
    const size_t total = static_cast<size_t>(size) * count;
    const size_t step = SampleStep(total, count);
    RepeatCounter counter;
    for (size_t p = kFBBMaxDistance; p < total; p += step) counter.Add(data + p);
    PickDistances(counter.Totals(), tables->xFX_rFXOffs);
    FillMaxMatchCounts(parameter, tables->xFX_MaxMatchCnts);
    return 0;
}
