// The answer script's part in ShellExecute (sys/shell.h), shared by the two
// layers: an answer when a rule gives one.
#pragma once

#include <cstdint>
#include <optional>

#include "sys/text.h"

namespace sys {

std::optional<uint32_t> ScriptedShellExecute(WStringView verb, WStringView file, WStringView parameters,
                                             WStringView directory);

}  // namespace sys
