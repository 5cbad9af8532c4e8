#include "pipeline/debug_output.h"

#include <cstdarg>
#include <cstdio>
#include <string>

#include "sys/diagnostics.h"
#include "sys/last_error.h"
#include "sys/message_box.h"

namespace {
constexpr size_t kMaxDebugText = 1024;  // with the terminating NUL
}

void OutputDebugPrintf(const char* format, ...) {
    if (format == nullptr) return;
    char text[kMaxDebugText];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    sys::OutputDebugString(text);
}

void fbOutputDebugDisplayLastError() {
    const std::string text = sys::ErrorText(sys::GetLastError());
    OutputDebugPrintf("[FB] %s\n", text.c_str());
}

void fbMessageBoxDisplayLastError() {
    const std::string text = sys::ErrorText(sys::GetLastError());
    sys::MessageBox(sys::Widen(text), u"", sys::kMbOk);
}
