// Filling a page-sized polygon at 600 dpi (A4, 4960 x 7016): a 24-pointed
// star with a wavy ring of 720 points around it, under each fill rule.
// BM_FillPathPage plays the path record band by band over the whole page
// (bands of 384 rows), as the page printer does, painting grey pixels;
// BM_ScanPathPage runs only the scan converter over the whole page, the
// spans going to a callback that counts them.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "a4_page_player.h"
#include "engine/do_render.h"
#include "engine/path_generator.h"

namespace {

constexpr uint32_t kWidth = zebl_bench::A4PagePlayer::kWidth;
constexpr uint32_t kPageRows = zebl_bench::A4PagePlayer::kPageRows;
constexpr uint32_t kBandRows = 384;

struct Point {
    int32_t x, y;
};

std::vector<std::vector<Point>> PagePolygon() {
    constexpr double kPi = 3.14159265358979323846;
    const double cx = kWidth / 2.0, cy = kPageRows / 2.0;
    std::vector<Point> star, ring;
    for (int i = 0; i < 48; ++i) {
        const double r = (i % 2 ? 0.35 : 0.98) * cx, a = i * kPi / 24;
        star.push_back({int32_t(cx + r * std::cos(a)), int32_t(cy + r * std::sin(a) * cy / cx)});
    }
    for (int i = 0; i < 720; ++i) {
        const double a = i * kPi / 360, r = 0.6 * cx + 80 * std::sin(a * 12);
        ring.push_back({int32_t(cx + r * std::cos(a)), int32_t(cy + r * std::sin(a) * cy / cx)});
    }
    return {star, ring};
}

std::vector<uint8_t> PathRecord(uint16_t fillMode) {
    const auto subpaths = PagePolygon();
    std::vector<uint8_t> d = {DL_SET_ROP_COLOR, 0xF0, 0x00, 0x00, 0x00, 0x81, DL_FILL_PATH};
    auto put16 = [&d](uint32_t v) { zebl_bench::Put16(d, v); };
    auto put32 = [&d](uint32_t v) { zebl_bench::Put32(d, v); };
    put16(fillMode);
    d.push_back(2);
    d.push_back(0);
    put32(0);
    put32(0);
    put32(kWidth);
    put32(kPageRows);
    put32(uint32_t(subpaths.size()));
    put32(uint32_t(subpaths[0].size() + subpaths[1].size()));
    for (const auto& s : subpaths)
        for (const Point& p : s) put16(uint32_t(p.x)), put16(uint32_t(p.y));
    for (const auto& s : subpaths) put32(uint32_t(s.size()));
    return d;
}

void BM_FillPathPage(benchmark::State& bench, uint16_t fillMode) {
    const std::vector<uint8_t> list = PathRecord(fillMode);
    zebl_bench::A4PagePlayer page(list, false, kBandRows);
    int64_t inked = 0;  // bands of the last page inked at one spot: the path is painted
    for (auto _ : bench) {
        inked = 0;
        page.PlayPage([&inked](const std::vector<uint8_t>& band) {
            inked += band[size_t(kWidth) * 100 + kWidth / 2] != 0xFF;  // row 100 of the band, mid-page
        });
    }
    bench.SetItemsProcessed(int64_t(bench.iterations()) * kPageRows);  // rows
    bench.counters["bandsInkedAtCentre"] = double(inked);
}

int CountSpan(RenderState*, TRect*, uint32_t, uint32_t x1, uint32_t x2) { return int(x2 - x1); }

void BM_ScanPathPage(benchmark::State& bench, bool evenOdd) {
    PathGenerator pg;
    for (const auto& s : PagePolygon()) {
        pg.vertices.StartSubPath(float(s[0].x), float(s[0].y));
        for (const Point& p : s) pg.vertices.PutPoint(float(p.x), float(p.y));
        pg.vertices.CloseSubPath(true);
    }
    PGSetClipRect(&pg, 0, kWidth, 0, kPageRows);
    PGSetCallback(&pg, CountSpan, nullptr, nullptr);
    for (auto _ : bench) benchmark::DoNotOptimize(GpmPaintPath(&pg, evenOdd ? 1 : 0));
    bench.SetItemsProcessed(int64_t(bench.iterations()) * kPageRows);
}

void BM_FillPathPageAlternate(benchmark::State& s) { BM_FillPathPage(s, kPGFillAlternate); }
void BM_FillPathPageWinding(benchmark::State& s) { BM_FillPathPage(s, kPGFillWinding); }
void BM_ScanPathPageAlternate(benchmark::State& s) { BM_ScanPathPage(s, true); }
void BM_ScanPathPageWinding(benchmark::State& s) { BM_ScanPathPage(s, false); }

}  // namespace

BENCHMARK(BM_FillPathPageAlternate)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillPathPageWinding)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScanPathPageAlternate)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScanPathPageWinding)->Unit(benchmark::kMillisecond);
