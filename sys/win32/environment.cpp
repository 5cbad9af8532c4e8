// Environment variables through the A functions (Windows 95 has them), in
// the ANSI code page.
#include "sys/environment.h"

#include <string>

#include "windows_api.h"

namespace sys {

std::optional<WString> GetEnvironmentVariable(WStringView name) {
    const std::string variable = ToCodePage(name);
    std::string value(256, '\0');
    for (;;) {
        ::SetLastError(ERROR_SUCCESS);
        const DWORD length =
            ::GetEnvironmentVariableA(variable.c_str(), value.data(), static_cast<DWORD>(value.size()));
        if (length == 0) {
            if (::GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
            return WString();  // set, but empty
        }
        if (length < value.size()) {
            value.resize(length);
            return FromCodePage(value);
        }
        value.assign(length, '\0');  // the size asked for, its NUL included
    }
}

bool SetEnvironmentVariable(WStringView name, const std::optional<WString>& value) {
    const std::string text = value ? ToCodePage(*value) : std::string();
    return ::SetEnvironmentVariableA(ToCodePage(name).c_str(), value ? text.c_str() : nullptr) != FALSE;
}

}  // namespace sys
