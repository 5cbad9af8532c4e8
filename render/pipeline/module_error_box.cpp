#include "pipeline/module_error_box.h"

#include <string>

#include "sys/diagnostics.h"
#include "sys/last_error.h"
#include "sys/message_box.h"

namespace {

// The system layer says "Unknown error N" when it has no text of its own.
bool HasSystemText(uint32_t code, const std::string& text) {
    return text != "Unknown error " + std::to_string(code);
}

}  // namespace

sys::WString ModuleErrorText(const char* message, uint32_t errorCode) {
    const std::string text = message ? message : "";
    if (errorCode == 0) return sys::Widen(text);
    const std::string withCode = text + " (code " + std::to_string(static_cast<int>(errorCode)) + ")";
    const std::string systemText = sys::ErrorText(errorCode);
    if (!HasSystemText(errorCode, systemText)) return sys::Widen(withCode);
    return sys::Widen(withCode + "\n" + systemText);
}

void ShowModuleError(const char* caption, const char* message) {
    const uint32_t code = sys::GetLastError();
    sys::MessageBox(ModuleErrorText(message, code), sys::Widen(caption ? caption : ""),
                    sys::kMbOk | sys::kMbIconError | sys::kMbSystemModal);
    sys::SetLastError(code);
}
