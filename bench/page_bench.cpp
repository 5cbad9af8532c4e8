// Whole pages through the spooler's entry points: each page kind of
// page_scenes.h composed in memory into a spooled job of 1 or 9 pages and
// played through DrvSplStartDoc ... DrvSplClose onto a printer whose port
// goes nowhere (no file system in the timed loop). The steady-state cost of
// a page is the difference of the two jobs over 8 pages (compare-ghostscript
// computes it from the JSON).
//
// Counters, per page: page_ms (CPU), pages_per_min, bytes (of printer
// stream, from one untimed print to a file), the stages' milliseconds
// (playback, colour_conversion, screening, compression, writing) and the
// process's peak memory so far (peak_mb). MemoryBandwidth measures what
// writing and reading back a buffer larger than any cache costs, the floor
// under any pass over a page.
//
//   page_bench [benchmark flags]
//   page_bench --scenes FOLDER [PAGES]
//
// With --scenes the program writes each kind's scene of PAGES pages (1 when
// not given) as FOLDER/<kind>.scene and exits; compare_ghostscript.py makes
// PostScript of them with `zebl compose --postscript`.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "decode/stream_decoder.h"
#include "engine/stage_clock.h"
#include "job/scene.h"
#include "job/spool_file.h"
#include "page_scenes.h"
#include "pipeline/entry_points.h"
#include "pipeline/own_module.h"
#include "sys/modules.h"
#include "sys/paths.h"
#include "sys/printer_setup.h"
#include "sys/spooler.h"

namespace {

constexpr char16_t kNullPrinter[] = u"page bench null";
constexpr char16_t kFilePrinter[] = u"page bench file";

// Plays the job into the library as the spooler does; the printer's
// document goes to outputFile (empty: the port). False when a call failed.
// The library gets the job's own buffers, as the spooler hands over its
// own: no copy in the timed loop (PrintPages checks that none was written).
bool PlayJob(SpoolJob& job, const char16_t* printerName, sys::WStringView outputFile) {
    sys::PrinterHandle printer = sys::OpenPrinter(printerName);
    if (printer == nullptr || sys::StartDocPrinter(printer, u"page bench", outputFile, u"RAW") == 0)
        return false;
    void* handle = nullptr;
    bool ok = true;
    for (SpoolRecord& record : job.records) {
        uint32_t written = 0;
        switch (record.call) {
            case SpoolCall::StartDoc:
                handle = DrvSplStartDoc(printer, 1);
                ok &= handle != nullptr;
                break;
            case SpoolCall::WritePrinter:
                ok &= DrvSplWritePrinter(handle, record.data.data(),
                                         static_cast<uint32_t>(record.data.size()), &written) != 0;
                break;
            case SpoolCall::StartPage: ok &= DrvSplStartPage(handle) != 0; break;
            case SpoolCall::EndPage: ok &= DrvSplEndPage(handle) != 0; break;
            case SpoolCall::EndDoc: ok &= DrvSplEndDoc(handle) != 0; break;
            case SpoolCall::Abort: ok &= DrvSplAbort(handle) != 0; break;
            case SpoolCall::End: break;
        }
    }
    DrvSplClose(handle);
    ok &= sys::EndDocPrinter(printer);
    ok &= sys::ClosePrinter(printer);
    return ok;
}

// CPU time of this thread: the spooler's thread is the one that prints, and
// the machine may be busy with other work.
uint64_t ThreadCpuNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<uint64_t>(now.tv_sec) * 1000000000u + static_cast<uint64_t>(now.tv_nsec);
}

double PeakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;  // kilobytes on Linux
}

// The printer stream of one print of the job, written to a file outside
// the timed loop; its size and whether it decodes.
struct StreamCheck {
    size_t bytes = 0;
    bool decoded = false;
    uint32_t pages = 0;
    uint64_t pageBufferBytes = 0;  // of one page at the rendering depth, to weigh passes over it
};

