// Memory and disk of long finished jobs: a booklet and a 16-up job of many
// text pages, replayed through the spooler entry points one page at a time
// (no page is kept by the bench), printed to a file that is thrown away.
// Reported per run:
//   held_max_KiB    the most the document held in memory at a page end:
//                   band buffers, rendering state, its lists and finishing's
//                   (the same at page 50 and page 200 when nothing grows);
//   peak_rss_KiB    the process's peak resident memory; the posix stand-in
//                   spooler keeps the whole printed document in memory until
//                   its end, so compare with Plain of the same page count;
//   printed_KiB     the printer stream (which the stand-in spooler held);
//   spool_peak_KiB  the most the spool directories held at a page end;
//   spool_left_B    what is left in them after the end.
// Peak memory is per process: run one case per process, e.g.
//   build/release/bench/finishing_memory_bench --benchmark_filter='Booklet/200/'
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "job/bitmap_font.h"
#include "job/job_builder.h"
#include "pipeline/entry_points.h"
#include "pipeline/job_finishing.h"
#include "pipeline/own_module.h"
#include "sys/files.h"
#include "sys/modules.h"
#include "sys/paths.h"
#include "sys/printer_setup.h"
#include "sys/spooler.h"
#include "sys/temp_files.h"

namespace {

long PeakResidentKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
    }
    return -1;
}

// One page of text: 60 lines in the bitmap font, enlarged 3 times.
DLWriter TextPage(int page) {
    DLWriter list;
    list.SetRopColour(0x88, 0x81000000);
    for (int line = 0; line < 60; ++line) {
        std::string text = "Page " + std::to_string(page) + " line " + std::to_string(line) + ": ";
        while (text.size() < 70) text += "the quick brown fox jumps over the lazy dog ";
        text.resize(70);
        for (const PlacedGlyph& glyph : LayOutText(text, 200, 200 + line * 11 * 3 * 2, 3)) {
            list.SetRow(static_cast<uint16_t>(glyph.y));
            list.SetColumn(static_cast<uint16_t>(glyph.x));
            list.Glyph(0, glyph.bitmap.rows, glyph.bitmap.width, glyph.bitmap.bits);
        }
    }
    return list;
}

// Bytes of the spool files of every spool directory in the temporary folder.
uint64_t SpoolBytes() {
    uint64_t bytes = 0;
    const sys::WString root = sys::GetTempPath() + u"VLSPLDIR";
    for (const sys::DirEntry& folder : sys::ListDirectory(root + u"\\*")) {
        if (!(folder.attributes & sys::kAttrDirectory) || folder.name == u"." || folder.name == u"..")
            continue;
        for (const sys::DirEntry& file : sys::ListDirectory(root + u"\\" + folder.name + u"\\*.*"))
            bytes += file.size;
    }
    return bytes;
}

uint64_t ListBytes(const FBCmdList* list) {
    uint64_t bytes = 0;
    if (list != nullptr) {
        for (const FBCmdBuffer& buffer : list->buffers) bytes += buffer.capacity;
    }
    return bytes;
}

// What the document holds between pages.
uint64_t HeldBytes(const FBContext& context) {
    uint64_t bytes = 0;
    for (const auto& buffer : context.cache.buffers.buffers) bytes += buffer.capacity();
    bytes += context.cache.outputBand.capacity() + context.cache.outputRowFlags.capacity();
    if (context.cache.renderState) bytes += context.cache.renderState->window.rowFlags.capacity();
    bytes += ListBytes(context.cmdList.get());
    if (const FBJobFinishing* finishing = context.jobFinishing.get()) {
        bytes += ListBytes(&finishing->playList) + ListBytes(finishing->recordingList.get());
        bytes += finishing->pages.capacity() * sizeof(FBPage);
        for (const FBPageListSheet& sheet : finishing->pageList.sheets)
            bytes += sheet.entries.size() * sizeof(FBPageListEntry);
    }
    return bytes;
}

void Call(benchmark::State& state, bool ok, const char* what) {
    if (!ok) state.SkipWithError(what);
}

