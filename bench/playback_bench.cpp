// Playback of a text-like page: 60 lines of 80 glyphs (24 x 40 pixels, bit
// offsets 0..7), an underline box every few words and a ruled span block,
// on an A4 page at 600 dpi (4960 x 7016). Each iteration plays the whole
// display list into one render band of 384 rows in the middle of the page,
// as the page printer does for every band: most records fall outside the
// band and must be rejected quickly.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "engine/display_list.h"
#include "engine/playback.h"
#include "engine/render_band.h"
#include "engine/render_state.h"

namespace {

constexpr uint32_t kWidth = 4960;
constexpr uint32_t kPageRows = 7016;
constexpr uint32_t kBandRows = 384;
constexpr uint32_t kBandTop = 3072;

void Put16(std::vector<uint8_t>& d, uint32_t v) {
    d.push_back(uint8_t(v));
    d.push_back(uint8_t(v >> 8));
}
void Put32(std::vector<uint8_t>& d, uint32_t v) {
    Put16(d, v);
    Put16(d, v >> 16);
}

std::vector<uint8_t> TextPage(uint32_t* records) {
    std::vector<uint8_t> d;
    uint32_t seed = 1;
    *records = 0;
    for (uint32_t line = 0; line < 60; ++line) {
        const uint32_t row = 300 + line * 110;
        for (uint32_t g = 0; g < 80; ++g) {
            const uint8_t offset = uint8_t(g % 8);
            const uint16_t rows = 40, width = 24;
            d.push_back(DL_SET_ROW);
            Put16(d, row);
            d.push_back(DL_SET_COL);
            Put16(d, 200 + g * 56);
            d.push_back(DL_GLYPH);
            d.push_back(offset);
            d.insert(d.end(), {0, 0, 0});
            Put16(d, rows);
            Put16(d, width);
            Put32(d, 0);
            const uint32_t stride = MaskStride(offset + width);
            for (uint32_t i = 0; i < rows * stride; ++i) {
                seed = seed * 1103515245u + 12345u;
                d.push_back(uint8_t(seed >> 24) & 0x7E);
            }
            *records += 3;
            if (g % 6 == 5) {  // an underline under the last six glyphs
                d.push_back(DL_SET_ROP_COLOR);
                d.push_back(0xF0);
                Put32(d, 0x81000000);
                d.push_back(DL_SET_ROW);
                Put16(d, row + 44);
                d.push_back(DL_SET_COL);
                Put16(d, 200 + (g - 5) * 56);
                d.push_back(DL_BOX16);
                Put16(d, 3);
                Put16(d, 6 * 56);
                d.push_back(DL_SET_ROP_COLOR);
                d.push_back(0x88);
                Put32(d, 0x81000000);
                *records += 5;
            }
        }
        // A ruled block of spans beside the text.
        d.push_back(DL_SET_ROW);
        Put16(d, row);
        d.push_back(DL_SET_COL);
        Put16(d, 4700);
        d.push_back(DL_SET_SPAN_END);
        Put16(d, 4900);
        for (int i = 0; i < 40; ++i) d.push_back(i % 2 ? DL_SPAN : DL_SKIP1), d.push_back(0);
        *records += 3 + 40;
    }
    return d;
}

void BM_PlayTextBand(benchmark::State& bench, bool colour) {
    uint32_t records = 0;
    const std::vector<uint8_t> list = TextPage(&records);
    const DLChunk chunk{list.data(), uint32_t(list.size())};
    RenderState state;
    state.page.isColour = colour;
    state.page.bitsPerPixel = colour ? 32 : 8;
    state.page.resolution = 600;
    state.page.rowPixels = kWidth;
    state.page.bytesPerRow = kWidth * state.page.bitsPerPixel / 8;
    state.page.pageRows = kPageRows;
    std::vector<uint8_t> band(size_t(state.page.bytesPerRow) * kBandRows);
    state.window.band = band.data();
    state.page.displayList = &chunk;
    state.page.displayListEnd = &chunk + 1;
    RDInitialize(&state);
    for (auto _ : bench) {
        RDInitializeBand(&state, kBandTop / 128, 0, kBandTop, kWidth - 1, kBandTop + kBandRows - 1);
        PlayFrameBuffer(&state, 0, 0);
        benchmark::DoNotOptimize(band.data());
    }
    RDDestroy(&state);
    bench.SetItemsProcessed(int64_t(bench.iterations()) * records);
    bench.SetBytesProcessed(int64_t(bench.iterations()) * int64_t(list.size()));
}

void BM_PlayTextBandGrey(benchmark::State& s) { BM_PlayTextBand(s, false); }
void BM_PlayTextBandColour(benchmark::State& s) { BM_PlayTextBand(s, true); }

}  // namespace

BENCHMARK(BM_PlayTextBandGrey)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PlayTextBandColour)->Unit(benchmark::kMicrosecond);
