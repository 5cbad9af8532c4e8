// The band record: what the page printer knows about the rendering band in
// hand and the physical bands it is cut into. One per document, filled at
// every page (FBInitializeBand) and at every rendering band
// (FBOutBandSetBuffer, FBOutBandSetRowFlags, FBPrepareBand).
//
// What band output reads (geometry, rendering buffer, screens, row flags) is
// the engine's FBRasterBand; the record adds what printing the planes needs:
// the band cache that lends the buffers, the compression parameter's band
// count and resolutions, and the offset-table coder's tables.
//
// Lines, widths and heights are at the output resolution. In the 600 x 1200
// mode the page is rendered at 600 dpi and printed at 1200 dpi: every
// rendering row and pixel then becomes two (see engine/band_output.h).
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/band_output.h"
#include "pipeline/band_cache.h"
#include "pipeline/colour_module.h"
#include "pipeline/fb_records.h"
#include "pipeline/offset_table_coder.h"
#include "pipeline/output_writer.h"

struct FBBand {
    FBRasterBand raster;
    uint32_t bandCount = 0;   // for the compression parameter of the last band
    uint32_t resolution = 0;  // rendering, dots per inch
    uint32_t outputResolution = 0;
    FBBandCache* cache = nullptr;

    // The offset-table coder's distances, reused from band to band of the
    // document.
    FBCompressTables compressTables;

    // The colour conversion left to band output (FBOutBandSetConversion),
    // not owned; null: the rendering buffer is converted already.
    CMMConverter* conversion = nullptr;
};

// Whether the band record doubles rendering rows and pixels.
bool FBBandIsDoubled(const FBBand& band);

// Fills the band record from the page: resolutions, pixel depth, physical
// band geometry at the output resolution; grows the cache's halftone,
// compressed-band and work buffers; sets up the screens (screenClass: 0
// normal, 1 text, 2 photo). Returns 1, or 0 when the page's depth is neither
// 8 nor 32 bits or the buffers cannot be had.
int FBInitializeBand(FBBand* band, FBBandCache* cache, const FBPage& page, uint32_t screenClass);

// The band count the compression parameter sees: (physical band height at
// the output resolution / that at the rendering resolution) x (rendering
// bands x output resolution / rendering resolution). Returns 1, or 0 before
// FBInitializeBand.
int FBOutBandSetTotalBandNums(FBBand* band, uint32_t renderBandCount);

// The rendering buffer and how many bytes of it hold rows. Returns 1.
int FBOutBandSetBuffer(FBBand* band, uint8_t* buffer, size_t bytes);

// The row flags of the rendering band just played (one byte per rendering
// row; none: null or 0). Returns 1.
int FBOutBandSetRowFlags(FBBand* band, const uint8_t* rowFlags, size_t count);

// Leaves the colour conversion of the rendering band to band output: each
// physical band's drawn rows are converted with CMMConvert just before they
// are screened (engine/band_output.h). Only for a conversion that keeps
// white pixels white; null: the buffer is converted already. Returns 1.
int FBOutBandSetConversion(FBBand* band, CMMConverter* colour);

// Gives the rendering band as its one-bit plane rows (engine/band_output.h:
// a grey band drawn in black and white only); null: it is screened from
// its pixels. Returns 1.
int FBOutBandSetBitPlanes(FBBand* band, const uint8_t* bits, size_t bytes);

// Sets line, width and height from the inclusive rectangle x0..x1, y0..y1 of
// rendering pixels, and the rendering buffer's row bytes. In the 600 x 1200
// mode line, width and height are doubled. Returns 1, or 0 (band emptied)
// when the rectangle is inverted or too large.
int FBPrepareBand(FBBand* band, uint32_t x0, uint32_t y0, uint32_t x1, uint32_t y1);

// Prints the prepared band: lends band output the cache's plane buffer and
// hands it a band record writer (with the cache's compression buffers) as
// its sink, through ClippingColor or ClippingMono, or their doubling
// variants in the 600 x 1200 mode. Returns what band output returns; 0 when
// the buffers cannot be had.
int FBPrintBand(FBBand* band, FBOut* out);

// Releases the screens and the doubling buffer. Returns 1.
int FBDestroyBand(FBBand* band);
