#include "autorun.h"

#include "common/trace.h"
#include "dialog_templates.h"
#include "manual_dialog.h"
#include "results.h"
#include "welcome_dialog.h"

namespace vlauto {

int MyRunAutoRun(const InstallInfo& info, int maintenance, const DialogViewFactory& makeView) {
    MyTrace("MyRunAutoRun Start: maintenance %d", maintenance);
    int result = kResultCannotCreate;
    for (;;) {
        const std::shared_ptr<ui::DialogView> welcomeView = makeView(WelcomeTemplate());
        const std::shared_ptr<ui::DialogView> manualView = makeView(ManualTemplate());
        CWelcomeDlg welcome(*welcomeView, info, maintenance, makeView);
        CManualDlg manual(*manualView, info);
        result = welcome.DoModal();
        if (result != kResultManualDialog) break;
        result = manual.DoModal();
        if (result != kResultBack) break;
        MyTrace("       Back from the manual dialog: a new welcome dialog");
    }
    MyTrace("MyRunAutoRun End: %d", result);
    return result;
}

}  // namespace vlauto
