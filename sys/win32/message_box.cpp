#include "sys/message_box.h"

#include "windows_api.h"

namespace sys {

// No owner window: the rendering library runs inside the spooler and has
// none; system-modal boxes come to the front by their style.
int MessageBox(WStringView text, WStringView caption, uint32_t style) {
    const WString terminatedText = win32::Terminated(text);
    const WString terminatedCaption = win32::Terminated(caption);
    return ::MessageBoxW(nullptr, win32::Wide(terminatedText), win32::Wide(terminatedCaption), style);
}

}  // namespace sys
