// The autorun's two dialog templates: their identifiers, their controls and
// the layout the headless view uses (the Win32 view loads the same templates
// from the library's resources).
#pragma once

#include "ui/dialog_view.h"

namespace vlauto {

inline constexpr int kWelcomeTemplateId = 129;
inline constexpr int kManualTemplateId = 1002;

// Controls of both templates.
enum : int {
    kIdCancelButton = 9,
    kIdPicture = 1001,
    kIdDescriptionGroup = 1002,
    kIdHeading = 1013,
    kIdDescription = 1018,
    kIdSeparator = 1020,
};
// The welcome dialog's (template 129).
enum : int {
    kIdVersion = 110,
    kIdButton1 = 1014,  // automatic install, or repair
    kIdButton2 = 1015,  // custom install, or remove
    kIdButton3 = 1016,  // the other utility
    kIdButton4 = 1017,  // the user manual
};
// The manual dialog's (template 1002).
enum : int {
    kIdBackButton = 2,
    kIdDriverManual = 102,
    kIdDockwaveManual = 103,
};

// Names of the dialogs to the answer script and the log.
inline constexpr char kWelcomeDialogName[] = "CWelcomeDlg";
inline constexpr char kManualDialogName[] = "CManualDlg";

const ui::DialogTemplate& WelcomeTemplate();
const ui::DialogTemplate& ManualTemplate();

}  // namespace vlauto
