// Set-up of the rendering state: once per job, once per render band, and
// the height of render bands from the memory budget.
#pragma once

#include <cstdint>

#include "render_state.h"

// Starts the document part of the state: creates the path generator,
// empties every downloaded bitmap and brush, and resets the registers (the
// hatch colours start black on white). Returns 1.
int RDInitialize(RenderState* state);

// Frees the document part (every slot and the path generator), the work
// buffers, the row flags and the clip runs. Returns 1.
int RDDestroy(RenderState* state);

// Called between bands and pages; nothing to do. Returns 1.
int RDInitializePage();

// Makes rows firstRow .. lastRow and columns firstCol .. lastCol the current
// band: makes the band buffer white, clears the drawn box and the row flags.
// Only rows drawn since the buffer was last made white are filled again
// (the row flags of the band before say which), unless the buffer was
// written otherwise (RDForgetBandContents).
// The caller has set the page part and the band buffer. Returns 0 (and draws
// nothing later) for an empty band or one wider than the buffer's rows.
int RDInitializeBand(RenderState* state, uint32_t bandIndex, uint32_t firstCol, uint32_t firstRow,
                     uint32_t lastCol, uint32_t lastRow);

// Forgets which rows of the band buffer are white: the next band clears all
// of its rows. For whoever writes into the buffer other than by drawing
// (colour conversion) or hands out a new buffer at the same address.
void RDForgetBandContents(BandWindow* window);

// Lines of a physical band at a resolution: 64 at 300 dpi, else 128.
uint32_t RDPhysBandHeight(uint32_t resolution);

// Rows per render band: as many as `percent` of the memory budget (the
// available physical memory, at most 60 MiB) allows, split evenly over the
// page, a multiple of the physical band height. `bandBufferSize` is the
// configured band-buffer size (0: none). 0 when the geometry is unusable.
uint32_t GetRendBandHeight(uint32_t bandBufferSize, uint32_t rowPixels, uint32_t bitsPerPixel,
                           uint32_t pageRows, uint32_t resolution, uint32_t percent);

// The same with the available memory given, for tests.
uint32_t RDRendBandHeightFor(uint64_t availableMemory, uint32_t bandBufferSize, uint32_t rowPixels,
                             uint32_t bitsPerPixel, uint32_t pageRows, uint32_t resolution, uint32_t percent);
