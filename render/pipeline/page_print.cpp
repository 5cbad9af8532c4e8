// The page printer's dispatch and the steps its variants share.
#include "pipeline/page_print.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <new>
#include <optional>
#include <utility>

#include "engine/bit_band.h"
#include "engine/halftone.h"
#include "engine/playback.h"
#include "engine/render_band.h"
#include "engine/stage_clock.h"
#include "pipeline/page_print_internal.h"
#include "pipeline/printer_stream.h"

namespace {

constexpr uint64_t kFullShareListBytes = 157286399;   // up to this: the whole budget
constexpr uint64_t kTenthShareListBytes = 262144000;  // from this on: a tenth

// What a work slice of the rendering band may take of the cache: its rows
// are cleared, drawn, converted and screened one after the other, so they
// should stay in the cache in between. Every slice replays the display list
// (jumping over what misses it, see engine/playback_index.h).
constexpr uint64_t kWorkSliceBytes = 2 * 1024 * 1024;

// A rendering state that is given back with RDDestroy.
void DestroyRenderState(RenderState* state) {
    if (state) RDDestroy(state);
}

// A colour page that no colour conversion can turn into inks would be
// screened from raw RGB bytes: dots of the wrong inks everywhere. It prints
// as a grey page instead (the playback then works in luminance).
FBPage PrintablePage(const FBPage& page, const FBPrintCache& cache) {
    FBPage printable = page;
    if (printable.bitsPerPixel == 32 && cache.colour == nullptr) {
        printable.bitsPerPixel = 8;
        printable.colour = 0;
    }
    return printable;
}

// A shift that would move the page above its top edge is not applied: the
// playback's positions are unsigned and would wrap round.
uint32_t NonNegative(int64_t shift) { return shift > 0 ? static_cast<uint32_t>(shift) : 0; }

// Whether the colour module leaves a white pixel white, every byte 0xFF. It
// converts each pixel on its own, so then the rows no drawing touched are
// still white after converting a band, and the next band need not fill them.
bool ConversionKeepsWhite(CMMConverter* colour, uint32_t bitsPerPixel) {
    if (bitsPerPixel != 8 && bitsPerPixel != 32) return false;
    uint8_t pixels[16];
    std::memset(pixels, 0xFF, sizeof pixels);
    if (!CMMConvert(colour, pixels, static_cast<uint32_t>(sizeof pixels * 8 / bitsPerPixel), bitsPerPixel))
        return true;
    return std::all_of(std::begin(pixels), std::end(pixels), [](uint8_t b) { return b == 0xFF; });
}

// Black and white as the colour module converts them: the darkest black
// and the lightest white of a few pixels (it converts each on its own).
std::pair<uint8_t, uint8_t> ConvertedBlackAndWhite(CMMConverter* colour) {
    uint8_t pixels[16];
    for (size_t i = 0; i < sizeof pixels; ++i) pixels[i] = i % 2 ? 0xFF : 0x00;
    if (colour) CMMConvert(colour, pixels, static_cast<uint32_t>(sizeof pixels), 8);
    uint8_t black = 0, white = 0xFF;
    for (size_t i = 0; i < sizeof pixels; ++i) {
        if (i % 2) white = std::min(white, pixels[i]);
        else black = std::max(black, pixels[i]);
    }
    return {black, white};
}
}  // namespace

FBPrintCache::FBPrintCache() = default;

FBPrintCache::~FBPrintCache() { FBReleasePrintCache(this); }

void FBReleasePrintCache(FBPrintCache* cache) {
    if (cache == nullptr) return;
    cache->colour = nullptr;
    for (auto& buffer : cache->buffers.buffers) std::vector<uint8_t>().swap(buffer);
    DestroyRenderState(cache->renderState.get());
    cache->renderState.reset();
    if (cache->band) FBDestroyBand(cache->band.get());
    cache->band.reset();
    std::vector<uint8_t>().swap(cache->outputBand);
    std::vector<uint8_t>().swap(cache->outputRowFlags);
}

uint32_t FBMemorySharePercent(uint64_t listBytes) {
    if (listBytes <= kFullShareListBytes) return 100;
    if (listBytes < kTenthShareListBytes) return 20;
    return 10;
}

int FBPagePrint(const FBPage& page, const FBDisplayList& list, FBOut* out, FBSettings* settings,
                FBPrintCache* cache) {
    if (out == nullptr || settings == nullptr || cache == nullptr) return 0;
    settings->retIndex = 0;
    const FBPage printable = PrintablePage(page, *cache);
    if (cache->colour) CMMResetPage(cache->colour, printable.colour, printable.outputResolution);

    if (printable.poster) return FBPagePosterPrint(printable, list, out, *settings, cache);
    if (printable.rotate180) return FBPagePrint180(printable, list, out, *settings, cache);

    const uint32_t scale = settings->scale;
    const int64_t height = printable.printableHeight;
    const bool bottomAligned = settings->landscapeScale != 0 && printable.orientation == 1;
    if (scale <= 100 || settings->scaleNoEnlarge != 0) {
        const uint32_t yShift = bottomAligned ? NonNegative(height * 100 / scale - height) : 0;
        return FBPagePrintNormal(printable, list, out, *settings, cache, 0, yShift);
    }
    const uint32_t yShift = bottomAligned ? NonNegative(scale * height / 100 - height) : 0;
    return FBPagePrintZoomUp(printable, list, out, *settings, cache, 0, yShift, 100, scale);
}

