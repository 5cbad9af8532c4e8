// Work buffers that playback keeps in the rendering state and reuses from one
// object to the next.
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>
#include <vector>

// Grows a work buffer to at least `bytes`; false when the memory is not there
// (the object is then not drawn: the job prints less rather than stopping).
inline bool ReserveScratch(std::vector<uint8_t>& buffer, size_t bytes) {
    try {
        if (buffer.size() < bytes) buffer.resize(bytes);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}
