// The library's debugger output and its last-error displays.
#include <gtest/gtest.h>

#include <string>

#include "pipeline/debug_output.h"
#include "support/answer_script.h"
#include "support/debug_capture.h"
#include "sys/diagnostics.h"
#include "sys/last_error.h"

namespace {

using zebl_test::AnswerScript;
using zebl_test::DebugCapture;

TEST(DebugOutput, FormatsAndCutsAt1023Characters) {
    if (!DebugCapture::Available()) GTEST_SKIP() << "debugger output is not kept under Windows";
    DebugCapture capture;
    OutputDebugPrintf("[FB] page %d of %s", 3, "doc");
    OutputDebugPrintf("%s", std::string(5000, 'y').c_str());
    const auto lines = capture.Lines();
    ASSERT_EQ(2u, lines.size());
    EXPECT_EQ("[FB] page 3 of doc", lines[0]);
    EXPECT_EQ(std::string(1023, 'y'), lines[1]);
}

TEST(DebugOutput, LastErrorGoesToTheDebuggerWithThePrefix) {
    if (!DebugCapture::Available()) GTEST_SKIP() << "debugger output is not kept under Windows";
    DebugCapture capture;
    sys::SetLastError(2);
    fbOutputDebugDisplayLastError();
    EXPECT_EQ(1, capture.Count("[FB] " + sys::ErrorText(2)));
    EXPECT_EQ(1, capture.Count("[FB] The system cannot find the file specified."));
}

TEST(DebugOutput, LastErrorBoxHasAnEmptyCaption) {
    AnswerScript answers;
    sys::SetLastError(5);
    fbMessageBoxDisplayLastError();
    const auto questions = answers.Questions();
    ASSERT_EQ(1u, questions.size());
    EXPECT_EQ("", questions[0].caption);
    EXPECT_EQ(sys::ErrorText(5), questions[0].text);
    EXPECT_EQ(0u, questions[0].style);
}

}  // namespace
