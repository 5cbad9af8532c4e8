#include "vlauto/autorun_fixture.h"

#include <cstring>

#include "autorun.h"
#include "support/file_bytes.h"
#include "sys/files.h"
#include "sys/paths.h"
#include "sys/profile.h"

namespace zebl_test {
namespace {

constexpr char kSetupData[] =
    "[START]\r\n"
    "CHANGE_WELCOME_DLG_INIT_STR=0\r\n"
    "ROOT_COMPONENT_0_PRINTER_NAME=Zebl LP-2400\r\n"
    "[USER_MANUAL]\r\n"
    "MANUAL_DIRECTORY=Manual\r\n"
    "MANUAL_FILE_NAME=LP2400.pdf\r\n"
    "DOCKWAVE_MANUAL_FILE_NAME=DockWave.pdf\r\n"
    "ACROBAT_DIRECTORY=Reader\r\n"
    "ACROBAT_FILE_NAME=ReaderSetup.exe\r\n"
    "[OTHER_UTIL]\r\n"
    "OTHER_UTIL_DIRECTORY=Utility\r\n"
    "OTHER_UTIL_FILE=Tool.exe\r\n"
    "[OTHER_UTIL_CUSTOM_LANG]\r\n"
    "BP=PT\r\n"
    "[LANGUAGE_CODE_DEFAULT_LANG]\r\n"
    "EN=1033\r\nGR=1031\r\nPT=2070\r\nBP=1046\r\nCT=1028\r\n"
    "[DOCKWAVE]\r\n"
    "SmartMedia=1\r\n"
    "EMail=mail\r\n"
    "Fax=\r\n";

constexpr char kLanguage[] =
    "[COMMON]\r\n"
    "CANCEL_BUTTON_TEXT=Cancel EN\r\n"
    "BACK_BUTTON_TEXT=Back EN\r\n"
    "[START]\r\n"
    "DESCRIPTION_GROUP_TEXT=Description\r\n"
    "WELCOME_TEXT=Welcome to %s, 100%%\r\n"
    "AUTO_BUTTON_TEXT=Easy\r\n"
    "CUSTOM_BUTTON_TEXT=Custom\r\n"
    "OTHER_UTIL_BUTTON_TEXT=Tool\r\n"
    "MANUAL_BUTTON_TEXT=Manual\r\n"
    "AUTO_STATIC_TEXT=Easy for %s\r\n"
    "CUSTOM_STATIC_TEXT=Custom for %s\r\n"
    "OTHER_UTIL_STATIC_TEXT=Tool line one\\nline two\r\n"
    "MANUAL_STATIC_TEXT=Manuals of %s\r\n"
    "INIT_DISCRIPTION=Standard\\nstart\r\n"
    "INIT_DISCRIPTION_1=Alternative\\none\r\n"
    "INIT_DISCRIPTION_2=two\r\n"
    "ACROBAT_REDER_TEXT=Install a reader for the %s?\r\n"
    "ACROBAT_REDER_TEXT_2=No reader for the %s.\r\n"
    "[MAINTANENCE]\r\n"
    "MAINTANENCE_TEXT=%s is installed\r\n"
    "REPAIR_BUTTON_TEXT=Repair\r\n"
    "REMOVE_BUTTON_TEXT=Remove\r\n"
    "REPAIR_STATIC_TEXT=Repair %s\r\n"
    "REMOVE_STATIC_TEXT=Remove %s\r\n"
    "[MANUAL]\r\n"
    "MANUAL_TITLE=Manuals\r\n"
    "MANUAL_DRIVER=%s Manual\r\n"
    "MANUAL_DOCKWAVE=DockWave %s\r\n"
    "MANUAL_INIT_DISCRIPTION=Choose one\r\n"
    "MANUAL_DRIVER_DESCRIPTION=Printing with %s\r\n"
    "MANUAL_DOCKWAVE_DESCRIPTION=Scanning with %s\r\n";

// The system's language file: only the texts the manual dialog takes from it.
constexpr char kSystemLanguage[] =
    "[COMMON]\r\n"
    "CANCEL_BUTTON_TEXT=Abbrechen\r\n"
    "BACK_BUTTON_TEXT=Zurueck\r\n";

}  // namespace

void AutoRunTest::SetUp() {
    WriteDiscFile(u"SETUP.DAT", kSetupData);
    WriteDiscFile(u"DATA\\Lang_EN.Dat", kLanguage);
    WriteDiscFile(u"DATA\\Lang_GR.Dat", kSystemLanguage);
    WriteDiscFile(u"Autorun.Inf", "[INSTALLER_VERSION]\r\nVERSION=Version 9.8.7\r\n");
    WriteDiscFile(u"Utility\\Tool.exe", "tool");
    WriteDiscFile(u"Manual\\English\\LP2400.pdf", "%PDF");
    WriteDiscFile(u"Reader\\English\\ReaderSetup.exe", "reader");

    SetText(info_.szSetupDirectory, sys::ToCodePage(Disc(u"")));
    SetText(info_.szSetupDataFile, sys::ToCodePage(Disc(u"SETUP.DAT")));
    SetText(info_.szLanguageFile, sys::ToCodePage(Disc(u"DATA\\Lang_EN.Dat")));
    SetText(info_.szSystemLanguageFile, sys::ToCodePage(Disc(u"DATA\\Lang_GR.Dat")));
    SetText(info_.szLanguage, "EN");
    SetText(info_.szLanguageDirectory, "English");
    SetText(info_.szProductName, "Zebl LP-2400 Series");
    SetText(info_.szModelName, "Zebl LP-2400");
    SetComponents({{"Printer Driver", 0}, {"Status Monitor", 1}});
}

sys::WString AutoRunTest::Disc(sys::WStringView relative) const {
    const sys::WString root = temp_.Join(u"Disc");
    return relative.empty() ? root : sys::JoinPath(root, relative);
}

void AutoRunTest::WriteDiscFile(sys::WStringView relative, std::string_view bytes) const {
    const sys::WString path = Disc(relative);
    // Each folder from the disc's root down.
    for (size_t at = temp_.Path().size() + 1; (at = path.find(u'\\', at)) != sys::WString::npos; ++at)
        sys::CreateDirectory(path.substr(0, at));
    ASSERT_TRUE(WriteFileBytes(path, bytes.data(), bytes.size())) << sys::Narrow(path);
}

void AutoRunTest::SetSetupValue(const char* section, const char* key, const char* value) const {
    ASSERT_TRUE(sys::WritePrivateProfileString(sys::Widen(section), sys::Widen(key), sys::Widen(value),
                                               Disc(u"SETUP.DAT")));
}

void AutoRunTest::SetLanguageValue(const char* section, const char* key, const char* value) const {
    ASSERT_TRUE(sys::WritePrivateProfileString(sys::Widen(section), sys::Widen(key), sys::Widen(value),
                                               Disc(u"DATA\\Lang_EN.Dat")));
}

void AutoRunTest::SetText(InstallInfoText& field, const std::string& text) {
    ASSERT_LT(text.size(), sizeof field);
    std::memset(field, 0, sizeof field);
    std::memcpy(field, text.data(), text.size());
}

void AutoRunTest::SetComponents(const std::vector<std::pair<const char*, int>>& components) {
    std::memset(info_.pCompnet, 0, sizeof info_.pCompnet);
    std::memset(info_.bMultiLanguage, 0, sizeof info_.bMultiLanguage);
    uint32_t slot = 0;
    for (const auto& [name, multiLanguage] : components) {
        SetText(info_.pCompnet[slot], name);
        info_.bMultiLanguage[slot++] = multiLanguage;
    }
}

int AutoRunTest::Run(int maintenance, const std::string& rules) {
    script_ = std::make_unique<AnswerScript>(rules + "\nquestion ShellExecute = 42\n");
    views_.clear();
    const vlauto::DialogViewFactory makeView = [this](const ui::DialogTemplate& dialogTemplate) {
        if (beforeView_) beforeView_(views_.size());
        auto view = std::make_shared<ui::HeadlessDialogView>(dialogTemplate);
        views_.emplace_back(dialogTemplate.id, view);
        return view;
    };
    return vlauto::MyRunAutoRun(info_, maintenance, makeView);
}

std::vector<std::shared_ptr<ui::HeadlessDialogView>> AutoRunTest::Shown(int templateId) const {
    std::vector<std::shared_ptr<ui::HeadlessDialogView>> shown;
    for (const auto& [id, view] : views_)
        if (id == templateId && !view->Transcript().empty() && view->Transcript().front() == "init")
            shown.push_back(view);
    return shown;
}

const ui::HeadlessDialogView& AutoRunTest::Welcome() const {
    const auto shown = Shown(129);
    static const ui::HeadlessDialogView kNone{ui::DialogTemplate{}};
    EXPECT_FALSE(shown.empty());
    return shown.empty() ? kNone : *shown.back();
}

const ui::HeadlessDialogView::Control& AutoRunTest::Control(const ui::HeadlessDialogView& view,
                                                            int id) const {
    static const ui::HeadlessDialogView::Control kNone;
    const ui::HeadlessDialogView::Control* control = view.FindControl(id);
    EXPECT_NE(nullptr, control) << id;
    return control != nullptr ? *control : kNone;
}

std::vector<AskedQuestion> AutoRunTest::Asked(const std::string& name) const {
    std::vector<AskedQuestion> found;
    if (script_)
        for (const AskedQuestion& question : script_->Questions())
            if (question.name == name) found.push_back(question);
    return found;
}

}  // namespace zebl_test
