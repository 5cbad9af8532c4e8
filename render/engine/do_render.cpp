#include "do_render.h"

#include <algorithm>
#include <new>

#include "bit_band.h"
#include "bitmap_1bpp.h"
#include "scratch_buffer.h"
#include "watermark.h"

namespace {

// A grey device stores white as 255, a colour device as 0xFFFFFF.
bool IsBlackOrWhite(const RenderPage& page, uint32_t colour) {
    const uint32_t white = page.isColour ? 0xFFFFFFu : 0xFFu;
    return colour == 0 || colour == white;
}

uint32_t BytesPerPixel(const RenderPage& page) { return page.isColour ? 4 : 1; }

}  // namespace

void SetLineFlag(BandWindow* window, uint32_t row, uint32_t rows, uint8_t flag) {
    const uint64_t bandTop = window->bandTop;
    const uint64_t bandEnd = bandTop + std::min<uint64_t>(window->bandRows, window->rowFlags.size());
    const uint64_t first = std::max<uint64_t>(row, bandTop);
    const uint64_t end = std::min<uint64_t>(uint64_t{row} + rows, bandEnd);
    if (first >= end) return;
    uint8_t* const from = window->rowFlags.data() + static_cast<size_t>(first - bandTop);
    uint8_t* const to = from + static_cast<size_t>(end - first);
    // Colour and image rows stay what they are under black and white.
    if (flag != kRowFlagBlackWhite) std::fill(from, to, flag);
    else std::transform(from, to, from, [](uint8_t f) { return f == kRowFlagNone ? kRowFlagBlackWhite : f; });
}

void SetRenderingRect(BandWindow* window, uint32_t top, uint32_t left, uint32_t bottom, uint32_t right) {
    if (top > window->bandBottom || bottom < window->bandTop) return;
    window->drawnTop = std::max(std::min(window->drawnTop, top), window->bandTop);
    window->drawnLeft = std::min(window->drawnLeft, left);
    window->drawnBottom = std::min(std::max(window->drawnBottom, bottom), window->bandBottom);
    window->drawnRight = std::max(window->drawnRight, right);
}

void SetTextFlag(BandWindow* window, uint32_t colour) {
    uint32_t all = 1;
    for (int i = 0; i < 3; ++i) {
        const uint32_t byte = (colour >> (8 * i)) & 0xFF;
        window->channelPure[i] = (byte == 0 || byte == 0xFF) ? 1 : 0;
        all &= window->channelPure[i];
    }
    window->pureColour = all;
}

int RDClipTRect(const BandWindow& window, const TRect* req) {
    if (req->rows == 0 || req->xe <= req->xs) return 0;
    if (req->row > window.bandBottom) return 0;
    if (uint64_t{req->row} + req->rows <= window.bandTop) return 0;
    if (req->xs > window.clipRight || req->xe <= window.clipLeft) return 0;
    return 1;
}

void DoRender(RenderState* state, TRect* req) {
    const RenderPage& page = state->page;
    BandWindow& window = state->window;
    const InterpreterRegisters& reg = state->reg;
    if (req->rows == 0 || window.bandRows == 0 || !window.band) return;
    const uint64_t bandTop = window.bandTop;
    const uint64_t bandEnd = bandTop + window.bandRows;
    const uint64_t top = req->row;
    const uint64_t end = top + req->rows;
    if (top > window.bandBottom || end <= bandTop) return;

    SetLineFlag(&window, req->row, req->rows,
                IsBlackOrWhite(page, reg.colour) ? kRowFlagBlackWhite : kRowFlagColour);

    if (req->xe < req->xs) return;
    if (req->bits && uint64_t{req->xs} + req->bitOffset > req->xe) return;

    // Keep the rows inside the band; a mask skips the rows above it.
    const uint64_t clippedTop = std::max(top, bandTop);
    const uint64_t clippedEnd = std::min(end, bandEnd);
    if (req->bits) req->bits += size_t{MaskStride(req->xe - req->xs)} * (clippedTop - top);
    req->row = static_cast<uint32_t>(clippedTop);
    req->rows = static_cast<uint32_t>(clippedEnd - clippedTop);

    if (req->bits && req->bitOffset) {
        const size_t bytes = size_t{MaskStride(req->xe - req->xs - req->bitOffset)} * req->rows;
        std::vector<uint8_t>& realigned = state->scratch.realignScratch;
        if (!ReserveScratch(realigned, bytes)) return;
        DeletebLeft(req, realigned.data());
    }

    req->destStride = page.bytesPerRow;
    req->brush = reg.brush;
    req->colour = reg.colour;
    SetRenderingRect(&window, req->row, req->xs, req->row + req->rows, req->xe);
    SetTextFlag(&window, req->colour);

    // Kernels paint nothing from the band's last column on; stopping here also
    // keeps the destination address inside the band buffer.
    if (req->xs > window.bandRight || req->xs >= page.rowPixels) return;
    if (window.inBits) {
        if (RDDrawInBits(state, *req)) return;
        RDUseBytePixels(state);
    }
    req->dest =
        window.band + (clippedTop - bandTop) * page.bytesPerRow + size_t{req->xs} * BytesPerPixel(page);

    if (reg.watermarkMode) {
        if (req->bits) {
            DrawWaterMarkSHD(page, window, req);
        } else {
            DrawWaterMarkHD(page, window, req);
        }
    } else if (reg.pfRenderFunc) {
        reg.pfRenderFunc(page, window, reg, req);
    }
}

int RDFillRow1(RenderState* state, TRect* req, uint32_t row, uint32_t x1, uint32_t x2) {
    req->row = row;
    req->xs = x1;
    req->xe = x2;
    req->rows = 1;
    req->bits = nullptr;
    req->bitOffset = 0;
    DoRender(state, req);
    return 1;
}

int RDAddClipRun(RenderState* state, TRect*, uint32_t row, uint32_t x1, uint32_t x2) {
    if (state->window.clipRuns.size() < kMaxClipRuns) {
        try {
            state->window.clipRuns.push_back(ClipRun{row, x1, x2});
        } catch (const std::bad_alloc&) {
        }
    }
    return static_cast<int>(state->window.clipRuns.size());
}

void RDDoRenderClip(RenderState* state, TRect* req) {
    if (state->window.clipRuns.empty()) return;
    if (!req->bits || req->xe < req->xs || uint64_t{req->xs} + req->bitOffset > req->xe) {
        state->window.clipRuns.clear();
        return;
    }
    const uint32_t srcStride = MaskStride(req->xe - req->xs);
    if (!ReserveScratch(state->scratch.clipRowScratch, size_t{srcStride} + 32)) {
        state->window.clipRuns.clear();
        return;
    }
    uint8_t* row = state->scratch.clipRowScratch.data();
    // Only the drawn part of the mask may show through a run.
    const uint32_t drawnLeft = req->xs + req->bitOffset;
    for (const ClipRun& run : state->window.clipRuns) {
        if (run.row < req->row || run.row - req->row >= req->rows) continue;
        const uint32_t x1 = std::max(run.x1, drawnLeft);
        const uint32_t x2 = std::min(run.x2, req->xe);
        if (x1 >= x2) continue;
        const uint32_t bytes = MaskStride(x2 - x1);
        std::fill(row, row + bytes, uint8_t{0});
        RDExtractMaskBits(row, bytes, req->bits + size_t{run.row - req->row} * srcStride, srcStride,
                          x1 - req->xs);
        TRect one;
        one.row = run.row;
        one.xs = x1;
        one.xe = x2;
        one.rows = 1;
        one.bits = row;
        DoRender(state, &one);
    }
    state->window.clipRuns.clear();
}
