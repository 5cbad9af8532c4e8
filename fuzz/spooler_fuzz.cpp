// The whole rendering library as the print spooler drives it: every input is
// a script of spooler calls (spooler_script.h) — settings records made from a
// sane base with a few fields overwritten, display-list buffers raw or made
// of valid records and then damaged, page brackets, aborts — played through
// the DrvSpl entry points onto a printer of the posix system layer. Nothing
// may crash, hang or touch memory it does not own, and whatever the library
// printed must be a well-formed printer stream.
//
// The process gets a machine root of its own in /tmp, removed at exit
// (unless ZSYS_MACHINE_ROOT names one), printers in it (a sound one, one that
// fails for good, one that is busy for a while), and the stand-in colour
// module of the build's bin folder, so that colour pages are converted and
// screened into four planes.
//   build/fuzz/fuzz/spooler_fuzz -timeout=10 -rss_limit_mb=2048 -max_len=65536 corpus/
//     tests/data/malformed/spooler
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "pipeline/own_module.h"
#include "spooler_script.h"
#include "sys/printer_setup.h"

namespace {

SpoolScriptPrinter g_printer;

// The machine root this process made, removed when it exits. A process that
// crashed cannot remove its own; the folder's name carries the process id,
// so that the next run finds and removes it.
const char kRootPrefix[] = "zebl-spooler-fuzz-";
std::string g_ownRoot;

void RemoveOwnRoot() {
    std::error_code ignored;
    if (!g_ownRoot.empty()) std::filesystem::remove_all(g_ownRoot, ignored);
}

void RemoveRootsOfEndedProcesses(const std::filesystem::path& temp) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(temp, error)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind(kRootPrefix, 0) != 0) continue;
        const long pid = std::strtol(name.c_str() + sizeof kRootPrefix - 1, nullptr, 10);
        if (pid <= 0 || (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH)) {
            std::error_code ignored;
            std::filesystem::remove_all(entry.path(), ignored);
        }
    }
}

std::string MachineRootOfThisProcess() {
    if (const char* root = std::getenv("ZSYS_MACHINE_ROOT"); root && *root) return root;
    const std::filesystem::path temp = "/tmp";
    RemoveRootsOfEndedProcesses(temp);
    std::string folder = (temp / (kRootPrefix + std::to_string(::getpid()) + "-XXXXXX")).string();
    if (::mkdtemp(folder.data()) == nullptr) return std::string();
    g_ownRoot = folder;
    std::atexit(RemoveOwnRoot);
    ::setenv("ZSYS_MACHINE_ROOT", folder.c_str(), 1);
    return folder;
}

std::string ProgramFolder() {
    char path[4096] = {};
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) return std::string();
    std::string program(path, static_cast<size_t>(length));
    return program.substr(0, program.find_last_of('/'));
}

// The library looks for its colour module beside its own file: make it
// believe it lives in the build's bin folder, next to Tzqr4CM.DLL.
void UseStandInColourModule() {
    const std::string bin = ProgramFolder() + "/../bin";
    if (::access((bin + "/Tzqr4CM.DLL").c_str(), R_OK) != 0) {
        std::fprintf(stderr, "spooler_fuzz: no %s/Tzqr4CM.DLL, colour pages print grey\n", bin.c_str());
        return;
    }
    fbOverrideOwnModulePath(sys::Widen(bin + "/Tzqr4um.dll"));
}

// With SPOOLER_FUZZ_REPORT set, each run tells what it printed (for the
// triage of slow inputs).
void Report(const SpoolScriptRun& run) {
    std::fprintf(stderr, "spooler_fuzz: %u page ends, %zu bytes, %zu pages\n", run.endPages,
                 run.output.size(), run.job.pages.size());
    for (const DecodedPage& page : run.job.pages) {
        const DecodedPageHeader& h = page.header;
        std::fprintf(stderr, "  page: %u00 dpi, %u x %u dots, %u copies, %zu bands\n", h.resolutionCode,
                     h.width, h.height, h.copies, page.bands.size());
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const std::string root = MachineRootOfThisProcess();
    if (root.empty()) {
        std::perror("spooler_fuzz: machine root");
        std::abort();
    }
    const sys::WString name = u"ZEBL Spooler Fuzz " + sys::Widen(std::to_string(::getpid()));
    sys::PrinterSetup sound;
    sound.name = name;
    sound.output = sys::Widen(root + "/own-handle.prn");
    sys::PrinterSetup failing;
    failing.name = name + u" failing";
    failing.failAfterBytes = 1000;
    failing.failError = 5;  // access denied: the port is gone for good
    sys::PrinterSetup retrying;
    retrying.name = name + u" busy";
    retrying.failAfterBytes = 300;
    retrying.failError = 87;  // invalid parameter: a busy port, retried
    retrying.failCount = 2;
    if (!sys::AddPrinter(sound) || !sys::AddPrinter(failing) || !sys::AddPrinter(retrying)) {
        std::fprintf(stderr, "spooler_fuzz: cannot add the printers\n");
        std::abort();
    }
    g_printer.printerName = sound.name;
    g_printer.outputFile = sys::Widen(root + "/document.prn");
    g_printer.overlayFile = sys::Widen(root + "/overlay.ovl");
    g_printer.failingPrinterName = failing.name;
    g_printer.retryingPrinterName = retrying.name;
    g_printer.ownOutputFile = sound.output;
    UseStandInColourModule();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const SpoolScriptRun run = PlaySpoolScript(data, size, g_printer);
    if (!run.printerReady) {
        std::fprintf(stderr, "spooler_fuzz: the printer did not start the document\n");
        std::abort();
    }
    if (std::getenv("SPOOLER_FUZZ_REPORT")) Report(run);
    if (!run.StreamAsRequired()) {
        std::fprintf(stderr, "spooler_fuzz: the library printed a malformed stream (%zu bytes): %s\n",
                     run.output.size(), run.error.c_str());
        std::abort();
    }
    return 0;
}
