// ShellExecute's "open" in both builds: programs start, missing files and
// folders and files without a program are refused with the system's
// numbers, and a script can answer in its place.
#include "sys/shell.h"

#include <gtest/gtest.h>

#include "support/answer_script.h"
#include "support/child_program.h"
#include "support/temp_folder.h"
#include "sys/clock.h"
#include "sys/paths.h"
#include "sys/process.h"
#include "sys/registry.h"
#include "sys/text_files.h"

namespace {

class ShellTest : public zebl_test::TempFolderTest {};

// Wine says "file not found" for a missing folder too.
TEST_F(ShellTest, MissingFilesAndFoldersAreFileNotFound) {
    EXPECT_EQ(sys::kSeErrFileNotFound,
              sys::ShellExecute(u"open", u"none.pdf", u"", temp_.Path(), sys::kSwShowNormal));
    EXPECT_EQ(sys::kSeErrFileNotFound,
              sys::ShellExecute(u"open", u"manual.pdf", u"", temp_.Join(u"no folder"), sys::kSwShowNormal));
    EXPECT_EQ(sys::kSeErrFileNotFound,
              sys::ShellExecute(u"open", temp_.Join(u"no folder\\manual.pdf"), u"", u"", sys::kSwShowNormal));
}

TEST_F(ShellTest, AFileThatNoProgramOpensIsNoAssociation) {
    const sys::WString document = temp_.Join(u"manual.zeblnoprogram");
    ASSERT_TRUE(sys::AppendTextLine(document, "x"));
    EXPECT_EQ(sys::kSeErrNoAssociation,
              sys::ShellExecute(u"open", u"manual.zeblnoprogram", u"", temp_.Path(), sys::kSwShowNormal));
}

TEST_F(ShellTest, AProgramStartsWithItsParameters) {
    const sys::WString record = temp_.Join(u"seen.txt");
    const sys::WString program = zebl_test::ChildProgram();
    const sys::WString parameters = u"--command-line \"" + record + u"\" 0";
    const sys::WString folder(sys::FolderOf(program));  // not the test's folder, which goes at the end
    ASSERT_GT(sys::ShellExecute(u"open", program, parameters, folder, sys::kSwShowNormal), 32u);
    // The shell does not wait: look for the record for a while.
    std::string text;
    for (int i = 0; i < 200 && !sys::ReadTextFile(record, &text); ++i) sys::Sleep(10);
    EXPECT_NE(std::string::npos, text.find("--command-line")) << text;
}

TEST_F(ShellTest, AScriptAnswersInsteadOfTheShell) {
    zebl_test::AnswerScript script("once question ShellExecute = 31\n");
    EXPECT_EQ(31u, sys::ShellExecute(u"open", u"manual.pdf", u"", u"C:\\Manual", sys::kSwShowNormal));
    // Without a rule the call goes on to the shell.
    EXPECT_EQ(sys::kSeErrFileNotFound, sys::ShellExecute(u"open", u"none.pdf", u"", temp_.Path(), 1));
    const auto questions = script.Questions();
    ASSERT_EQ(2u, questions.size());
    EXPECT_EQ("ShellExecute", questions[0].name);
    EXPECT_EQ("open manual.pdf  C:\\Manual", questions[0].detail);
    EXPECT_EQ("31", questions[0].answer);
    EXPECT_EQ("", questions[1].answer);
}

}  // namespace
