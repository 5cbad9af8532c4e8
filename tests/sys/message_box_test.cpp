// Message boxes answered by the answer script, and the log that lets tests
// see exactly what was asked, in both builds (under Windows the script
// answers in place of MessageBoxW while it is set).
#include <gtest/gtest.h>

#include "support/answer_script.h"
#include "sys/message_box.h"

namespace {

using zebl_test::AnswerScript;

constexpr uint32_t kErrorBox = sys::kMbOk | sys::kMbIconError | sys::kMbSystemModal;
constexpr uint32_t kQuestion = sys::kMbYesNo | sys::kMbIconQuestion | sys::kMbSetForeground;
constexpr uint32_t kOkCancel = 0x1;
constexpr uint32_t kAbortRetryIgnore = 0x2;
constexpr uint32_t kYesNoCancel = 0x3;

TEST(MessageBox, RulesAnswerByCaptionTextOrEitherFirstMatchWinning) {
    AnswerScript script(
        "# overlay questions\n"
        "caption Create Overlay = Yes\n"
        "text C:\\forms = No\n"
        "any letterhead = Yes\n"
        "any Overlay = No\n");
    EXPECT_EQ(sys::kIdYes, sys::MessageBox(u"Do you want to create the following overlay ?\nC:\\forms\\a.ovl",
                                           u"Create Overlay", kQuestion));
    EXPECT_EQ(sys::kIdNo, sys::MessageBox(u"C:\\forms\\b.ovl", u"Download New Page Overlay", kQuestion));
    EXPECT_EQ(sys::kIdYes, sys::MessageBox(u"letterhead.ovl", u"Download", kQuestion));
    EXPECT_EQ(sys::kIdNo, sys::MessageBox(u"x", u"Overlay", kQuestion));
}

TEST(MessageBox, UnansweredQuestionsTakeTheBoxWayOut) {
    AnswerScript script("caption nothing like this = Yes\n");
    EXPECT_EQ(sys::kIdNo, sys::MessageBox(u"text", u"caption", kQuestion));
    EXPECT_EQ(sys::kIdOk, sys::MessageBox(u"text", u"caption", kErrorBox));
    EXPECT_EQ(sys::kIdCancel, sys::MessageBox(u"text", u"caption", kOkCancel));
    EXPECT_EQ(sys::kIdCancel, sys::MessageBox(u"text", u"caption", kYesNoCancel));
    EXPECT_EQ(3, sys::MessageBox(u"text", u"caption", kAbortRetryIgnore));  // IDABORT
    EXPECT_EQ(0, sys::MessageBox(u"text", u"caption", 0x7));                // no such button set
}

TEST(MessageBox, DefaultRuleAndAnswersThatAreNoButtonOfTheBox) {
    AnswerScript script(
        "any Overlay = Ok\n"  // not a button of a Yes/No box: passed over there
        "any Overlay = Yes\n"
        "default = Yes\n");
    EXPECT_EQ(sys::kIdOk, sys::MessageBox(u"t", u"Overlay", kErrorBox));
    EXPECT_EQ(sys::kIdYes, sys::MessageBox(u"t", u"Overlay", kQuestion));
    EXPECT_EQ(sys::kIdYes, sys::MessageBox(u"t", u"unmatched", kQuestion));
    // "default = Yes" is no button of an Ok/Cancel box.
    EXPECT_EQ(sys::kIdCancel, sys::MessageBox(u"t", u"unmatched", kOkCancel));
}

TEST(MessageBox, OnceRulesAnswerOneQuestionEach) {
    AnswerScript script(
        "once caption Create = Yes\n"
        "once caption Create = No\n"
        "caption Create = Yes\n");
    EXPECT_EQ(sys::kIdYes, sys::MessageBox(u"t", u"Create", kQuestion));
    EXPECT_EQ(sys::kIdNo, sys::MessageBox(u"t", u"Create", kQuestion));
    EXPECT_EQ(sys::kIdYes, sys::MessageBox(u"t", u"Create", kQuestion));
    EXPECT_EQ(sys::kIdYes, sys::MessageBox(u"t", u"Create", kQuestion));
}

TEST(MessageBox, RuleLineBreaksMatchMultiLineTexts) {
    AnswerScript script("text overlay ?\\nC:\\ = Yes\n");
    EXPECT_EQ(sys::kIdYes, sys::MessageBox(u"the following overlay ?\nC:\\x.ovl", u"c", kQuestion));
    EXPECT_EQ(sys::kIdNo, sys::MessageBox(u"the following overlay ? C:\\x.ovl", u"c", kQuestion));
}

TEST(MessageBox, LogRecordsEveryQuestionExactly) {
    AnswerScript script("caption Create = Yes\n");
    sys::MessageBox(u"line one\nline\ttwo \\ end", u"Create Overlay", kQuestion);
    sys::MessageBox(u"Can't load color conversion library (code 126)",
                    u"Fast Color Conversion interface error", kErrorBox);
    sys::MessageBox(u"\u00dcberlagerung", u"", kQuestion);

    const auto questions = script.Questions();
    ASSERT_EQ(3u, questions.size());
    EXPECT_EQ("Create Overlay", questions[0].caption);
    EXPECT_EQ("line one\nline\ttwo \\ end", questions[0].text);
    EXPECT_EQ(0x10024u, questions[0].style);
    EXPECT_EQ("Yes", questions[0].answer);
    EXPECT_EQ("Fast Color Conversion interface error", questions[1].caption);
    EXPECT_EQ(0x1010u, questions[1].style);
    EXPECT_EQ("Ok", questions[1].answer);
    EXPECT_EQ("", questions[2].caption);
    EXPECT_EQ(
        "\xC3\x9C"
        "berlagerung",
        questions[2].text);
    EXPECT_EQ("No", questions[2].answer);
}

TEST(MessageBox, ScriptsDoNotLeakIntoLaterTests) {
    {
        AnswerScript script("default = Yes\n");
        EXPECT_EQ(sys::kIdYes, sys::MessageBox(u"t", u"c", kQuestion));
    }
    AnswerScript quiet;
    EXPECT_EQ(sys::kIdNo, sys::MessageBox(u"t", u"c", kQuestion));
    EXPECT_EQ(1u, quiet.Questions().size());
}

}  // namespace
