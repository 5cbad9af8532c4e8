// Top-level windows: registering a window class, creating the hidden frame
// window a program keeps, and finding and bringing forward the window of
// another copy of the program.
//
// The Win32 implementation calls the A functions (Windows 95). The headless
// one keeps the windows of its own process in a list; a window of another
// process is the answer to the question "FindWindow" of the answer script
// (detail "class=<class>\ttitle=<title>", answer "normal" or "minimized";
// none otherwise), and showing or raising it is logged as the question
// "ShowWindow" (detail "restore" or "foreground").
#pragma once

#include <cstdint>

#include "sys/text.h"

namespace ui {

using WindowHandle = void*;

// Class styles and window styles (the Windows values).
enum : uint32_t {
    kCsVRedraw = 0x0001,
    kCsHRedraw = 0x0002,
    kCsDblClks = 0x0008,
    kWsOverlappedWindow = 0x00CF0000,
};
// The last errors of window classes and windows (the Windows values).
enum : uint32_t {
    kErrorClassAlreadyExists = 1410,
    kErrorClassDoesNotExist = 1411,
};
// System colours usable as a class's background (the value is colour + 1).
enum : int { kColorWindowBrush = 5 };

struct WindowClass {
    uint32_t style = 0;
    int iconResource = 0;    // in the program's own resources; 0 none
    int cursorResource = 0;  // likewise
    int backgroundBrush = 0;
    sys::WString className;
};

// RegisterClassA with the framework's window procedure, which hands the
// power message to the application object and everything else to the
// system's default handling. False when the class cannot be registered.
bool RegisterWindowClass(const WindowClass& windowClass);

// A top-level window of a registered class, not shown; destroyed with the
// object. Move-only.
class FrameWindow {
public:
    FrameWindow() = default;
    ~FrameWindow();
    FrameWindow(FrameWindow&& other) noexcept;
    FrameWindow& operator=(FrameWindow&& other) noexcept;
    FrameWindow(const FrameWindow&) = delete;
    FrameWindow& operator=(const FrameWindow&) = delete;

    // CreateWindowA at the default place and size, no parent and no menu.
    // A closed object and the last error when creation fails.
    static FrameWindow Create(sys::WStringView className, sys::WStringView title, uint32_t style);

    bool IsValid() const { return handle_ != nullptr; }
    WindowHandle Handle() const { return handle_; }

private:
    explicit FrameWindow(WindowHandle handle) : handle_(handle) {}
    void Destroy();
    WindowHandle handle_ = nullptr;
};

// FindWindowA: a top-level window of the class (and, when `title` is not
// empty, with that title); null when there is none.
WindowHandle FindTopLevelWindow(sys::WStringView className, sys::WStringView title = {});
bool IsMinimized(WindowHandle window);
// ShowWindow(SW_RESTORE) and SetForegroundWindow.
void RestoreWindow(WindowHandle window);
void BringToForeground(WindowHandle window);

}  // namespace ui
