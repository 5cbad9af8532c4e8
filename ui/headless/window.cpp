// Headless windows: this process's windows in a list, another process's
// from the answer script.
#include <algorithm>
#include <list>
#include <string>

#include "sys/answer_script.h"
#include "sys/last_error.h"
#include "ui/window.h"

namespace ui {
namespace {

struct HeadlessWindow {
    sys::WString className;
    sys::WString title;
    bool minimized = false;
};

// Stable addresses: a window's handle is its entry's address.
std::list<HeadlessWindow>& Windows() {
    static std::list<HeadlessWindow> windows;
    return windows;
}
std::list<sys::WString>& Classes() {
    static std::list<sys::WString> classes;
    return classes;
}

bool IsRegistered(sys::WStringView className) {
    const auto& classes = Classes();
    return std::any_of(classes.begin(), classes.end(),
                       [&](const sys::WString& known) { return sys::EqualsIgnoreCase(known, className); });
}

bool Matches(const HeadlessWindow& window, sys::WStringView className, sys::WStringView title) {
    return sys::EqualsIgnoreCase(window.className, className) && (title.empty() || window.title == title);
}

// The other copy's window that the script reports, kept for the run.
WindowHandle OtherProcessWindow(sys::WStringView className, sys::WStringView title) {
    const std::string answer = sys::AskQuestion(
        "FindWindow", "class=" + sys::Narrow(className) + "\ttitle=" + sys::Narrow(title), "none");
    if (answer != "normal" && answer != "minimized") return nullptr;
    Windows().push_back({sys::WString(className), sys::WString(title), answer == "minimized"});
    return &Windows().back();
}

}  // namespace

bool RegisterWindowClass(const WindowClass& windowClass) {
    if (windowClass.className.empty() || IsRegistered(windowClass.className)) {
        sys::SetLastError(kErrorClassAlreadyExists);
        return false;
    }
    Classes().push_back(windowClass.className);
    return true;
}

FrameWindow FrameWindow::Create(sys::WStringView className, sys::WStringView title, uint32_t) {
    if (!IsRegistered(className)) {
        sys::SetLastError(kErrorClassDoesNotExist);
        return {};
    }
    Windows().push_back({sys::WString(className), sys::WString(title), false});
    return FrameWindow(&Windows().back());
}

void FrameWindow::Destroy() {
    if (handle_ == nullptr) return;
    Windows().remove_if([&](const HeadlessWindow& window) { return &window == handle_; });
    handle_ = nullptr;
}

WindowHandle FindTopLevelWindow(sys::WStringView className, sys::WStringView title) {
    for (HeadlessWindow& window : Windows())
        if (Matches(window, className, title)) return &window;
    return OtherProcessWindow(className, title);
}

bool IsMinimized(WindowHandle window) {
    return window != nullptr && static_cast<HeadlessWindow*>(window)->minimized;
}

void RestoreWindow(WindowHandle window) {
    if (window == nullptr) return;
    static_cast<HeadlessWindow*>(window)->minimized = false;
    sys::AskQuestion("ShowWindow", "restore", "done");
}

void BringToForeground(WindowHandle window) {
    if (window != nullptr) sys::AskQuestion("ShowWindow", "foreground", "done");
}

}  // namespace ui
