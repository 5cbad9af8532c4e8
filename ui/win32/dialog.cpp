// Modal dialogs from a module's templates through DialogBoxParamA.
#include "win32/windows_api.h"
// windows_api.h first: the headers below must not see its macros.
#include "ui/dialog.h"

namespace ui {

struct DialogDriver {
    static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_INITDIALOG) {
            SetWindowLongPtrA(window, DWLP_USER, lParam);
            auto* dialog = reinterpret_cast<CDialog*>(lParam);
            dialog->window_ = window;
            return dialog->OnInitDialog() ? TRUE : FALSE;
        }
        auto* dialog = reinterpret_cast<CDialog*>(GetWindowLongPtrA(window, DWLP_USER));
        if (dialog == nullptr) return FALSE;
        if (message == WM_COMMAND) {
            dialog->OnCommand(LOWORD(wParam));
            return TRUE;
        }
        if (message == WM_CLOSE) {
            dialog->OnCommand(IDCANCEL);
            return TRUE;
        }
        return FALSE;
    }
};

int CDialog::DoModal() {
    const INT_PTR result = DialogBoxParamA(static_cast<HINSTANCE>(resources_), MAKEINTRESOURCEA(templateId_),
                                           nullptr, DialogDriver::Procedure, reinterpret_cast<LPARAM>(this));
    window_ = nullptr;
    return static_cast<int>(result);
}

void CDialog::EndDialog(int result) {
    if (window_ != nullptr) ::EndDialog(static_cast<HWND>(window_), result);
}

}  // namespace ui
