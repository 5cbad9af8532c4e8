// The keys the autorun's dialogs swallow before the dialog manager sees them:
// Escape and Ctrl+Break (which would cancel the dialog) and F4 down, with or
// without Alt (so Alt+F4 does not close it). With no system menu, the
// dialog's buttons are the only way out.
#pragma once

#include "ui/dialog_view.h"

namespace vlauto {

bool MySwallowsKey(const ui::KeyMessage& key);

}  // namespace vlauto
