#include "pipeline/band_cache.h"

#include <cstdint>
#include <new>
#include <stdexcept>

uint8_t* MakeSureAllocated(std::vector<uint8_t>* buffer, uint64_t size) {
    if (buffer == nullptr || size == 0 || size > kMaxCacheBufferBytes) return nullptr;
    if (buffer->size() >= size) return buffer->data();
    try {
        // A new buffer rather than resize: resize would copy the old
        // contents, which nobody wants back.
        std::vector<uint8_t> grown(static_cast<size_t>(size));
        buffer->swap(grown);
    } catch (const std::bad_alloc&) {
        return nullptr;
    } catch (const std::length_error&) {
        return nullptr;
    }
    return buffer->data();
}

uint8_t* FBAllocInCache(FBBandCache* cache, uint32_t kind, uint64_t size) {
    if (cache == nullptr || kind >= kCacheKindCount) return nullptr;
    return MakeSureAllocated(&cache->buffers[kind], size);
}

size_t FBCacheCapacity(const FBBandCache& cache, uint32_t kind) {
    return kind < kCacheKindCount ? cache.buffers[kind].size() : 0;
}
