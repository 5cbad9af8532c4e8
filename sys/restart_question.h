// The answer script's part in RestartWindows (sys/restart.h).
#pragma once

#include <optional>

namespace sys {

// The restart's outcome when a script is set (nothing is restarted then).
std::optional<bool> ScriptedRestart();

}  // namespace sys
