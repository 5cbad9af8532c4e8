// Message boxes: the few questions and error reports the rendering library
// shows to the user.
#pragma once

#include <cstdint>

#include "sys/text.h"

namespace sys {

// MessageBoxW styles and answers (the Windows values).
enum : uint32_t {
    kMbOk = 0x0,
    kMbYesNo = 0x4,
    kMbIconError = 0x10,
    kMbIconQuestion = 0x20,
    kMbSystemModal = 0x1000,
    kMbSetForeground = 0x10000,
};
enum : int {
    kIdOk = 1,
    kIdCancel = 2,
    kIdYes = 6,
    kIdNo = 7,
};

// Shows a message box and returns the button pressed; 0 or -1 when the box
// could not be shown. While the environment variable ZSYS_ANSWER_SCRIPT names
// an answer script, the script answers and the question is logged
// (sys/answer_script.h); the posix layer always answers that way.
int MessageBox(WStringView text, WStringView caption, uint32_t style);

}  // namespace sys
