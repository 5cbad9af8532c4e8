// One 600-dpi rendering band (4960 pixels x 128 rows) of a text-like page
// from display list to printer: playback, screening, compression and writing
// through the output writer to a spooler printer whose document goes to a
// temporary file. Grey: black glyphs (LZW); colour: the same text plus
// coloured bars (offset-table coder), converted to inks by a plain RGB to
// YMCK step standing in for the colour module.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <random>
#include <vector>

#include "engine/band_output.h"
#include "engine/display_list.h"
#include "engine/playback.h"
#include "engine/render_band.h"
#include "engine/render_state.h"
#include "pipeline/band_cache.h"
#include "pipeline/fb_band.h"
#include "pipeline/output_writer.h"
#include "sys/files.h"
#include "sys/printer_setup.h"
#include "sys/temp_files.h"

namespace {

constexpr uint32_t kPixels = 4960;
constexpr uint32_t kRows = 128;
constexpr uint32_t kGlyphRows = 24, kGlyphWidth = 16, kLinePitch = 32, kCharPitch = 18;
constexpr uint32_t kBandsPerDocument = 256;  // the test spooler keeps a document in memory

void Put16(std::vector<uint8_t>* dl, uint32_t v) {
    dl->push_back(static_cast<uint8_t>(v));
    dl->push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>* dl, uint32_t v) {
    Put16(dl, v);
    Put16(dl, v >> 16);
}
void At(std::vector<uint8_t>* dl, uint32_t row, uint32_t col) {
    dl->push_back(DL_SET_ROW);
    Put16(dl, row);
    dl->push_back(DL_SET_COL);
    Put16(dl, col);
}

// An alphabet of 32 letter-like glyphs built from strokes: two-pixel stems
// at four columns and two-pixel bars at three rows, each present or not.
std::vector<std::vector<uint8_t>> Alphabet() {
    std::vector<std::vector<uint8_t>> glyphs;
    for (uint32_t letter = 0; letter < 32; ++letter) {
        const uint32_t strokes = (letter * 37 + 5) % 127 + 1;  // 7 stroke bits, never none
        std::vector<uint8_t> rows;
        for (uint32_t r = 0; r < kGlyphRows; ++r) {
            uint32_t bits = 0;
            for (uint32_t stem = 0; stem < 4; ++stem)
                if (strokes & (1u << stem)) bits |= 0xC000u >> (stem * 4);
            for (uint32_t bar = 0; bar < 3; ++bar)
                if ((strokes & (8u << bar)) && (r == 2 + bar * 9 || r == 3 + bar * 9)) bits = 0xFFFC;
            rows.insert(rows.end(), {static_cast<uint8_t>(bits >> 8), static_cast<uint8_t>(bits), 0, 0});
        }
        glyphs.push_back(rows);
    }
    return glyphs;
}

// Four lines of text across the band, letters picked at random; colour
// pages get four coloured bars.
std::vector<uint8_t> TextBand(bool colour) {
    std::mt19937 rng(11);
    const std::vector<std::vector<uint8_t>> alphabet = Alphabet();
    std::vector<uint8_t> dl;
    for (uint32_t line = 0; line < kRows / kLinePitch; ++line) {
        for (uint32_t col = 16; col + kGlyphWidth < kPixels - 16; col += kCharPitch) {
            if (rng() % 6 == 0) continue;  // a space
            At(&dl, line * kLinePitch + 4, col);
            dl.insert(dl.end(), {DL_GLYPH, 0, 0, 0, 0});
            Put16(&dl, kGlyphRows);
            Put16(&dl, kGlyphWidth);
            Put32(&dl, 0);
            const std::vector<uint8_t>& glyph = alphabet[rng() % alphabet.size()];
            dl.insert(dl.end(), glyph.begin(), glyph.end());
        }
    }
    if (colour) {
        const uint32_t colours[] = {0x810000FF, 0x8100C000, 0x81FF0000, 0x8180FFFF};
        for (uint32_t i = 0; i < 4; ++i) {
            dl.insert(dl.end(), {DL_SET_ROP_COLOR, 0xF0});
            Put32(&dl, colours[i]);
            At(&dl, i * kLinePitch + 28, 400 + i * 900);
            dl.push_back(DL_BOX16);
            Put16(&dl, 3);
            Put16(&dl, 800);
        }
    }
    return dl;
}

// The colour module's job in its plainest form: 0xTTRRGGBB to the whiteness
// of yellow, magenta, cyan and black.
void ConvertColours(uint8_t* pixels, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        uint8_t* p = pixels + 4 * i;
        const uint8_t white = std::max({p[0], p[1], p[2]});
        p[0] = static_cast<uint8_t>(255 - (white - p[0]));
        p[1] = static_cast<uint8_t>(255 - (white - p[1]));
        p[2] = static_cast<uint8_t>(255 - (white - p[2]));
        p[3] = white;
    }
}

// A spooler printer whose documents go to a temporary file, removed at the end.
class FilePrinter {
public:
    FilePrinter() {
        const sys::WString folder = sys::GetTempPath();
        file_ = sys::GetTempFileName(folder, u"zbb");
        setup_.name = u"ZEBL band bench";
        ready_ = !file_.empty() && sys::AddPrinter(setup_);
    }
    ~FilePrinter() {
        if (ready_) sys::DeletePrinter(setup_.name);
        if (!file_.empty()) sys::DeleteFile(file_);
    }
    bool Ready() const { return ready_; }

