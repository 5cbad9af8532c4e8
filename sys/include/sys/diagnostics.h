// Debugger output and error texts.
#pragma once

#include <cstdint>
#include <string>

namespace sys {

// OutputDebugStringA. The posix layer writes to standard error when the
// environment variable ZSYS_DEBUG_OUTPUT is set, and keeps the last lines for
// tests (see sys/testing/debug_capture.h).
void OutputDebugString(const char* text);

// printf-style formatting into OutputDebugString.
void DebugPrintf(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

// FormatMessage's system text of an error code, without the trailing line
// break; "Unknown error N" when the system has none.
std::string ErrorText(uint32_t code);

}  // namespace sys
