// Stretch tables cut to a visible part against the whole destination laid
// out pixel by pixel from the replication rule.
#include <gtest/gtest.h>

#include <vector>

#include "engine/stretch_table.h"

namespace {

// The source pixel of every destination pixel, by walking the rule
// floor(i*m/n) .. floor((i+1)*m/n) - 1 forwards.
std::vector<uint32_t> SourceOfEachDestination(uint32_t n, uint32_t m) {
    std::vector<uint32_t> source;
    for (uint32_t i = 0; i < n; ++i) {
        const uint64_t from = uint64_t{i} * m / n, to = uint64_t{i + 1} * m / n;
        for (uint64_t d = from; d < to; ++d) source.push_back(i);
    }
    return source;
}

TEST(StretchTable, EveryVisiblePartMatchesTheWholeLayout) {
    for (uint32_t n = 1; n <= 12; ++n) {
        for (uint32_t m = 1; m <= 30; ++m) {
            const std::vector<uint32_t> source = SourceOfEachDestination(n, m);
            ASSERT_EQ(source.size(), m);
            for (uint32_t a = 0; a < m; ++a) {
                for (uint32_t b = a + 1; b <= m; ++b) {
                    std::vector<uint32_t> storage;
                    StretchTable t;
                    ASSERT_TRUE(GetStrchingTbl(n, m, a, b, storage, &t));
                    // Replaying the counts lays out exactly the visible pixels.
                    std::vector<uint32_t> laid;
                    for (uint32_t k = 0; k < t.Entries(); ++k)
                        laid.insert(laid.end(), t.counts[k], t.first + k);
                    ASSERT_EQ(laid, std::vector<uint32_t>(source.begin() + a, source.begin() + b))
                        << n << " to " << m << ", visible " << a << ".." << b;
                    for (uint32_t d = a; d < b; ++d) ASSERT_EQ(StretchSourceOf(n, m, d), source[d]);
                }
            }
        }
    }
}

TEST(StretchTable, OneSourcePixelCoversAnyNumberOfDestinationPixels) {
    // More than the 255 an 8-bit count could hold, and more than 32 bits of
    // products: the counts stay exact, cut to what is visible.
    std::vector<uint32_t> storage;
    StretchTable t;
    ASSERT_TRUE(GetStrchingTbl(2, 600, 0, 600, storage, &t));
    EXPECT_EQ(t.Entries(), 2u);
    EXPECT_EQ(t.counts[0], 300u);
    EXPECT_EQ(t.counts[1], 300u);
    ASSERT_TRUE(GetStrchingTbl(65535, 0xFFFFFFFFu, 0x80000000u, 0x80000000u + 4960, storage, &t));
    EXPECT_EQ(t.first, 32767u);
    uint64_t sum = 0;
    for (uint32_t k = 0; k < t.Entries(); ++k) sum += t.counts[k];
    EXPECT_EQ(sum, 4960u);
}

TEST(StretchTable, EmptyOrOutsidePartsAreRefused) {
    std::vector<uint32_t> storage;
    StretchTable t;
    EXPECT_FALSE(GetStrchingTbl(0, 5, 0, 5, storage, &t));
    EXPECT_FALSE(GetStrchingTbl(5, 0, 0, 0, storage, &t));
    EXPECT_FALSE(GetStrchingTbl(5, 5, 3, 3, storage, &t));
    EXPECT_FALSE(GetStrchingTbl(5, 5, 2, 6, storage, &t));
}

}  // namespace
