// Band geometry per resolution and the document's growable band buffers.
#include "pipeline/band_cache.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "engine/render_band.h"
#include "pipeline/band_geometry.h"

namespace {

TEST(BandGeometry, HeightAndWidthPerResolution) {
    EXPECT_EQ(FBGetPhysBandHeight(300), 64u);
    EXPECT_EQ(FBGetPhysBandWidthBytes(300), 308u);
    EXPECT_EQ(FBGetPhysBandHeight(600), 128u);
    EXPECT_EQ(FBGetPhysBandWidthBytes(600), 620u);
    EXPECT_EQ(FBGetPhysBandHeight(1200), 128u);
    EXPECT_EQ(FBGetPhysBandWidthBytes(1200), 1240u);
    // Any other resolution is treated as 600.
    for (uint32_t r : {0u, 150u, 400u, 2400u}) {
        EXPECT_EQ(FBGetPhysBandHeight(r), 128u) << r;
        EXPECT_EQ(FBGetPhysBandWidthBytes(r), 620u) << r;
    }
}

TEST(BandGeometry, ThePipelineAndTheRendererAgreeOnBandHeights) {
    for (uint32_t r : {0u, 300u, 301u, 600u, 1200u, 4800u})
        EXPECT_EQ(FBGetPhysBandHeight(r), RDPhysBandHeight(r)) << r;
}

TEST(BandGeometry, BufferSizes) {
    EXPECT_EQ(FBGetHTBandSize(300, 8), 308u * 64);          // 19712: one plane
    EXPECT_EQ(FBGetHTBandSize(1200, 32), 1240u * 128 * 4);  // 634880: four planes
    EXPECT_EQ(FBGetHTBandSize(600, 32), 317440u);
    EXPECT_EQ(FBGetCompBandSize(600), 79360u + 1024);
    EXPECT_EQ(FBGetCompBandSize(300), 19712u + 1024);
    EXPECT_EQ(FBGetTempCompBufSize(600), 79360u + 67584);
    EXPECT_EQ(FBGetTempCompBufSize(1200), 158720u + 67584);
}

TEST(BandCache, GrowsZeroFilledAndKeepsABufferThatIsLargeEnough) {
    FBBandCache cache;
    uint8_t* first = FBAllocInCache(&cache, kCacheCompressedBand, 100);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(FBCacheCapacity(cache, kCacheCompressedBand), 100u);
    for (size_t i = 0; i < 100; ++i) EXPECT_EQ(first[i], 0) << i;
    first[0] = 0x5A;

    // Smaller or equal: the same buffer, contents as they were.
    EXPECT_EQ(FBAllocInCache(&cache, kCacheCompressedBand, 60), first);
    EXPECT_EQ(FBAllocInCache(&cache, kCacheCompressedBand, 100), first);
    EXPECT_EQ(first[0], 0x5A);

    // Larger: a new zero-filled buffer; what the old one held is gone.
    uint8_t* grown = FBAllocInCache(&cache, kCacheCompressedBand, 4096);
    ASSERT_NE(grown, nullptr);
    EXPECT_EQ(FBCacheCapacity(cache, kCacheCompressedBand), 4096u);
    for (size_t i = 0; i < 4096; ++i) ASSERT_EQ(grown[i], 0) << i;
    // Never shrinks.
    EXPECT_EQ(FBAllocInCache(&cache, kCacheCompressedBand, 10), grown);
    EXPECT_EQ(FBCacheCapacity(cache, kCacheCompressedBand), 4096u);
}

TEST(BandCache, TheFourKindsAreSeparateBuffers) {
    FBBandCache cache;
    uint8_t* buffers[kCacheKindCount];
    for (uint32_t kind = 0; kind < kCacheKindCount; ++kind) {
        buffers[kind] = FBAllocInCache(&cache, kind, 64 * (kind + 1));
        ASSERT_NE(buffers[kind], nullptr);
        std::fill(buffers[kind], buffers[kind] + 64 * (kind + 1), static_cast<uint8_t>(kind + 1));
    }
    for (uint32_t kind = 0; kind < kCacheKindCount; ++kind) {
        EXPECT_EQ(FBCacheCapacity(cache, kind), 64u * (kind + 1));
        for (uint32_t i = 0; i < 64 * (kind + 1); ++i) ASSERT_EQ(buffers[kind][i], kind + 1);
    }
}

TEST(BandCache, RefusesBadKindsEmptyRequestsAndWhatCannotBeHad) {
    FBBandCache cache;
    EXPECT_EQ(FBAllocInCache(&cache, kCacheKindCount, 16), nullptr);
    EXPECT_EQ(FBAllocInCache(&cache, 0xFFFFFFFFu, 16), nullptr);
    EXPECT_EQ(FBAllocInCache(nullptr, 0, 16), nullptr);
    EXPECT_EQ(FBCacheCapacity(cache, kCacheKindCount), 0u);
    EXPECT_EQ(FBAllocInCache(&cache, kCacheRenderBuffer, 0), nullptr);

    uint8_t* kept = FBAllocInCache(&cache, kCacheRenderBuffer, 32);
    ASSERT_NE(kept, nullptr);
    kept[31] = 7;
    // More than any page needs: refused, and the old buffer stays.
    EXPECT_EQ(FBAllocInCache(&cache, kCacheRenderBuffer, kMaxCacheBufferBytes + 1), nullptr);
    EXPECT_EQ(FBAllocInCache(&cache, kCacheRenderBuffer, uint64_t{1} << 62), nullptr);
    EXPECT_EQ(FBCacheCapacity(cache, kCacheRenderBuffer), 32u);
    EXPECT_EQ(FBAllocInCache(&cache, kCacheRenderBuffer, 32), kept);
    EXPECT_EQ(kept[31], 7);

    EXPECT_EQ(MakeSureAllocated(nullptr, 16), nullptr);
}

}  // namespace
