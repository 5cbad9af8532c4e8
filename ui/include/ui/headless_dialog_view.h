// The headless dialog view: no window, a record of every control instead.
// It lays the template's controls out in pixels, keeps each control's text,
// visibility, enabled state, position and font, and plays what a user would
// do from the answer script (sys/answer_script.h). It is the view of the
// posix build, and the tests drive dialog controllers with it in both builds.
//
// The user's actions are the answer to the question named after the dialog
// (DialogTemplate::name), detail "template=<id>", asked once each time the
// dialog runs; a "once question" rule per run scripts dialogs shown again.
// The answer is a list of events separated by ';', played in order:
//
//     hover <id>       the pointer rests on image button <id>
//     leave <id>       the pointer leaves it
//     click <id>       the left button is released on it
//     command <id>     push button <id> is pressed
//     key <name>       a key goes down: escape, ctrl+break, f4 or alt+f4
//     cannot-create    (alone) the dialog cannot be made: DoModal gives -1
//
// Pointer events and commands reach only controls that are visible and
// enabled, as on the screen; an image button notifies with the identifier
// it was set up with. A key the dialog's filter does not swallow is handled
// as the dialog manager does: escape, ctrl+break and alt+f4 close the
// dialog (the command kIdCancel). When the events run out and the dialog
// still runs, the user closes it the same way; if it stays open even then,
// it ends with kIdCancel, as an unanswered headless dialog does.
//
// Geometry: the font "MS Sans Serif" 8 point at 96 dots per inch, whose
// dialog base units are 6 x 13 pixels (one dialog unit is a quarter of the
// width and an eighth of the height); edges convert as MapDialogRect does,
// rounded. The window has a 3-pixel dialog frame and an 18-pixel caption
// around the template's client area and starts at the screen's top-left
// corner; the screen is 1024 x 768.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "ui/dialog_view.h"

namespace ui {

class HeadlessDialogView final : public DialogView {
public:
    static constexpr int32_t kBaseUnitX = 6;
    static constexpr int32_t kBaseUnitY = 13;
    static constexpr int32_t kFrame = 3;
    static constexpr int32_t kCaption = 18;
    static constexpr int32_t kScreenWidth = 1024;
    static constexpr int32_t kScreenHeight = 768;
    // The weight of a control's text when no font was given: the dialog's
    // font; an image button draws bold unless set to normal weight.
    static constexpr int32_t kNormalWeight = 400;
    static constexpr int32_t kBoldWeight = 700;

    struct Control {
        int id = -1;
        Rect rect;  // relative to the dialog's client area
        sys::WString text;
        bool visible = true;
        bool enabled = true;
        bool imageButton = false;
        ImageButtonSetup button;  // when imageButton
        bool normalWeight = false;
        bool hasFont = false;
        FontSpec font;  // when hasFont
        bool onWhite = false;
        std::string bitmap;  // painted over the control; empty for none

        // The weight its text is drawn at.
        int32_t FontWeight() const;
    };

    explicit HeadlessDialogView(DialogTemplate dialogTemplate);

    int DoModal(DialogEvents& events) override;
    void EndDialog(int result) override;
    WindowHandle Window() const override;
    void SetCaption(sys::WStringView text) override;
    void SetControlText(int id, sys::WStringView text) override;
    void ShowControl(int id, bool show) override;
    void EnableControl(int id, bool enable) override;
    Rect DialogWindowRect() const override;
    Rect ControlWindowRect(int id) const override;
    void MoveControl(int id, int32_t x, int32_t y, int32_t width, int32_t height) override;
    void SetControlFont(int id, const FontSpec& font) override;
    void SetupImageButton(int id, const ImageButtonSetup& setup) override;
    void SetNormalWeight(int id, bool normalWeight) override;
    void DrawOnWhite(int id) override;
    void PaintBitmap(int id, const std::string& bitmapName) override;
    void CenterAndBringToForeground() override;
    void DropAppWindowStyle() override;
    int ShowMessageBox(sys::WStringView text, sys::WStringView caption, uint32_t style) override;

    // What the dialog looked like when it ended (or now).
    const Control* FindControl(int id) const;
    const sys::WString& Caption() const { return caption_; }
    bool Centred() const { return centred_; }
    bool InForeground() const { return foreground_; }
    bool AppWindowStyleDropped() const { return appWindowStyleDropped_; }
    bool Running() const { return running_; }
    // The result it ended with; none (-1) before.
    int Result() const { return result_; }
    // One line per event played and per change the controller made, in
    // order ("event hover 1014", "text 1018 <text>", "end 6" ...).
    const std::vector<std::string>& Transcript() const { return transcript_; }

    // Template rectangles in pixels (client coordinates), as laid out here.
    static Rect ToPixels(const DialogUnitRect& rect);

private:
    Control* Find(int id);
    void Note(const std::string& line);
    void PlayScript(DialogEvents& events, const std::string& script);
    void Play(DialogEvents& events, const std::string& event);
    void PlayKey(DialogEvents& events, const std::string& name);
    Control* Reachable(int id);
    void CloseByUser(DialogEvents& events);

    DialogTemplate template_;
    std::vector<Control> controls_;
    Rect window_;
    sys::WString caption_;
    bool centred_ = false;
    bool foreground_ = false;
    bool appWindowStyleDropped_ = false;
    bool running_ = false;
    int result_ = -1;
    std::vector<std::string> transcript_;
};

}  // namespace ui
