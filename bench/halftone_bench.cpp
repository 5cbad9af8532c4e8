// Screening one 600-dpi physical band (4960 pixels x 128 rows, an A4 row
// rounded up to 32 pixels) with white, flat grey, random and text-like
// content (short dark runs on white, a tenth of the band inked), by the
// portable kernels, the SSE2 ones and the AVX2 ones.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "engine/halftone.h"

namespace {

constexpr uint32_t kPixels = 4960;
constexpr uint32_t kRows = 128;
constexpr uint32_t kStride = kPixels / 8;
constexpr uint32_t kPlaneBytes = kStride * kRows;

enum Content { kWhite, kFlatGrey, kRandom, kTextLike };

std::vector<uint8_t> MakeBand(Content content, size_t bytes) {
    std::vector<uint8_t> band(bytes, 255);
    if (content == kFlatGrey) std::fill(band.begin(), band.end(), 128);
    if (content == kRandom) {
        std::mt19937 rng(7);
        for (uint8_t& b : band) b = static_cast<uint8_t>(rng());
    }
    if (content == kTextLike) {
        std::mt19937 rng(11);
        for (size_t i = 0; i < bytes;) {
            const size_t run = 8 + rng() % 120;
            if (rng() % 10 == 0) std::fill(band.begin() + i, band.begin() + std::min(bytes, i + run), 0);
            i += run;
        }
    }
    return band;
}

// The kernel of the benchmark's second argument: 0 portable, 1 SSE2, 2 AVX2.
FBScreenKernel KernelOf(const benchmark::State& state) { return static_cast<FBScreenKernel>(state.range(1)); }

bool SetUpScreen(benchmark::State& state, FBScreen* screen, void* colourHandle) {
    FBMaskInitialize(screen, 0, 600, colourHandle);
    screen->kernel = KernelOf(state);
    if (FBScreenKernelRuns(screen->kernel)) return true;
    state.SkipWithError("this processor cannot run the kernel");
    return false;
}

void SetLabel(benchmark::State& state, Content content) {
    static const char* const kNames[] = {"white", "flat grey", "random", "text-like"};
    static const char* const kKernels[] = {", portable", ", SSE2", ", AVX2"};
    state.SetLabel(std::string(kNames[content]) + kKernels[state.range(1)]);
    state.SetItemsProcessed(state.iterations() * kPixels * kRows);  // pixels
}

void BM_MaskBand8(benchmark::State& state) {
    const Content content = static_cast<Content>(state.range(0));
    FBScreen screen;
    if (!SetUpScreen(state, &screen, nullptr)) return;
    const std::vector<uint8_t> src = MakeBand(content, size_t{kPixels} * kRows);
    std::vector<uint8_t> dst(kPlaneBytes, 0xFF);
    uint8_t blank[4];
    uint32_t firstRow = 0;
    for (auto _ : state) {
        MaskBand8(&screen, dst.data(), kStride, src.data(), firstRow, kPixels, kRows, blank);
        firstRow += kRows;
        benchmark::DoNotOptimize(dst.data());
        benchmark::ClobberMemory();
    }
    SetLabel(state, content);
}

void BM_MaskBand32(benchmark::State& state) {
    const Content content = static_cast<Content>(state.range(0));
    int colourHandle = 0;
    FBScreen screen;
    if (!SetUpScreen(state, &screen, &colourHandle)) return;
    const std::vector<uint8_t> src = MakeBand(content, size_t{kPixels} * kRows * 4);
    std::vector<uint8_t> dst(size_t{kPlaneBytes} * 4, 0xFF);
    uint8_t blank[4];
    uint32_t firstRow = 0;
    for (auto _ : state) {
        MaskBand32(&screen, dst.data(), kPlaneBytes, kStride, src.data(), firstRow, kPixels, kRows, blank);
        firstRow += kRows;
        benchmark::DoNotOptimize(dst.data());
        benchmark::ClobberMemory();
    }
    SetLabel(state, content);
}

}  // namespace

BENCHMARK(BM_MaskBand8)
    ->ArgsProduct({{kWhite, kFlatGrey, kRandom, kTextLike}, {0, 1, 2}})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MaskBand32)
    ->ArgsProduct({{kWhite, kFlatGrey, kRandom, kTextLike}, {0, 1, 2}})
    ->Unit(benchmark::kMicrosecond);