// The library is linked in; it finds the stand-in colour module where the
// build puts it, <build>/bin beside <build>/bench.
void UseBuildModules() {
    const sys::WString program = sys::GetOwnModuleFileName();
    const sys::WString bench(sys::FolderOf(program));
    fbOverrideOwnModulePath(sys::WString(sys::FolderOf(bench)) + u"/bin/Tzqr4um.dll");
}

void PrintJob(benchmark::State& state, const JobSettings& settings) {
    UseBuildModules();
    const int pages = static_cast<int>(state.range(0));
    const sys::WString temp = sys::GetTempPath();
    const sys::WString output = temp + u"finishing_memory_bench.prn";
    sys::PrinterSetup setup;
    setup.name = u"finishing memory bench";
    sys::AddPrinter(setup);
    uint64_t spoolPeak = 0, spoolAfter = 0, heldMax = 0;
    for (auto _ : state) {
        sys::PrinterHandle printer = sys::OpenPrinter(setup.name);
        Call(state, printer != nullptr && sys::StartDocPrinter(printer, u"bench", output, u"RAW") != 0,
             "printer");
        void* handle = DrvSplStartDoc(printer, 1);
        auto write = [&](std::vector<uint8_t> buffer) {
            uint32_t written = 0;
            DrvSplWritePrinter(handle, buffer.data(), static_cast<uint32_t>(buffer.size()), &written);
        };
        const FBInterface first = MakeSettingsRecord(settings, kFBICmdStartDoc);
        write(std::vector<uint8_t>(first.bytes.begin(), first.bytes.end()));
        const FBInterface each = MakeSettingsRecord(settings, kFBICmdStartPage);
        for (int page = 1; page <= pages; ++page) {
            DrvSplStartPage(handle);
            write(std::vector<uint8_t>(each.bytes.begin(), each.bytes.end()));
            for (auto& buffer : DisplayListBuffers(TextPage(page))) write(std::move(buffer));
            DrvSplEndPage(handle);
            const SplHandle* spl = static_cast<const SplHandle*>(handle);
            if (spl != nullptr && spl->prFB != nullptr) heldMax = std::max(heldMax, HeldBytes(*spl->prFB));
            spoolPeak = std::max(spoolPeak, SpoolBytes());
        }
        DrvSplEndDoc(handle);
        DrvSplClose(handle);
        spoolAfter = SpoolBytes();
        sys::EndDocPrinter(printer);
        sys::ClosePrinter(printer);
    }
    uint64_t printed = 0;
    for (const sys::DirEntry& file : sys::ListDirectory(output)) printed = file.size;
    sys::DeletePrinter(setup.name);
    sys::DeleteFile(output);
    state.counters["printed_KiB"] = static_cast<double>(printed / 1024);
    state.counters["held_max_KiB"] = static_cast<double>(heldMax / 1024);
    state.counters["peak_rss_KiB"] = static_cast<double>(PeakResidentKiB());
    state.counters["spool_peak_KiB"] = static_cast<double>(spoolPeak / 1024);
    state.counters["spool_left_B"] = static_cast<double>(spoolAfter);
}

// The same pages one per sheet, without finishing: the baseline.
void Plain(benchmark::State& state) { PrintJob(state, JobSettings{}); }

void Booklet(benchmark::State& state) {
    JobSettings settings;  // A4, 600 dpi, grey
    settings.booklet = true;
    PrintJob(state, settings);
}

void SixteenUp(benchmark::State& state) {
    JobSettings settings;
    settings.pagesPerSheet = 16;
    PrintJob(state, settings);
}

void SixteenUpReverse(benchmark::State& state) {
    JobSettings settings;
    settings.pagesPerSheet = 16;
    settings.pageOrder = 1;  // two kinds: the whole job is held on disk
    PrintJob(state, settings);
}

BENCHMARK(Plain)->Arg(50)->Arg(200)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(Booklet)->Arg(50)->Arg(200)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(SixteenUp)->Arg(50)->Arg(200)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(SixteenUpReverse)->Arg(50)->Arg(200)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
