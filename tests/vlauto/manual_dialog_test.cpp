// The manual action of the welcome dialog, the user-manual dialog and the
// Back loop, and MyOpenManual's reader offer, over the headless view.
#include <gtest/gtest.h>

#include <ostream>

#include "dialog_templates.h"
#include "results.h"
#include "sys/message_box.h"
#include "sys/paths.h"
#include "vlauto/autorun_fixture.h"

namespace {

// Cases print as their names in failure messages.
template <typename Case>
requires requires(const Case& c) { c.name; }
void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

using namespace vlauto;
using zebl_test::AutoRunTest;

std::string Text(const ui::HeadlessDialogView::Control& control) { return sys::Narrow(control.text); }

class ManualTest : public AutoRunTest {
protected:
    void AddDockwaveManual() { WriteDiscFile(u"Manual\\English\\DockWave.pdf", "%PDF"); }
    std::string ManualFolder() const { return sys::ToCodePage(Disc(u"Manual\\English")); }
    std::string ReaderFolder() const { return sys::ToCodePage(Disc(u"Reader\\English")); }
};

TEST_F(ManualTest, OneManualOpensDirectlyWithoutTheManualDialog) {
    EXPECT_EQ(kResultLeave, Run(0, "question CWelcomeDlg = click 1017"));
    EXPECT_TRUE(Shown(kManualTemplateId).empty());
    const auto opened = Asked("ShellExecute");
    ASSERT_EQ(1u, opened.size());
    EXPECT_EQ("open LP2400.pdf  " + ManualFolder(), opened[0].detail);
}

TEST_F(ManualTest, AFolderInTheManualFolderIsNoSecondManual) {
    WriteDiscFile(u"Manual\\English\\Images\\cover.bmp", "BM");
    EXPECT_EQ(kResultLeave, Run(0, "question CWelcomeDlg = click 1017"));
    EXPECT_TRUE(Shown(kManualTemplateId).empty());
}

TEST_F(ManualTest, TwoManualsShowTheManualDialogWithItsTexts) {
    AddDockwaveManual();
    EXPECT_EQ(kResultLeave, Run(0, "question CWelcomeDlg = click 1017\nquestion CManualDlg = click 103"));
    const auto manuals = Shown(kManualTemplateId);
    ASSERT_EQ(1u, manuals.size());
    const ui::HeadlessDialogView& manual = *manuals[0];
    EXPECT_EQ(u"Zebl LP-2400", manual.Caption());
    EXPECT_EQ("Manuals", Text(Control(manual, kIdHeading)));
    EXPECT_EQ(12, Control(manual, kIdHeading).font.height);
    // The driver's text shows the model; the application's stays as written.
    EXPECT_EQ("Zebl LP-2400 Manual", Text(Control(manual, kIdDriverManual)));
    EXPECT_EQ("DockWave %s", Text(Control(manual, kIdDockwaveManual)));
    // Cancel and Back speak the system's language.
    EXPECT_EQ("Abbrechen", Text(Control(manual, kIdCancelButton)));
    EXPECT_EQ("Zurueck", Text(Control(manual, kIdBackButton)));
    EXPECT_EQ("Description", Text(Control(manual, kIdDescriptionGroup)));
    EXPECT_EQ("Choose one", Text(Control(manual, kIdDescription)));
    for (int id : {kIdDriverManual, kIdDockwaveManual}) EXPECT_EQ(700, Control(manual, id).FontWeight());
    const auto opened = Asked("ShellExecute");
    ASSERT_EQ(1u, opened.size());
    EXPECT_EQ("open DockWave.pdf  " + ManualFolder(), opened[0].detail);
}

TEST_F(ManualTest, SimplifiedChineseDrawsBothManualButtonsAtNormalWeight) {
    AddDockwaveManual();
    SetText(info_.szLanguage, "CP");
    Run(0, "question CWelcomeDlg = click 1017\nquestion CManualDlg = click 102");
    const auto manuals = Shown(kManualTemplateId);
    ASSERT_EQ(1u, manuals.size());
    for (int id : {kIdDriverManual, kIdDockwaveManual}) EXPECT_EQ(400, Control(*manuals[0], id).FontWeight());
}

struct ManualHoverCase {
    const char* name;
    const char* events;
    const char* description;
};

class ManualHover : public ManualTest, public ::testing::WithParamInterface<ManualHoverCase> {};

TEST_P(ManualHover, ShowsTheManualsDescription) {
    AddDockwaveManual();
    Run(0, std::string("question CWelcomeDlg = click 1017\nquestion CManualDlg = ") + GetParam().events +
               "; command 9");
    const auto manuals = Shown(kManualTemplateId);
    ASSERT_EQ(1u, manuals.size());
    EXPECT_EQ(GetParam().description, Text(Control(*manuals[0], kIdDescription)));
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, ManualHover,
    ::testing::Values(ManualHoverCase{"Driver", "hover 102", "Printing with Zebl LP-2400 Series"},
                      ManualHoverCase{"Dockwave", "hover 103", "Scanning with Zebl LP-2400 Series"},
                      ManualHoverCase{"Leave", "hover 103; leave 103", "Choose one"}),
    zebl_test::CaseName());

TEST_F(ManualTest, BackShowsANewWelcomeDialogThatRereadsItsFiles) {
    AddDockwaveManual();
    // Views come in pairs, welcome and manual, per round: before the second
    // round's pair the disc changes, as if another disc were in the drive.
    beforeView_ = [this](size_t made) {
        if (made != 2) return;
        SetLanguageValue("START", "WELCOME_TEXT", "Welcome again");
        SetSetupValue("OTHER_UTIL", "OTHER_UTIL_DIRECTORY", "");
    };
    const std::string rules =
        "once question CWelcomeDlg = click 1017\n"
        "question CManualDlg = command 2\n"
        "question CWelcomeDlg = click 1014\n";
    EXPECT_EQ(kResultAutomatic, Run(0, rules));
    const auto welcomes = Shown(kWelcomeTemplateId);
    ASSERT_EQ(2u, welcomes.size());
    EXPECT_EQ(1u, Shown(kManualTemplateId).size());
    EXPECT_EQ("Welcome to Zebl LP-2400 Series, 100%", Text(Control(*welcomes[0], kIdHeading)));
    EXPECT_EQ("Welcome again", Text(Control(*welcomes[1], kIdHeading)));
    EXPECT_TRUE(Control(*welcomes[0], kIdButton3).visible);
    EXPECT_FALSE(Control(*welcomes[1], kIdButton3).visible);
}

TEST_F(ManualTest, TheManualDialogsCancelAsksSdCancel) {
    AddDockwaveManual();
    EXPECT_EQ(kResultLeave,
              Run(0, "question CWelcomeDlg = click 1017\nquestion CManualDlg = key escape; command 9"));
}

// ---- MyOpenManual: the shell's answer and the reader offer ----

struct OpenCase {
    const char* name;
    const char* shell;  // the answers of ShellExecute, in turn
    bool readerOnDisc;
    const char* answer;      // the Yes/No box's, when asked
    int result;              // of the menu: the welcome dialog stays on 7, then Automatic
    const char* boxCaption;  // the last box's caption ("" none)
    const char* boxText;
    uint32_t boxStyle;
    int shellCalls;
};

class OpenManual : public ManualTest, public ::testing::WithParamInterface<OpenCase> {};

TEST_P(OpenManual, ActsOnTheShellsAnswer) {
    const OpenCase& test = GetParam();
    if (!test.readerOnDisc) SetSetupValue("USER_MANUAL", "ACROBAT_FILE_NAME", "Missing.exe");
    std::string rules;
    std::string answers = test.shell;
    for (size_t at = 0; at < answers.size();) {
        const size_t comma = std::min(answers.find(',', at), answers.size());
        rules += "once question ShellExecute = " + answers.substr(at, comma - at) + "\n";
        at = comma + 1;
    }
    rules += std::string("caption Zebl LP-2400 = ") + test.answer + "\n";
    rules += "question CWelcomeDlg = click 1017; click 1014\n";
    EXPECT_EQ(test.result, Run(0, rules));
    EXPECT_EQ(static_cast<size_t>(test.shellCalls), Asked("ShellExecute").size());
    const auto boxes = Asked("");
    if (test.boxCaption[0] == '\0') {
        EXPECT_TRUE(boxes.empty());
        return;
    }
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(test.boxCaption, boxes.back().caption);
    EXPECT_EQ(test.boxText, boxes.back().text);
    EXPECT_EQ(test.boxStyle, boxes.back().style);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, OpenManual,
    ::testing::Values(OpenCase{"Opened", "42", true, "No", kResultLeave, "", "", 0, 1},
                      OpenCase{"PathNotFound", "3", true, "No", kResultLeave, "LP2400.pdf",
                               "The specified path was not found.", sys::kMbOk, 1},
                      OpenCase{"ReaderDeclined", "31", true, "No", kResultAutomatic, "Zebl LP-2400",
                               "Install a reader for the Manual?", sys::kMbYesNo, 1},
                      OpenCase{"ReaderAccepted", "31,42", true, "Yes", kResultLeave, "Zebl LP-2400",
                               "Install a reader for the Manual?", sys::kMbYesNo, 2},
                      OpenCase{"ReaderFailsToStart", "2,2", true, "Yes", kResultLeave, "LP2400.pdf",
                               "The specified file was not found.", sys::kMbOk, 2},
                      // No installer: the exclamation box, and the menu stays.
                      OpenCase{"NoReaderOnDisc", "31", false, "Yes", kResultAutomatic, "Zebl LP-2400",
                               "No reader for the Manual.", 0x30, 1}),
    zebl_test::CaseName());

TEST_F(ManualTest, TheAcceptedReaderInstallerStartsFromItsFolder) {
    Run(0,
        "once question ShellExecute = 31\ncaption Zebl LP-2400 = Yes\n"
        "question CWelcomeDlg = click 1017");
    const auto started = Asked("ShellExecute");
    ASSERT_EQ(2u, started.size());
    EXPECT_EQ("open ReaderSetup.exe  " + ReaderFolder(), started[1].detail);
}

TEST_F(ManualTest, DecliningInTheManualDialogKeepsItOpen) {
    AddDockwaveManual();
    const std::string rules =
        "once question ShellExecute = 31\ncaption Zebl LP-2400 = No\n"
        "question CWelcomeDlg = click 1017\nquestion CManualDlg = click 102; click 103\n";
    EXPECT_EQ(kResultLeave, Run(0, rules));
    const auto opened = Asked("ShellExecute");
    ASSERT_EQ(2u, opened.size());
    EXPECT_EQ("open DockWave.pdf  " + ManualFolder(), opened[1].detail);
}

}  // namespace
