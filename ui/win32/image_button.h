// The link-style buttons of the autorun dialogs: static controls of a
// dialog template taken over by a C++ object when the dialog binds them.
//
// CTextStatic keeps a caption, the two text colours and whom to notify.
// CImageButton draws a state bitmap (normal, pointed at, pressed) with its
// transparent colour left out, then its text in bold, blue turning red
// under the pointer, shows the hand cursor, and instead of commands tells
// its dialog three things by message: the pointer rests on it, the pointer
// left it, it was clicked.
#pragma once

#include <cstdint>
#include <string>

#include "sys/text.h"
#include "win32/windows_api.h"

namespace ui::win32 {

// Notifications to the dialog, wParam the button's notify identifier and
// lParam a pointer to its tip text. Hover and leave are sent, so the dialog
// has answered before the button repaints; the click is posted, so the
// dialog handles it after the button's own mouse processing.
enum : UINT {
    UM_BUTTON_LEAVE = 1014,
    UM_BUTTON_CLICKED = 2035,
    UM_BUTTON_HOVER = 2036,
};

// The pointing hand, in the resource module of the buttons' bitmaps.
constexpr int kHandCursorId = 131;

// The transparent colour of the state bitmaps, and their default names.
constexpr uint32_t kButtonBitmapBackground = 0xC6C3C6;
inline constexpr const char* kNormalButtonBitmap = "IDB_OFF_BUTTON";
inline constexpr const char* kHoverButtonBitmap = "IDB_ON_BUTTON";
inline constexpr const char* kPressedButtonBitmap = "IDB_CLICKED_BUTTON";

// A request for hover and leave notification (TrackMouseEvent).
using MouseTracker = BOOL(WINAPI*)(LPTRACKMOUSEEVENT request);
// The system's: TrackMouseEvent of user32 (Windows 98 and NT 4 on), else
// _TrackMouseEvent of the common controls (Windows 95 with Internet
// Explorer 3 on); null on the first Windows 95.
MouseTracker SystemMouseTracker();

class CTextStatic {
public:
    CTextStatic() = default;
    virtual ~CTextStatic();
    CTextStatic(const CTextStatic&) = delete;
    CTextStatic& operator=(const CTextStatic&) = delete;

    // Binds the object to `control`: its messages come here first. Runs the
    // binding hook. False when the control does not exist or is bound.
    bool SubclassWindow(HWND control);
    HWND Handle() const { return window_; }

    // The dialog to notify, the caption (empty: the window text is drawn)
    // and the notify identifier (-1: notify nothing).
    void SetUp(HWND notifyTarget, sys::WStringView text, int notifyId);
    const sys::WString& Text() const { return text_; }
    int NotifyId() const { return notifyId_; }

protected:
    // Runs once the control is bound, before any of its messages arrive.
    virtual void PreSubclassWindow() {}
    // The control's messages; the default hands them to the control's own
    // window procedure.
    virtual LRESULT WindowProcedure(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);
    // Sends (or posts) `message` to the notify target, unless there is none
    // or the identifier is -1.
    void Notify(UINT message, LPARAM lParam, bool post) const;

    sys::WString text_;
    COLORREF hoverColour_ = 0;
    COLORREF normalColour_ = 0;
    HWND notifyTarget_ = nullptr;
    int notifyId_ = -1;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Unsubclass();

    HWND window_ = nullptr;
    WNDPROC original_ = nullptr;
};

class CImageButton : public CTextStatic {
public:
    // The bitmaps and the cursor come from `resources`. Without a mouse
    // tracker the button takes the first pointer movement as the pointer
    // resting on it, and a timer notices when it has gone.
    explicit CImageButton(HINSTANCE resources, MouseTracker tracker = SystemMouseTracker());

    // Turns the bitmap on. The names are taken only when the normal and the
    // pointed-at ones are both given (an empty pressed name reuses the
    // normal one); the transparent colour always. Returns true.
    bool SetBitmaps(const std::string& normal, const std::string& hover, const std::string& pressed,
                    uint32_t transparentColour);
    // Text at weight 400 instead of 700.
    void SetNormalWeight(bool normalWeight) { normalWeight_ = normalWeight; }

    bool Hovered() const { return hovered_; }
    bool Pressed() const { return pressed_; }
    bool DrawsBitmap() const { return bitmap_; }
    bool NormalWeight() const { return normalWeight_; }
    // The timer that looks for the pointer where there is no tracker.
    static constexpr UINT_PTR kPointerPollTimer = 1;

    // Leave (and hover) tracking is armed.
    bool Tracking() const { return tracking_ != 0; }

protected:
    // Adds the notify style, so that the static receives the mouse, and
    // loads the hand cursor.
    void PreSubclassWindow() override;
    LRESULT WindowProcedure(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnMouseMove();
    void OnMouseHover();
    void OnMouseLeave();
    void OnPollPointer();
    void OnPaint();
    // The button's picture into `dc`: on its paint message, and on
    // WM_PRINTCLIENT (a copy of the button into another context).
    void Paint(HDC dc);
    void PaintBitmap(HDC dc, const RECT& client);
    void PaintText(HDC dc, const RECT& client);
    const std::string& CurrentBitmapName() const;
    // Repaints the whole button over a fresh background: the button is
    // transparent, so the parent repaints the area beneath it first.
    void Repaint() const;

    HINSTANCE resources_;
    MouseTracker tracker_;
    bool normalWeight_ = false;
    bool hovered_ = false;
    int tracking_ = 0;
    HCURSOR cursor_ = nullptr;
    std::string tipText_;
    COLORREF transparentColour_ = kButtonBitmapBackground;
    std::string hoverBitmap_ = kHoverButtonBitmap;
    std::string normalBitmap_ = kNormalButtonBitmap;
    std::string pressedBitmap_ = kPressedButtonBitmap;
    bool pressed_ = false;
    bool bitmap_ = false;
    bool pollingPointer_ = false;
};

}  // namespace ui::win32
