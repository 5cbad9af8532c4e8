// Message boxes on a host without a user: the answer script decides
// (sys/answer_script.h), and every question is logged for the tests.
#include "sys/message_box.h"

#include "sys/answer_script.h"
#include "sys/last_error.h"

namespace sys {

int MessageBox(WStringView text, WStringView caption, uint32_t style) {
    const int answer = AnswerMessageBox(Narrow(caption), Narrow(text), style);
    if (answer == 0) SetLastError(kErrorInvalidParameter);
    return answer;
}

}  // namespace sys
