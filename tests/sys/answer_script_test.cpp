// Named questions of the answer script (dialogs of stand-ins, observed
// system actions) and the services under it, in both builds: under Wine the
// same script answers, read and logged through the A file functions.
#include "sys/answer_script.h"

#include <gtest/gtest.h>

#include <string>

#include "support/answer_script.h"
#include "support/temp_folder.h"
#include "sys/environment.h"
#include "sys/last_error.h"
#include "sys/message_box.h"
#include "sys/text_files.h"

namespace {

using zebl_test::AnswerScript;

TEST(AnswerScript, NamedQuestionsTakeTheirRuleOrTheFallback) {
    AnswerScript script(
        "once question SdTeatPagePrinting = 13\n"
        "question SdFinish = 15\n"
        "question SdTeatPagePrinting = 5\n"
        "caption SdFinish = Yes\n");  // a box rule never answers a named question
    EXPECT_TRUE(sys::AnswerScriptActive());
    EXPECT_EQ("15", sys::AskQuestion("SdFinish", "", "0"));
    EXPECT_EQ("13", sys::AskQuestion("SdTeatPagePrinting", "", "0"));
    EXPECT_EQ("5", sys::AskQuestion("SdTeatPagePrinting", "", "0"));
    EXPECT_EQ("fallback", sys::AskQuestion("sdfinish", "", "fallback"));  // names match exactly
    EXPECT_EQ("4", sys::AskQuestion("SdSetupType", "", "4"));
}

TEST(AnswerScript, EveryQuestionIsLoggedInOrderWithItsDetail) {
    AnswerScript script("question RestartWindows = refused\ncaption Setup = Ok\n");
    sys::AskQuestion("RestartWindows", "EWX_REBOOT\tnow", "performed");
    sys::MessageBox(u"disk full", u"Setup", sys::kMbOk);
    sys::AskQuestion("GetDiskFreeSpaceVL", "", "400");
    const auto questions = script.Questions();
    ASSERT_EQ(3u, questions.size());
    EXPECT_EQ("RestartWindows", questions[0].name);
    EXPECT_EQ("EWX_REBOOT\tnow", questions[0].detail);
    EXPECT_EQ("refused", questions[0].answer);
    EXPECT_EQ("", questions[1].name);
    EXPECT_EQ("Setup", questions[1].caption);
    EXPECT_EQ("Ok", questions[1].answer);
    EXPECT_EQ("GetDiskFreeSpaceVL", questions[2].name);
    EXPECT_EQ("400", questions[2].answer);
}

TEST(AnswerScript, WithoutAScriptNamedQuestionsTakeTheFallbackUnlogged) {
    const std::optional<sys::WString> saved = sys::GetEnvironmentVariable(u"ZSYS_ANSWER_SCRIPT");
    const std::optional<sys::WString> savedLog = sys::GetEnvironmentVariable(u"ZSYS_ANSWER_LOG");
    ASSERT_TRUE(sys::SetEnvironmentVariable(u"ZSYS_ANSWER_SCRIPT", std::nullopt));
    ASSERT_TRUE(sys::SetEnvironmentVariable(u"ZSYS_ANSWER_LOG", std::nullopt));
    EXPECT_FALSE(sys::AnswerScriptActive());
    EXPECT_EQ("7", sys::AskQuestion("SdSetupType", "", "7"));
    sys::SetEnvironmentVariable(u"ZSYS_ANSWER_SCRIPT", saved);
    sys::SetEnvironmentVariable(u"ZSYS_ANSWER_LOG", savedLog);
}

TEST(Environment, SetReadAndRemove) {
    const char16_t kName[] = u"ZEBL_TEST_VARIABLE";
    ASSERT_TRUE(sys::SetEnvironmentVariable(kName, sys::WString(u"C:\\Caf\u00e9 x")));
    EXPECT_EQ(sys::WString(u"C:\\Caf\u00e9 x"), sys::GetEnvironmentVariable(kName));
    ASSERT_TRUE(sys::SetEnvironmentVariable(kName, sys::WString(600, u'v')));  // past a first guess of size
    EXPECT_EQ(sys::WString(600, u'v'), sys::GetEnvironmentVariable(kName));
    ASSERT_TRUE(sys::SetEnvironmentVariable(kName, std::nullopt));
    EXPECT_FALSE(sys::GetEnvironmentVariable(kName).has_value());
}

class TextFilesTest : public zebl_test::TempFolderTest {};

TEST_F(TextFilesTest, LinesAppendToANewFileAndReadBackWhole) {
    const sys::WString log = temp_.Join(u"trace.log");
    ASSERT_TRUE(sys::AppendTextLine(log, "first\n"));
    ASSERT_TRUE(sys::AppendTextLine(log, std::string("second\0with NUL\n", 16)));
    std::string bytes;
    ASSERT_TRUE(sys::ReadTextFile(log, &bytes));
    EXPECT_EQ(std::string("first\nsecond\0with NUL\n", 22), bytes);
}

TEST_F(TextFilesTest, MissingFilesAndFoldersFailWithTheirErrors) {
    std::string bytes;
    EXPECT_FALSE(sys::ReadTextFile(temp_.Join(u"none.txt"), &bytes));
    EXPECT_EQ(sys::kErrorFileNotFound, sys::GetLastError());
    EXPECT_FALSE(sys::AppendTextLine(temp_.Join(u"no folder\\x.log"), "x\n"));
    EXPECT_EQ(sys::kErrorPathNotFound, sys::GetLastError());
}

}  // namespace

// The restart is a question while a script is set: never performed in a test.
#include "sys/restart.h"

namespace {

TEST(RestartWindows, IsObservedAndNeverPerformedUnderAScript) {
    zebl_test::AnswerScript script("once question RestartWindows = refused\n");
    EXPECT_FALSE(sys::RestartWindows());
    EXPECT_EQ(sys::kErrorAccessDenied, sys::GetLastError());
    EXPECT_TRUE(sys::RestartWindows());
    const auto questions = script.Questions();
    ASSERT_EQ(2u, questions.size());
    EXPECT_EQ("RestartWindows", questions[0].name);
    EXPECT_EQ("reboot", questions[0].detail);
    EXPECT_EQ("restarted", questions[1].answer);
}

}  // namespace
