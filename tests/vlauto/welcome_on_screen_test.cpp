// The autorun menu from the sample disc on a real screen (Wine on Xvfb):
// the pointer rests on a button and leaves it, buttons are clicked, the
// dialogs' pixels are read back. With ZEBL_AUTORUN_SCREENSHOTS set to a
// folder, the captures are also written there as BMP files named after
// the form and the language (scripts/autorun-screenshots.sh).
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "vlauto/on_screen.h"

namespace {

using zebl_test::AutorunOnScreen;
using zebl_test::Picture;

// Controls of the two dialog templates.
constexpr int kCancel = 9;
constexpr int kBack = 2;
constexpr int kPicture = 1001;
constexpr int kHeading = 1013;
constexpr int kDescription = 1018;
constexpr int kButton1 = 1014;
constexpr int kButton2 = 1015;
constexpr int kManualButton = 1017;
constexpr int kDriverManual = 102;

// Colours of the artwork (package/artwork/make_artwork.py) and the text.
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kOffDisc = RGB(40, 90, 200);
constexpr COLORREF kOnDisc = RGB(220, 50, 40);
constexpr COLORREF kBitmapBackground = RGB(0xC6, 0xC3, 0xC6);
// Blue text, smoothed onto white at its edges: the thin strokes of a
// Chinese caption at normal weight have few pixels of the pure colour.
bool IsBlueInk(COLORREF pixel) {
    return GetBValue(pixel) >= 160 && GetRValue(pixel) < 110 && GetGValue(pixel) < 110;
}
constexpr int kBitmapSize = 17;
constexpr int kTextStart = kBitmapSize + 10;
bool IsRedInk(COLORREF pixel) {
    return GetRValue(pixel) >= 160 && GetBValue(pixel) < 110 && GetGValue(pixel) < 110;
}

// The disc of an image button's state bitmap, left of its arrow.
COLORREF DiscColour(const Picture& shot, HWND dialog, int id) {
    const RECT button = zebl_test::ControlRect(dialog, id);
    return shot.At(button.left + 3, button.top + 6);
}
// Pixels of the button's text (right of its bitmap) that `isInk` accepts.
int InkOfText(const Picture& shot, HWND dialog, int id, bool (*isInk)(COLORREF)) {
    const RECT button = zebl_test::ControlRect(dialog, id);
    return shot.CountIf(RECT{button.left + kTextStart, button.top, button.right, button.bottom}, isInk);
}

// Far from the centred dialog: nothing is pointed at.
constexpr POINT kNowhere{2, 2};

void SaveScreenshot(const Picture& picture, const AutorunOnScreen& autorun, const std::string& form) {
    const char* folder = std::getenv("ZEBL_AUTORUN_SCREENSHOTS");
    if (folder == nullptr || *folder == '\0') return;
    const std::string path = std::string(folder) + "\\" + form + "-" + autorun.Info().szLanguage + ".bmp";
    EXPECT_TRUE(picture.WriteBmp(path)) << path;
}

// An image button not pointed at: its normal bitmap at the top left with
// the transparent colour not drawn (the white panel shows), nothing between
// bitmap and text, the text in blue after.
void ExpectRestingImageButton(const Picture& shot, HWND dialog, int id) {
    SCOPED_TRACE("image button " + std::to_string(id));
    const RECT button = zebl_test::ControlRect(dialog, id);
    EXPECT_EQ(kWhite, shot.At(button.left, button.top));
    EXPECT_EQ(kOffDisc, DiscColour(shot, dialog, id));
    EXPECT_EQ(0, shot.Count(kBitmapBackground, button));
    const RECT gap{button.left + kBitmapSize, button.top, button.left + kTextStart, button.bottom};
    EXPECT_EQ((kTextStart - kBitmapSize) * (button.bottom - button.top), shot.Count(kWhite, gap));
    EXPECT_GT(InkOfText(shot, dialog, id, IsBlueInk), 8);  // two Chinese characters at normal weight
}

// The picture pane shows the artwork's sky (blue over red) and the white
// panel beside it is white.
void ExpectPaintedPaneAndWhitePanel(const Picture& shot, HWND dialog) {
    const RECT pane = zebl_test::ControlRect(dialog, kPicture);
    const COLORREF sky = shot.At(pane.left + 4, pane.top + 4);
    EXPECT_GT(GetBValue(sky), GetRValue(sky) + 40) << std::hex << sky;
    const COLORREF floor = shot.At((pane.left + pane.right) / 2, pane.bottom - 4);
    EXPECT_GT(GetBValue(floor), GetRValue(floor) + 40) << std::hex << floor;
    EXPECT_EQ(kWhite, shot.At(pane.right + 3, (pane.top + pane.bottom) / 2));
    EXPECT_EQ(kWhite, shot.At(pane.right + 3, pane.top + 3));
}

class AutorunOnScreenTest : public ::testing::Test {
protected:
    void SetUp() override { zebl_test::MovePointer(kNowhere); }
};

TEST_F(AutorunOnScreenTest, ThePointerOnAButtonDescribesItAndLeavingRestoresTheInitialDescription) {
    AutorunOnScreen autorun(0);
    ASSERT_TRUE(autorun.Started());
    HWND dialog = autorun.WaitForDialog(kButton1);
    ASSERT_NE(nullptr, dialog);
    const sys::WString initial = autorun.LanguageText(u"START", u"INIT_DISCRIPTION");
    ASSERT_FALSE(initial.empty());
    EXPECT_EQ(initial, zebl_test::ControlText(dialog, kDescription));

    zebl_test::MovePointer(zebl_test::ControlCentre(dialog, kButton1));
    const sys::WString hover = autorun.LanguageText(u"START", u"AUTO_STATIC_TEXT", true);
    EXPECT_TRUE(zebl_test::WaitUntil([&] { return zebl_test::ControlText(dialog, kDescription) == hover; }))
        << sys::Narrow(zebl_test::ControlText(dialog, kDescription));
    // The button repainted itself pointed at: red disc, red text, over the
    // white panel repainted beneath it.
    const Picture pointedAt = zebl_test::CaptureWindow(dialog);
    EXPECT_EQ(kOnDisc, DiscColour(pointedAt, dialog, kButton1));
    EXPECT_GT(InkOfText(pointedAt, dialog, kButton1, IsRedInk), 20);
    EXPECT_EQ(0, InkOfText(pointedAt, dialog, kButton1, IsBlueInk));
    EXPECT_EQ(kOffDisc, DiscColour(pointedAt, dialog, kButton2));

    zebl_test::MovePointer(zebl_test::ControlCentre(dialog, kHeading));
    EXPECT_TRUE(zebl_test::WaitUntil([&] { return zebl_test::ControlText(dialog, kDescription) == initial; }))
        << sys::Narrow(zebl_test::ControlText(dialog, kDescription));
    const Picture left = zebl_test::CaptureWindow(dialog);
    EXPECT_EQ(kOffDisc, DiscColour(left, dialog, kButton1));
    EXPECT_EQ(0, InkOfText(left, dialog, kButton1, IsRedInk));

    zebl_test::ClickAt(zebl_test::ControlCentre(dialog, kButton1));
    EXPECT_EQ(6, autorun.Result());
}

// A click on a control of the welcome dialog and what SdAutoRunDlg returns.
struct ClickCase {
    const char* name;
    int maintenance;
    int control;
    int result;
};

class AutorunClickTest : public AutorunOnScreenTest, public ::testing::WithParamInterface<ClickCase> {};

TEST_P(AutorunClickTest, TheClickedChoiceIsTheResult) {
    AutorunOnScreen autorun(GetParam().maintenance);
    ASSERT_TRUE(autorun.Started());
    HWND dialog = autorun.WaitForDialog(kButton1);
    ASSERT_NE(nullptr, dialog);
    zebl_test::ClickAt(zebl_test::ControlCentre(dialog, GetParam().control));
    EXPECT_EQ(GetParam().result, autorun.Result());
}

INSTANTIATE_TEST_SUITE_P(Choices, AutorunClickTest,
                         ::testing::Values(ClickCase{"AutomaticInstall", 0, kButton1, 6},
                                           ClickCase{"CustomInstall", 0, kButton2, 7},
                                           ClickCase{"Repair", 1, kButton1, 9},
                                           ClickCase{"Remove", 1, kButton2, 10},
                                           // Without VLEtc nothing asks again.
                                           ClickCase{"CancelInstall", 0, kCancel, 3},
                                           ClickCase{"CancelMaintenance", 1, kCancel, 3}),
                         [](const auto& test) { return std::string(test.param.name); });

// Keys that would close a dialog: the welcome dialog swallows them, so
// only its buttons lead out.
struct KeyCase {
    const char* name;
    std::vector<WORD> keys;
};

class AutorunKeyTest : public AutorunOnScreenTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(AutorunKeyTest, TheKeyDoesNotCloseTheWelcomeDialog) {
    AutorunOnScreen autorun(0);
    ASSERT_TRUE(autorun.Started());
    HWND dialog = autorun.WaitForDialog(kButton1);
    ASSERT_NE(nullptr, dialog);
    zebl_test::ClickAt(zebl_test::ControlCentre(dialog, kHeading));  // gives it the keyboard
    ASSERT_EQ(dialog, GetForegroundWindow());
    zebl_test::PressKeys(GetParam().keys);
    Sleep(300);
    EXPECT_TRUE(autorun.Running());
    EXPECT_TRUE(IsWindowVisible(dialog));
    zebl_test::ClickAt(zebl_test::ControlCentre(dialog, kCancel));
    EXPECT_EQ(3, autorun.Result());
}

INSTANTIATE_TEST_SUITE_P(Keys, AutorunKeyTest,
                         ::testing::Values(KeyCase{"Escape", {VK_ESCAPE}}, KeyCase{"AltF4", {VK_MENU, VK_F4}},
                                           KeyCase{"CtrlBreak", {VK_CONTROL, VK_CANCEL}}),
                         [](const auto& test) { return std::string(test.param.name); });

class AutorunPixelsTest : public AutorunOnScreenTest, public ::testing::WithParamInterface<int> {};

TEST_P(AutorunPixelsTest, TheWelcomeDialogPaintsItsPictureWhitePanelAndImageButtons) {
    AutorunOnScreen autorun(GetParam());
    ASSERT_TRUE(autorun.Started());
    HWND dialog = autorun.WaitForDialog(kButton1);
    ASSERT_NE(nullptr, dialog);
    const Picture shot = zebl_test::CaptureWindow(dialog);
    SaveScreenshot(shot, autorun, GetParam() == 0 ? "welcome-install" : "welcome-maintenance");
    ExpectPaintedPaneAndWhitePanel(shot, dialog);
    for (int id : {kButton1, kButton2}) ExpectRestingImageButton(shot, dialog, id);
}

INSTANTIATE_TEST_SUITE_P(Forms, AutorunPixelsTest, ::testing::Values(0, 1),
                         [](const auto& test) { return test.param == 0 ? "Install" : "Maintenance"; });

TEST_F(AutorunOnScreenTest, TheManualButtonShowsTheManualDialogAndBackANewWelcomeDialog) {
    AutorunOnScreen autorun(0);
    ASSERT_TRUE(autorun.Started());
    HWND welcome = autorun.WaitForDialog(kButton1);
    ASSERT_NE(nullptr, welcome);
    // The sample disc's manual folder holds two manuals.
    zebl_test::ClickAt(zebl_test::ControlCentre(welcome, kManualButton));
    zebl_test::MovePointer(kNowhere);
    HWND manual = autorun.WaitForDialog(kDriverManual);
    ASSERT_NE(nullptr, manual);
    const Picture shot = zebl_test::CaptureWindow(manual);
    SaveScreenshot(shot, autorun, "manual");
    ExpectPaintedPaneAndWhitePanel(shot, manual);
    ExpectRestingImageButton(shot, manual, kDriverManual);
    EXPECT_EQ(autorun.LanguageText(u"MANUAL", u"MANUAL_INIT_DISCRIPTION"),
              zebl_test::ControlText(manual, kDescription));

    zebl_test::ClickAt(zebl_test::ControlCentre(manual, kBack));
    HWND again = autorun.WaitForDialog(kButton1);
    ASSERT_NE(nullptr, again);
    zebl_test::ClickAt(zebl_test::ControlCentre(again, kCancel));
    EXPECT_EQ(3, autorun.Result());
}

}  // namespace