    // Bytes of the last document that ended.
    uint64_t DocumentBytes() const {
        sys::File file = sys::File::OpenExisting(file_, false, sys::Share::ReadWrite);
        uint64_t total = 0;
        uint8_t chunk[65536];
        uint32_t got = 0;
        while (file.IsOpen() && file.Read(chunk, sizeof chunk, &got) && got > 0) total += got;
        return total;
    }

    bool Open(FBOut* out) const {
        FBOutSetDocinfo(out, u"band bench", file_, u"RAW");
        return FBOutOpen(out, setup_.name, nullptr) && FBOutStartDoc(out) && FBOutStartPage(out);
    }

private:
    sys::PrinterSetup setup_;
    sys::WString file_;
    bool ready_ = false;
};

struct BandBench {
    explicit BandBench(bool colour) : list(TextBand(colour)), state(std::make_unique<RenderState>()) {
        const uint32_t bits = colour ? 32 : 8;
        FBPage page;
        page.resolution = page.outputResolution = 600;
        page.bitsPerPixel = bits;
        page.colour = colour;
        page.printableWidth = kPixels;
        page.printableHeight = 7016;
        state->page.isColour = colour;
        state->page.bitsPerPixel = bits;
        state->page.resolution = 600;
        state->page.rowPixels = kPixels;
        state->page.bytesPerRow = kPixels * bits / 8;
        state->page.dwordsPerRow = state->page.bytesPerRow / 4;
        state->page.pageRows = page.printableHeight;
        RDInitialize(state.get());
        const size_t bufferBytes = size_t{kRows} * state->page.bytesPerRow;
        state->window.band = FBAllocInCache(&cache, kCacheRenderBuffer, bufferBytes);
        chunk = DLChunk{list.data(), static_cast<uint32_t>(list.size())};
        state->page.displayList = &chunk;
        state->page.displayListEnd = &chunk + 1;
        FBInitializeBand(&band, &cache, page, 0);
        FBOutBandSetTotalBandNums(&band, 55);
        FBOutBandSetBuffer(&band, state->window.band, bufferBytes);
    }
    ~BandBench() {
        RDDestroy(state.get());
        FBDestroyBand(&band);
    }

    void Play(uint32_t top) {
        RDInitializeBand(state.get(), top / kRows, 0, top, kPixels - 1, top + kRows - 1);
        PlayFrameBuffer(state.get(), top, 0);  // the same text in every band
        if (state->page.isColour) ConvertColours(state->window.band, size_t{kRows} * kPixels);
        FBOutBandSetRowFlags(&band, state->window.rowFlags.data(), kRows);
    }
    int Print(FBOut* out, uint32_t top) {
        FBPrepareBand(&band, 0, top, kPixels - 1, top + kRows - 1);
        return FBPrintBand(&band, out);
    }

    std::vector<uint8_t> list;
    DLChunk chunk;
    std::unique_ptr<RenderState> state;
    FBBandCache cache;
    FBBand band;
};

// Runs the loop body band after band; every kBandsPerDocument bands the
// document is ended (its bytes go to the file) outside the timing.
template <typename Body>
void RunBands(benchmark::State& state, bool colour, bool playEveryBand, Body body) {
    FilePrinter printer;
    if (!printer.Ready()) {
        state.SkipWithError("cannot add the printer");
        return;
    }
    BandBench bench(colour);
    auto out = std::make_unique<FBOut>();
    if (!printer.Open(out.get())) {
        state.SkipWithError("cannot open the printer");
        return;
    }
    if (!playEveryBand) bench.Play(0);
    uint32_t bands = 0;
    for (auto _ : state) {
        const uint32_t top = (bands % 54) * kRows;
        if (playEveryBand) bench.Play(top);
        if (!body(bench, out.get(), top)) {
            state.SkipWithError("the band printer failed");
            break;
        }
        if (++bands % kBandsPerDocument == 0) {
            state.PauseTiming();
            FBOutEndPage(out.get());
            FBOutEndDoc(out.get());
            FBOutClose(out.get());
            out = std::make_unique<FBOut>();
            printer.Open(out.get());
            state.ResumeTiming();
        }
    }
    FBOutEndPage(out.get());
    FBOutEndDoc(out.get());
    FBOutClose(out.get());
    // The printer stream of one band, from the last document.
    const uint32_t lastDocumentBands =
        bands % kBandsPerDocument ? bands % kBandsPerDocument : kBandsPerDocument;
    if (bands > 0) state.counters["bytes_per_band"] = double(printer.DocumentBytes()) / lastDocumentBands;
    state.SetItemsProcessed(state.iterations() * kRows * kPixels);  // pixels
}

void BM_PlayAndPrintBand(benchmark::State& state) {
    const bool colour = state.range(0) != 0;
    RunBands(state, colour, true, [](BandBench& b, FBOut* out, uint32_t top) { return b.Print(out, top); });
    state.SetLabel(colour ? "colour, playback + inks + print" : "grey, playback + print");
}

void BM_PrintBand(benchmark::State& state) {
    const bool colour = state.range(0) != 0;
    RunBands(state, colour, false, [](BandBench& b, FBOut* out, uint32_t top) { return b.Print(out, top); });
    state.SetLabel(colour ? "colour, screen + compress + write" : "grey, screen + compress + write");
}

BENCHMARK(BM_PlayAndPrintBand)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PrintBand)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
