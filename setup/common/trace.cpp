#include "common/trace.h"

#include <cstdarg>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "sys/diagnostics.h"
#include "sys/environment.h"
#include "sys/registry.h"
#include "sys/text_files.h"

namespace {

constexpr char16_t kTraceVariable[] = u"ZEBL_SETUP_TRACE";
constexpr char16_t kTraceKey[] = u"Software\\ZEBL\\Setup";
constexpr char16_t kTraceValue[] = u"TraceFile";

// The file named in the registry, read on the first trace of the program.
const sys::WString& RegistryTraceFile() {
    static const sys::WString file = [] {
        sys::WString path;
        const sys::RegistryKey key =
            sys::RegistryKey::Open(sys::RegistryRoot::kLocalMachine, kTraceKey, sys::kKeyRead);
        if (key.IsOpen()) key.QueryString(kTraceValue, &path);
        return path;
    }();
    return file;
}

sys::WString TraceFile() {
    if (const std::optional<sys::WString> variable = sys::GetEnvironmentVariable(kTraceVariable); variable)
        return *variable;
    return RegistryTraceFile();
}

std::string Formatted(const char* format, va_list arguments) {
    va_list copy;
    va_copy(copy, arguments);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (length <= 0) return std::string();
    std::vector<char> text(static_cast<size_t>(length) + 1);
    std::vsnprintf(text.data(), text.size(), format, arguments);
    return std::string(text.data(), static_cast<size_t>(length));
}

void Append(const sys::WString& file, std::string text) {
    if (text.empty() || text.back() != '\n') text += '\n';
    sys::AppendTextLine(file, text);
}

}  // namespace

void MyTrace(const char* format, ...) {
    if (format == nullptr) return;
    const sys::WString file = TraceFile();
    if (file.empty()) return;
    va_list arguments;
    va_start(arguments, format);
    std::string text = Formatted(format, arguments);
    va_end(arguments);
    Append(file, std::move(text));
}

void MyTraceLastError(uint32_t errorCode, const char* tag) {
    const sys::WString file = TraceFile();
    if (file.empty()) return;
    Append(file, "[" + std::string(tag ? tag : "") + "]" + sys::ErrorText(errorCode) + "\n");
}