StreamCheck PrintToFile(SpoolJob& job, const std::filesystem::path& folder) {
    const std::filesystem::path file = folder / "page-bench.prn";
    StreamCheck check;
    if (!PlayJob(job, kFilePrinter, sys::Widen(file.string()))) return check;
    std::ifstream in(file, std::ios::binary);
    const std::vector<uint8_t> stream{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    check.bytes = stream.size();
    DecodedJob decoded;
    std::string error;
    check.decoded = DecodeStream(stream.data(), stream.size(), &decoded, &error);
    check.pages = static_cast<uint32_t>(decoded.pages.size());
    if (!decoded.pages.empty()) {
        const DecodedPageHeader& header = decoded.pages[0].header;
        const bool colour = decoded.pages[0].Plane(1).Allocated() || decoded.pages[0].Plane(2).Allocated();
        check.pageBufferBytes = uint64_t{header.width} * header.height * (colour ? 4 : 1);
    }
    std::filesystem::remove(file);
    return check;
}

void PrintPages(benchmark::State& state, const PageKind& kind, const std::filesystem::path& folder) {
    const auto pages = static_cast<uint32_t>(state.range(0));
    SpoolJob job;
    std::string error;
    if (!ComposeScene(PageScene(kind.name, pages), SceneOptions{}, &job, &error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    const StreamCheck check = PrintToFile(job, folder);
    if (!check.decoded || check.pages != pages) {
        state.SkipWithError("the printer stream does not decode to the job's pages");
        return;
    }

    const std::vector<uint8_t> spooled = EncodeSpoolFile(job);
    RDStageClockReset();
    RDStageClockEnable(&ThreadCpuNanoseconds);
    bool ok = true;
    const uint64_t start = ThreadCpuNanoseconds();
    for (auto _ : state) ok &= PlayJob(job, kNullPrinter, u"");
    const uint64_t spent = ThreadCpuNanoseconds() - start;
    RDStageClockEnable(nullptr);
    if (!ok) state.SkipWithError("a spooler call failed");
    if (EncodeSpoolFile(job) != spooled) state.SkipWithError("the library wrote into a spooled buffer");

    const double printed = static_cast<double>(pages) * static_cast<double>(state.iterations());
    const double pageMs = static_cast<double>(spent) / 1e6 / printed;
    state.counters["pages"] = pages;
    state.counters["page_ms"] = pageMs;
    state.counters["pages_per_min"] = 60000.0 / pageMs;
    state.counters["bytes"] = static_cast<double>(check.bytes) / pages;
    state.counters["page_buffer_mb"] = static_cast<double>(check.pageBufferBytes) / 1e6;
    state.counters["peak_mb"] = PeakMegabytes();
    for (uint32_t s = 0; s < static_cast<uint32_t>(RDStage::Count); ++s) {
        const auto stage = static_cast<RDStage>(s);
        state.counters[std::string(RDStageName(stage)) + "_ms"] =
            static_cast<double>(RDStageNanoseconds(stage)) / 1e6 / printed;
    }
}

// Writes a buffer of 64 MiB and reads it back: bytes_per_second is the
// memory bandwidth one core gets for a pass over a band that misses the cache.
void MemoryBandwidth(benchmark::State& state) {
    std::vector<uint64_t> buffer(size_t{8} << 20);
    uint64_t sum = 0;
    for (auto _ : state) {
        std::memset(buffer.data(), static_cast<int>(sum & 0x7F), buffer.size() * sizeof(uint64_t));
        for (const uint64_t word : buffer) sum += word;
        benchmark::DoNotOptimize(sum);
    }
    state.SetBytesProcessed(state.iterations() * 2 * static_cast<int64_t>(buffer.size() * sizeof(uint64_t)));
}

bool WriteScenes(const std::filesystem::path& folder, uint32_t pages) {
    std::filesystem::create_directories(folder);
    for (const PageKind& kind : PageKinds()) {
        std::ofstream out(folder / (kind.name + ".scene"));
        out << "# " << kind.name << ": compared with Ghostscript's " << kind.ghostscript << " at "
            << kind.resolution << " dpi\n"
            << PageScene(kind.name, pages);
        if (!out) return false;
    }
    return true;
}

// The rendering library finds the colour module stand-in beside itself in
// <build>/bin; the benchmark lives in <build>/bench.
void FindStandIns() {
    const sys::WString build(sys::FolderOf(sys::FolderOf(sys::GetOwnModuleFileName())));
    fbOverrideOwnModulePath(sys::JoinPath(sys::JoinPath(build, u"bin"), u"Tzqr4um.dll"));
}

// Printers under a machine root of the benchmark's own.
std::filesystem::path PrepareMachineRoot() {
    if (const char* root = std::getenv("ZSYS_MACHINE_ROOT"); root && *root) return root;
    char pattern[] = "/tmp/page-bench-XXXXXX";
    const char* made = mkdtemp(pattern);
    if (made == nullptr) return {};
    setenv("ZSYS_MACHINE_ROOT", made, 1);
    return made;
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--scenes") != 0) continue;
        const uint32_t pages =
            i + 2 < argc ? static_cast<uint32_t>(std::strtoul(argv[i + 2], nullptr, 10)) : 1;
        return WriteScenes(argv[i + 1], std::max<uint32_t>(pages, 1)) ? 0 : 1;
    }

    benchmark::Initialize(&argc, argv);
    const std::filesystem::path root = PrepareMachineRoot();
    const bool ownRoot = std::getenv("ZSYS_MACHINE_ROOT") == root.string() &&
                         root.string().find("page-bench-") != std::string::npos;
    sys::PrinterSetup null;
    null.name = kNullPrinter;
    null.port = u"NUL:";
    sys::PrinterSetup file;
    file.name = kFilePrinter;
    if (root.empty() || !sys::AddPrinter(null) || !sys::AddPrinter(file)) {
        std::fprintf(stderr, "page_bench: cannot add the benchmark's printers\n");
        return 1;
    }
    FindStandIns();

    for (const PageKind& kind : PageKinds()) {
        benchmark::RegisterBenchmark(kind.name.c_str(), PrintPages, kind, root)
            ->Arg(1)
            ->Arg(9)
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::RegisterBenchmark("MemoryBandwidth", MemoryBandwidth)->Unit(benchmark::kMillisecond);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    sys::DeletePrinter(kNullPrinter);
    sys::DeletePrinter(kFilePrinter);
    if (ownRoot) std::filesystem::remove_all(root);
    return 0;
}
