#include "win32/windows_api.h"
// windows_api.h first: the headers below must not see its macros.
#include "message_loop.h"

namespace ui {

void RunMessageLoop() {
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

}  // namespace ui
