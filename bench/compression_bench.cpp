// Band compression on 600 and 1200 dpi band planes (620 x 128 and 1240 x 128
// bytes): the LZW coder (text bands), the offset-table coder with a fresh
// analysis (parameter 100, as at 1200 dpi and roughly every fourth band) and
// reusing the tables (parameter 0), next to zlib levels 1 and 6 on the same
// planes. Counters: ratio = raw size / compressed size (1.0 when a coder gave
// up and the plane goes raw).
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstdint>
#include <random>
#include <vector>

#include "pipeline/band_compressor.h"
#include "pipeline/lzw_coder.h"
#include "pipeline/offset_table_coder.h"

namespace {

using Bytes = std::vector<uint8_t>;

enum Content { kHalftone = 0, kText = 1 };

uint32_t WidthAt(int64_t resolution) { return resolution == 1200 ? 1240 : 620; }
constexpr uint32_t kLines = 128;

// A photo-like ramp screened with an 8 x 8 ordered dither: the grey level
// changes across the band and slowly down it.
Bytes HalftonePlane(uint32_t width) {
    static const int kBayer[8][8] = {{0, 32, 8, 40, 2, 34, 10, 42},  {48, 16, 56, 24, 50, 18, 58, 26},
                                     {12, 44, 4, 36, 14, 46, 6, 38}, {60, 28, 52, 20, 62, 30, 54, 22},
                                     {3, 35, 11, 43, 1, 33, 9, 41},  {51, 19, 59, 27, 49, 17, 57, 25},
                                     {15, 47, 7, 39, 13, 45, 5, 37}, {63, 31, 55, 23, 61, 29, 53, 21}};
    Bytes plane(size_t{width} * kLines);
    for (uint32_t y = 0; y < kLines; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
            const int level = static_cast<int>((x * 64 / width + y / 16) % 65);
            uint8_t byte = 0;
            for (int bit = 0; bit < 8; ++bit)
                byte = static_cast<uint8_t>(byte << 1 | (kBayer[y % 8][bit] < level ? 0 : 1));
            plane[size_t{y} * width + x] = byte;
        }
    }
    return plane;
}

// Lines of text: white, with glyph cells of stems and bars (0 bits = dots)
// 40 lines high, a line gap of 24.
Bytes TextPlane(uint32_t width) {
    Bytes plane(size_t{width} * kLines, 0xFF);
    std::mt19937 rng(7);
    for (uint32_t top = 8; top + 40 <= kLines; top += 64) {
        for (uint32_t x = 4; x + 3 < width - 4; x += 4) {
            const uint32_t shape = rng();
            for (uint32_t y = top; y < top + 40; ++y) {
                uint8_t* cell = &plane[size_t{y} * width + x];
                if (shape & 1) cell[0] &= 0x3F;  // left stem
                if (shape & 2) cell[2] &= 0xFC;  // right stem
                const bool bar =
                    (y == top || y == top + 19 || y == top + 39) && (shape >> (2 + (y - top) / 19) & 1);
                if (bar) cell[0] = cell[1] = cell[2] = 0x00;
            }
        }
    }
    return plane;
}

Bytes PlaneFor(const benchmark::State& state) {
    const uint32_t width = WidthAt(state.range(0));
    return state.range(1) == kHalftone ? HalftonePlane(width) : TextPlane(width);
}

void Report(benchmark::State& state, size_t raw, size_t compressed) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * raw));
    state.counters["ratio"] = static_cast<double>(raw) / static_cast<double>(compressed);
    state.SetLabel(state.range(1) == kHalftone ? "halftone" : "text");
}

// A block in the raw form costs the band writer the plain plane.
size_t SentSize(const Bytes& out, uint32_t size, size_t raw) {
    const bool rawForm = out[4] == 0xFF && out[5] == 0xFF && out[6] == 0xFF && out[7] == 0xFF;
    return rawForm || size >= raw ? raw : size;
}

void BM_Lzw(benchmark::State& state) {
    const Bytes plane = PlaneFor(state);
    const uint32_t width = WidthAt(state.range(0));
    Bytes out(CompressOutBytes(width, kLines)), work(CompressWorkBytes(width, kLines));
    uint32_t size = 0;
    for (auto _ : state) {
        size = XORLZW77_BMP_Data_En(out.data(), plane.data(), width, kLines, work.data(), true);
        benchmark::DoNotOptimize(out.data());
    }
    Report(state, plane.size(), SentSize(out, size, plane.size()));
}

void OffsetTable(benchmark::State& state, uint8_t parameter) {
    const Bytes plane = PlaneFor(state);
    const uint32_t width = WidthAt(state.range(0));
    Bytes out(CompressOutBytes(width, kLines)), work(CompressWorkBytes(width, kLines));
    FBCompressTables tables;
    uint32_t size = XORFBB_BMP_Data_En(out.data(), plane.data(), width, kLines, work.data(), 100, &tables);
    for (auto _ : state) {
        size = XORFBB_BMP_Data_En(out.data(), plane.data(), width, kLines, work.data(), parameter, &tables);
        benchmark::DoNotOptimize(out.data());
    }
    Report(state, plane.size(), SentSize(out, size, plane.size()));
}

void BM_OffsetTableAnalysed(benchmark::State& state) { OffsetTable(state, 100); }
void BM_OffsetTableReused(benchmark::State& state) { OffsetTable(state, 0); }

void Zlib(benchmark::State& state, int level) {
    const Bytes plane = PlaneFor(state);
    Bytes out(compressBound(static_cast<uLong>(plane.size())));
    uLongf size = 0;
    for (auto _ : state) {
        size = static_cast<uLongf>(out.size());
        compress2(out.data(), &size, plane.data(), static_cast<uLong>(plane.size()), level);
        benchmark::DoNotOptimize(out.data());
    }
    Report(state, plane.size(), size);
}

void BM_ZlibLevel1(benchmark::State& state) { Zlib(state, 1); }
void BM_ZlibLevel6(benchmark::State& state) { Zlib(state, 6); }

void Planes(benchmark::internal::Benchmark* b) {
    b->ArgNames({"dpi", "content"});
    for (int64_t resolution : {600, 1200}) {
        for (int64_t content : {kHalftone, kText}) b->Args({resolution, content});
    }
}

BENCHMARK(BM_Lzw)->Apply(Planes);
BENCHMARK(BM_OffsetTableAnalysed)->Apply(Planes);
BENCHMARK(BM_OffsetTableReused)->Apply(Planes);
BENCHMARK(BM_ZlibLevel1)->Apply(Planes);
BENCHMARK(BM_ZlibLevel6)->Apply(Planes);

}  // namespace
