// Environment variables as the C library keeps them, in UTF-8.
#include "sys/environment.h"

#include <cstdlib>

#include "error_codes.h"
#include "sys/last_error.h"

namespace sys {

std::optional<WString> GetEnvironmentVariable(WStringView name) {
    const char* value = std::getenv(Narrow(name).c_str());
    if (value == nullptr) return std::nullopt;
    return Widen(value);
}

bool SetEnvironmentVariable(WStringView name, const std::optional<WString>& value) {
    const std::string variable = Narrow(name);
    if (variable.empty() || variable.find('=') != std::string::npos)
        return posix::Fail(kErrorInvalidParameter);
    const int result =
        value ? ::setenv(variable.c_str(), Narrow(*value).c_str(), 1) : ::unsetenv(variable.c_str());
    return result == 0 || posix::FailFromErrno();
}

}  // namespace sys
