// A page of 10,000 short lines (up to 48 pixels, every direction) on an A4
// page at 600 dpi (4960 x 7016), played band by band as the page printer
// does: every band replays the whole list, so most lines are rejected by the
// band test and the rest are cut to the band. Solid lines take the direct
// drawer, dashed ones the styled drawer; grey and colour pages.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

#include "a4_page_player.h"

namespace {

using zebl_bench::A4PagePlayer;
using zebl_bench::Put16;
using zebl_bench::Put32;

constexpr uint32_t kWidth = A4PagePlayer::kWidth;
constexpr uint32_t kPageRows = A4PagePlayer::kPageRows;
constexpr uint32_t kBandRows = 1024;
constexpr uint32_t kLines = 10000;

std::vector<uint8_t> LinePage(uint8_t style) {
    std::vector<uint8_t> d;
    d.push_back(DL_SET_ROP_COLOR);
    d.push_back(0xF0);
    Put32(d, 0x81200000);  // a dark blue: grey 2 on a grey page
    d.push_back(DL_SET_LINE_STYLE);
    d.push_back(style);
    std::mt19937 rng(5);
    std::uniform_int_distribution<uint32_t> x(0, kWidth - 60), y(0, kPageRows - 60), step(0, 48);
    for (uint32_t i = 0; i < kLines; ++i) {
        const uint32_t x1 = x(rng), y1 = y(rng);
        d.push_back(DL_SET_ROW);
        Put16(d, y1);
        d.push_back(DL_SET_COL);
        Put16(d, x1);
        d.push_back(DL_LINE);  // column, row
        Put16(d, x1 + step(rng));
        Put16(d, y1 + step(rng));
    }
    return d;
}

void BM_LinePage(benchmark::State& bench, bool colour, uint8_t style) {
    const std::vector<uint8_t> list = LinePage(style);
    A4PagePlayer page(list, colour, kBandRows);
    for (auto _ : bench)
        page.PlayPage([](const std::vector<uint8_t>& band) { benchmark::DoNotOptimize(band.data()); });
    bench.SetItemsProcessed(int64_t(bench.iterations()) * kLines);
}

void BM_LinePageGreySolid(benchmark::State& s) { BM_LinePage(s, false, 0); }
void BM_LinePageGreyDashed(benchmark::State& s) { BM_LinePage(s, false, 1); }
void BM_LinePageColourSolid(benchmark::State& s) { BM_LinePage(s, true, 0); }
void BM_LinePageColourDashed(benchmark::State& s) { BM_LinePage(s, true, 1); }

}  // namespace

BENCHMARK(BM_LinePageGreySolid)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LinePageGreyDashed)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LinePageColourSolid)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LinePageColourDashed)->Unit(benchmark::kMillisecond);
