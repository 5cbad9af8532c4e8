// The debugger output lines the process wrote, for tests. The posix layer
// keeps the last 256 lines in memory; the win32 layer hands them to the
// debugger and keeps nothing, so tests that read them skip there.
#pragma once

#include <string>
#include <vector>

namespace sys::testing {

bool DebugCaptureAvailable();
// Oldest first; each OutputDebugString call gives one line per '\n'-separated
// piece, without the line break.
std::vector<std::string> CapturedDebugLines();
void ClearCapturedDebugLines();

}  // namespace sys::testing
