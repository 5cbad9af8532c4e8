// The application framework: the run of an application object, window
// classes and frame windows (the same answers from the headless build as
// from Windows), and headless dialogs answered by the script.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/answer_script.h"
#include "support/temp_folder.h"
#include "sys/last_error.h"
#include "sys/message_box.h"
#include "ui/app.h"
#include "ui/dialog.h"
#include "ui/window.h"

namespace {

class RecordingApp : public ui::CWinApp {
public:
    explicit RecordingApp(bool keepRunning) : keepRunning_(keepRunning) {}
    bool InitInstance() override {
        calls.push_back("InitInstance");
        return keepRunning_;
    }
    int ExitInstance() override {
        calls.push_back("ExitInstance");
        return 7;
    }
    std::vector<std::string> calls;

private:
    bool keepRunning_;
};

TEST(Application, ARunEndsWithExitInstanceWhoseResultIsTheExitCode) {
    RecordingApp app(false);
    EXPECT_EQ(&app, ui::CWinApp::Current());
    EXPECT_EQ(7, app.Run());
    EXPECT_EQ((std::vector<std::string>{"InitInstance", "ExitInstance"}), app.calls);
}

TEST(Application, TheCurrentObjectGoesWithIt) {
    { RecordingApp app(false); }
    EXPECT_EQ(nullptr, ui::CWinApp::Current());
}

// Each test its own class name: Windows keeps a class until the program ends.
sys::WString ClassName(const char* test) { return u"ZeblUiTest" + sys::Widen(test); }

TEST(Windows, AClassRegistersOnceAndItsWindowIsFoundByClassAndTitle) {
    ui::WindowClass windowClass;
    windowClass.style = ui::kCsVRedraw | ui::kCsHRedraw;
    windowClass.backgroundBrush = ui::kColorWindowBrush;
    windowClass.className = ClassName("Found");
    ASSERT_TRUE(ui::RegisterWindowClass(windowClass));
    EXPECT_FALSE(ui::RegisterWindowClass(windowClass));
    EXPECT_EQ(ui::kErrorClassAlreadyExists, sys::GetLastError());

    zebl_test::AnswerScript script;  // another process's window: none
    EXPECT_EQ(nullptr, ui::FindTopLevelWindow(windowClass.className));
    {
        ui::FrameWindow frame =
            ui::FrameWindow::Create(windowClass.className, u"Title", ui::kWsOverlappedWindow);
        ASSERT_TRUE(frame.IsValid());
        EXPECT_EQ(frame.Handle(), ui::FindTopLevelWindow(windowClass.className));
        EXPECT_EQ(frame.Handle(), ui::FindTopLevelWindow(windowClass.className, u"Title"));
        EXPECT_EQ(nullptr, ui::FindTopLevelWindow(windowClass.className, u"Other"));
        EXPECT_FALSE(ui::IsMinimized(frame.Handle()));

        ui::FrameWindow moved = std::move(frame);
        EXPECT_FALSE(frame.IsValid());  // NOLINT(bugprone-use-after-move): what a move leaves
        EXPECT_EQ(moved.Handle(), ui::FindTopLevelWindow(windowClass.className));
    }
    EXPECT_EQ(nullptr, ui::FindTopLevelWindow(windowClass.className));
}

TEST(Windows, AWindowOfAnUnregisteredClassIsNotCreated) {
    const ui::FrameWindow frame =
        ui::FrameWindow::Create(ClassName("Unregistered"), u"", ui::kWsOverlappedWindow);
    EXPECT_FALSE(frame.IsValid());
    EXPECT_EQ(ui::kErrorClassDoesNotExist, sys::GetLastError());
}

#if !defined(_WIN32)
// Headless, another process's window is the script's answer.
TEST(HeadlessWindows, AnotherProcesssWindowComesFromTheScriptAndIsRestoredWhenMinimized) {
    zebl_test::AnswerScript script("question FindWindow = minimized\n");
    ui::WindowHandle other = ui::FindTopLevelWindow(ClassName("Other"), u"Model");
    ASSERT_NE(nullptr, other);
    EXPECT_TRUE(ui::IsMinimized(other));
    ui::RestoreWindow(other);
    EXPECT_FALSE(ui::IsMinimized(other));
    const auto questions = script.Questions();
    ASSERT_EQ(2u, questions.size());
    EXPECT_EQ("FindWindow", questions[0].name);
    EXPECT_EQ("class=ZeblUiTestOther\ttitle=Model", questions[0].detail);
    EXPECT_EQ("ShowWindow", questions[1].name);
    EXPECT_EQ("restore", questions[1].detail);
}

class CountingDialog : public ui::CDialog {
public:
    CountingDialog() : ui::CDialog(nullptr, 101, "TestDialog") {}
    int initialised = 0;
    std::vector<int> commands;

protected:
    bool OnInitDialog() override {
        ++initialised;
        return true;
    }
    void OnCommand(int id) override {
        commands.push_back(id);
        ui::CDialog::OnCommand(id);
    }
};

struct DialogAnswer {
    const char* rules;
    int result;
};

class HeadlessDialog : public ::testing::TestWithParam<DialogAnswer> {};

TEST_P(HeadlessDialog, TheScriptsAnswerIsTheResultAndAnythingElseCancels) {
    zebl_test::AnswerScript script(GetParam().rules);
    CountingDialog dialog;
    EXPECT_EQ(GetParam().result, dialog.DoModal());
    EXPECT_EQ(1, dialog.initialised);
    EXPECT_EQ(std::vector<int>{GetParam().result}, dialog.commands);
    const auto questions = script.Questions();
    ASSERT_EQ(1u, questions.size());
    EXPECT_EQ("TestDialog", questions[0].name);
    EXPECT_EQ("template=101", questions[0].detail);
}

INSTANTIATE_TEST_SUITE_P(Answers, HeadlessDialog,
                         ::testing::Values(DialogAnswer{"question TestDialog = 1\n", sys::kIdOk},
                                           DialogAnswer{"question TestDialog = 15\n", 15},
                                           DialogAnswer{"", sys::kIdCancel},
                                           DialogAnswer{"question TestDialog = 12abc\n", sys::kIdCancel},
                                           DialogAnswer{"question TestDialog = \n", sys::kIdCancel}));
#endif

}  // namespace
