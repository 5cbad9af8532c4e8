// The user-manual dialog (template 1002): one image button per manual of
// the current language (the printer driver's and the DOCKWAVE
// application's), Back and Cancel. MyOpenManual hands a manual to the shell
// and, when nothing can open it, offers the PDF reader's installer from the
// disc; the welcome dialog uses it through a manual dialog it never shows
// when the folder holds a single manual.
#pragma once

#include "autorun_dialog.h"

namespace vlauto {

class CManualDlg final : public CAutoRunDialog {
public:
    CManualDlg(ui::DialogView& view, const InstallInfo& info);

    void OnInitDialog() override;
    void OnButtonHover(int notifyId) override;
    void OnButtonLeave(int notifyId) override;
    void OnButtonClicked(int notifyId) override;
    void OnCommand(int controlId) override;

    // Open the driver's manual (MANUAL_FILE_NAME) or the application's
    // (DOCKWAVE_MANUAL_FILE_NAME): true when the dialog ended with 3, false
    // when it stays (the reader installation was declined).
    bool MyDriverManualAction();
    bool MyDockwaveManualAction();

    // 3 when done (opened, or the failure reported), 7 when the reader
    // installation was declined or its installer is not on the disc.
    int MyOpenManual(sys::WStringView fileName);

private:
    bool MyManualAction(sys::WStringView fileNameKey);
    int MyOfferReader(sys::WStringView fileName);

    sys::WString m_strSystemLanguageFile;
    sys::WString m_strLanguageFile;
    sys::WString m_strSetupDataFile;
};

}  // namespace vlauto
