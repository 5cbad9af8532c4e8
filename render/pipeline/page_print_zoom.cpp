// Enlarged printing and poster tiles. The display list carries the scale, so
// the playback draws the enlarged page; the page printer renders it in bands
// of B enlarged rows and prints the window of W x H dots that starts at
// column X, row Y:
//
//   enlarged rows   0 ........ Y ................ Y+H ....... He
//   rendering band  |  j*B .. j*B+B-1  |  (each played once, or skipped
//                                          when it misses the window)
//   output band k   rows Y+k*B .. Y+k*B+B-1, columns X .. X+W-1
//
// An output band takes its rows from at most two rendering bands; the rows
// of a rendering band that belong to the next output band are carried to the
// top of the output buffer before the next rendering band is played.
#include <algorithm>
#include <cstring>

#include "engine/render_band.h"
#include "pipeline/page_print.h"
#include "pipeline/page_print_internal.h"

namespace {

// The geometry of one enlarged window.
struct ZoomWindow {
    uint32_t x = 0, y = 0;      // window origin in the enlarged page
    uint32_t width = 0;         // W: output row pixels (printable width rounded up to 32)
    uint32_t height = 0;        // H: printable height
    uint32_t renderPixels = 0;  // R: rendering row pixels
    uint32_t pageEnd = 0;       // first enlarged row not printed: min(Y + H, He)
};

bool MakeWindow(const FBPage& page, uint32_t x, uint32_t y, uint32_t divisor, uint32_t multiplier,
                ZoomWindow* window) {
    if (divisor == 0 || multiplier == 0) return false;
    const uint64_t w = fb_page::RoundUp32(page.printableWidth);
    const uint64_t h = page.printableHeight;
    const uint64_t enlargedWidth = w * multiplier / divisor;
    const uint64_t enlargedHeight = h * multiplier / divisor;
    const uint64_t windowEnd = uint64_t{x} + w;
    const uint64_t render = (std::max(windowEnd, enlargedWidth) + 31) / 32 * 32;
    if (w == 0 || h == 0 || render > 0x7FFFFFFF / 4 || uint64_t{y} + h > 0x7FFFFFFF) return false;
    window->x = x;
    window->y = y;
    window->width = static_cast<uint32_t>(w);
    window->height = static_cast<uint32_t>(h);
    window->renderPixels = static_cast<uint32_t>(render);
    window->pageEnd = static_cast<uint32_t>(std::min(uint64_t{y} + h, enlargedHeight));
    return true;
}

// The output band and the rendering band in hand.
class ZoomPrinter {
public:
    ZoomPrinter(FBPrintCache* cache, RenderState* state, const ZoomWindow& window, uint32_t bandRows,
                uint8_t* output)
        : cache_(cache),
          state_(state),
          window_(window),
          bandRows_(bandRows),
          output_(output),
          outputFlags_(cache->outputRowFlags.data()),
          outputBytesPerRow_(window.width * (state->page.bitsPerPixel / 8)) {}

    // Fills output band k: the carried rows are in place; plays every
    // rendering band up to the band's last row and copies its window rows.
    void FillOutputBand(uint32_t k) {
        const uint32_t top = window_.y + k * bandRows_;
        fb_page::WhitenRows(output_, outputFlags_, outputBytesPerRow_, carried_, bandRows_ - carried_);
        carried_ = 0;
        while (nextBand_ * uint64_t{bandRows_} <= uint64_t{top} + bandRows_ - 1) {
            const uint32_t first = nextBand_++ * bandRows_;
            if (!Meets(first, top)) continue;
            fb_page::PlayBand(cache_, state_, first, bandRows_, window_.x, window_.x + window_.width - 1, 0,
                              0, window_.pageEnd);
            lastPlayed_ = first;
            CopyWindowRows(first, top, top + bandRows_);
        }
    }

    // After output band k went out: the rows of the last played rendering
    // band below it go to the top of the output buffer.
    void CarryRows(uint32_t k) {
        const uint32_t nextTop = window_.y + (k + 1) * bandRows_;
        if (lastPlayed_ == kNone || lastPlayed_ + bandRows_ <= nextTop) return;
        carried_ = CopyWindowRows(lastPlayed_, nextTop, nextTop + bandRows_);
    }

    const uint8_t* OutputFlags() const { return outputFlags_; }
    uint32_t OutputBytesPerRow() const { return outputBytesPerRow_; }

private:
    static constexpr uint32_t kNone = 0xFFFFFFFF;

    // Whether rendering rows first .. first + B - 1 meet the window rows of
    // the output band starting at enlarged row top.
    bool Meets(uint32_t first, uint32_t top) const {
        const uint64_t windowEnd = std::min<uint64_t>(uint64_t{top} + bandRows_, window_.pageEnd);
        return first < windowEnd && uint64_t{first} + bandRows_ > top;
    }

