// Debugger output on a host without a debugger: the last lines are kept for
// tests and, when ZSYS_DEBUG_OUTPUT is set, also written to standard error.
// The error texts are those Windows gives for the codes this layer produces.
#include "sys/diagnostics.h"

#include <pthread.h>

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <string_view>

#include "sys/testing/debug_capture.h"

namespace sys {
namespace {

constexpr size_t kKeptLines = 256;

pthread_mutex_t g_linesLock = PTHREAD_MUTEX_INITIALIZER;

std::deque<std::string>& Lines() {
    static std::deque<std::string> lines;
    return lines;
}

class LinesLocked {
public:
    LinesLocked() { pthread_mutex_lock(&g_linesLock); }
    ~LinesLocked() { pthread_mutex_unlock(&g_linesLock); }
    LinesLocked(const LinesLocked&) = delete;
    LinesLocked& operator=(const LinesLocked&) = delete;
};

void KeepLine(std::string_view line) {
    LinesLocked lock;
    Lines().emplace_back(line);
    if (Lines().size() > kKeptLines) Lines().pop_front();
}

struct ErrorTextEntry {
    uint32_t code;
    const char* text;
};

constexpr ErrorTextEntry kErrorTexts[] = {
    {0, "The operation completed successfully."},
    {1, "Incorrect function."},
    {2, "The system cannot find the file specified."},
    {3, "The system cannot find the path specified."},
    {4, "The system cannot open the file."},
    {5, "Access is denied."},
    {6, "The handle is invalid."},
    {8, "Not enough storage is available to process this command."},
    {14, "Not enough storage is available to complete this operation."},
    {18, "There are no more files."},
    {19, "The media is write protected."},
    {29, "The system cannot write to the specified device."},
    {31, "A device attached to the system is not functioning."},
    {32, "The process cannot access the file because it is being used by another process."},
    {50, "The request is not supported."},
    {53, "The network path was not found."},
    {80, "The file exists."},
    {87, "The parameter is incorrect."},
    {112, "There is not enough space on the disk."},
    {122, "The data area passed to a system call is too small."},
    {123, "The filename, directory name, or volume label syntax is incorrect."},
    {131, "An attempt was made to move the file pointer before the beginning of the file."},
    {126, "The specified module could not be found."},
    {127, "The specified procedure could not be found."},
    {145, "The directory is not empty."},
    {161, "The specified path is invalid."},
    {183, "Cannot create a file when that file already exists."},
    {193, "%1 is not a valid Win32 application."},
    {206, "The filename or extension is too long."},
    {234, "More data is available."},
    {259, "No more data is available."},
    {267, "The directory name is invalid."},
    {1018, "Illegal operation attempted on a registry key that has been marked for deletion."},
    {1630, "Data of this type is not supported."},
    {1801, "The printer name is invalid."},
    {1804, "The specified datatype is invalid."},
    {1906, "The state of the printer is invalid."},
};

}  // namespace

void OutputDebugString(const char* text) {
    if (text == nullptr) return;
    std::string_view rest(text);
    static const bool toStderr = std::getenv("ZSYS_DEBUG_OUTPUT") != nullptr;
    if (toStderr) std::fprintf(stderr, "%s%s", text, rest.ends_with('\n') ? "" : "\n");
    while (!rest.empty()) {
        const size_t end = rest.find('\n');
        KeepLine(rest.substr(0, end));
        if (end == std::string_view::npos) break;
        rest.remove_prefix(end + 1);
    }
}

std::string ErrorText(uint32_t code) {
    for (const ErrorTextEntry& entry : kErrorTexts)
        if (entry.code == code) return entry.text;
    return "Unknown error " + std::to_string(code);
}

namespace testing {

bool DebugCaptureAvailable() { return true; }

std::vector<std::string> CapturedDebugLines() {
    LinesLocked lock;
    return {Lines().begin(), Lines().end()};
}

void ClearCapturedDebugLines() {
    LinesLocked lock;
    Lines().clear();
}

}  // namespace testing
}  // namespace sys
