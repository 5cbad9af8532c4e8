// The autorun's small pieces: formatting with the one argument, the line
// breaks of MyGetIniValue, the key filter, and the headless view's layout
// and event playing that the dialog tests rely on.
#include <gtest/gtest.h>

#include "dialog_templates.h"
#include "ini_value.h"
#include "key_filter.h"
#include "support/answer_script.h"
#include "support/file_bytes.h"
#include "support/temp_folder.h"
#include "ui/headless_dialog_view.h"
#include "vlauto/autorun_fixture.h"  // prints rectangles

namespace {

struct FormatCase {
    const char16_t* format;
    const char16_t* text;
};

class FormatWithArgument : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatWithArgument, ShowsTheArgumentOnceAndPercentSigns) {
    EXPECT_EQ(sys::WString(GetParam().text), vlauto::FormatWithArgument(GetParam().format, u"LP"));
}

INSTANTIATE_TEST_SUITE_P(Formats, FormatWithArgument,
                         ::testing::Values(FormatCase{u"Welcome to %s.", u"Welcome to LP."},
                                           FormatCase{u"100%% %s", u"100% LP"},
                                           FormatCase{u"%s and %s", u"LP and "},
                                           FormatCase{u"%d stays", u"%d stays"},
                                           FormatCase{u"ends in %", u"ends in %"}, FormatCase{u"", u""}));

TEST(IniValue, MakesLineBreaksOfBackslashNAndReadsAtMost255Characters) {
    zebl_test::TempFolder temp;
    const sys::WString file = temp.Join(u"data.ini");
    const std::string longValue(300, 'x');
    const std::string text = "[S]\r\nBreaks=one\\ntwo\\\\nthree\r\nLong=" + longValue + "\r\n";
    ASSERT_TRUE(zebl_test::WriteFileBytes(file, text.data(), text.size()));
    EXPECT_EQ(u"one\ntwo\\\nthree", vlauto::MyGetIniValue(u"S", u"Breaks", file));
    EXPECT_EQ(u"one\\ntwo\\\\nthree", vlauto::ReadIniText(u"S", u"Breaks", file, 256));
    EXPECT_EQ(255u, vlauto::MyGetIniValue(u"S", u"Long", file).size());
    EXPECT_EQ(u"", vlauto::MyGetIniValue(u"S", u"Missing", file));
    EXPECT_EQ(u"", vlauto::MyGetIniValue(u"S", u"Breaks", temp.Join(u"missing.ini")));
}

struct KeyCase {
    uint32_t message;
    uint32_t key;
    bool swallowed;
};

class KeyFilter : public ::testing::TestWithParam<KeyCase> {};

TEST_P(KeyFilter, SwallowsOnlyTheKeysThatWouldClose) {
    EXPECT_EQ(GetParam().swallowed, vlauto::MySwallowsKey({GetParam().message, GetParam().key}));
}

INSTANTIATE_TEST_SUITE_P(Keys, KeyFilter,
                         ::testing::Values(KeyCase{ui::kWmKeyDown, ui::kVkEscape, true},
                                           KeyCase{ui::kWmKeyDown, ui::kVkCancel, true},
                                           KeyCase{ui::kWmKeyDown, ui::kVkF4, true},
                                           KeyCase{ui::kWmSysKeyDown, ui::kVkF4, true},
                                           KeyCase{ui::kWmSysKeyDown, ui::kVkEscape, false},
                                           KeyCase{ui::kWmKeyDown, 0x0D, false},     // Enter
                                           KeyCase{0x0101, ui::kVkEscape, false}));  // key up

// MapDialogRect's rounding with base units 6 x 13: x * 6 / 4 and
// y * 13 / 8, half away from zero, each edge on its own.
TEST(HeadlessView, ConvertsDialogUnitsEdgeByEdge) {
    EXPECT_EQ((ui::Rect{183, 57, 486, 96}), ui::HeadlessDialogView::ToPixels({122, 35, 202, 24}));
    EXPECT_EQ((ui::Rect{411, 323, 486, 346}), ui::HeadlessDialogView::ToPixels({274, 199, 50, 14}));
    EXPECT_EQ((ui::Rect{0, 0, 497, 361}), ui::HeadlessDialogView::ToPixels({0, 0, 331, 222}));
}

class HeadlessEvents : public ui::DialogEvents {
public:
    explicit HeadlessEvents(ui::DialogView& view) : view_(view) {}
    void OnInitDialog() override {
        view_.SetupImageButton(vlauto::kIdButton1, {u"One", 77, "a", "b", "c", 0});
        view_.ShowControl(vlauto::kIdButton2, false);
    }
    void OnButtonHover(int id) override { log += "hover" + std::to_string(id) + " "; }
    void OnButtonLeave(int id) override { log += "leave" + std::to_string(id) + " "; }
    void OnButtonClicked(int id) override { log += "click" + std::to_string(id) + " "; }
    void OnCommand(int id) override {
        log += "command" + std::to_string(id) + " ";
        if (id == 9) view_.EndDialog(5);
    }
    bool PreTranslateKey(const ui::KeyMessage&) override { return false; }
    std::string log;

private:
    ui::DialogView& view_;
};

TEST(HeadlessView, PlaysTheScriptsEventsToReachableControlsUntilTheDialogEnds) {
    zebl_test::AnswerScript script(
        "question CWelcomeDlg = hover 1014; click 1015; command 1015; leave 1014; key escape; command 9; "
        "click 1014\n");
    ui::HeadlessDialogView view(vlauto::WelcomeTemplate());
    HeadlessEvents events(view);
    EXPECT_EQ(5, view.DoModal(events));
    // The image button notifies with its own identifier; the hidden button
    // gets nothing; Escape closes (command 2); nothing after the end.
    EXPECT_EQ("hover77 leave77 command2 command9 ", events.log);
    EXPECT_FALSE(view.Running());
    EXPECT_EQ(nullptr, view.Window());
}

TEST(HeadlessView, AnUnansweredDialogIsClosedAndThenCancelled) {
    zebl_test::AnswerScript script;
    ui::HeadlessDialogView view(vlauto::WelcomeTemplate());
    HeadlessEvents events(view);
    EXPECT_EQ(2, view.DoModal(events));
    EXPECT_EQ("command2 ", events.log);
}

}  // namespace
