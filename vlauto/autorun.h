// The autorun menu from start to end: the welcome dialog, the manual dialog
// when the welcome dialog hands over to it, and a fresh welcome dialog after
// the manual dialog's Back.
#pragma once

#include "autorun_dialog.h"

namespace vlauto {

// Returns 3 (leave), 6, 7 (automatic or custom installation), 9, 10 (repair
// or remove) or -1 (no dialog could be made); `maintenance` 1 shows the
// maintenance form. Every dialog is made afresh from `info`, so each
// welcome dialog rereads the disc's files.
int MyRunAutoRun(const InstallInfo& info, int maintenance, const DialogViewFactory& makeView);

}  // namespace vlauto