namespace fb_page {

RenderState* PreparePage(FBPrintCache* cache, const FBPage& page, const FBDisplayList& list,
                         uint32_t rowPixels, uint32_t pageRows) {
    if (page.bitsPerPixel != 8 && page.bitsPerPixel != 32) return nullptr;
    try {
        if (!cache->renderState) {
            auto state = std::make_unique<RenderState>();
            RDInitialize(state.get());
            cache->renderState = std::move(state);
        }
        if (!cache->band) cache->band = std::make_unique<FBBand>();
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    RenderState* state = cache->renderState.get();
    RenderPage& rendered = state->page;
    rendered.isColour = page.bitsPerPixel == 32 ? 1 : 0;
    rendered.resolution = page.resolution;
    rendered.bitsPerPixel = page.bitsPerPixel;
    rendered.pageRows = pageRows;
    rendered.rowPixels = rowPixels;
    rendered.bytesPerRow = rowPixels * (page.bitsPerPixel / 8);
    rendered.dwordsPerRow = rendered.bytesPerRow / 4;
    rendered.screenClass = kScreenNormal;
    rendered.displayList = list.begin;
    rendered.displayListEnd = list.begin ? list.end : nullptr;
    state->window.band = nullptr;
    state->window.bits = nullptr;  // only normal printing lends one-bit rows
    state->window.bitsBytes = 0;
    if (!FBInitializeBand(cache->band.get(), &cache->buffers, page, kScreenNormal)) return nullptr;
    return state;
}

uint8_t* AllocRenderBuffer(FBPrintCache* cache, RenderState* state, uint32_t bandRows) {
    if (bandRows == 0) return nullptr;
    const size_t held = FBCacheCapacity(cache->buffers, kCacheRenderBuffer);
    state->window.band =
        FBAllocInCache(&cache->buffers, kCacheRenderBuffer, uint64_t{bandRows} * state->page.bytesPerRow);
    // A grown buffer is a new one, zero-filled, perhaps where the old one was.
    if (FBCacheCapacity(cache->buffers, kCacheRenderBuffer) != held) RDForgetBandContents(&state->window);
    return state->window.band;
}

bool BlackAndWhiteScreenAsBits(const FBScreenPlane& plane, uint8_t black, uint8_t white) {
    if (plane.table == nullptr || plane.size == 0) return false;
    const auto [lowest, highest] = std::minmax_element(plane.table, plane.table + plane.size);
    return black <= *lowest && (white == 0xFF || white > *highest);
}

void LendBitRows(FBPrintCache* cache, RenderState* state, uint32_t bandRows) {
    BandWindow& window = state->window;
    window.bits = nullptr;
    window.bitsBytes = 0;
    const FBBand& band = *cache->band;
    const FBRasterBand& raster = band.raster;
    if (!cache->blackAndWhiteInBits || raster.bitsPerPixel != 8) return;
    const auto [black, white] = ConvertedBlackAndWhite(cache->colour);
    if (!BlackAndWhiteScreenAsBits(raster.screen.plane[kScreenBlack], black, white)) return;
    // Rendering rows are doubled for the printer in the 600 x 1200 mode.
    const uint32_t stride = FBBandIsDoubled(band) ? raster.physWidthBytes / 2 : raster.physWidthBytes;
    // Eight bytes more: the one-bit kernels move whole 64-bit words.
    const uint64_t bytes = uint64_t{bandRows} * stride + 8;
    if (bytes > kMaxCacheBufferBytes) return;
    try {
        if (cache->bitRows.size() < bytes) cache->bitRows.resize(static_cast<size_t>(bytes));
    } catch (const std::bad_alloc&) {
        return;
    }
    window.bits = cache->bitRows.data();
    window.bitsBytes = cache->bitRows.size();
    window.bitStride = stride;
}

void OfferBitPlanes(FBBand* band, const RenderState& state) {
    const BandWindow& window = state.window;
    if (window.inBits) FBOutBandSetBitPlanes(band, window.bits, window.bitsBytes);
    else FBOutBandSetBitPlanes(band, nullptr, 0);
}

uint32_t WorkSliceRows(uint32_t bandRows, uint32_t physicalRows, uint32_t bytesPerRow) {
    if (physicalRows == 0 || bytesPerRow == 0) return bandRows;
    const uint64_t physicalBands = kWorkSliceBytes / bytesPerRow / physicalRows;
    const uint64_t rows = std::max<uint64_t>(physicalBands, 1) * physicalRows;
    return static_cast<uint32_t>(std::min<uint64_t>(rows, bandRows));
}

uint8_t* AllocOutputBand(FBPrintCache* cache, uint32_t rows, uint32_t bytesPerRow) {
    const uint64_t bytes = uint64_t{rows} * bytesPerRow;
    if (bytes == 0 || bytes > kMaxCacheBufferBytes) return nullptr;
    try {
        if (cache->outputBand.size() < bytes) {
            cache->outputBand.clear();
            cache->outputBand.shrink_to_fit();
            cache->outputBand.resize(bytes);
        }
        if (cache->outputRowFlags.size() < rows) cache->outputRowFlags.resize(rows);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    return cache->outputBand.data();
}

void WhitenRows(uint8_t* buffer, uint8_t* rowFlags, uint32_t bytesPerRow, uint32_t firstRow, uint32_t rows) {
    if (rows == 0) return;
    std::memset(buffer + size_t{firstRow} * bytesPerRow, 0xFF, size_t{rows} * bytesPerRow);
    if (rowFlags) std::memset(rowFlags + firstRow, 0, rows);
}

const uint8_t* RowFlags(const RenderState& state, uint32_t rows) {
    return state.window.rowFlags.size() >= rows ? state.window.rowFlags.data() : nullptr;
}

bool PlayBand(FBPrintCache* cache, RenderState* state, uint32_t firstRow, uint32_t rows, uint32_t clipLeft,
              uint32_t clipRight, uint32_t rowOrigin, uint32_t colOrigin, uint32_t whiteFrom,
              Conversion conversion, PlaybackIndex* index) {
    const RenderPage& page = state->page;
    BandWindow& window = state->window;
    const uint32_t physical = RDPhysBandHeight(page.resolution);
    std::optional<RDStageTimer> timer(std::in_place, RDStage::Playback);
    if (RDInitializeBand(state, firstRow / physical, 0, firstRow, page.rowPixels - 1, firstRow + rows - 1)) {
        window.clipLeft = clipLeft;
        window.clipRight = std::min(clipRight, page.rowPixels - 1);
        PlayFrameBuffer(state, rowOrigin, colOrigin, index);
        RDInitializePage();
    } else {
        // A band the engine refused is printed white, not from what the
        // buffer held before.
        WhitenRows(window.band, nullptr, page.bytesPerRow, 0, rows);
        std::fill(window.rowFlags.begin(), window.rowFlags.end(), uint8_t{0});
    }
    timer.reset();
    const bool deferred = cache->colour && conversion == Conversion::AtScreening &&
                          ConversionKeepsWhite(cache->colour, page.bitsPerPixel);
    if (cache->colour && !deferred) {
        const RDStageTimer converting(RDStage::ColourConversion);
        if (CMMConvert(cache->colour, window.band, rows * page.rowPixels, page.bitsPerPixel) &&
            !ConversionKeepsWhite(cache->colour, page.bitsPerPixel))
            RDForgetBandContents(&window);  // white rows now hold what white converts to
    }
    // Whitened after the conversion: 0xFF is "no ink" in every plane, so no
    // conversion can put dots there.
    if (whiteFrom < firstRow + rows) {
        const uint32_t from = whiteFrom > firstRow ? whiteFrom - firstRow : 0;
        uint8_t* flags = window.rowFlags.size() >= rows ? window.rowFlags.data() : nullptr;
        WhitenRows(window.band, flags, page.bytesPerRow, from, rows - from);
        RDWhitenBitRows(&window, from, rows - from);
    }
    return deferred;
}

int BeginPage(FBOut* out, const FBPage& page, const FBSettings& settings) {
    const int started = FBOutStartPage(out);
    return WritePageHeader(out, page, settings) & started;
}

int EndPage(FBOut* out, const FBPage& page, const FBSettings& settings, FBBand* band) {
    const int written = WritePageTrailer(out, page, settings);
    const int ended = FBOutEndPage(out);
    FBDestroyBand(band);
    return written & ended;
}

int PrintBand(FBBand* band, FBOut* out, uint8_t* buffer, uint32_t bytesPerRow, uint32_t columns,
              uint32_t firstRow, uint32_t rows, const uint8_t* rowFlags) {
    FBOutBandSetBuffer(band, buffer, size_t{rows} * bytesPerRow);
    FBOutBandSetRowFlags(band, rowFlags, rowFlags ? rows : 0);
    if (!FBPrepareBand(band, 0, firstRow, columns - 1, firstRow + rows - 1)) return 0;
    return FBPrintBand(band, out);
}

}  // namespace fb_page
