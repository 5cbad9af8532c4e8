// What the welcome dialog and the manual dialog share: a copy of the
// install-information record, the view they drive, the window set-up, the
// image buttons, Cancel through VLEtc's SdCancel and the keyboard filter.
#pragma once

#include <functional>
#include <memory>

#include "formats/install_info.h"
#include "sys/text.h"
#include "ui/dialog_view.h"

namespace vlauto {

// Makes the view of one of the autorun's templates.
using DialogViewFactory = std::function<std::shared_ptr<ui::DialogView>(const ui::DialogTemplate&)>;

// The state bitmaps of every image button and their transparent colour.
inline constexpr char kOffButtonBitmap[] = "IDB_OFF_BUTTON";
inline constexpr char kOnButtonBitmap[] = "IDB_ON_BUTTON";
inline constexpr char kClickedButtonBitmap[] = "IDB_CLICKED_BUTTON";
inline constexpr uint32_t kButtonTransparentColour = 0xC6C3C6;
// The picture pane's bitmap.
inline constexpr char kWelcomeBitmap[] = "WELCOME_BMP";

// A record text (system code page) as text.
sys::WString RecordText(const char* text);

// "CT" and "CP", in any case: the button texts are drawn at normal weight.
bool UsesNormalWeightText(const InstallInfo& info);

// VLEtc's SdCancel, found by name in hEtcDll and given a copy of the
// record; 4 (leave) when the library or the routine is missing.
int MyAskCancel(const InstallInfo& info);

// Whether a file search finds the path itself (a file or a folder).
bool MyPathExists(sys::WStringView path);

class CAutoRunDialog : public ui::DialogEvents {
public:
    CAutoRunDialog(ui::DialogView& view, const InstallInfo& info);

    // Shows the dialog and returns its result.
    int DoModal() { return view_.DoModal(*this); }

    bool PreTranslateKey(const ui::KeyMessage& key) override;

protected:
    // Centres the dialog, brings it forward and, under Setup's background
    // window, drops its own taskbar button.
    void PrepareWindow();
    // The picture pane and the controls that draw on white.
    void PreparePainting(std::initializer_list<int> whiteControls);
    void SetupImageButton(int id, sys::WStringView text);
    void SetHeading(sys::WStringView text, int32_t fontHeight);
    // Cancel (control 9): SdCancel decides; 4 ends the dialog with 3.
    void OnCancelButton();

    ui::DialogView& view_;
    const InstallInfo& Info() const { return *info_; }

private:
    std::unique_ptr<InstallInfo> info_;  // the dialog's own copy
};

}  // namespace vlauto
