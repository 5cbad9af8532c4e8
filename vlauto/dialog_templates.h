// The autorun's two dialog templates: their identifiers, their controls and
// the layout the headless view uses (the Win32 view loads the same templates
// from the library's resources).
#pragma once

#include "ui/dialog_view.h"

namespace vlauto {

inline constexpr int kWelcomeTemplateId = 129;
inline constexpr int kManualTemplateId = 1002;

// Controls of both templates.
inline constexpr int kIdCancelButton = 9;
inline constexpr int kIdPicture = 1001;
inline constexpr int kIdDescriptionGroup = 1002;
inline constexpr int kIdHeading = 1013;
inline constexpr int kIdDescription = 1018;
inline constexpr int kIdSeparator = 1020;
// The welcome dialog's (template 129).
inline constexpr int kIdVersion = 110;
inline constexpr int kIdButton1 = 1014;  // automatic install, or repair
inline constexpr int kIdButton2 = 1015;  // custom install, or remove
inline constexpr int kIdButton3 = 1016;  // the other utility
inline constexpr int kIdButton4 = 1017;  // the user manual
// The manual dialog's (template 1002).
inline constexpr int kIdBackButton = 2;
inline constexpr int kIdDriverManual = 102;
inline constexpr int kIdDockwaveManual = 103;

// Names of the dialogs to the answer script and the log.
inline constexpr char kWelcomeDialogName[] = "CWelcomeDlg";
inline constexpr char kManualDialogName[] = "CManualDlg";

const ui::DialogTemplate& WelcomeTemplate();
const ui::DialogTemplate& ManualTemplate();

}  // namespace vlauto
