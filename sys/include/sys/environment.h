// The process's environment variables (GetEnvironmentVariableA and
// SetEnvironmentVariableA on Windows: programs started later inherit them).
#pragma once

#include <optional>

#include "sys/text.h"

namespace sys {

// The variable's value; none when it is not set.
std::optional<WString> GetEnvironmentVariable(WStringView name);
// Sets the variable, or removes it when `value` is none.
bool SetEnvironmentVariable(WStringView name, const std::optional<WString>& value);

}  // namespace sys
