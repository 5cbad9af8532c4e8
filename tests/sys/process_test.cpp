// Programs started by command line, in both builds: natively a host program,
// under Wine a Windows one, through the same calls.
#include "sys/process.h"

#include <gtest/gtest.h>

#include <string>

#include "support/child_program.h"
#include "support/temp_folder.h"
#include "sys/last_error.h"
#include "sys/text_files.h"

namespace {

sys::WString Quoted(const sys::WString& path) { return u"\"" + path + u"\""; }

class ProcessExitCode : public ::testing::TestWithParam<uint32_t> {};

TEST_P(ProcessExitCode, TheExitCodeComesBack) {
    const sys::WString command =
        Quoted(zebl_test::ChildProgram()) + u" " + sys::Widen(std::to_string(GetParam()));
    sys::Process child = sys::Process::Create(command, sys::kSwHide);
    ASSERT_TRUE(child.IsValid()) << "error " << sys::GetLastError();
    EXPECT_EQ(sys::kWaitObject0, child.Wait(sys::kInfinite));
    uint32_t code = 12345;
    ASSERT_TRUE(child.GetExitCode(&code));
    EXPECT_EQ(GetParam(), code);
}

INSTANTIATE_TEST_SUITE_P(Codes, ProcessExitCode, ::testing::Values(0u, 1u, 7u, 200u));

TEST(Process, AWaitThatEndsFirstTimesOutAndTheProgramIsStillActive) {
    sys::Process child = sys::Process::Create(Quoted(zebl_test::ChildProgram()) + u" --sleep 400 3");
    ASSERT_TRUE(child.IsValid());
    EXPECT_EQ(sys::kWaitTimeout, child.Wait(20));
    uint32_t code = 0;
    ASSERT_TRUE(child.GetExitCode(&code));
    EXPECT_EQ(sys::kStillActive, code);
    EXPECT_EQ(sys::kWaitObject0, child.Wait(sys::kInfinite));
    ASSERT_TRUE(child.GetExitCode(&code));
    EXPECT_EQ(3u, code);
    EXPECT_EQ(sys::kWaitObject0, child.Wait(0));  // an ended program stays ended
}

TEST(Process, AProgramThatDoesNotExistDoesNotStart) {
    zebl_test::TempFolder temp;
    EXPECT_FALSE(sys::Process::Create(Quoted(temp.Join(u"none.exe")) + u" 1").IsValid());
    EXPECT_EQ(sys::kErrorFileNotFound, sys::GetLastError());
    EXPECT_FALSE(sys::Process::Create(u"").IsValid());
}

TEST(Process, TheChildSeesItsCommandLineUnchanged) {
    zebl_test::TempFolder temp;
    const sys::WString record = temp.Join(u"command line.txt");
    const sys::WString command =
        Quoted(zebl_test::ChildProgram()) + u" --command-line " + Quoted(record) + u"  \"two  blanks\" 0";
    sys::Process child = sys::Process::Create(command, sys::kSwHide, temp.Path());
    ASSERT_TRUE(child.IsValid());
    ASSERT_EQ(sys::kWaitObject0, child.Wait(sys::kInfinite));
    std::string text;
    ASSERT_TRUE(sys::ReadTextFile(record, &text));
    EXPECT_EQ(sys::Narrow(command) + "\n", text);
}

TEST(Process, ThisProgramsCommandLineNamesIt) {
    const std::string line = sys::Narrow(sys::GetCommandLine());
    EXPECT_NE(std::string::npos, line.find("sys_tests")) << line;
}

}  // namespace
