// Normal printing: rendering bands as tall as the memory share allows, each
// played once and printed as it is, its colours converted as it is screened.
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
    uint8_t* buffer = fb_page::AllocRenderBuffer(cache, state, bandRows);
    if (buffer == nullptr) {
        FBDestroyBand(band);
        return 0;
    }
    FBOutBandSetTotalBandNums(band, (height + bandRows - 1) / bandRows);

    int ok = fb_page::BeginPage(out, page, settings);
    for (uint32_t y = 0; y < height; y += bandRows) {
        // The rendering band is larger than the cache: its colours are
        // converted physical band by physical band as they are screened.
        const bool deferred = fb_page::PlayBand(cache, state, y, bandRows, 0, rowPixels - 1, yShift, xShift,
                                                height, fb_page::Conversion::AtScreening);
        FBOutBandSetConversion(band, deferred ? cache->colour : nullptr);
        ok &= fb_page::PrintBand(band, out, buffer, state->page.bytesPerRow, rowPixels, y, bandRows,
                                 fb_page::RowFlags(*state, bandRows));
        FBOutBandSetConversion(band, nullptr);
    }
    return fb_page::EndPage(out, page, settings, band) & ok;
}