    // Copies the rows of the played band (starting at enlarged row first)
    // that lie in [top, end) and on the page to output row r - top, from
    // column X. Returns the number of output rows from the top this fills.
    uint32_t CopyWindowRows(uint32_t first, uint32_t top, uint32_t end) {
        const uint64_t from = std::max(first, top);
        const uint64_t to = std::min<uint64_t>({uint64_t{first} + bandRows_, end, window_.pageEnd});
        if (from >= to) return 0;
        const uint32_t bytesPerPixel = state_->page.bitsPerPixel / 8;
        const uint8_t* flags = fb_page::RowFlags(*state_, bandRows_);
        for (uint64_t r = from; r < to; ++r) {
            const uint8_t* source = state_->window.band + (r - first) * state_->page.bytesPerRow +
                                    size_t{window_.x} * bytesPerPixel;
            std::memcpy(output_ + (r - top) * outputBytesPerRow_, source, outputBytesPerRow_);
            outputFlags_[r - top] = flags ? flags[r - first] : 2;  // unknown: not text only
        }
        return static_cast<uint32_t>(to - top);
    }

    FBPrintCache* cache_;
    RenderState* state_;
    ZoomWindow window_;
    uint32_t bandRows_;
    uint8_t* output_;
    uint8_t* outputFlags_;
    uint32_t outputBytesPerRow_;
    uint32_t nextBand_ = 0;
    uint32_t lastPlayed_ = kNone;
    uint32_t carried_ = 0;
};

}  // namespace

int FBPagePrintZoomUp(const FBPage& page, const FBDisplayList& list, FBOut* out, const FBSettings& settings,
                      FBPrintCache* cache, uint32_t xOffset, uint32_t yOffset, uint32_t divisor,
                      uint32_t multiplier) {
    if (out == nullptr || cache == nullptr) return 0;
    ZoomWindow window;
    if (!MakeWindow(page, xOffset, yOffset, divisor, multiplier, &window)) return 0;
    const uint32_t enlargedHeight =
        static_cast<uint32_t>(std::min<uint64_t>(uint64_t{window.height} * multiplier / divisor, 0x7FFFFFFF));
    RenderState* state = fb_page::PreparePage(cache, page, list, window.renderPixels, enlargedHeight);
    if (state == nullptr) return 0;
    FBBand* band = cache->band.get();

    const uint32_t bandRows =
        GetRendBandHeight(0, window.renderPixels, page.bitsPerPixel, enlargedHeight, page.resolution, 50);
    const uint32_t bytesPerPixel = page.bitsPerPixel / 8;
    uint8_t* output = fb_page::AllocOutputBand(cache, bandRows, window.width * bytesPerPixel);
    if (output == nullptr || fb_page::AllocRenderBuffer(cache, state, bandRows) == nullptr) {
        FBDestroyBand(band);
        return 0;
    }
    const uint32_t outputBands = (window.height + bandRows - 1) / bandRows;
    FBOutBandSetTotalBandNums(band, outputBands);

    ZoomPrinter printer(cache, state, window, bandRows, output);
    int ok = fb_page::BeginPage(out, page, settings);
    for (uint32_t k = 0; k < outputBands; ++k) {
        printer.FillOutputBand(k);
        ok &= fb_page::PrintBand(band, out, output, printer.OutputBytesPerRow(), window.width, k * bandRows,
                                 bandRows, printer.OutputFlags());
        printer.CarryRows(k);
    }
    return fb_page::EndPage(out, page, settings, band) & ok;
}

int FBPagePosterPrint(const FBPage& page, const FBDisplayList& list, FBOut* out, const FBSettings& settings,
                      FBPrintCache* cache) {
    if (out == nullptr || cache == nullptr) return 0;
    const uint32_t tiles = std::min(page.posterTiles, kMaxPosterTilesPerSide - 1) + 1;
    const uint32_t rowPixels = fb_page::RoundUp32(page.printableWidth);
    uint32_t overlap = page.posterOverlap;
    if (overlap > rowPixels / 2 || overlap > page.printableHeight / 2) overlap = 0;
    const uint32_t tileWidth = rowPixels - overlap;
    const uint32_t tileHeight = page.printableHeight - overlap;
    const uint32_t scale = settings.scale;

    int ok = 1;
    auto tile = [&](uint32_t column, uint32_t row) {
        ok &= FBPagePrintZoomUp(page, list, out, settings, cache, tileWidth * column, tileHeight * row, 100,
                                scale);
    };
    if (page.orientation == 1) {
        for (uint32_t i = 1; i <= tiles; ++i)
            for (uint32_t j = tiles; j-- > 0;) tile(i - 1, j);
    } else {
        for (uint32_t j = 1; j <= tiles; ++j)
            for (uint32_t k = 0; k < tiles; ++k) tile(k, j - 1);
    }
    return ok;
}
