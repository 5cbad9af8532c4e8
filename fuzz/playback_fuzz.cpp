// Plays arbitrary bytes as a display list. The first byte picks the device
// (grey or colour) and where the band lies; the rest is split into two
// chunks at a position given by the second byte. Nothing may crash, read
// outside the chunks or write outside the band (the band sits between guard
// bytes that are checked after every playback). The first playback records
// the index of glyph runs that the second one jumps by. A grey band may
// draw in bits (one-bit rows between guard bytes too, narrower than the
// band when the first byte says so).
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "engine/playback.h"
#include "engine/playback_index.h"
#include "engine/render_band.h"
#include "engine/render_state.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const bool colour = data[0] & 1;
    const uint32_t top = (data[0] >> 1) % 4 * 16;
    const bool inBits = !colour && (data[0] & 8);
    const uint32_t bitStride = data[0] & 16 ? 6 : 8;
    const size_t cut = 2 + (size - 2) * data[1] / 256;
    // Exact-size copies, so that the sanitizer sees any read past a chunk.
    std::vector<uint8_t> first(data + 2, data + cut), second(data + cut, data + size);
    const DLChunk chunks[2] = {{first.data(), uint32_t(first.size())},
                               {second.data(), uint32_t(second.size())}};

    constexpr uint32_t kWidth = 64, kRows = 16, kGuard = 64;
    RenderState state;
    state.page.isColour = colour;
    state.page.bitsPerPixel = colour ? 32 : 8;
    state.page.rowPixels = kWidth;
    state.page.bytesPerRow = kWidth * state.page.bitsPerPixel / 8;
    state.page.pageRows = 64;
    std::vector<uint8_t> memory(kGuard + size_t(state.page.bytesPerRow) * kRows + kGuard, 0x5A);
    state.window.band = memory.data() + kGuard;
    constexpr uint32_t kWordSlack = 8;
    std::vector<uint8_t> bits(kGuard + size_t{bitStride} * kRows + kWordSlack + kGuard, 0x5A);
    if (inBits) {
        state.window.bits = bits.data() + kGuard;
        state.window.bitsBytes = size_t{bitStride} * kRows + kWordSlack;
        state.window.bitStride = bitStride;
    }
    state.page.displayList = chunks;
    state.page.displayListEnd = chunks + 2;
    RDInitialize(&state);
    PlaybackIndex index;
    RDInitializeBand(&state, 0, 0, top, kWidth - 1, top + kRows - 1);
    PlayFrameBuffer(&state, 0, 0, &index);
    // A second band reuses the slots the first playback defined.
    RDInitializeBand(&state, 1, 0, top + kRows, kWidth - 1, top + 2 * kRows - 1);
    PlayFrameBuffer(&state, 0, 0, &index);
    RDDestroy(&state);
    for (uint32_t i = 0; i < kGuard; ++i) {
        if (memory[i] != 0x5A || memory[memory.size() - 1 - i] != 0x5A) std::abort();
        if (bits[i] != 0x5A || bits[bits.size() - 1 - i] != 0x5A) std::abort();
    }
    return 0;
}
