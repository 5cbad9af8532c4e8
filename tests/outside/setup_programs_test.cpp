// The setup program's stand-in programs, started by command line as the
// setup program and Windows start them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "outside/setup_stand_ins.h"
#include "support/file_bytes.h"
#include "sys/files.h"
#include "sys/folders.h"
#include "sys/paths.h"
#include "sys/process.h"

namespace {

using zebl_test::AnswerScript;
using zebl_test::AskedQuestion;
using zebl_test::QuestionsNamed;

// Runs a stand-in program from the build's bin folder; its exit code, or
// -1 when it did not start or end.
int64_t RunProgram(const char16_t* program, const sys::WString& arguments) {
    const sys::WString command = u"\"" + zebl_test::StandInFolder() + u"\\" + program + u"\" " + arguments;
    sys::Process process = sys::Process::Create(command, sys::kSwHide);
    uint32_t code = 0;
    if (!process.IsValid() || process.Wait(sys::kInfinite) != sys::kWaitObject0 ||
        !process.GetExitCode(&code))
        return -1;
    return code;
}

TEST(SetupPrograms, SvcmanLogsItsArgumentsAndExitsWithTheAnswer) {
    {
        const AnswerScript script("question Svcman = 3\n");
        EXPECT_EQ(3, RunProgram(u"Svcman.exe", u"/add_vecp"));
        const std::vector<AskedQuestion> asked = QuestionsNamed(script, "Svcman");
        ASSERT_EQ(1u, asked.size());
        EXPECT_EQ("/add_vecp", asked[0].detail);
    }
    const AnswerScript unanswered;
    EXPECT_EQ(0, RunProgram(u"Svcman.exe", u"/add_vecp"));
}

// Started from a language folder of the disc, it names that folder, so a
// test sees which language's tool was chosen.
TEST(SetupPrograms, NetSetupNamesItsFolderAndArgumentsAndExitsWithTheAnswer) {
    const AnswerScript script("question NETSETUP = 2\n");
    EXPECT_EQ(2, RunProgram(u"NETSETUP.exe", u"/s /lang=PT"));
    const std::vector<AskedQuestion> asked = QuestionsNamed(script, "NETSETUP");
    ASSERT_EQ(1u, asked.size());
    EXPECT_EQ("folder=\"bin\" arguments=\"/s /lang=PT\"", asked[0].detail);
}

class VLRemoveTest : public zebl_test::TempFolderTest {
protected:
    void SetUp() override {
        maker_ = u"ZeblTest" + temp_.UniqueTag();
        makerFolder_ = sys::JoinPath(sys::GetWindowsDirectory(), maker_);
        local_ = sys::JoinPath(makerFolder_, u"VL1200");
        ASSERT_TRUE(sys::CreateDirectory(makerFolder_));
        ASSERT_TRUE(sys::CreateDirectory(local_));
    }
    void TearDown() override { zebl_test::RemoveTree(makerFolder_); }

    sys::WString Arguments() const { return u"/M" + maker_ + u" /FVL1200"; }

    sys::WString maker_, makerFolder_, local_;
};

TEST_F(VLRemoveTest, RemovesTheEmptiedLocalAndMakerFolders) {
    const AnswerScript script;
    EXPECT_EQ(0, RunProgram(u"VLRemove.exe", Arguments()));
    EXPECT_EQ(sys::PathKind::Missing, sys::GetPathKind(local_));
    EXPECT_EQ(sys::PathKind::Missing, sys::GetPathKind(makerFolder_));
    const std::vector<AskedQuestion> asked = QuestionsNamed(script, "VLRemove");
    ASSERT_EQ(1u, asked.size());
    EXPECT_EQ(sys::Narrow(Arguments()), asked[0].detail);
}

TEST_F(VLRemoveTest, LeavesFoldersThatStillHoldFiles) {
    const std::string text = "still here";
    ASSERT_TRUE(zebl_test::WriteFileBytes(sys::JoinPath(local_, u"left.txt"), text.data(), text.size()));
    const AnswerScript script("question VLRemove = 2\n");
    EXPECT_EQ(2, RunProgram(u"VLRemove.exe", Arguments()));
    EXPECT_EQ(sys::PathKind::File, sys::GetPathKind(sys::JoinPath(local_, u"left.txt")));
}

TEST_F(VLRemoveTest, NamesThatClimbOutOfTheWindowsFolderAreIgnored) {
    const AnswerScript script;
    EXPECT_EQ(0, RunProgram(u"VLRemove.exe", u"/M.. /F" + maker_));
    EXPECT_EQ(sys::PathKind::Folder, sys::GetPathKind(local_));
}

}  // namespace
