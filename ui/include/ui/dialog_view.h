// The view of a modal dialog, as a portable dialog controller sees it.
//
// A controller (the logic of one dialog: which texts, which controls show,
// where they move, what a click returns) never touches a window. It talks to
// a DialogView: it sets control texts, shows, hides, enables and moves
// controls, asks for window rectangles, and ends the dialog with a result.
// What the user does comes back to it as DialogEvents. The Win32 view binds
// both to a real dialog made from a template in a module's resources; the
// headless view (ui/headless_dialog_view.h) plays the events from the answer
// script and records every control's state for tests.
//
// Control identifiers, window styles, colours and virtual keys are the
// Windows values. Coordinates are pixels.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "sys/modules.h"
#include "sys/text.h"
#include "ui/window.h"

namespace ui {

// A rectangle in pixels, right and bottom exclusive (a Windows RECT).
struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    int32_t Width() const { return right - left; }
    int32_t Height() const { return bottom - top; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

// A rectangle of a dialog template in dialog units: x, y, width, height.
struct DialogUnitRect {
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
};

// One control of a template, in template order.
struct TemplateControl {
    int id = -1;  // -1: a control without an identifier (a painted rectangle)
    DialogUnitRect rect;
};

// What a view needs to know of a dialog template. The Win32 view loads the
// template `id` from the resource module and uses only `id` and `name`; the
// headless view has no resources and lays the controls out from `controls`.
struct DialogTemplate {
    int id = 0;
    std::string name;   // the dialog's name to the answer script and the log
    int32_t width = 0;  // client area, dialog units
    int32_t height = 0;
    std::vector<TemplateControl> controls;
};

// A font for one control (LOGFONT with every attribute not named here zero).
struct FontSpec {
    sys::WString face;
    int32_t height = 0;  // lfHeight
    int32_t weight = 0;  // lfWeight: 400 normal, 700 bold
};

// The image-button behaviour a dialog gives one of its static controls: a
// state bitmap (normal, pointed at, pressed; `transparentColour` not drawn)
// followed by link-style text, the hand cursor, and notifications of hover,
// leave and click to the dialog with `notifyId` (-1: notifies nothing).
struct ImageButtonSetup {
    sys::WString text;
    int notifyId = -1;
    std::string normalBitmap;
    std::string hoverBitmap;
    std::string pressedBitmap;
    uint32_t transparentColour = 0;  // COLORREF, red in the low byte
};

// Key messages that reach the dialog's pre-translation (the Windows values).
enum : uint32_t {
    kWmKeyDown = 0x0100,
    kWmSysKeyDown = 0x0104,
};
enum : uint32_t {
    kVkCancel = 0x03,  // Ctrl+Break
    kVkEscape = 0x1B,
    kVkF4 = 0x73,
};
struct KeyMessage {
    uint32_t message = 0;  // kWmKeyDown or kWmSysKeyDown (Alt held)
    uint32_t virtualKey = 0;
};

// What happens to a dialog, delivered to its controller.
class DialogEvents {
public:
    virtual ~DialogEvents() = default;

    // The window and its controls exist, not yet visible: fill them.
    virtual void OnInitDialog() = 0;
    // An image button's notifications, with its notify identifier: the
    // pointer rests on it (sent), the pointer left it (sent), the left
    // button was released on it (posted, so handled after the button's own
    // mouse processing).
    virtual void OnButtonHover(int notifyId) = 0;
    virtual void OnButtonLeave(int notifyId) = 0;
    virtual void OnButtonClicked(int notifyId) = 0;
    // A push button, or kIdCancel when the dialog is closed (Escape,
    // Ctrl+Break, Alt+F4) and the key filter let it through.
    virtual void OnCommand(int controlId) = 0;
    // Seen before the dialog's own key handling; true swallows the key.
    virtual bool PreTranslateKey(const KeyMessage& key) = 0;
};

// The dialog's window and controls, as its controller drives them.
class DialogView {
public:
    virtual ~DialogView() = default;

    // Creates the dialog with no owner, delivers OnInitDialog, runs until
    // EndDialog and returns its result; -1 when the dialog cannot be made.
    virtual int DoModal(DialogEvents& events) = 0;
    // Ends the running dialog with `result`; nothing when it is not shown.
    virtual void EndDialog(int result) = 0;
    // The dialog's window while it shows; null otherwise.
    virtual WindowHandle Window() const = 0;

    // Window caption.
    virtual void SetCaption(sys::WStringView text) = 0;
    // Text of a control ("\n" breaks the line where the control wraps).
    virtual void SetControlText(int id, sys::WStringView text) = 0;
    virtual void ShowControl(int id, bool show) = 0;
    virtual void EnableControl(int id, bool enable) = 0;
    // Window rectangles in screen coordinates: the dialog's whole window
    // (frame and caption included) and one control's.
    virtual Rect DialogWindowRect() const = 0;
    virtual Rect ControlWindowRect(int id) const = 0;
    // Places a control at (x, y) relative to the dialog's client area, with
    // the given size (MoveWindow).
    virtual void MoveControl(int id, int32_t x, int32_t y, int32_t width, int32_t height) = 0;
    // A font made for this dialog (it lives as long as the dialog) given to
    // a control.
    virtual void SetControlFont(int id, const FontSpec& font) = 0;
    // Makes the static control `id` an image button.
    virtual void SetupImageButton(int id, const ImageButtonSetup& setup) = 0;
    // Draws the image button's text at weight 400 instead of 700.
    virtual void SetNormalWeight(int id, bool normalWeight) = 0;
    // The control draws on white: transparent text background, white
    // background colour and brush.
    virtual void DrawOnWhite(int id) = 0;
    // The control is painted with the named bitmap of the resource module,
    // stretched over its client area (halftone).
    virtual void PaintBitmap(int id, const std::string& bitmapName) = 0;
    // Centres the dialog (on its owner or the screen) and brings it to the
    // foreground.
    virtual void CenterAndBringToForeground() = 0;
    // Removes the application-window extended style (no taskbar button).
    virtual void DropAppWindowStyle() = 0;
    // A message box owned by the dialog's window (no owner when the dialog
    // does not show); returns the button pressed, as sys::MessageBox.
    virtual int ShowMessageBox(sys::WStringView text, sys::WStringView caption, uint32_t style) = 0;
};

// The view of `dialogTemplate` for this build: the Win32 view in the Windows
// build (templates, bitmaps and cursor from `resources`), the headless view
// in the posix build. The Windows build gives the headless view too when
// ScriptPlaysDialog says so, so that a program started by a test (Setup
// under Wine) runs its dialogs from the answer script.
std::unique_ptr<DialogView> CreateDialogView(const DialogTemplate& dialogTemplate,
                                             sys::ModuleHandle resources);

// Whether the answer script plays this dialog instead of a person: the
// answer "headless" to the question "DialogView" (detail: the dialog's
// name), asked only while a script is set.
bool ScriptPlaysDialog(const DialogTemplate& dialogTemplate);

}  // namespace ui
