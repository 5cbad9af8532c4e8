#include "manual_dialog.h"

#include "common/trace.h"
#include "dialog_templates.h"
#include "ini_value.h"
#include "results.h"
#include "sys/message_box.h"
#include "sys/process.h"
#include "sys/shell.h"

namespace vlauto {
namespace {

constexpr int32_t kHeadingHeight = 12;
// The fixed messages of a failed start, shown when the disc's texts say
// nothing about it.
constexpr char16_t kPathNotFound[] = u"The specified path was not found.";
constexpr char16_t kFileNotFound[] = u"The specified file was not found.";
constexpr uint32_t kMbIconExclamation = 0x30;

sys::WString Join(sys::WStringView a, sys::WStringView b) {
    sys::WString path(a);
    path += u'\\';
    path += b;
    return path;
}

}  // namespace

// The paths are the record's own: an unshown dialog opens manuals too.
CManualDlg::CManualDlg(ui::DialogView& view, const InstallInfo& info)
    : CAutoRunDialog(view, info),
      m_strSystemLanguageFile(RecordText(info.szSystemLanguageFile)),
      m_strLanguageFile(RecordText(info.szLanguageFile)),
      m_strSetupDataFile(RecordText(info.szSetupDataFile)) {}

void CManualDlg::OnInitDialog() {
    MyTrace("CManualDlg::OnInitDialog Start");
    PrepareWindow();
    const sys::WString title = MyGetIniValue(u"MANUAL", u"MANUAL_TITLE", m_strLanguageFile);
    const sys::WString driver = MyGetIniValue(u"MANUAL", u"MANUAL_DRIVER", m_strLanguageFile);
    const sys::WString dockwave = MyGetIniValue(u"MANUAL", u"MANUAL_DOCKWAVE", m_strLanguageFile);
    const sys::WString description = MyGetIniValue(u"MANUAL", u"MANUAL_INIT_DISCRIPTION", m_strLanguageFile);
    const sys::WString groupText = MyGetIniValue(u"START", u"DESCRIPTION_GROUP_TEXT", m_strLanguageFile);
    // Cancel and Back speak the system's language, the rest the chosen one.
    const sys::WString cancelText = MyGetIniValue(u"COMMON", u"CANCEL_BUTTON_TEXT", m_strSystemLanguageFile);
    const sys::WString backText = MyGetIniValue(u"COMMON", u"BACK_BUTTON_TEXT", m_strSystemLanguageFile);
    view_.SetCaption(RecordText(Info().szModelName));

    SetHeading(title, kHeadingHeight);
    SetupImageButton(kIdDriverManual, FormatWithArgument(driver, RecordText(Info().szModelName)));
    SetupImageButton(kIdDockwaveManual, dockwave);
    view_.SetControlText(kIdCancelButton, cancelText);
    view_.SetControlText(kIdBackButton, backText);
    view_.SetControlText(kIdDescription, description);
    view_.SetControlText(kIdDescriptionGroup, groupText);
    PreparePainting({kIdDescriptionGroup, kIdHeading, kIdDescription});
    if (UsesNormalWeightText(Info()))
        for (int id : {kIdDriverManual, kIdDockwaveManual}) view_.SetNormalWeight(id, true);
    MyTrace("CManualDlg::OnInitDialog End");
}

void CManualDlg::OnButtonHover(int notifyId) {
    const char16_t* key = notifyId == kIdDriverManual     ? u"MANUAL_DRIVER_DESCRIPTION"
                          : notifyId == kIdDockwaveManual ? u"MANUAL_DOCKWAVE_DESCRIPTION"
                                                          : nullptr;
    if (key == nullptr) return;
    const sys::WString text = MyGetIniValue(u"MANUAL", key, m_strLanguageFile);
    view_.SetControlText(kIdDescription, FormatWithArgument(text, RecordText(Info().szProductName)));
}

void CManualDlg::OnButtonLeave(int) {
    view_.SetControlText(kIdDescription,
                         MyGetIniValue(u"MANUAL", u"MANUAL_INIT_DISCRIPTION", m_strLanguageFile));
}

void CManualDlg::OnButtonClicked(int notifyId) {
    if (notifyId == kIdDriverManual) MyDriverManualAction();
    else if (notifyId == kIdDockwaveManual) MyDockwaveManualAction();
}

// Back is also the dialog's cancel command; Ok (Enter) ends as the
// framework ends it, with 1, which Back means too.
void CManualDlg::OnCommand(int controlId) {
    if (controlId == kIdCancelButton) OnCancelButton();
    else if (controlId == kIdBackButton) view_.EndDialog(kResultBack);
    else if (controlId == sys::kIdOk) view_.EndDialog(sys::kIdOk);
}

bool CManualDlg::MyDriverManualAction() { return MyManualAction(u"MANUAL_FILE_NAME"); }
bool CManualDlg::MyDockwaveManualAction() { return MyManualAction(u"DOCKWAVE_MANUAL_FILE_NAME"); }

bool CManualDlg::MyManualAction(sys::WStringView fileNameKey) {
    const sys::WString fileName = MyGetIniValue(u"USER_MANUAL", fileNameKey, m_strSetupDataFile);
    if (MyOpenManual(fileName) == kManualReaderDeclined) return false;
    view_.EndDialog(kResultLeave);
    return true;
}

int CManualDlg::MyOpenManual(sys::WStringView fileName) {
    MyTrace("MyOpenManual Start");
    const sys::WString folder =
        Join(Join(RecordText(Info().szSetupDirectory),
                  MyGetIniValue(u"USER_MANUAL", u"MANUAL_DIRECTORY", m_strSetupDataFile)),
             RecordText(Info().szLanguageDirectory));
    const uint32_t opened = sys::ShellExecute(u"open", fileName, u"", folder, sys::kSwShowNormal);
    int result = kManualDone;
    if (opened >= sys::kShellExecuteOk) result = kManualDone;
    else if (opened == sys::kSeErrPathNotFound) view_.ShowMessageBox(kPathNotFound, fileName, sys::kMbOk);
    else result = MyOfferReader(fileName);
    MyTrace("MyOpenManual End: %d", result);
    return result;
}

// Nothing opens the manual: most likely no PDF reader is installed, and the
// disc carries one's installer.
int CManualDlg::MyOfferReader(sys::WStringView fileName) {
    const sys::WString buttonText = MyGetIniValue(u"START", u"MANUAL_BUTTON_TEXT", m_strLanguageFile);
    const sys::WString question =
        FormatWithArgument(MyGetIniValue(u"START", u"ACROBAT_REDER_TEXT", m_strLanguageFile), buttonText);
    const sys::WString readerFolder =
        Join(Join(RecordText(Info().szSetupDirectory),
                  MyGetIniValue(u"USER_MANUAL", u"ACROBAT_DIRECTORY", m_strSetupDataFile)),
             RecordText(Info().szLanguageDirectory));
    const sys::WString installerName =
        MyGetIniValue(u"USER_MANUAL", u"ACROBAT_FILE_NAME", m_strSetupDataFile);
    const sys::WString caption = RecordText(Info().szModelName);
    int answer = sys::kIdNo;
    if (MyPathExists(Join(readerFolder, installerName))) {
        answer = view_.ShowMessageBox(question, caption, sys::kMbYesNo);
    } else {
        const sys::WString missing = FormatWithArgument(
            MyGetIniValue(u"START", u"ACROBAT_REDER_TEXT_2", m_strLanguageFile), buttonText);
        view_.ShowMessageBox(missing, caption, kMbIconExclamation | sys::kMbOk);
    }
    if (answer != sys::kIdYes) return kManualReaderDeclined;
    if (sys::ShellExecute(u"open", installerName, u"", readerFolder, sys::kSwShowNormal) <
        sys::kShellExecuteOk)
        view_.ShowMessageBox(kFileNotFound, fileName, sys::kMbOk);
    return kManualDone;
}

}  // namespace vlauto
