// The autorun menu on a real screen (Wine on a virtual X display): VLAuto
// loaded from the sample disc and called as Setup calls it, on a thread of
// its own, while the test moves the pointer, clicks, reads control texts
// and captures the dialogs' pixels, as a person in front of it would.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "formats/install_info.h"
#include "sys/text.h"
#include "win32/windows_api.h"

namespace zebl_test {

// A window's picture, 32 bits per pixel, top row first.
class Picture {
public:
    Picture() = default;
    Picture(int width, int height)
        : width_(width), height_(height), pixels_(size_t(width) * size_t(height)) {}

    int Width() const { return width_; }
    int Height() const { return height_; }
    // The pixel at (x, y) as a COLORREF; white outside the picture.
    COLORREF At(int x, int y) const;
    void Set(int x, int y, uint32_t bgr) { pixels_[size_t(y) * size_t(width_) + size_t(x)] = bgr; }
    // Pixels of `colour` in the rectangle.
    int Count(COLORREF colour, const RECT& area) const {
        return CountIf(area, [colour](COLORREF pixel) { return pixel == colour; });
    }
    // Pixels in the rectangle for which `test` holds.
    template <typename Test>
    int CountIf(const RECT& area, Test test) const {
        int count = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x) count += test(At(x, y)) ? 1 : 0;
        return count;
    }
    // A bottom-up 24-bit BMP file; false when it cannot be written.
    bool WriteBmp(const std::string& path) const;

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<uint32_t> pixels_;  // 0x00RRGGBB
};

// One call of SdAutoRunDlg with the sample disc's record.
class AutorunOnScreen {
public:
    // The record as Setup makes it from the sample disc on this machine
    // (language from the system's), without VLEtc: Cancel then leaves at
    // once. The call starts at once.
    explicit AutorunOnScreen(int maintenance);
    // Closes whatever dialog is still open (Cancel) and waits for the call.
    ~AutorunOnScreen();
    AutorunOnScreen(const AutorunOnScreen&) = delete;
    AutorunOnScreen& operator=(const AutorunOnScreen&) = delete;

    // False when the library or its export could not be loaded.
    bool Started() const { return started_; }
    const InstallInfo& Info() const { return info_; }
    // A value of the chosen language file, as the dialogs read it: "\n"
    // a line break, "%s" the product name when `withProduct`.
    sys::WString LanguageText(const char16_t* section, const char16_t* key, bool withProduct = false) const;

    // The dialog now showing that has control `id` (the welcome dialog has
    // 1014, the manual dialog 102), once it is visible and painted; null
    // after 10 s.
    HWND WaitForDialog(int id) const;
    // The result of the call once it returned; -2 when it did not within
    // 10 s.
    int Result();
    // True while the call has not returned.
    bool Running() const { return started_ && !finished_; }

private:
    void Run(int maintenance);

    InstallInfo info_{};
    sys::WString languageFile_;
    HMODULE library_ = nullptr;
    bool started_ = false;
    std::atomic<DWORD> threadId_{0};
    std::atomic<bool> finished_{false};
    std::atomic<int> result_{-2};
    std::thread thread_;
};

// Waits until `condition` holds, up to `milliseconds`; its last answer.
template <typename Condition>
bool WaitUntil(Condition condition, int milliseconds = 5000) {
    for (int waited = 0; waited < milliseconds; waited += 20) {
        if (condition()) return true;
        Sleep(20);
    }
    return condition();
}

// A control's rectangle in its dialog's window coordinates (as in a
// capture of the dialog), and its centre on the screen.
RECT ControlRect(HWND dialog, int id);
POINT ControlCentre(HWND dialog, int id);
// The control's text, from the system code page.
sys::WString ControlText(HWND dialog, int id);
// Real input: the pointer moves to a screen point; a left click there.
void MovePointer(POINT screen);
void ClickAt(POINT screen);
// Real keys: each goes down in order, then all come up in reverse.
void PressKeys(const std::vector<WORD>& keys);

// Lets the dialog's thread paint everything it has to, then captures the
// dialog's whole window (frame and caption included).
Picture CaptureWindow(HWND window);

}  // namespace zebl_test
