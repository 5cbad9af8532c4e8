// Top-level windows through the A functions of user32.
#include "win32/windows_api.h"
// windows_api.h first: the headers below must not see its macros.
#include <string>

#include "sys/text.h"
#include "ui/app.h"
#include "ui/window.h"

namespace ui {
namespace {

HINSTANCE ProgramInstance() { return GetModuleHandleA(nullptr); }

// The framework's window procedure: the power message goes to the
// application object, the rest to the system's default handling.
LRESULT CALLBACK FrameWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_POWER) {
        if (CWinApp* application = CWinApp::Current()) application->OnPower();
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

bool RegisterWindowClass(const WindowClass& windowClass) {
    const std::string className = sys::ToCodePage(windowClass.className);
    WNDCLASSA registration{};
    registration.style = windowClass.style;
    registration.lpfnWndProc = FrameWindowProcedure;
    registration.hInstance = ProgramInstance();
    if (windowClass.iconResource != 0)
        registration.hIcon = LoadIconA(registration.hInstance, MAKEINTRESOURCEA(windowClass.iconResource));
    if (windowClass.cursorResource != 0)
        registration.hCursor =
            LoadCursorA(registration.hInstance, MAKEINTRESOURCEA(windowClass.cursorResource));
    registration.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(windowClass.backgroundBrush));
    registration.lpszClassName = className.c_str();
    return RegisterClassA(&registration) != 0;
}

FrameWindow FrameWindow::Create(sys::WStringView className, sys::WStringView title, uint32_t style) {
    const std::string classText = sys::ToCodePage(className);
    const std::string titleText = sys::ToCodePage(title);
    HWND window =
        CreateWindowExA(0, classText.c_str(), titleText.c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, ProgramInstance(), nullptr);
    return FrameWindow(window);
}

void FrameWindow::Destroy() {
    if (handle_ != nullptr) DestroyWindow(static_cast<HWND>(handle_));
    handle_ = nullptr;
}

WindowHandle FindTopLevelWindow(sys::WStringView className, sys::WStringView title) {
    const std::string classText = sys::ToCodePage(className);
    const std::string titleText = sys::ToCodePage(title);
    return FindWindowA(classText.c_str(), title.empty() ? nullptr : titleText.c_str());
}

bool IsMinimized(WindowHandle window) { return IsIconic(static_cast<HWND>(window)) != FALSE; }

void RestoreWindow(WindowHandle window) { ShowWindow(static_cast<HWND>(window), SW_RESTORE); }

void BringToForeground(WindowHandle window) { SetForegroundWindow(static_cast<HWND>(window)); }

}  // namespace ui
