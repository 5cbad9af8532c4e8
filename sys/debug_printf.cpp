// printf-style debugger output, formatted into at most 1024 characters.
#include <cstdarg>
#include <cstdio>

#include "sys/diagnostics.h"

namespace sys {

void DebugPrintf(const char* format, ...) {
    char text[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    OutputDebugString(text);
}

}  // namespace sys
