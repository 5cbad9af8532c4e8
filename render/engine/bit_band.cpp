#include "bit_band.h"

#include <algorithm>
#include <cstring>

#include "bit_rop.h"
#include "do_render.h"
#include "raster_ops.h"

namespace {

// The kernel reads and writes whole 64-bit words from a request's first
// byte, which may reach past the last row.
constexpr size_t kWordSlack = 8;

bool IsRopKernel(RenderFunc kernel) {
    return kernel == Run_DL_D || kernel == Run_DL_HD || kernel == Run_DL_SD || kernel == Run_DL_SHD;
}

bool NeedsMask(RenderFunc kernel) { return kernel == Run_DL_SD || kernel == Run_DL_SHD; }

}  // namespace

void RDStartBitBand(BandWindow* window, const RenderPage& page) {
    window->inBits = false;
    if (window->bits == nullptr || page.isColour || window->bitStride == 0 || window->bandRows == 0 ||
        window->rowFlags.size() < window->bandRows)
        return;
    const uint64_t bytes = uint64_t{window->bandRows} * window->bitStride;
    if (bytes + kWordSlack > window->bitsBytes) return;
    std::memset(window->bits, 0xFF, static_cast<size_t>(bytes));
    window->inBits = true;
    window->bitsFirst = window->bandRows;
    window->bitsEnd = 0;
}

bool RDDrawInBits(RenderState* state, const TRect& req) {
    BandWindow& window = state->window;
    const InterpreterRegisters& reg = state->reg;
    const RenderFunc kernel = reg.pfRenderFunc;
    if (reg.watermarkMode || req.brush != nullptr || (req.colour != 0 && req.colour != 0xFF) ||
        !IsRopKernel(kernel))
        return false;
    if (NeedsMask(kernel) && req.bits == nullptr) return true;  // the kernel draws nothing
    // The byte kernels never paint the band's last column; the printer never
    // prints past its plane rows.
    const uint32_t columns = window.bitStride * 8;
    const uint32_t xe = std::min({req.xe, window.bandRight, columns});
    if (req.xs >= xe || req.row < window.bandTop) return true;
    BitRopArea area;
    area.dest = window.bits + size_t{req.row - window.bandTop} * window.bitStride;
    area.destStride = window.bitStride;
    area.xs = req.xs;
    area.xe = xe;
    area.rows = req.rows;
    if (NeedsMask(kernel)) {
        area.mask = req.bits;
        area.maskStride = MaskStride(req.xe - req.xs);
        area.maskBytes = uint64_t{area.maskStride} * req.rows;
    }
    BitRopRows(area, BitRopFor(reg.ubRopCode, req.colour == 0xFF));
    const uint32_t first = req.row - window.bandTop;
    window.bitsFirst = std::min(window.bitsFirst, first);
    window.bitsEnd = std::max(window.bitsEnd, first + req.rows);
    return true;
}

void RDUseBytePixels(RenderState* state) {
    BandWindow& window = state->window;
    if (!window.inBits) return;
    window.inBits = false;
    const RenderPage& page = state->page;
    // Only rows drawn in bits need widening: the others are white in both.
    const uint32_t end =
        std::min({window.bitsEnd, window.bandRows, static_cast<uint32_t>(window.rowFlags.size())});
    const uint32_t bytes = std::min(window.bitStride, page.bytesPerRow / 8);
    for (uint32_t r = window.bitsFirst; r < end; ++r) {
        if (window.rowFlags[r] == kRowFlagNone) continue;
        WidenBitsToGrey(window.band + size_t{r} * page.bytesPerRow,
                        window.bits + size_t{r} * window.bitStride, bytes);
    }
}

void RDWhitenBitRows(BandWindow* window, uint32_t firstRow, uint32_t rows) {
    if (!window->inBits || firstRow >= window->bandRows) return;
    rows = std::min(rows, window->bandRows - firstRow);
    std::memset(window->bits + size_t{firstRow} * window->bitStride, 0xFF, size_t{rows} * window->bitStride);
}
