#include "sys/diagnostics.h"

#include "windows_api.h"

#include "sys/testing/debug_capture.h"

namespace sys {

void OutputDebugString(const char* text) {
    if (text) ::OutputDebugStringA(text);
}

std::string ErrorText(uint32_t code) {
    char text[512] = {};
    DWORD length = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                                    0, text, sizeof text, nullptr);
    while (length > 0 && (text[length - 1] == '\r' || text[length - 1] == '\n' || text[length - 1] == ' '))
        --length;
    if (length == 0) return "Unknown error " + std::to_string(code);
    return std::string(text, length);
}

namespace testing {

// The debugger receives the lines; nothing is kept in the process.
bool DebugCaptureAvailable() { return false; }
std::vector<std::string> CapturedDebugLines() { return {}; }
void ClearCapturedDebugLines() {}

}  // namespace testing
}  // namespace sys
