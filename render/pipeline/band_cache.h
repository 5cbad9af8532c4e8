// The band work buffers of a document: kept for the whole document, grown
// when a page needs more, never shrunk.
//
// The document context (built around this cache elsewhere) also keeps the
// rendering state, the band record and the colour-conversion block beside
// these buffers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

enum FBCacheKind : uint32_t {
    kCacheHalftoneBand = 0,    // the screened planes of one physical band
    kCacheCompressedBand = 1,  // one compressed plane
    kCacheCompressWork = 2,    // the coders' hash table and transposed plane
    kCacheRenderBuffer = 3,    // the rendering band the display list plays into
    kCacheKindCount = 4,
};

struct FBBandCache {
    // The size of each vector is its capacity. Growing replaces the buffer by
    // a new zero-filled one: what it held is not kept.
    std::vector<uint8_t> buffers[kCacheKindCount];
};

// The largest buffer the cache hands out. Band buffers of real pages stay
// far below it (a rendering band takes at most 60 MiB of the memory budget);
// a size above it comes from a page record no printer could print.
constexpr uint64_t kMaxCacheBufferBytes = uint64_t{1} << 30;

// Makes sure buffer holds at least size bytes: an empty or smaller buffer is
// replaced by a new zero-filled one of exactly size bytes (its contents are
// not kept); a large enough one is returned as it is. Returns its first byte,
// or null when size is 0 or above kMaxCacheBufferBytes, or the memory cannot
// be had (the old buffer then stays as it was).
uint8_t* MakeSureAllocated(std::vector<uint8_t>* buffer, uint64_t size);

// The cache buffer of that kind, at least size bytes (see MakeSureAllocated);
// null for a kind out of range.
uint8_t* FBAllocInCache(FBBandCache* cache, uint32_t kind, uint64_t size);

// Bytes the cache buffer of that kind holds now (0 for a kind out of range).
size_t FBCacheCapacity(const FBBandCache& cache, uint32_t kind);
