// The welcome dialog over the headless view: its install and maintenance
// forms and results, which buttons show and where they move, the initial
// description, the texts it formats, the utility and Cancel.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "dialog_templates.h"
#include "results.h"
#include "support/library_paths.h"
#include "sys/environment.h"
#include "sys/modules.h"
#include "sys/object_tokens.h"
#include "sys/paths.h"
#include "sys/profile.h"
#include "sys/text_files.h"
#include "vlauto/autorun_fixture.h"

namespace {

// Cases print as their names in failure messages.
template <typename Case>
requires requires(const Case& c) { c.name; }
void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

using namespace vlauto;
using zebl_test::AutoRunTest;

std::string Text(const ui::HeadlessDialogView::Control& control) { return sys::Narrow(control.text); }

// ---- forms and results ----

struct FormCase {
    const char* name;
    int maintenance;
    const char* events;
    int result;
    const char* heading;
    const char* button1;
    const char* button2;
};

class WelcomeForms : public AutoRunTest, public ::testing::WithParamInterface<FormCase> {};

TEST_P(WelcomeForms, ShowTheirTextsAndEndWithTheButtonsNumber) {
    const FormCase& form = GetParam();
    EXPECT_EQ(form.result, Run(form.maintenance, std::string("question CWelcomeDlg = ") + form.events));
    const ui::HeadlessDialogView& welcome = Welcome();
    EXPECT_EQ(form.heading, Text(Control(welcome, kIdHeading)));
    EXPECT_EQ(form.button1, Text(Control(welcome, kIdButton1)));
    EXPECT_EQ(form.button2, Text(Control(welcome, kIdButton2)));
    EXPECT_EQ(u"Zebl LP-2400", welcome.Caption());
    EXPECT_EQ("Version 9.8.7", Text(Control(welcome, kIdVersion)));
    EXPECT_EQ("Cancel EN", Text(Control(welcome, kIdCancelButton)));
    EXPECT_EQ("Description", Text(Control(welcome, kIdDescriptionGroup)));
    EXPECT_EQ("Standard\nstart", Text(Control(welcome, kIdDescription)));
    EXPECT_TRUE(welcome.Centred());
    EXPECT_FALSE(welcome.AppWindowStyleDropped());  // no background window
    EXPECT_EQ(14, Control(welcome, kIdHeading).font.height);
    EXPECT_EQ(400, Control(welcome, kIdHeading).font.weight);
    EXPECT_EQ("WELCOME_BMP", Control(welcome, kIdPicture).bitmap);
    for (int id : {kIdHeading, kIdVersion, kIdDescriptionGroup, kIdDescription})
        EXPECT_TRUE(Control(welcome, id).onWhite) << id;
    EXPECT_TRUE(Shown(kManualTemplateId).empty());
}

INSTANTIATE_TEST_SUITE_P(
    Results, WelcomeForms,
    ::testing::Values(
        FormCase{"Automatic", 0, "click 1014", 6, "Welcome to Zebl LP-2400 Series, 100%", "Easy", "Custom"},
        FormCase{"Custom", 0, "click 1015", 7, "Welcome to Zebl LP-2400 Series, 100%", "Easy", "Custom"},
        FormCase{"Repair", 1, "click 1014", 9, "Zebl LP-2400 Series is installed", "Repair", "Remove"},
        FormCase{"Remove", 1, "click 1015", 10, "Zebl LP-2400 Series is installed", "Repair", "Remove"},
        // No VLEtc: Cancel counts as confirmed.
        FormCase{"Cancel", 0, "command 9", 3, "Welcome to Zebl LP-2400 Series, 100%", "Easy", "Custom"},
        FormCase{"CancelInMaintenance", 1, "command 9", 3, "Zebl LP-2400 Series is installed", "Repair",
                 "Remove"}),
    zebl_test::CaseName());

TEST_F(AutoRunTest, ADialogThatCannotBeMadeGivesMinusOne) {
    EXPECT_EQ(kResultCannotCreate, Run(0, "question CWelcomeDlg = cannot-create"));
}

TEST_F(AutoRunTest, UnderTheBackgroundWindowTheDialogDropsItsTaskbarButton) {
    info_.pBackgroundWnd = 1;
    Run(0, "question CWelcomeDlg = click 1014");
    EXPECT_TRUE(Welcome().AppWindowStyleDropped());
}

// ---- the single-component rule ----

struct ComponentCase {
    const char* name;
    std::vector<std::pair<const char*, int>> components;
    int maintenance;
    bool button2Shows;
};

class SingleComponentRule : public AutoRunTest, public ::testing::WithParamInterface<ComponentCase> {};

TEST_P(SingleComponentRule, HidesCustomInstallationOnlyForOneSingleLanguageComponent) {
    SetComponents(GetParam().components);
    Run(GetParam().maintenance, "question CWelcomeDlg = click 1014");
    EXPECT_EQ(GetParam().button2Shows, Control(Welcome(), kIdButton2).visible);
    EXPECT_TRUE(Control(Welcome(), kIdButton2).enabled);  // hidden, never disabled
}

INSTANTIATE_TEST_SUITE_P(
    Components, SingleComponentRule,
    ::testing::Values(ComponentCase{"OneComponent", {{"Printer Driver", 0}}, 0, false},
                      ComponentCase{"OneMultiLanguageComponent", {{"Printer Driver", 1}}, 0, true},
                      ComponentCase{"TwoComponents", {{"Printer Driver", 0}, {"Network Tool", 0}}, 0, true},
                      ComponentCase{"OneComponentInMaintenance", {{"Printer Driver", 0}}, 1, true},
                      // The walk ends at the first empty name.
                      ComponentCase{"NoComponent", {}, 0, true}),
    zebl_test::CaseName());

// ---- layout rules A and C ----

// The headless geometry: base units 6 x 13, a 3-pixel frame and an
// 18-pixel caption. The 331 x 222 template is a 497 x 361 client area in a
// 503 x 385 window, centred on the 1024 x 768 screen at (260, 191), so the
// client area starts at (263, 212). The image buttons are 303 x 39 pixels
// at x 183; button 1 at y 57, button 2 at 96, button 3 at 135, button 4 at 174.
struct LayoutCase {
    const char* name;
    bool utility;
    bool manual;
    ui::Rect button1;
    ui::Rect button2;
    ui::Rect button4;
    bool button3Shows;
    bool button4Shows;
};

class WelcomeLayout : public AutoRunTest, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(WelcomeLayout, MovesTheButtonsAsTheRulesSay) {
    const LayoutCase& layout = GetParam();
    if (!layout.utility) SetSetupValue("OTHER_UTIL", "OTHER_UTIL_DIRECTORY", "");
    if (!layout.manual) SetSetupValue("USER_MANUAL", "MANUAL_FILE_NAME", "Missing.pdf");
    Run(0, "question CWelcomeDlg = click 1014");
    const ui::HeadlessDialogView& welcome = Welcome();
    EXPECT_EQ(layout.button1, Control(welcome, kIdButton1).rect);
    EXPECT_EQ(layout.button2, Control(welcome, kIdButton2).rect);
    EXPECT_EQ(layout.button4, Control(welcome, kIdButton4).rect);
    EXPECT_EQ(layout.button3Shows, Control(welcome, kIdButton3).visible);
    EXPECT_EQ(layout.button3Shows, Control(welcome, kIdButton3).enabled);
    EXPECT_EQ(layout.button4Shows, Control(welcome, kIdButton4).visible);
    EXPECT_EQ(layout.button4Shows, Control(welcome, kIdButton4).enabled);
    EXPECT_TRUE(Control(welcome, kIdButton1).visible);
    EXPECT_TRUE(Control(welcome, kIdButton2).visible);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, WelcomeLayout,
    ::testing::Values(
        LayoutCase{
            "Both", true, true, {183, 57, 486, 96}, {183, 96, 486, 135}, {183, 174, 486, 213}, true, true},
        // A: button 4 to x = 446 - 260 - 2, y = (347 - 191) - 39 / 2.
        LayoutCase{"NoUtility",
                   false,
                   true,
                   {183, 57, 486, 96},
                   {183, 96, 486, 135},
                   {184, 137, 487, 176},
                   false,
                   true},
        LayoutCase{"NoManual",
                   true,
                   false,
                   {183, 57, 486, 96},
                   {183, 96, 486, 135},
                   {183, 174, 486, 213},
                   true,
                   false},
        // C: button 1 to (184, 269 - 191), button 2 to (184, (308 - 191) + 39 / 2).
        LayoutCase{"Neither",
                   false,
                   false,
                   {184, 78, 487, 117},
                   {184, 136, 487, 175},
                   {184, 137, 487, 176},
                   false,
                   false}),
    zebl_test::CaseName());

TEST_F(AutoRunTest, AFolderOfTheManualsNameCountsAsTheManual) {
    SetSetupValue("USER_MANUAL", "MANUAL_FILE_NAME", "Folder");
    WriteDiscFile(u"Manual\\English\\Folder\\inside.txt", "x");
    Run(0, "question CWelcomeDlg = click 1014");
    EXPECT_TRUE(Control(Welcome(), kIdButton4).visible);
}

TEST_F(AutoRunTest, AHiddenButtonGetsNoPointerEvents) {
    SetSetupValue("OTHER_UTIL", "OTHER_UTIL_DIRECTORY", "");
    EXPECT_EQ(kResultAutomatic, Run(0, "question CWelcomeDlg = hover 1016; click 1016; click 1014"));
    EXPECT_EQ("Standard\nstart", Text(Control(Welcome(), kIdDescription)));
    EXPECT_TRUE(Asked("ShellExecute").empty());
}

// ---- the initial description ----

struct DescriptionCase {
    const char* name;
    const char* choice;
    const char* component;
    const char* printer;
    const char* description;
};

class InitialDescription : public AutoRunTest, public ::testing::WithParamInterface<DescriptionCase> {};

TEST_P(InitialDescription, FollowsTheChoiceAndThePrinterNames) {
    const DescriptionCase& test = GetParam();
    SetSetupValue("START", "CHANGE_WELCOME_DLG_INIT_STR", test.choice);
    SetComponents({{"Status Monitor", 0}, {test.component, 0}});
    SetSetupValue("START", "ROOT_COMPONENT_1_PRINTER_NAME", test.printer);
    Run(0, "question CWelcomeDlg = hover 1014; leave 1014");
    EXPECT_EQ(test.description, Text(Control(Welcome(), kIdDescription)));
}

INSTANTIATE_TEST_SUITE_P(
    Choices, InitialDescription,
    ::testing::Values(
        // The alternative texts keep their "\n" as written.
        DescriptionCase{"PclPrinter", "0", "Printer Driver", "Zebl pcl 6", "Alternative\\none two"},
        DescriptionCase{"OtherPrinter", "0", "Printer Driver", "Zebl LP-2400", "Standard\nstart"},
        DescriptionCase{"PclButNotAPrinterComponent", "0", "Scanner", "Zebl PCL", "Standard\nstart"},
        DescriptionCase{"EmptyChoice", "", "printer driver", "PCL", "Alternative\\none two"},
        DescriptionCase{"ChoiceTwoWinsOverPcl", "2", "Printer Driver", "Zebl PCL", "Standard\nstart"},
        DescriptionCase{"ChoiceOneAlways", "1", "Scanner", "", "Alternative\\none two"},
        // Four bytes of buffer: "12" reads as 12, any other value.
        DescriptionCase{"OtherNumber", "12", "Printer Driver", "Zebl LP-2400", "Standard\nstart"}),
    zebl_test::CaseName());

// ---- hover texts ----

struct HoverCase {
    const char* name;
    int maintenance;
    int button;
    const char* text;
};

class WelcomeHover : public AutoRunTest, public ::testing::WithParamInterface<HoverCase> {};

TEST_P(WelcomeHover, ShowsTheButtonsTextFormattedWithTheProduct) {
    Run(GetParam().maintenance, "question CWelcomeDlg = hover " + std::to_string(GetParam().button));
    EXPECT_EQ(GetParam().text, Text(Control(Welcome(), kIdDescription)));
}

INSTANTIATE_TEST_SUITE_P(Buttons, WelcomeHover,
                         ::testing::Values(HoverCase{"Automatic", 0, 1014, "Easy for Zebl LP-2400 Series"},
                                           HoverCase{"Custom", 0, 1015, "Custom for Zebl LP-2400 Series"},
                                           HoverCase{"Repair", 1, 1014, "Repair Zebl LP-2400 Series"},
                                           HoverCase{"Remove", 1, 1015, "Remove Zebl LP-2400 Series"},
                                           HoverCase{"UtilityWithLineBreak", 0, 1016,
                                                     "Tool line one\nline two"},
                                           HoverCase{"Manual", 1, 1017, "Manuals of Zebl LP-2400 Series"}),
                         zebl_test::CaseName());

// ---- normal-weight text ----

struct WeightCase {
    const char* language;
    int32_t weight;
};

class ButtonWeight : public AutoRunTest, public ::testing::WithParamInterface<WeightCase> {};

TEST_P(ButtonWeight, TraditionalAndSimplifiedChineseDrawNormalWeight) {
    SetText(info_.szLanguage, GetParam().language);
    Run(0, "question CWelcomeDlg = click 1014");
    for (int id : {kIdButton1, kIdButton2, kIdButton3, kIdButton4})
        EXPECT_EQ(GetParam().weight, Control(Welcome(), id).FontWeight()) << id;
}

INSTANTIATE_TEST_SUITE_P(Languages, ButtonWeight,
                         ::testing::Values(WeightCase{"CT", 400}, WeightCase{"ct", 400},
                                           WeightCase{"cP", 400}, WeightCase{"EN", 700},
                                           WeightCase{"CTX", 700}),
                         [](const auto& param) { return std::string(param.param.language); });

// ---- keys ----

TEST_F(AutoRunTest, EscapeCtrlBreakAndAltF4DoNotCloseTheDialog) {
    EXPECT_EQ(kResultAutomatic,
              Run(0, "question CWelcomeDlg = key escape; key ctrl+break; key alt+f4; key f4; click 1014"));
    int swallowed = 0;
    for (const std::string& line : Welcome().Transcript()) swallowed += line == "key swallowed";
    EXPECT_EQ(4, swallowed);
}

// ---- Cancel through VLEtc's SdCancel ----

struct CancelCase {
    const char* answer;
    int result;
};

class WelcomeCancel : public AutoRunTest, public ::testing::WithParamInterface<CancelCase> {
protected:
    void SetUp() override {
        AutoRunTest::SetUp();
        etc_ = sys::LoadLibrary(sys::JoinPath(zebl_test::StandInFolder(), u"VLEtc.Dll"));
        ASSERT_NE(nullptr, etc_);
        info_.hEtcDll = sys::TokenOf(etc_);
    }
    void TearDown() override {
        if (etc_ != nullptr) sys::FreeLibrary(etc_);
    }
    sys::ModuleHandle etc_ = nullptr;
};

TEST_P(WelcomeCancel, LeavesOnlyWhenSdCancelAnswersFour) {
    const std::string rules = std::string("question SdCancel = ") + GetParam().answer +
                              "\nquestion CWelcomeDlg = command 9; click 1015\n";
    EXPECT_EQ(GetParam().result, Run(0, rules));
    const auto asked = Asked("SdCancel");
    ASSERT_EQ(1u, asked.size());
    // It got the record: the model is in what the stand-in describes.
    EXPECT_NE(std::string::npos, asked[0].detail.find("Zebl LP-2400")) << asked[0].detail;
}

INSTANTIATE_TEST_SUITE_P(Answers, WelcomeCancel,
                         ::testing::Values(CancelCase{"4", kResultLeave}, CancelCase{"1", kResultCustom},
                                           CancelCase{"3", kResultCustom}, CancelCase{"0", kResultCustom}),
                         [](const auto& param) { return std::string("Answer") + param.param.answer; });

// ---- the other utility ----

struct UtilityCase {
    const char* language;
    const char* parameters;
};

class OtherUtility : public AutoRunTest, public ::testing::WithParamInterface<UtilityCase> {};

TEST_P(OtherUtility, WritesWinIniThenStartsTheUtilityWithItsLanguageAndLeaves) {
    SetText(info_.szLanguage, GetParam().language);
    ASSERT_TRUE(sys::WritePrivateProfileString(u"Settings", u"Fax", u"old", u"Win.ini"));
    EXPECT_EQ(kResultLeave, Run(0, "question CWelcomeDlg = click 1016"));
    const auto started = Asked("ShellExecute");
    ASSERT_EQ(1u, started.size());
    EXPECT_EQ("open Tool.exe " + std::string(GetParam().parameters) + " " + sys::ToCodePage(Disc(u"Utility")),
              started[0].detail);

    char16_t value[64] = {};
    sys::GetPrivateProfileString(u"Settings", u"ModelName", u"-", value, 64, u"Win.ini");
    EXPECT_EQ(u"Zebl LP-2400 Series", sys::WString(value));
    sys::GetPrivateProfileString(u"Settings", u"SmartMedia", u"-", value, 64, u"Win.ini");
    EXPECT_EQ(u"1", sys::WString(value));
    sys::GetPrivateProfileString(u"Settings", u"EMail", u"-", value, 64, u"Win.ini");
    EXPECT_EQ(u"mail", sys::WString(value));
    sys::GetPrivateProfileString(u"Settings", u"Fax", u"-", value, 64, u"Win.ini");
    EXPECT_EQ(u"-", sys::WString(value));  // empty on the disc: deleted
}

INSTANTIATE_TEST_SUITE_P(Languages, OtherUtility,
                         ::testing::Values(UtilityCase{"EN", "/L1033"}, UtilityCase{"GR", "/L1031"},
                                           // BP uses Portuguese's code instead.
                                           UtilityCase{"BP", "/L2070"}, UtilityCase{"XX", "/L"}),
                         [](const auto& param) { return std::string(param.param.language); });

// The trace and the question log written to one file keep the order in
// which the menu worked: win.ini was written before the utility's launch
// was asked for.
TEST_F(AutoRunTest, WinIniIsWrittenBeforeTheUtilityStarts) {
    const sys::WString journal = temp_.Join(u"order.log");
    const std::optional<sys::WString> savedTrace = sys::GetEnvironmentVariable(u"ZEBL_SETUP_TRACE");
    sys::SetEnvironmentVariable(u"ZEBL_SETUP_TRACE", journal);
    // The answer script is made by the run; its log joins the trace before
    // the first dialog asks anything.
    beforeView_ = [&](size_t) { sys::SetEnvironmentVariable(u"ZSYS_ANSWER_LOG", journal); };
    const int result = Run(0, "question CWelcomeDlg = click 1016");
    sys::SetEnvironmentVariable(u"ZEBL_SETUP_TRACE", savedTrace);
    EXPECT_EQ(kResultLeave, result);

    std::string text;
    ASSERT_TRUE(sys::ReadTextFile(journal, &text));
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) lines.push_back(line);
    const auto first = [&](const std::string& prefix) {
        return std::find_if(lines.begin(), lines.end(),
                            [&](const std::string& line) { return line.starts_with(prefix); }) -
               lines.begin();
    };
    const auto written = first("MyWriteWinIni End");
    const auto launched = first("question=ShellExecute\t");
    ASSERT_LT(launched, static_cast<std::ptrdiff_t>(lines.size())) << text;
    ASSERT_LT(written, static_cast<std::ptrdiff_t>(lines.size())) << text;
    EXPECT_LT(written, launched) << text;
    EXPECT_LT(first("MyWriteWinIni Start"), written) << text;
}

TEST_F(AutoRunTest, AUtilityThatDoesNotStartStillEndsTheMenu) {
    EXPECT_EQ(kResultLeave, Run(0, "question ShellExecute = 2\nquestion CWelcomeDlg = click 1016"));
}

}  // namespace
