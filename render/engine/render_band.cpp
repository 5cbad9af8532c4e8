#include "render_band.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "drawing_seams.h"
#include "sys/memory.h"

int RDInitialize(RenderState* state) {
    if (!state->pathGenerator) state->pathGenerator = RDNewPathGenerator();
    state->watermarkMode = 0;
    state->hatchForeground = 0x000000;
    state->hatchBackground = 0xFFFFFF;
    for (auto& slot : state->bitmapSlots) slot.reset();
    for (auto& slot : state->brushSlots) slot.reset();
    state->brush = nullptr;
    return 1;
}

int RDDestroy(RenderState* state) {
    for (auto& slot : state->bitmapSlots) slot.reset();
    for (auto& slot : state->brushSlots) slot.reset();
    state->brush = nullptr;  // it may have pointed into a slot or the build buffer
    std::vector<uint8_t>().swap(state->brushBuild);
    RDFreePathGenerator(state->pathGenerator);
    state->pathGenerator = nullptr;
    std::vector<uint8_t>().swap(state->rowFlags);
    std::vector<ClipRun>().swap(state->clipRuns);
    std::vector<uint8_t>().swap(state->realignScratch);
    std::vector<uint8_t>().swap(state->clipRowScratch);
    std::vector<uint8_t>().swap(state->glyphScratch);
    std::vector<uint8_t>().swap(state->scaledGlyphScratch);
    return 1;
}

int RDInitializePage() { return 1; }

int RDInitializeBand(RenderState* state, uint32_t bandIndex, uint32_t firstCol,
                     uint32_t firstRow, uint32_t lastCol, uint32_t lastRow) {
    const bool usable = lastRow >= firstRow && lastCol >= firstCol && state->rowPixels > 0 &&
                        firstCol < state->rowPixels && state->band != nullptr;
    // The kernels trust bandRight to lie inside the buffer's rows.
    lastCol = std::min(lastCol, state->rowPixels ? state->rowPixels - 1 : 0);
    state->bandIndex = bandIndex;
    state->bandTop = firstRow;
    state->bandLeft = firstCol;
    state->bandBottom = lastRow;
    state->bandRight = lastCol;
    state->clipLeft = firstCol;
    state->clipRight = lastCol;
    state->drawnTop = state->drawnLeft = state->drawnBottom = state->drawnRight = 0;
    if (!usable) {
        state->bandRows = 0;  // DoRender then draws nothing
        return 0;
    }
    state->bandRows = lastRow - firstRow + 1;
    std::memset(state->band, 0xFF, size_t{state->bytesPerRow} * state->bandRows);
    try {
        if (state->rowFlags.size() < state->bandRows) state->rowFlags.resize(state->bandRows);
    } catch (const std::bad_alloc&) {
        state->rowFlags.clear();  // no row flags: the band counts as holding colour
    }
    std::fill(state->rowFlags.begin(), state->rowFlags.end(), uint8_t{0});
    return 1;
}

uint32_t RDPhysBandHeight(uint32_t resolution) { return resolution == 300 ? 64 : 128; }

namespace {

constexpr uint32_t kBudgetCapMiB = 60;
constexpr uint32_t kBudgetFloorMiB = 4;
constexpr uint64_t kBitsPerMiB = 0x800000;  // 2^20 bytes of 8 bits

uint64_t RoundUp(uint64_t v, uint64_t multiple) { return (v + multiple - 1) / multiple * multiple; }

}  // namespace

uint32_t RDRendBandHeightFor(uint64_t availableMemory, uint32_t bandBufferSize,
                             uint32_t rowPixels, uint32_t bitsPerPixel, uint32_t pageRows,
                             uint32_t resolution, uint32_t percent) {
    if (rowPixels == 0 || bitsPerPixel == 0) return 0;
    const uint64_t p = RDPhysBandHeight(resolution);
    // An empty page still gets one physical band.
    const uint64_t pageRowsRounded = std::max(RoundUp(pageRows, p), p);

    const uint64_t memoryMiB = std::min<uint64_t>(availableMemory >> 20, kBudgetCapMiB);
    const uint64_t budgetMiB = std::max<uint64_t>(memoryMiB * percent / 100, kBudgetFloorMiB);
    uint64_t rows = budgetMiB * kBitsPerMiB / bitsPerPixel / rowPixels;
    rows = std::min(std::max(rows, p), pageRowsRounded);

    // Split the page evenly into at least two bands.
    const uint64_t bands = std::max<uint64_t>((pageRowsRounded + rows - 1) / rows, 2);
    uint64_t height = std::max(pageRowsRounded / bands, p);

    const uint64_t rowBytes = uint64_t{rowPixels} * bitsPerPixel / 8;
    if (bandBufferSize != 0 && rowBytes != 0 && bandBufferSize / rowBytes > p) {
        height = bandBufferSize / rowBytes;
    }
    return static_cast<uint32_t>(RoundUp(height, p));
}

uint32_t GetRendBandHeight(uint32_t bandBufferSize, uint32_t rowPixels, uint32_t bitsPerPixel,
                           uint32_t pageRows, uint32_t resolution, uint32_t percent) {
    return RDRendBandHeightFor(sys::AvailablePhysicalMemory(), bandBufferSize, rowPixels,
                               bitsPerPixel, pageRows, resolution, percent);
}
