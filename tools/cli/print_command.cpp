// zebl print JOB.spl -o OUT.prn [--library PATH] [--printer NAME] [--trace] [--stats]:
// plays a spool file through the rendering library into a printer whose
// document goes to OUT.prn (a file, a device or pipe, or - for standard
// output; see print_output.h). Everything that can be checked is checked
// before the job is played: the spool file, the output and the library.
// --stats adds how fast the job printed and the most memory it took.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "cli/commands.h"
#include "cli/print_output.h"
#include "job/job_player.h"
#include "job/spool_reader.h"
#include "sys/clock.h"
#include "sys/files.h"
#include "sys/last_error.h"
#include "sys/modules.h"
#include "sys/paths.h"
#include "sys/printer_setup.h"
#include "sys/process_memory.h"

namespace {

constexpr char16_t kLibraryName[] = u"Tzqr4um.dll";

bool FileExists(sys::WStringView path) {
    const uint32_t attributes = sys::GetFileAttributes(path);
    return attributes != sys::kInvalidAttributes && !(attributes & sys::kAttrDirectory);
}

// The build's library folder, compiled in as a host path; under Windows the
// host's root is drive Z:, as Wine maps it.
sys::WString BuildLibraryFolder() {
#if defined(ZEBL_LIBRARY_DIR)
    sys::WString folder = sys::Widen(ZEBL_LIBRARY_DIR);
#if defined(_WIN32)
    for (char16_t& c : folder)
        if (c == u'/') c = u'\\';
    if (!folder.empty() && folder[0] == u'\\') folder = u"Z:" + folder;
#endif
    return folder;
#else
    return sys::WString();
#endif
}

// Next to the zebl program, then the build's library folder.
sys::WString DefaultLibrary() {
    const sys::WString own = sys::WString(sys::FolderOf(sys::GetOwnModuleFileName()));
    if (!own.empty() && FileExists(own + u"/" + kLibraryName)) return own + u"/" + kLibraryName;
    const sys::WString build = BuildLibraryFolder();
    if (!build.empty()) return build + u"/" + kLibraryName;
    return kLibraryName;
}

// A printer of our own for this run, removed again at the end.
class TemporaryPrinter {
public:
    bool Add(std::string* error) {
        name_ = u"zebl print " + sys::Widen(std::to_string(sys::GetTickCount())) + u"-" +
                sys::Widen(std::to_string(reinterpret_cast<uintptr_t>(this) % 100000));
        sys::PrinterSetup setup;
        setup.name = name_;
        if (!sys::AddPrinter(setup)) {
            *error = "cannot add a printer (error " + std::to_string(sys::GetLastError()) + ")";
            return false;
        }
        added_ = true;
        return true;
    }
    ~TemporaryPrinter() {
        if (added_) sys::DeletePrinter(name_);
    }
    const sys::WString& Name() const { return name_; }

private:
    sys::WString name_;
    bool added_ = false;
};

// "stats: 21 pages in 1.52 s, 829 pages per minute, peak memory 41 MB".
std::string Stats(uint32_t pages, double seconds) {
    char text[160];
    const double perMinute = seconds > 0 ? pages * 60.0 / seconds : 0;
    const uint64_t peak = sys::PeakProcessMemory();
    const std::string memory = peak ? std::to_string((peak + (1 << 19)) >> 20) + " MB" : "not known";
    std::snprintf(text, sizeof text, "stats: %u pages in %.2f s, %.0f pages per minute, peak memory %s\n",
                  pages, seconds, perMinute, memory.c_str());
    return text;
}

}  // namespace

int PrintCommand(int argc, char** argv, std::FILE* standardOutput) {
    const char* spool = nullptr;
    const char* output = nullptr;
    const char* library = nullptr;
    const char* printerName = nullptr;
    bool trace = false;
    bool stats = false;
    for (int i = 2; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "-o") == 0 && hasValue) output = argv[++i];
        else if (std::strcmp(argv[i], "--library") == 0 && hasValue) library = argv[++i];
        else if (std::strcmp(argv[i], "--printer") == 0 && hasValue) printerName = argv[++i];
        else if (std::strcmp(argv[i], "--trace") == 0) trace = true;
        else if (std::strcmp(argv[i], "--stats") == 0) stats = true;
        else if (!spool && argv[i][0] != '-') spool = argv[i];
        else {
            std::fputs(kPrintUsage, stderr);
            return 2;
        }
    }
    if (!spool || !output) {
        std::fputs(kPrintUsage, stderr);
        return 2;
    }
    // The spool file is checked whole here and read again as it plays, one
    // record at a time: a job of any length takes the memory of one buffer.
    std::string error;
    if (!CheckSpoolFile(sys::Widen(spool), &error)) {
        std::fprintf(stderr, "zebl print: %s\n", error.c_str());
        return 1;
    }
    PrintOutput out;
    if (!out.Prepare(output, &error)) {
        std::fprintf(stderr, "zebl print: %s\n", error.c_str());
        return 1;
    }
    const sys::WString libraryPath = library ? sys::Widen(library) : DefaultLibrary();
    DrvSplLibrary drvSpl;
    if (!drvSpl.Load(libraryPath, &error)) {
        std::fprintf(stderr, "zebl print: %s\n", error.c_str());
        return 1;
    }
    TemporaryPrinter temporary;
    PlayOptions options;
    if (printerName) {
        options.printerName = sys::Widen(printerName);
    } else {
        if (!temporary.Add(&error)) {
            std::fprintf(stderr, "zebl print: %s\n", error.c_str());
            return 1;
        }
        options.printerName = temporary.Name();
    }
    options.outputFile = out.PrinterPath();
    PlayReport report;
    const auto started = std::chrono::steady_clock::now();
    if (!PlaySpoolFile(sys::Widen(spool), drvSpl.EntryPoints(), options, &report, &error)) {
        std::fprintf(stderr, "zebl print: %s\n", error.c_str());
        return 1;
    }
    const std::chrono::duration<double> played = std::chrono::steady_clock::now() - started;
    // With the document on standard output, everything else goes to stderr.
    std::FILE* messages = out.GetKind() == PrintOutput::Kind::StandardOutput ? stderr : standardOutput;
    std::string text = trace ? report.Trace() + report.Summary() : report.Summary();
    if (stats) text += Stats(report.pages, played.count());
    std::fwrite(text.data(), 1, text.size(), messages);
    std::fflush(messages);
    const bool stored = out.GetKind() != PrintOutput::Kind::Device;
    if (!report.Ok()) {
        if (stored) std::fprintf(stderr, "zebl print: the job failed; %s was not written\n", output);
        return 1;
    }
    if (stored && report.pages > 0 && out.PrintedBytes() == 0) {
        std::fprintf(stderr, "zebl print: the printer wrote nothing for %s\n", output);
        return 1;
    }
    if (!out.Commit(standardOutput, &error)) {
        std::fprintf(stderr, "zebl print: %s\n", error.c_str());
        return 1;
    }
    std::fprintf(messages, "printed %s to %s\n", spool, output);
    return 0;
}
