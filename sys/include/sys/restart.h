// Restarting Windows, as setup does when a finish dialog asks for it.
//
// Tests and unattended runs never restart anything: while an answer script
// is set (sys/answer_script.h) the restart is the named question
// "RestartWindows" with the detail "reboot"; it is logged, and it succeeds
// unless a rule answers "refused". The posix layer has nothing to restart:
// there the call only succeeds.
#pragma once

namespace sys {

// ExitWindowsEx(EWX_REBOOT, 0). On the NT family the process first enables
// its shutdown privilege (SeShutdownPrivilege); a failure there does not
// stop the attempt, as Windows itself then refuses the restart. False and
// the last error when Windows refuses.
bool RestartWindows();

}  // namespace sys
