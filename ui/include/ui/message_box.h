// Message boxes of the programs: owned by no window, as the programs show
// them before or without a window of their own.
#pragma once

#include <cstdint>

#include "sys/message_box.h"
#include "sys/text.h"

namespace ui {

// Shows the box and returns the button pressed (sys::kIdOk ...), 0 when it
// could not show. An answer script, when set, answers and logs it.
inline int MessageBox(sys::WStringView text, sys::WStringView caption, uint32_t style = sys::kMbOk) {
    return sys::MessageBox(text, caption, style);
}

}  // namespace ui
