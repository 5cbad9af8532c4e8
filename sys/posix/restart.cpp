#include "sys/restart.h"

#include "restart_question.h"

namespace sys {

// Nothing to restart on this host; the script, when set, sees the request.
bool RestartWindows() { return ScriptedRestart().value_or(true); }

}  // namespace sys
