// Normal printing: the page in rendering bands as tall as the memory share
// allows (their count sets the coders' parameter), each played and printed
// in work slices that fit the cache, its colours converted as it is
// screened.
#include <algorithm>

#include "engine/playback_index.h"
#include "engine/render_band.h"
#include "pipeline/page_print.h"
#include "pipeline/page_print_internal.h"

int FBPagePrintNormal(const FBPage& page, const FBDisplayList& list, FBOut* out, const FBSettings& settings,
                      FBPrintCache* cache, uint32_t xShift, uint32_t yShift) {
    if (out == nullptr || cache == nullptr) return 0;
    const uint32_t rowPixels = fb_page::RoundUp32(page.printableWidth);
    const uint32_t height = page.printableHeight;
    if (rowPixels == 0 || height == 0) return 0;
    RenderState* state = fb_page::PreparePage(cache, page, list, rowPixels, height);
    if (state == nullptr) return 0;
    FBBand* band = cache->band.get();

    const uint32_t bandRows = GetRendBandHeight(0, rowPixels, page.bitsPerPixel, height, page.resolution,
                                                FBMemorySharePercent(list.bytes));
    const uint32_t sliceRows =
        fb_page::WorkSliceRows(bandRows, RDPhysBandHeight(page.resolution), state->page.bytesPerRow);
    uint8_t* buffer = fb_page::AllocRenderBuffer(cache, state, sliceRows);
    if (buffer == nullptr) {
        FBDestroyBand(band);
        return 0;
    }
    fb_page::LendBitRows(cache, state, sliceRows);
    const uint32_t bandCount = (height + bandRows - 1) / bandRows;
    FBOutBandSetTotalBandNums(band, bandCount);

    int ok = fb_page::BeginPage(out, page, settings);
    // The rendering bands' rows, the last band's beyond the page included.
    PlaybackIndex index;
    const uint64_t bandsEnd = uint64_t{bandCount} * bandRows;
    for (uint64_t y = 0; y < bandsEnd; y += sliceRows) {
        const uint32_t row = static_cast<uint32_t>(y);
        const uint32_t rows = static_cast<uint32_t>(std::min<uint64_t>(sliceRows, bandsEnd - y));
        const bool deferred = fb_page::PlayBand(cache, state, row, rows, 0, rowPixels - 1, yShift, xShift,
                                                height, fb_page::Conversion::AtScreening, &index);
        FBOutBandSetConversion(band, deferred ? cache->colour : nullptr);
        fb_page::OfferBitPlanes(band, *state);
        ok &= fb_page::PrintBand(band, out, buffer, state->page.bytesPerRow, rowPixels, row, rows,
                                 fb_page::RowFlags(*state, rows));
        FBOutBandSetConversion(band, nullptr);
        FBOutBandSetBitPlanes(band, nullptr, 0);
    }
    return fb_page::EndPage(out, page, settings, band) & ok;
}
