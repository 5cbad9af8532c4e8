#include "render_band.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "bit_band.h"
#include "drawing_seams.h"
#include "sys/memory.h"

namespace {

void EmptySlots(RenderDocument* doc) {
    for (auto& slot : doc->bitmapSlots) slot.reset();
    for (auto& slot : doc->brushSlots) slot.reset();
}

// Marks the rows the band before drew into (its row flags) as dirty.
// Rows it had no flag for count as drawn.
void AddDrawnRows(BandWindow* window, uint32_t previousRows) {
    std::vector<uint8_t>& dirty = window->dirtyRows;
    const size_t rows = std::min<size_t>(previousRows, dirty.size());
    const size_t flagged = std::min(rows, window->rowFlags.size());
    for (size_t r = 0; r < flagged; ++r)
        if (window->rowFlags[r] != 0) dirty[r] = 1;
    std::fill(dirty.begin() + static_cast<ptrdiff_t>(flagged), dirty.begin() + static_cast<ptrdiff_t>(rows),
              uint8_t{1});
}

// Fills the dirty rows among the band's first `rows` with white, in runs.
void WhitenDirtyRows(BandWindow* window, size_t rowBytes, uint32_t rows) {
    uint8_t* dirty = window->dirtyRows.data();
    for (uint32_t r = 0; r < rows;) {
        if (!dirty[r]) {
            ++r;
            continue;
        }
        uint32_t end = r;
        while (end < rows && dirty[end]) dirty[end++] = 0;
        std::memset(window->band + r * rowBytes, 0xFF, (end - r) * rowBytes);
        r = end;
    }
}

// Makes the band's rows white, filling only those that may not be. A
// buffer or row length other than the tracked one is filled whole.
void MakeBandWhite(BandWindow* window, uint32_t rowBytes, uint32_t previousRows) {
    const bool tracked = window->trackedBand == window->band && window->trackedRowBytes == rowBytes;
    try {
        if (tracked) {
            // A band drawn in bits left the byte buffer white.
            if (!window->inBits) AddDrawnRows(window, previousRows);
        } else {
            window->dirtyRows.assign(window->bandRows, 1);
        }
        if (window->dirtyRows.size() < window->bandRows) window->dirtyRows.resize(window->bandRows, 1);
    } catch (const std::bad_alloc&) {
        RDForgetBandContents(window);
        std::memset(window->band, 0xFF, size_t{rowBytes} * window->bandRows);
        return;
    }
    window->trackedBand = window->band;
    window->trackedRowBytes = rowBytes;
    WhitenDirtyRows(window, rowBytes, window->bandRows);
}

}  // namespace

int RDInitialize(RenderState* state) {
    RenderDocument& doc = state->doc;
    if (!doc.pathGenerator) doc.pathGenerator = RDNewPathGenerator();
    EmptySlots(&doc);
    // The registers start afresh (hatch colours black on white, no brush);
    // every playback sets them again before its first record.
    state->reg = InterpreterRegisters{};
    return 1;
}

int RDDestroy(RenderState* state) {
    EmptySlots(&state->doc);
    RDFreePathGenerator(state->doc.pathGenerator);
    state->doc.pathGenerator = nullptr;
    state->reg.brush = nullptr;  // it may have pointed into a slot or the build buffer
    state->scratch = RenderScratch{};
    std::vector<uint8_t>().swap(state->window.rowFlags);
    std::vector<ClipRun>().swap(state->window.clipRuns);
    std::vector<uint8_t>().swap(state->window.dirtyRows);
    RDForgetBandContents(&state->window);
    state->window.bits = nullptr;  // lent by the page printer
    state->window.bitsBytes = 0;
    state->window.inBits = false;
    return 1;
}

int RDInitializePage() { return 1; }

int RDInitializeBand(RenderState* state, uint32_t bandIndex, uint32_t firstCol, uint32_t firstRow,
                     uint32_t lastCol, uint32_t lastRow) {
    const RenderPage& page = state->page;
    BandWindow& window = state->window;
    const bool usable = lastRow >= firstRow && lastCol >= firstCol && page.rowPixels > 0 &&
                        firstCol < page.rowPixels && window.band != nullptr;
    // The kernels trust bandRight to lie inside the buffer's rows.
    lastCol = std::min(lastCol, page.rowPixels ? page.rowPixels - 1 : 0);
    const uint32_t previousRows = window.bandRows;
    window.bandIndex = bandIndex;
    window.bandTop = firstRow;
    window.bandLeft = firstCol;
    window.bandBottom = lastRow;
    window.bandRight = lastCol;
    window.clipLeft = firstCol;
    window.clipRight = lastCol;
    window.drawnTop = window.drawnLeft = window.drawnBottom = window.drawnRight = 0;
    if (!usable) {
        window.bandRows = 0;  // DoRender then draws nothing
        window.inBits = false;
        RDForgetBandContents(&window);  // the rows the band before drew are not followed
        return 0;
    }
    window.bandRows = lastRow - firstRow + 1;
    MakeBandWhite(&window, page.bytesPerRow, previousRows);
    try {
        if (window.rowFlags.size() < window.bandRows) window.rowFlags.resize(window.bandRows);
    } catch (const std::bad_alloc&) {
        window.rowFlags.clear();  // no row flags: the band counts as holding colour
    }
    std::fill(window.rowFlags.begin(), window.rowFlags.end(), uint8_t{0});
    RDStartBitBand(&window, page);
    return 1;
}

void RDForgetBandContents(BandWindow* window) {
    window->trackedBand = nullptr;
    window->trackedRowBytes = 0;
}

uint32_t RDPhysBandHeight(uint32_t resolution) { return resolution == 300 ? 64 : 128; }

namespace {

constexpr uint32_t kBudgetCapMiB = 60;
constexpr uint32_t kBudgetFloorMiB = 4;
constexpr uint64_t kBitsPerMiB = 0x800000;  // 2^20 bytes of 8 bits

uint64_t RoundUp(uint64_t v, uint64_t multiple) { return (v + multiple - 1) / multiple * multiple; }

}  // namespace

uint32_t RDRendBandHeightFor(uint64_t availableMemory, uint32_t bandBufferSize, uint32_t rowPixels,
                             uint32_t bitsPerPixel, uint32_t pageRows, uint32_t resolution,
                             uint32_t percent) {
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
    return RDRendBandHeightFor(sys::AvailablePhysicalMemory(), bandBufferSize, rowPixels, bitsPerPixel,
                               pageRows, resolution, percent);
}
