#include "welcome_dialog.h"

#include <utility>

#include "common/trace.h"
#include "dialog_templates.h"
#include "ini_value.h"
#include "init_description.h"
#include "manual_dialog.h"
#include "results.h"
#include "sys/files.h"
#include "sys/message_box.h"
#include "sys/process.h"
#include "sys/shell.h"
#include "win_ini.h"

namespace vlauto {
namespace {

constexpr int32_t kHeadingHeight = 14;

// Image buttons and their texts, in order: button 1 to 4.
struct ButtonTexts {
    int id;
    const char16_t* section;  // of the language file
    const char16_t* hoverKey;
};
constexpr ButtonTexts kInstallHover[] = {
    {kIdButton1, u"START", u"AUTO_STATIC_TEXT"},
    {kIdButton2, u"START", u"CUSTOM_STATIC_TEXT"},
    {kIdButton3, u"START", u"OTHER_UTIL_STATIC_TEXT"},
    {kIdButton4, u"START", u"MANUAL_STATIC_TEXT"},
};
constexpr ButtonTexts kMaintenanceHover[] = {
    {kIdButton1, u"MAINTANENCE", u"REPAIR_STATIC_TEXT"},
    {kIdButton2, u"MAINTANENCE", u"REMOVE_STATIC_TEXT"},
    {kIdButton3, u"START", u"OTHER_UTIL_STATIC_TEXT"},
    {kIdButton4, u"START", u"MANUAL_STATIC_TEXT"},
};

// The parts with a backslash between each two, empty parts included, as
// "%s\%s\%s" makes them.
sys::WString Join(std::initializer_list<sys::WStringView> parts) {
    sys::WString path;
    bool first = true;
    for (sys::WStringView part : parts) {
        if (!first) path += u'\\';
        path += part;
        first = false;
    }
    return path;
}

// Counts the files (not folders) a search finds.
size_t CountFiles(sys::WStringView pattern) {
    size_t files = 0;
    for (const sys::DirEntry& entry : sys::ListDirectory(pattern))
        if ((entry.attributes & sys::kAttrDirectory) == 0) ++files;
    return files;
}

}  // namespace

CWelcomeDlg::CWelcomeDlg(ui::DialogView& view, const InstallInfo& info, int maintenance,
                         DialogViewFactory makeView)
    : CAutoRunDialog(view, info), m_nMaintenance(maintenance), makeView_(std::move(makeView)) {}

void CWelcomeDlg::OnInitDialog() {
    MyTrace("CWelcomeDlg::OnInitDialog Start");
    PrepareWindow();
    m_strSetupDataFile = RecordText(Info().szSetupDataFile);
    m_strLanguageFile = RecordText(Info().szLanguageFile);
    const sys::WString setupDirectory = RecordText(Info().szSetupDirectory);
    m_strAutorunInf = Join({setupDirectory, u"Autorun.Inf"});

    m_strManualPath =
        Join({setupDirectory, MyGetIniValue(u"USER_MANUAL", u"MANUAL_DIRECTORY", m_strSetupDataFile),
              RecordText(Info().szLanguageDirectory),
              MyGetIniValue(u"USER_MANUAL", u"MANUAL_FILE_NAME", m_strSetupDataFile)});
    const sys::WString utilityDirectory =
        MyGetIniValue(u"OTHER_UTIL", u"OTHER_UTIL_DIRECTORY", m_strSetupDataFile);
    m_strUtilityFolder =
        Join({setupDirectory, utilityDirectory.empty() ? u"NOTEXISTFOLDER" : utilityDirectory});

    view_.SetCaption(RecordText(Info().szModelName));
    const sys::WString cancelText = MyGetIniValue(u"COMMON", u"CANCEL_BUTTON_TEXT", m_strLanguageFile);
    const sys::WString version = MyGetIniValue(u"INSTALLER_VERSION", u"VERSION", m_strAutorunInf);
    const sys::WString groupText = MyGetIniValue(u"START", u"DESCRIPTION_GROUP_TEXT", m_strLanguageFile);

    m_strInitDescription = MyGetInitDescription(Info());

    const bool maintenance = m_nMaintenance != 0;
    const sys::WStringView section = maintenance ? u"MAINTANENCE" : u"START";
    const sys::WString heading =
        MyGetIniValue(section, maintenance ? u"MAINTANENCE_TEXT" : u"WELCOME_TEXT", m_strLanguageFile);
    const sys::WString button1 =
        MyGetIniValue(section, maintenance ? u"REPAIR_BUTTON_TEXT" : u"AUTO_BUTTON_TEXT", m_strLanguageFile);
    const sys::WString button2 = MyGetIniValue(
        section, maintenance ? u"REMOVE_BUTTON_TEXT" : u"CUSTOM_BUTTON_TEXT", m_strLanguageFile);

    SetHeading(FormatWithArgument(heading, RecordText(Info().szProductName)), kHeadingHeight);
    SetupImageButton(kIdButton1, button1);
    SetupImageButton(kIdButton2, button2);
    SetUpOptionalButtons();

    view_.SetControlText(kIdVersion, version);
    view_.SetControlText(kIdCancelButton, cancelText);
    view_.SetControlText(kIdDescription, m_strInitDescription);
    view_.SetControlText(kIdDescriptionGroup, groupText);
    PreparePainting({kIdHeading, kIdVersion, kIdDescriptionGroup, kIdDescription});

    if (UsesNormalWeightText(Info()))
        for (int id : {kIdButton1, kIdButton2, kIdButton3, kIdButton4}) view_.SetNormalWeight(id, true);
    if (!maintenance) ApplySingleComponentRule();
    MyTrace("CWelcomeDlg::OnInitDialog End");
}

void CWelcomeDlg::SetUpOptionalButtons() {
    const bool utility = MyPathExists(m_strUtilityFolder);
    const bool manual = MyPathExists(m_strManualPath);
    if (utility) {
        SetupImageButton(kIdButton3, MyGetIniValue(u"START", u"OTHER_UTIL_BUTTON_TEXT", m_strLanguageFile));
    } else {
        view_.ShowControl(kIdButton3, false);
        view_.EnableControl(kIdButton3, false);
        MoveIntoButton3Place();
    }
    if (manual) {
        SetupImageButton(kIdButton4, MyGetIniValue(u"START", u"MANUAL_BUTTON_TEXT", m_strLanguageFile));
    } else {
        view_.ShowControl(kIdButton4, false);
        view_.EnableControl(kIdButton4, false);
    }
    if (!utility && !manual) MoveButtonsDown();
}

// The rectangles are window rectangles on the screen, D the dialog's with
// its frame and caption, so the positions carry the frame's offset.
void CWelcomeDlg::MoveIntoButton3Place() {
    const ui::Rect dialog = view_.DialogWindowRect();
    const ui::Rect button3 = view_.ControlWindowRect(kIdButton3);
    view_.MoveControl(kIdButton4, button3.left - dialog.left - 2,
                      (button3.top - dialog.top) - button3.Height() / 2, button3.Width(), button3.Height());
    view_.ShowControl(kIdButton4, true);
}

void CWelcomeDlg::MoveButtonsDown() {
    const ui::Rect dialog = view_.DialogWindowRect();
    const ui::Rect button1 = view_.ControlWindowRect(kIdButton1);
    const ui::Rect button2 = view_.ControlWindowRect(kIdButton2);
    view_.MoveControl(kIdButton1, button1.left - dialog.left - 2, button1.top - dialog.top, button1.Width(),
                      button1.Height());
    view_.ShowControl(kIdButton1, true);
    view_.MoveControl(kIdButton2, button2.left - dialog.left - 2,
                      (button2.top - dialog.top) + button2.Height() / 2, button2.Width(), button2.Height());
    view_.ShowControl(kIdButton2, true);
}

// One component that does not carry every language itself: nothing to
// customise, so no custom installation (the button stays enabled).
void CWelcomeDlg::ApplySingleComponentRule() {
    int count = 0;
    for (uint32_t slot = 0; slot < kInstallInfoSlots && Info().pCompnet[slot][0] != '\0'; ++slot) {
        ++count;
        if (Info().bMultiLanguage[slot] != 0) {
            ++count;
            break;
        }
    }
    if (count == 1) view_.ShowControl(kIdButton2, false);
}

void CWelcomeDlg::OnButtonHover(int notifyId) {
    for (const ButtonTexts& button : m_nMaintenance != 0 ? kMaintenanceHover : kInstallHover) {
        if (button.id != notifyId) continue;
        const sys::WString text = MyGetIniValue(button.section, button.hoverKey, m_strLanguageFile);
        view_.SetControlText(kIdDescription, FormatWithArgument(text, RecordText(Info().szProductName)));
    }
}

void CWelcomeDlg::OnButtonLeave(int) { view_.SetControlText(kIdDescription, m_strInitDescription); }

void CWelcomeDlg::OnButtonClicked(int notifyId) {
    const bool maintenance = m_nMaintenance != 0;
    switch (notifyId) {
        case kIdButton1: view_.EndDialog(maintenance ? kResultRepair : kResultAutomatic); break;
        case kIdButton2: view_.EndDialog(maintenance ? kResultRemove : kResultCustom); break;
        case kIdButton3: MyRunOtherUtility(); break;
        case kIdButton4: MyShowManual(); break;
        default: break;
    }
}

void CWelcomeDlg::OnCommand(int controlId) {
    if (controlId == kIdCancelButton) OnCancelButton();
    else if (controlId == sys::kIdOk || controlId == sys::kIdCancel) view_.EndDialog(controlId);
}

void CWelcomeDlg::MyRunOtherUtility() {
    MyTrace("MyRunOtherUtility Start");
    const sys::WString directory = MyGetIniValue(u"OTHER_UTIL", u"OTHER_UTIL_DIRECTORY", m_strSetupDataFile);
    const sys::WString file = MyGetIniValue(u"OTHER_UTIL", u"OTHER_UTIL_FILE", m_strSetupDataFile);
    const sys::WString language = RecordText(Info().szLanguage);
    const sys::WString customLanguage =
        MyGetIniValue(u"OTHER_UTIL_CUSTOM_LANG", language, m_strSetupDataFile);
    const sys::WString folder = Join({RecordText(Info().szSetupDirectory), directory});
    const sys::WString code =
        MyGetIniValue(u"LANGUAGE_CODE_DEFAULT_LANG", customLanguage.empty() ? language : customLanguage,
                      m_strSetupDataFile);
    MyWriteWinIni(Info());
    // Whether it started is not examined: the menu has done its part.
    sys::ShellExecute(u"open", file, u"/L" + code, folder, sys::kSwShowNormal);
    view_.EndDialog(kResultLeave);
    MyTrace("MyRunOtherUtility End");
}

void CWelcomeDlg::MyShowManual() {
    MyTrace("MyShowManual Start");
    const sys::WString folder = Join({RecordText(Info().szSetupDirectory),
                                      MyGetIniValue(u"USER_MANUAL", u"MANUAL_DIRECTORY", m_strSetupDataFile),
                                      RecordText(Info().szLanguageDirectory)});
    if (CountFiles(folder + u"\\*.*") >= 2) {
        view_.EndDialog(kResultManualDialog);
    } else {
        // One manual (or none): opened from here by a manual dialog that never shows.
        const std::shared_ptr<ui::DialogView> unshown = makeView_(ManualTemplate());
        CManualDlg manual(*unshown, Info());
        if (manual.MyDriverManualAction()) view_.EndDialog(kResultLeave);
    }
    MyTrace("MyShowManual End");
}

}  // namespace vlauto
