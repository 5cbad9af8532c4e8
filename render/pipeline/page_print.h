// The page printer: plays a page's display list band by band into the
// rendering buffer, has the colour module turn the pixels into inks, and
// hands every rendering band to the band printer, which screens, compresses
// and writes it. Four variants: normal (with a vertical shift for landscape
// scaling), enlarged (a window of the page scaled up), rotated by 180
// degrees, and poster tiles (n x n enlarged windows, one sheet each).
//
// Every variant writes nothing at all for a page whose rendering band cannot
// be sized or allocated: no page header, no trailer (the job goes on).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/render_state.h"
#include "pipeline/band_cache.h"
#include "pipeline/colour_module.h"
#include "pipeline/fb_band.h"
#include "pipeline/fb_records.h"
#include "pipeline/output_writer.h"

// A page's display list as the rendering engine reads it: whole-record
// chunks, and how many bytes they hold together.
struct FBDisplayList {
    const DLChunk* begin = nullptr;
    const DLChunk* end = nullptr;
    uint64_t bytes = 0;
};

// What the page printer keeps for the whole document: the band buffers, the
// rendering state (its downloaded bitmaps and brushes live from page to
// page), the band record, and the output band of the rotated and enlarged
// variants. Everything only grows; nothing is allocated per band.
struct FBPrintCache {
    FBPrintCache();
    ~FBPrintCache();
    FBPrintCache(const FBPrintCache&) = delete;
    FBPrintCache& operator=(const FBPrintCache&) = delete;

    FBBandCache buffers;
    std::unique_ptr<RenderState> renderState;  // created at the first page
    std::unique_ptr<FBBand> band;              // created at the first page
    // The document's colour module, not owned; null: no conversion. At page
    // start it follows the page (CMMResetPage); every played band goes
    // through CMMConvert.
    CMMConverter* colour = nullptr;
    std::vector<uint8_t> outputBand;  // rotated and enlarged printing
    std::vector<uint8_t> outputRowFlags;
    // Normal printing draws grey bands that hold only black and white at one
    // bit per pixel, when the page's screen prints them alike
    // (engine/bit_band.h); off, every band is drawn in bytes and screened.
    // The printed bytes are the same either way.
    bool blackAndWhiteInBits = true;
    std::vector<uint8_t> bitRows;
};

// Frees everything the cache holds (the colour conversion is not its own);
// the cache can be used again afterwards.
void FBReleasePrintCache(FBPrintCache* cache);

// Limits on what a settings record can make the page printer do: a poster
// has at most kMaxPosterTilesPerSide tiles per side, and an overlap that
// would leave less than half a tile is dropped. The scale comes within its
// limits from the record's parse (FBRecordScale, settings.scale).
constexpr uint32_t kMaxPosterTilesPerSide = 5;

// Prints one page: poster, rotated, normal or enlarged (see page_print.cpp).
// Colour pages print as grey pages when the cache has no colour conversion.
// Returns 1 when the page went out, 0 when it was skipped or the writer
// refused it.
int FBPagePrint(const FBPage& page, const FBDisplayList& list, FBOut* out, FBSettings* settings,
                FBPrintCache* cache);

int FBPagePrintNormal(const FBPage& page, const FBDisplayList& list, FBOut* out, const FBSettings& settings,
                      FBPrintCache* cache, uint32_t xShift, uint32_t yShift);

// The window of the page enlarged by multiplier / divisor whose top left
// corner is column xOffset, row yOffset of the enlarged page.
int FBPagePrintZoomUp(const FBPage& page, const FBDisplayList& list, FBOut* out, const FBSettings& settings,
                      FBPrintCache* cache, uint32_t xOffset, uint32_t yOffset, uint32_t divisor,
                      uint32_t multiplier);

int FBPagePrint180(const FBPage& page, const FBDisplayList& list, FBOut* out, const FBSettings& settings,
                   FBPrintCache* cache);

int FBPagePosterPrint(const FBPage& page, const FBDisplayList& list, FBOut* out, const FBSettings& settings,
                      FBPrintCache* cache);

// The share of the memory budget a rendering band may take, by the bytes of
// the page's display list: 100, 20 above 150 MiB, 10 from 250 MiB on.
uint32_t FBMemorySharePercent(uint64_t listBytes);
