// A page-sized photograph: a 24-bit image covering an A4 page at 600 dpi
// (4960 x 7016), sent at a quarter of that size (2480 x 3508, half each way)
// or at full size, and played band by band as the page printer does: every
// iteration renders the whole page in render bands of 512 rows, on a grey
// and on a colour page. Items are the page's pixels.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "a4_page_player.h"

namespace {

using zebl_bench::A4PagePlayer;
using zebl_bench::Put16;

constexpr uint32_t kWidth = A4PagePlayer::kWidth;
constexpr uint32_t kPageRows = A4PagePlayer::kPageRows;
constexpr uint32_t kBandRows = 512;

// DL_STRETCH_IMAGE of a smooth colour gradient, srcWidth x srcRows, drawn
// over the whole page with ROP 0xCC.
std::vector<uint8_t> PhotoPage(uint32_t srcWidth, uint32_t srcRows) {
    std::vector<uint8_t> d = {DL_SET_ROP_COLOR, 0xCC, 0x00, 0x00,       0x00, 0x81,
                              DL_SET_ROW,       0,    0,    DL_SET_COL, 0,    0};
    d.push_back(DL_STRETCH_IMAGE);
    d.insert(d.end(), {0, 24, 0, 0});  // no lead, 24 bits, no palette, not turned
    Put16(d, srcRows);
    Put16(d, srcWidth);
    Put16(d, kPageRows);
    Put16(d, kWidth);
    d.reserve(d.size() + size_t{srcRows} * srcWidth * 4);
    for (uint32_t y = 0; y < srcRows; ++y) {
        for (uint32_t x = 0; x < srcWidth; ++x) {
            d.insert(d.end(),
                     {uint8_t(x * 255 / srcWidth), uint8_t(y * 255 / srcRows), uint8_t((x + y) & 0xFF), 0});
        }
    }
    return d;
}

void BM_PhotoPage(benchmark::State& bench, bool colour, uint32_t divisor) {
    const std::vector<uint8_t> list = PhotoPage(kWidth / divisor, kPageRows / divisor);
    A4PagePlayer page(list, colour, kBandRows);
    for (auto _ : bench)
        page.PlayPage([](const std::vector<uint8_t>& band) { benchmark::DoNotOptimize(band.data()); });
    // The last band holds the picture's bottom rows: a white band would mean
    // that nothing was measured.
    const std::vector<uint8_t>& band = page.Band();
    const bool drawn = std::any_of(band.begin(), band.end(), [](uint8_t b) { return b != 0xFF; });
    if (!drawn) bench.SkipWithError("the image was not drawn");
    bench.SetItemsProcessed(int64_t(bench.iterations()) * kWidth * kPageRows);
}

void BM_PhotoPageGreyFromQuarter(benchmark::State& s) { BM_PhotoPage(s, false, 2); }
void BM_PhotoPageColourFromQuarter(benchmark::State& s) { BM_PhotoPage(s, true, 2); }
void BM_PhotoPageGreyFullSize(benchmark::State& s) { BM_PhotoPage(s, false, 1); }
void BM_PhotoPageColourFullSize(benchmark::State& s) { BM_PhotoPage(s, true, 1); }

}  // namespace

BENCHMARK(BM_PhotoPageGreyFromQuarter)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PhotoPageColourFromQuarter)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PhotoPageGreyFullSize)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PhotoPageColourFullSize)->Unit(benchmark::kMillisecond);
