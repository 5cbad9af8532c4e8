// The welcome dialog (template 129): a picture, a heading, up to four image
// buttons (automatic or custom installation, or repair and removal in
// maintenance mode; the other utility; the user manual), a description that
// follows the pointer, the version line and Cancel.
#pragma once

#include "autorun_dialog.h"

namespace vlauto {

class CWelcomeDlg final : public CAutoRunDialog {
public:
    // `maintenance` 1: the package is installed (repair and remove).
    // `makeView` makes the unshown manual dialog that opens a single manual.
    CWelcomeDlg(ui::DialogView& view, const InstallInfo& info, int maintenance, DialogViewFactory makeView);

    void OnInitDialog() override;
    void OnButtonHover(int notifyId) override;
    void OnButtonLeave(int notifyId) override;
    void OnButtonClicked(int notifyId) override;
    void OnCommand(int controlId) override;

    const sys::WString& InitialDescription() const { return m_strInitDescription; }

private:
    void SetUpOptionalButtons();
    void MoveIntoButton3Place();  // layout rule A
    void MoveButtonsDown();       // layout rule C
    void ApplySingleComponentRule();
    void MyRunOtherUtility();
    void MyShowManual();

    int m_nMaintenance;
    sys::WString m_strInitDescription;
    sys::WString m_strSetupDataFile;
    sys::WString m_strLanguageFile;
    sys::WString m_strAutorunInf;
    sys::WString m_strManualPath;
    sys::WString m_strUtilityFolder;
    DialogViewFactory makeView_;
};

}  // namespace vlauto
