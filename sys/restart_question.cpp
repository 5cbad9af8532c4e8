#include "restart_question.h"

#include "sys/answer_script.h"
#include "sys/last_error.h"

namespace sys {

std::optional<bool> ScriptedRestart() {
    if (!AnswerScriptActive()) return std::nullopt;
    if (AskQuestion("RestartWindows", "reboot", "restarted") != "refused") return true;
    SetLastError(kErrorAccessDenied);
    return false;
}

}  // namespace sys
