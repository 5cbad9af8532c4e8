// Without windows, every dialog is the headless view.
#include "ui/dialog_view.h"
#include "ui/headless_dialog_view.h"

namespace ui {

std::unique_ptr<DialogView> CreateDialogView(const DialogTemplate& dialogTemplate, sys::ModuleHandle) {
    return std::make_unique<HeadlessDialogView>(dialogTemplate);
}

}  // namespace ui
