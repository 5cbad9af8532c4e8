#include "sys/message_box.h"

#include "sys/answer_script.h"
#include "windows_api.h"

namespace sys {

// No owner window: the rendering library runs inside the spooler and has
// none; system-modal boxes come to the front by their style. While an answer
// script is set (a test, an unattended run) it answers instead of a user.
int MessageBox(WStringView text, WStringView caption, uint32_t style) {
    if (AnswerScriptActive()) {
        const int answer = AnswerMessageBox(Narrow(caption), Narrow(text), style);
        if (answer == 0) ::SetLastError(ERROR_INVALID_PARAMETER);
        return answer;
    }
    const WString terminatedText = win32::Terminated(text);
    const WString terminatedCaption = win32::Terminated(caption);
    return ::MessageBoxW(nullptr, win32::Wide(terminatedText), win32::Wide(terminatedCaption), style);
}

}  // namespace sys
