// The four raster kernels on a 600 dpi band: 4960 pixels (an A4/Letter page
// width) by 128 rows, grey and colour, solid colour and brush, with and
// without a mask. Each iteration fills the whole band once.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/raster_ops.h"

namespace {

constexpr uint32_t kWidth = 4960;
constexpr uint32_t kRows = 128;
constexpr uint32_t kRowPixels = (kWidth + 31) / 32 * 32 + 32;  // room right of the fill

struct Band {
    RenderState state;
    std::vector<uint8_t> pixels;
    std::vector<uint8_t> mask;

    Band(bool colour, bool brush, uint8_t rop) {
        state.page.isColour = colour;
        state.page.bitsPerPixel = colour ? 32 : 8;
        state.page.rowPixels = kRowPixels;
        state.page.bytesPerRow = kRowPixels * (colour ? 4 : 1);
        state.window.bandTop = 0;
        state.window.bandBottom = kRows - 1;
        state.window.bandRight = kRowPixels - 1;
        state.window.bandRows = kRows;
        pixels.assign(size_t(state.page.bytesPerRow) * kRows, 0xFF);
        state.window.band = pixels.data();
        // A text-like mask: alternating runs of ink and paper.
        mask.resize(size_t(MaskStride(kWidth)) * kRows);
        uint32_t seed = 12345;
        for (auto& b : mask) {
            seed = seed * 1103515245u + 12345u;
            b = uint8_t(seed >> 24);
        }
        uint32_t code = 0x81204060;
        if (brush) {
            state.reg.hatchForeground = 0x00FF0000;
            code = kColourCodeHatch + 5;
        }
        Frame_prhMAPuid(&state, code);
        FrameSelectRopBrush(&state.reg, rop, code);
    }

    void Fill(bool withMask) {
        TRect req;
        req.row = 0;
        req.xs = 0;
        req.xe = kWidth;
        req.rows = kRows;
        req.bits = withMask ? mask.data() : nullptr;
        req.brush = state.reg.brush;
        req.colour = state.reg.colour;
        req.dest = pixels.data();
        req.destStride = state.page.bytesPerRow;
        state.reg.pfRenderFunc(state.page, state.window, state.reg, &req);
    }
};

// Arguments: colour (0/1), brush (0/1), mask (0/1).
void RunKernel(benchmark::State& bs, uint8_t rop) {
    const bool colour = bs.range(0), brush = bs.range(1), withMask = bs.range(2);
    Band band(colour, brush, rop);
    for (auto _ : bs) {
        band.Fill(withMask);
        benchmark::DoNotOptimize(band.pixels.data());
        benchmark::ClobberMemory();
    }
    bs.SetItemsProcessed(int64_t(bs.iterations()) * kWidth * kRows);
    bs.SetBytesProcessed(int64_t(bs.iterations()) * kWidth * kRows * (colour ? 4 : 1));
    bs.SetLabel(std::string(colour ? "colour" : "grey") + (brush ? " brush" : " solid") +
                (withMask ? " mask" : ""));
}

void BM_Run_DL_D_Invert(benchmark::State& bs) { RunKernel(bs, 0x55); }
void BM_Run_DL_D_Black(benchmark::State& bs) { RunKernel(bs, 0x00); }
void BM_Run_DL_HD_PatCopy(benchmark::State& bs) { RunKernel(bs, 0xF0); }
void BM_Run_DL_HD_PatInvert(benchmark::State& bs) { RunKernel(bs, 0x5A); }
void BM_Run_DL_SD_And(benchmark::State& bs) { RunKernel(bs, 0x88); }
void BM_Run_DL_SHD_Transparent(benchmark::State& bs) { RunKernel(bs, 0xB8); }
void BM_Run_DL_SHD_Other(benchmark::State& bs) { RunKernel(bs, 0x6C); }

// {colour, brush, mask}

BENCHMARK(BM_Run_DL_D_Invert)->Args({0, 0, 0})->Args({1, 0, 0})->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Run_DL_D_Black)->Args({0, 0, 0})->Args({1, 0, 0})->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Run_DL_HD_PatCopy)
    ->Args({0, 0, 0})
    ->Args({1, 0, 0})
    ->Args({0, 1, 0})
    ->Args({1, 1, 0})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Run_DL_HD_PatInvert)
    ->Args({0, 0, 0})
    ->Args({1, 0, 0})
    ->Args({0, 1, 0})
    ->Args({1, 1, 0})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Run_DL_SD_And)->Args({0, 0, 1})->Args({1, 0, 1})->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Run_DL_SHD_Transparent)
    ->Args({0, 0, 1})
    ->Args({1, 0, 1})
    ->Args({0, 1, 1})
    ->Args({1, 1, 1})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Run_DL_SHD_Other)
    ->Args({0, 0, 1})
    ->Args({1, 0, 1})
    ->Args({0, 1, 1})
    ->Args({1, 1, 1})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
