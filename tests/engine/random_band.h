// Random bands for the screening tests: the same bytes on every platform,
// in the mixes that screening must get right: noise, white paper with inked
// spots (whole white groups next to drawn ones), flat levels, and the
// extremes around the thresholds' ends.
#pragma once

#include <cstdint>
#include <vector>

#include "support/xorshift.h"

namespace halftone_test {

enum class BandContent { Noise, SpotsOnWhite, FlatRuns, Extremes };

inline const char* ContentName(BandContent content) {
    switch (content) {
        case BandContent::Noise: return "Noise";
        case BandContent::SpotsOnWhite: return "SpotsOnWhite";
        case BandContent::FlatRuns: return "FlatRuns";
        case BandContent::Extremes: return "Extremes";
    }
    return "?";
}

// `bytes` bytes of a band (8-bit pixels, or the ink bytes of 32-bit ones).
inline std::vector<uint8_t> RandomBand(BandContent content, size_t bytes, uint32_t seed) {
    zebl_test::XorShift32 rng(seed);
    std::vector<uint8_t> band(bytes, 255);
    static const uint8_t kExtremes[] = {0, 1, 2, 127, 128, 253, 254, 255};
    size_t i = 0;
    while (i < bytes) {
        const size_t run = 1 + rng.Next() % 40;
        const size_t end = i + run < bytes ? i + run : bytes;
        const uint8_t level = rng.Byte();
        for (; i < end; ++i) {
            switch (content) {
                case BandContent::Noise: band[i] = rng.Byte(); break;
                case BandContent::SpotsOnWhite: band[i] = level < 40 ? rng.Byte() : 255; break;
                case BandContent::FlatRuns: band[i] = level; break;
                case BandContent::Extremes: band[i] = kExtremes[rng.Next() % 8]; break;
            }
        }
    }
    return band;
}

}  // namespace halftone_test
