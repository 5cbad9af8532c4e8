// The dialog views of the Windows build: real dialogs from the resource
// module's templates. An unattended run (an answer script is set, as in the
// tests of the programs) gets the headless view, which plays the user from
// the script as every other question of the programs is answered then.
#include "win32/windows_api.h"
// windows_api.h first: the headers below must not see its macros.
#include "sys/answer_script.h"
#include "ui/dialog_view.h"
#include "ui/headless_dialog_view.h"
#include "win32/dialog_view.h"

namespace ui {

std::unique_ptr<DialogView> CreateDialogView(const DialogTemplate& dialogTemplate,
                                             sys::ModuleHandle resources) {
    if (sys::AnswerScriptActive()) return std::make_unique<HeadlessDialogView>(dialogTemplate);
    return std::make_unique<win32::Win32DialogView>(dialogTemplate, resources);
}

}  // namespace ui
