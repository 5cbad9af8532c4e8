// Text for the A functions, which Windows 95 implements where most W
// functions are stubs: the ANSI code page (CP_ACP). Both conversions work
// on Windows 95.
#include <climits>

#include "sys/text.h"
#include "windows_api.h"

namespace sys {

std::string ToCodePage(WStringView text) {
    if (text.empty() || text.size() > INT_MAX / 2) return std::string();
    const int units = static_cast<int>(text.size());
    const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
    const int bytes = ::WideCharToMultiByte(CP_ACP, 0, wide, units, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(bytes > 0 ? bytes : 0), '\0');
    if (bytes > 0) ::WideCharToMultiByte(CP_ACP, 0, wide, units, out.data(), bytes, nullptr, nullptr);
    return out;
}

WString FromCodePage(std::string_view text) {
    if (text.empty() || text.size() > INT_MAX) return WString();
    const int bytes = static_cast<int>(text.size());
    const int units = ::MultiByteToWideChar(CP_ACP, 0, text.data(), bytes, nullptr, 0);
    WString out(static_cast<size_t>(units > 0 ? units : 0), u'\0');
    if (units > 0)
        ::MultiByteToWideChar(CP_ACP, 0, text.data(), bytes, reinterpret_cast<wchar_t*>(out.data()), units);
    return out;
}

}  // namespace sys
