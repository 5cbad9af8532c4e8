// The Win32 dialog view on the autorun's welcome template (compiled into
// this program), driven by a controller of the test's own: what the view
// does reaches the real controls, and what happens to the dialog (image
// button notifications, commands, keys, closing) reaches the controller,
// through the view's own modal loop.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ui/dialog_view.h"
#include "win32/windows_api.h"
// windows_api.h first: the headers below must not see its macros.
#include "win32/dialog_view.h"

namespace {

constexpr int kWelcomeTemplate = 129;
constexpr int kButton1 = 1014;
constexpr int kButton3 = 1016;
constexpr int kButton4 = 1017;
constexpr int kDescription = 1018;

// A controller that logs what reaches it and ends the dialog on a click or
// a command (with the button's or the command's identifier).
class LoggingController : public ui::DialogEvents {
public:
    explicit LoggingController(ui::DialogView& view) : view_(view) {}

    void OnInitDialog() override {
        log.push_back("init");
        if (onInit) onInit(static_cast<HWND>(view_.Window()));
    }
    void OnButtonHover(int id) override { log.push_back("hover " + std::to_string(id)); }
    void OnButtonLeave(int id) override { log.push_back("leave " + std::to_string(id)); }
    void OnButtonClicked(int id) override {
        log.push_back("click " + std::to_string(id));
        view_.EndDialog(id);
    }
    void OnCommand(int id) override {
        log.push_back("command " + std::to_string(id));
        view_.EndDialog(id);
    }
    bool PreTranslateKey(const ui::KeyMessage& key) override {
        log.push_back("key " + std::to_string(key.virtualKey));
        return swallowKeys;
    }

    std::function<void(HWND)> onInit;
    bool swallowKeys = true;
    std::vector<std::string> log;

private:
    ui::DialogView& view_;
};

class DialogViewTest : public ::testing::Test {
protected:
    ui::win32::Win32DialogView view_{ui::DialogTemplate{kWelcomeTemplate, "welcome", 0, 0, {}},
                                     GetModuleHandleA(nullptr)};
    LoggingController controller_{view_};
};

TEST_F(DialogViewTest, ATemplateThatIsNotThereGivesMinusOneWithoutInit) {
    ui::win32::Win32DialogView missing(ui::DialogTemplate{4242, "missing", 0, 0, {}},
                                       GetModuleHandleA(nullptr));
    LoggingController controller(missing);
    EXPECT_EQ(-1, missing.DoModal(controller));
    EXPECT_TRUE(controller.log.empty());
    EXPECT_EQ(nullptr, missing.Window());
}

TEST_F(DialogViewTest, TheViewChangesTheRealControls) {
    std::string text;
    bool button3Visible = true;
    bool button3Enabled = true;
    ui::Rect moved;
    POINT clientOrigin{};
    controller_.onInit = [&](HWND dialog) {
        view_.SetControlText(kDescription, u"First line\nSecond line");
        view_.ShowControl(kButton3, false);
        view_.EnableControl(kButton3, false);
        view_.MoveControl(kButton4, 20, 30, 150, 40);
        char buffer[64] = {};
        GetDlgItemTextA(dialog, kDescription, buffer, sizeof buffer);
        text = buffer;
        button3Visible = IsWindowVisible(GetDlgItem(dialog, kButton3)) != FALSE;
        button3Enabled = IsWindowEnabled(GetDlgItem(dialog, kButton3)) != FALSE;
        moved = view_.ControlWindowRect(kButton4);
        ClientToScreen(dialog, &clientOrigin);
        view_.EndDialog(5);
    };
    EXPECT_EQ(5, view_.DoModal(controller_));
    EXPECT_EQ("First line\nSecond line", text);
    EXPECT_FALSE(button3Visible);
    EXPECT_FALSE(button3Enabled);
    EXPECT_EQ((ui::Rect{clientOrigin.x + 20, clientOrigin.y + 30, clientOrigin.x + 170, clientOrigin.y + 70}),
              moved);
    EXPECT_EQ(nullptr, view_.Window());
}

TEST_F(DialogViewTest, AnImageButtonNotifiesItsIdentifierAndItsStaticClickIsNoCommand) {
    controller_.onInit = [&](HWND dialog) {
        view_.SetupImageButton(kButton1,
                               ui::ImageButtonSetup{u"Install", 77, "IDB_OFF_BUTTON", "IDB_ON_BUTTON",
                                                    "IDB_CLICKED_BUTTON", 0xC6C3C6});
        HWND button = GetDlgItem(dialog, kButton1);
        PostMessageA(button, WM_MOUSEHOVER, 0, 0);
        PostMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, 0);
        PostMessageA(button, WM_LBUTTONUP, 0, 0);
    };
    EXPECT_EQ(77, view_.DoModal(controller_));
    EXPECT_EQ((std::vector<std::string>{"init", "hover 77", "click 77"}), controller_.log);
}

TEST_F(DialogViewTest, ClosingTheWindowIsACancelCommand) {
    controller_.onInit = [](HWND dialog) { PostMessageA(dialog, WM_CLOSE, 0, 0); };
    EXPECT_EQ(IDCANCEL, view_.DoModal(controller_));
    EXPECT_EQ((std::vector<std::string>{"init", "command 2"}), controller_.log);
}

// Escape posted to the dialog, then the Cancel button (control 9): the
// controller sees the key first; swallowed, only the button ends the
// dialog; let through, the dialog manager makes the key a Cancel command.
class DialogViewKeyTest : public DialogViewTest, public ::testing::WithParamInterface<bool> {};

TEST_P(DialogViewKeyTest, EscapeReachesTheKeyFilterFirst) {
    const bool swallow = GetParam();
    controller_.swallowKeys = swallow;
    controller_.onInit = [](HWND dialog) {
        PostMessageA(dialog, WM_KEYDOWN, VK_ESCAPE, 0);
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(9, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, 9)));
    };
    const int result = view_.DoModal(controller_);
    const std::vector<std::string> swallowed{"init", "key 27", "command 9"};
    const std::vector<std::string> letThrough{"init", "key 27", "command 2"};
    EXPECT_EQ(swallow ? 9 : IDCANCEL, result);
    EXPECT_EQ(swallow ? swallowed : letThrough, controller_.log);
}

INSTANTIATE_TEST_SUITE_P(Filter, DialogViewKeyTest, ::testing::Bool(),
                         [](const auto& test) { return test.param ? "Swallowed" : "LetThrough"; });

}  // namespace
