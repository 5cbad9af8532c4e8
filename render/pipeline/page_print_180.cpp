// Printing turned by 180 degrees. The page is rendered from its last band
// up; each output band is the G page rows that end K rows into a rendering
// band, turned, so that output band 0 begins with the last row of the page:
//
//   rendering bands  i = N-1 .. 0, rows i*G .. i*G + G - 1 (G = 8 physical bands)
//   E = N*G - H      rows of the last rendering band below the page
//   K = G - E        rows of the last rendering band on the page
//
//   output band  <- rows K .. G-1 of band i   (output rows 0 .. E-1)
//                 + rows 0 .. K-1 of band i+1 (output rows E .. G-1), turned
#include <algorithm>
#include <cstring>

#include "engine/render_band.h"
#include "pipeline/page_print.h"
#include "pipeline/page_print_internal.h"

namespace {

// Turns rows x rowPixels pixels by 180 degrees within the printable width:
// the order of all pixels reversed, then each row moved left by the padding
// so that column c of the page becomes column width - 1 - c (not
// rowPixels - 1 - c, which would shift the page right by the padding). The
// padding on the right becomes white. The row flags are turned with the rows.
void TurnBand(uint8_t* pixels, uint8_t* rowFlags, uint32_t rows, uint32_t rowPixels, uint32_t width,
              uint32_t bytesPerPixel) {
    const size_t count = size_t{rows} * rowPixels;
    if (bytesPerPixel == 1) {
        std::reverse(pixels, pixels + count);
    } else {
        for (size_t i = 0, j = count - 1; i < j; ++i, --j) {
            uint8_t a[4], b[4];
            std::memcpy(a, pixels + i * 4, 4);
            std::memcpy(b, pixels + j * 4, 4);
            std::memcpy(pixels + i * 4, b, 4);
            std::memcpy(pixels + j * 4, a, 4);
        }
    }
    std::reverse(rowFlags, rowFlags + rows);
    const size_t padding = size_t{rowPixels - width} * bytesPerPixel;
    if (padding == 0) return;
    const size_t rowBytes = size_t{rowPixels} * bytesPerPixel;
    for (uint32_t r = 0; r < rows; ++r) {
        uint8_t* row = pixels + r * rowBytes;
        std::memmove(row, row + padding, rowBytes - padding);
        std::memset(row + rowBytes - padding, 0xFF, padding);
    }
}

// Copies rows [from, from + rows) of the rendering band to output rows
// starting at `to`, with their row flags.
void CopyRows(const RenderState& state, uint32_t from, uint32_t rows, uint8_t* output, uint8_t* outputFlags,
              uint32_t to) {
    if (rows == 0) return;
    const size_t bytesPerRow = state.page.bytesPerRow;
    std::memcpy(output + to * bytesPerRow, state.window.band + from * bytesPerRow, rows * bytesPerRow);
    const uint8_t* flags = fb_page::RowFlags(state, from + rows);
    if (flags) {
        std::memcpy(outputFlags + to, flags + from, rows);
    } else {
        std::memset(outputFlags + to, 2, rows);  // unknown: not text only
    }
}

}  // namespace

int FBPagePrint180(const FBPage& page, const FBDisplayList& list, FBOut* out, const FBSettings& settings,
                   FBPrintCache* cache) {
    if (out == nullptr || cache == nullptr) return 0;
    const uint32_t width = page.printableWidth;
    const uint32_t rowPixels = fb_page::RoundUp32(width);
    const uint32_t height = page.printableHeight;
    if (rowPixels == 0 || height == 0) return 0;
    RenderState* state = fb_page::PreparePage(cache, page, list, rowPixels, height);
    if (state == nullptr) return 0;
    FBBand* band = cache->band.get();

    const uint32_t g = 8 * RDPhysBandHeight(page.resolution);
    const uint32_t n = (height + g - 1) / g;
    const uint32_t e = n * g - height;
    const uint32_t k = g - e;
    const uint32_t bytesPerRow = state->page.bytesPerRow;
    const uint32_t bytesPerPixel = page.bitsPerPixel / 8;
    uint8_t* output = fb_page::AllocOutputBand(cache, g, bytesPerRow);
    if (output == nullptr || fb_page::AllocRenderBuffer(cache, state, g) == nullptr) {
        FBDestroyBand(band);
        return 0;
    }
    uint8_t* outputFlags = cache->outputRowFlags.data();
    FBOutBandSetTotalBandNums(band, n);

    int ok = fb_page::BeginPage(out, page, settings);
    uint32_t outputLine = 0;
    auto turnAndPrint = [&] {
        TurnBand(output, outputFlags, g, rowPixels, width, bytesPerPixel);
        ok &= fb_page::PrintBand(band, out, output, bytesPerRow, rowPixels, outputLine, g, outputFlags);
        outputLine += g;
    };
    for (uint32_t i = n; i-- > 0;) {
        fb_page::PlayBand(cache, state, i * g, g, 0, rowPixels - 1, 0, 0, height);
        if (i != n - 1) {
            CopyRows(*state, k, e, output, outputFlags, 0);
            turnAndPrint();
        }
        CopyRows(*state, 0, k, output, outputFlags, e);
    }
    fb_page::WhitenRows(output, outputFlags, bytesPerRow, 0, e);
    turnAndPrint();
    return fb_page::EndPage(out, page, settings, band) & ok;
}
