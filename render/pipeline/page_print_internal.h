// Steps the page printing variants share: the rendering state of a page,
// one played rendering band, the page brackets, and row copies between the
// rendering buffer and the output band.
#pragma once

#include <cstddef>
#include <cstdint>

#include "pipeline/page_print.h"

class PlaybackIndex;

namespace fb_page {

// Rendering rows are padded to a multiple of 32 pixels.
constexpr uint32_t RoundUp32(uint32_t pixels) { return (pixels + 31u) & ~31u; }

// The rendering state and band record for a page whose rendering rows are
// rowPixels wide: depth, resolution, display list; the band record is filled
// from the page (FBInitializeBand). Null when either cannot be had.
RenderState* PreparePage(FBPrintCache* cache, const FBPage& page, const FBDisplayList& list,
                         uint32_t rowPixels, uint32_t pageRows);

// The rendering buffer for bandRows rows of the prepared rendering state;
// null when it cannot be had.
uint8_t* AllocRenderBuffer(FBPrintCache* cache, RenderState* state, uint32_t bandRows);

// The rows played and printed at a time: whole physical bands (physicalRows
// each), as many as fit a work share of the processor's cache, at least one
// and at most the rendering band. The band count the coders see stays the
// rendering bands'; a page played slice by slice draws the same pixels, but
// clearing, drawing, converting and screening each find the rows in the
// cache.
uint32_t WorkSliceRows(uint32_t bandRows, uint32_t physicalRows, uint32_t bytesPerRow);

// Whether grey pixels of whiteness `black` and `white` (black and white as
// converted) screen under the plane as bits do: black to a dot at every
// threshold, white to none (the screener never gives 255 a dot).
bool BlackAndWhiteScreenAsBits(const FBScreenPlane& plane, uint8_t black, uint8_t white);

// Lends the rendering state one-bit rows for bandRows rows as wide as the
// printer's plane rows (half as wide in the 600 x 1200 mode, whose bits
// are doubled) when the cache allows it and black and white print alike
// drawn in bits: grey, black screened to a dot and white to none at every
// threshold once converted.
// Otherwise the state draws in bytes only.
void LendBitRows(FBPrintCache* cache, RenderState* state, uint32_t bandRows);

// Gives the band printer the played band's one-bit rows when the band is
// still in bits, else none (it screens the buffer).
void OfferBitPlanes(FBBand* band, const RenderState& state);

// The second buffer of rows x bytesPerRow bytes (the rotated and enlarged
// variants' output band) and its row flags; null when it cannot be had.
uint8_t* AllocOutputBand(FBPrintCache* cache, uint32_t rows, uint32_t bytesPerRow);

// When a played band's colours are converted: at once, over the whole
// rendering band (the variants that copy or turn its rows afterwards), or by
// the band printer, physical band by physical band just before screening
// (a band printed as it was played).
enum class Conversion { Now, AtScreening };

// Plays rendering rows firstRow .. firstRow + rows - 1 of the page (all
// columns of the rendering row, requests clipped to clipLeft .. clipRight),
// converts the colours, and whitens the rows from page row whiteFrom on,
// where the page has ended: nothing beyond the page is printed. Asked to
// leave the conversion to screening, it does so only when the conversion
// keeps white pixels white (the whitened and undrawn rows then need none);
// returns true when it left it, false when the band is converted or has no
// conversion. An index serves the playbacks of one page from one origin
// (engine/playback.h).
bool PlayBand(FBPrintCache* cache, RenderState* state, uint32_t firstRow, uint32_t rows, uint32_t clipLeft,
              uint32_t clipRight, uint32_t rowOrigin, uint32_t colOrigin, uint32_t whiteFrom,
              Conversion conversion = Conversion::Now, PlaybackIndex* index = nullptr);

// Starts the page on the writer and writes its header; 1 when both worked.
int BeginPage(FBOut* out, const FBPage& page, const FBSettings& settings);
// Writes the page trailer, ends the page and releases the screens.
int EndPage(FBOut* out, const FBPage& page, const FBSettings& settings, FBBand* band);

// Hands the buffer to the band record as rendering rows firstRow .. firstRow
// + rows - 1, columns 0 .. columns - 1, and prints it.
int PrintBand(FBBand* band, FBOut* out, uint8_t* buffer, uint32_t bytesPerRow, uint32_t columns,
              uint32_t firstRow, uint32_t rows, const uint8_t* rowFlags);

// Sets rows of a band buffer (and their row flags) to white / nothing drawn.
void WhitenRows(uint8_t* buffer, uint8_t* rowFlags, uint32_t bytesPerRow, uint32_t firstRow, uint32_t rows);

// The row flags of the state's current band: one per row or null.
const uint8_t* RowFlags(const RenderState& state, uint32_t rows);

}  // namespace fb_page
