// The drawing benchmarks' page: an A4 page at 600 dpi (4960 x 7016 dots),
// grey (8 bits) or colour (32 bits), whose display list is played band by
// band as the page printer does, into one band buffer that every band
// reuses. Also the little-endian writers the benchmarks build their display
// lists with.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/display_list.h"
#include "engine/playback.h"
#include "engine/render_band.h"
#include "engine/render_state.h"

namespace zebl_bench {

inline void Put16(std::vector<uint8_t>& d, uint32_t v) {
    d.push_back(uint8_t(v));
    d.push_back(uint8_t(v >> 8));
}

inline void Put32(std::vector<uint8_t>& d, uint32_t v) {
    Put16(d, v);
    Put16(d, v >> 16);
}

class A4PagePlayer {
public:
    static constexpr uint32_t kWidth = 4960;
    static constexpr uint32_t kPageRows = 7016;

    // `list` must outlive the player.
    A4PagePlayer(const std::vector<uint8_t>& list, bool colour, uint32_t bandRows)
        : chunk_{list.data(), uint32_t(list.size())}, bandRows_(bandRows) {
        state_.page.isColour = colour;
        state_.page.bitsPerPixel = colour ? 32 : 8;
        state_.page.resolution = 600;
        state_.page.rowPixels = kWidth;
        state_.page.bytesPerRow = kWidth * state_.page.bitsPerPixel / 8;
        state_.page.dwordsPerRow = state_.page.bytesPerRow / 4;
        state_.page.pageRows = kPageRows;
        band_.resize(size_t{state_.page.bytesPerRow} * bandRows);
        state_.window.band = band_.data();
        state_.page.displayList = &chunk_;
        state_.page.displayListEnd = &chunk_ + 1;
        RDInitialize(&state_);
    }
    ~A4PagePlayer() { RDDestroy(&state_); }
    A4PagePlayer(const A4PagePlayer&) = delete;
    A4PagePlayer& operator=(const A4PagePlayer&) = delete;

    // Renders the whole page; afterBand(band) sees each band as it is done.
    template <typename AfterBand>
    void PlayPage(AfterBand afterBand) {
        for (uint32_t top = 0; top < kPageRows; top += bandRows_) {
            RDInitializeBand(&state_, top / bandRows_, 0, top, kWidth - 1, top + bandRows_ - 1);
            PlayFrameBuffer(&state_, 0, 0);
            afterBand(static_cast<const std::vector<uint8_t>&>(band_));
        }
    }

    const std::vector<uint8_t>& Band() const { return band_; }
    uint32_t BytesPerRow() const { return state_.page.bytesPerRow; }

private:
    RenderState state_;
    DLChunk chunk_;
    uint32_t bandRows_;
    std::vector<uint8_t> band_;
};

}  // namespace zebl_bench
