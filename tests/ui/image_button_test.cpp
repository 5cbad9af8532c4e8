// The image buttons and the transparent bitmap under Wine: a static control
// of a window of our own taken over by CImageButton, driven by the window
// messages the system would send, painted into a bitmap (WM_PRINTCLIENT)
// whose pixels are read back. The state bitmaps and the cursor are the
// autorun's own, compiled into this program.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "support/xorshift.h"
#include "win32/windows_api.h"
// windows_api.h first: the headers below must not see its macros.
#include "win32/gdi_handles.h"
#include "win32/image_button.h"
#include "win32/transparent_bitmap.h"

namespace {

using ui::win32::CImageButton;

HINSTANCE Resources() { return GetModuleHandleA(nullptr); }

// Colours of the artwork (package/artwork/make_artwork.py) and the text.
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kOffDisc = RGB(40, 90, 200);
constexpr COLORREF kOnDisc = RGB(220, 50, 40);
constexpr COLORREF kPressedDisc = RGB(150, 24, 20);
constexpr COLORREF kBitmapBackground = RGB(0xC6, 0xC3, 0xC6);
constexpr COLORREF kBlueText = RGB(0, 0, 255);
constexpr COLORREF kRedText = RGB(255, 0, 0);
constexpr int kBitmapSize = 17;
constexpr int kTextStart = kBitmapSize + 10;

// A 32-bit top-down picture in a memory context, filled with one colour.
class Canvas {
public:
    Canvas(int width, int height, COLORREF fill) : width_(width), height_(height), dc_(nullptr) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        bitmap_ = ui::win32::Bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        pixels_ = static_cast<uint32_t*>(bits);
        previous_ = SelectObject(dc_.Get(), bitmap_.Get());
        for (int i = 0; i < width * height; ++i) pixels_[i] = ToPixel(fill);
    }
    ~Canvas() { SelectObject(dc_.Get(), previous_); }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC Dc() const { return dc_.Get(); }
    COLORREF At(int x, int y) const {
        GdiFlush();
        const uint32_t pixel = pixels_[y * width_ + x];
        return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
    }
    void Set(int x, int y, COLORREF colour) { pixels_[y * width_ + x] = ToPixel(colour); }
    // Pixels of `colour` within columns [left, right).
    int Count(COLORREF colour, int left, int right) const {
        int count = 0;
        for (int y = 0; y < height_; ++y)
            for (int x = left; x < right; ++x) count += At(x, y) == colour ? 1 : 0;
        return count;
    }
    // The last column with a pixel other than `background`; -1 for none.
    int RightmostInk(COLORREF background) const {
        for (int x = width_ - 1; x >= 0; --x)
            for (int y = 0; y < height_; ++y)
                if (At(x, y) != background) return x;
        return -1;
    }
    int Width() const { return width_; }
    int Height() const { return height_; }

private:
    static uint32_t ToPixel(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

    int width_;
    int height_;
    ui::win32::MemoryContext dc_;
    ui::win32::Bitmap bitmap_;
    uint32_t* pixels_ = nullptr;
    HGDIOBJ previous_ = nullptr;
};

// One notification that reached the dialog stand-in.
struct Notification {
    UINT message;
    WPARAM id;
    bool posted;
    friend bool operator==(const Notification&, const Notification&) = default;
};
std::vector<Notification> g_notifications;
// A posted notification arrives while the test delivers the queue; a sent
// one during the message that caused it.
bool g_deliveringQueue = false;

LRESULT CALLBACK ParentProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == ui::win32::UM_BUTTON_HOVER || message == ui::win32::UM_BUTTON_LEAVE ||
        message == ui::win32::UM_BUTTON_CLICKED) {
        g_notifications.push_back({message, wParam, g_deliveringQueue});
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// A window standing in for the dialog, with one static control 300 x 40
// that a CImageButton takes over.
class ImageButtonTest : public ::testing::Test {
protected:
    static constexpr int kWidth = 300;
    static constexpr int kHeight = 40;
    static constexpr int kId = 1014;

    void SetUp() override {
        static const bool registered = [] {
            WNDCLASSA windowClass{};
            windowClass.lpfnWndProc = ParentProcedure;
            windowClass.hInstance = Resources();
            windowClass.lpszClassName = "ZeblImageButtonTest";
            return RegisterClassA(&windowClass) != 0;
        }();
        ASSERT_TRUE(registered);
        parent_ = CreateWindowExA(0, "ZeblImageButtonTest", "parent", WS_POPUP, 0, 0, 400, 100, nullptr,
                                  nullptr, Resources(), nullptr);
        ASSERT_NE(nullptr, parent_);
        control_ =
            CreateWindowExA(WS_EX_TRANSPARENT, "Static", "", WS_CHILD | WS_VISIBLE | SS_LEFT, 0, 0, kWidth,
                            kHeight, parent_, reinterpret_cast<HMENU>(kId), Resources(), nullptr);
        ASSERT_NE(nullptr, control_);
        ASSERT_TRUE(button_.SubclassWindow(control_));
        button_.SetUp(parent_, u"Automatic installation", kId);
        button_.SetBitmaps("IDB_OFF_BUTTON", "IDB_ON_BUTTON", "IDB_CLICKED_BUTTON", 0xC6C3C6);
        g_notifications.clear();
    }
    void TearDown() override {
        if (parent_ != nullptr) DestroyWindow(parent_);
    }

    void Send(UINT message) {
        SendMessageA(control_, message, message == WM_LBUTTONDOWN ? MK_LBUTTON : 0, 0);
    }
    // Delivers what was posted (the click).
    static void Pump() {
        MSG message{};
        g_deliveringQueue = true;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        g_deliveringQueue = false;
    }
    // The button painted on white.
    std::unique_ptr<Canvas> Paint() {
        auto canvas = std::make_unique<Canvas>(kWidth, kHeight, kWhite);
        SendMessageA(control_, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas->Dc()), PRF_CLIENT);
        return canvas;
    }

    HWND parent_ = nullptr;
    HWND control_ = nullptr;
    CImageButton button_{Resources()};
};

// A mouse tracker that records each request and arms the tracking.
std::vector<TRACKMOUSEEVENT> g_trackRequests;
BOOL WINAPI RecordingTracker(LPTRACKMOUSEEVENT request) {
    g_trackRequests.push_back(*request);
    return TRUE;
}

TEST_F(ImageButtonTest, TheFirstMoveAfterALeaveAsksForHoverAndLeaveOnce) {
    CImageButton tracked(Resources(), &RecordingTracker);
    HWND control = CreateWindowExA(0, "Static", "Tracked", WS_CHILD | WS_VISIBLE, 0, 50, kWidth, kHeight,
                                   parent_, nullptr, Resources(), nullptr);
    ASSERT_TRUE(tracked.SubclassWindow(control));
    g_trackRequests.clear();
    SendMessageA(control, WM_MOUSEMOVE, 0, 0);
    SendMessageA(control, WM_MOUSEMOVE, 0, 0);
    ASSERT_EQ(1u, g_trackRequests.size());
    EXPECT_EQ(static_cast<DWORD>(TME_HOVER | TME_LEAVE), g_trackRequests[0].dwFlags);
    EXPECT_EQ(control, g_trackRequests[0].hwndTrack);
    EXPECT_EQ(1u, g_trackRequests[0].dwHoverTime);
    EXPECT_TRUE(tracked.Tracking());
    SendMessageA(control, WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(tracked.Tracking());
    SendMessageA(control, WM_MOUSEMOVE, 0, 0);
    EXPECT_EQ(2u, g_trackRequests.size());
}

TEST_F(ImageButtonTest, WithoutATrackerTheFirstMoveIsAHoverAndATimerNoticesTheLeave) {
    CImageButton untracked(Resources(), nullptr);
    HWND control = CreateWindowExA(0, "Static", "Untracked", WS_CHILD | WS_VISIBLE, 0, 50, kWidth, kHeight,
                                   parent_, nullptr, Resources(), nullptr);
    ASSERT_TRUE(untracked.SubclassWindow(control));
    untracked.SetUp(parent_, u"Untracked", 7);
    SendMessageA(control, WM_MOUSEMOVE, 0, 0);
    SendMessageA(control, WM_MOUSEMOVE, 0, 0);
    EXPECT_TRUE(untracked.Hovered());
    EXPECT_EQ((std::vector<Notification>{{ui::win32::UM_BUTTON_HOVER, 7, false}}), g_notifications);
    // The parent is not shown, so the pointer is not over the button.
    SendMessageA(control, WM_TIMER, CImageButton::kPointerPollTimer, 0);
    EXPECT_FALSE(untracked.Hovered());
    EXPECT_EQ((std::vector<Notification>{{ui::win32::UM_BUTTON_HOVER, 7, false},
                                         {ui::win32::UM_BUTTON_LEAVE, 7, false}}),
              g_notifications);
}

TEST_F(ImageButtonTest, BindingLetsTheStaticHearTheMouseAndShowsTheHand) {
    EXPECT_NE(0, GetWindowLongA(control_, GWL_STYLE) & SS_NOTIFY);
    EXPECT_EQ(TRUE, SendMessageA(control_, WM_SETCURSOR, reinterpret_cast<WPARAM>(control_), HTCLIENT));
    EXPECT_EQ(LoadCursorA(Resources(), MAKEINTRESOURCEA(ui::win32::kHandCursorId)), GetCursor());
}

// A sequence of mouse messages and what the dialog hears, for a button
// that notifies and one whose notify identifier is -1.
struct MouseCase {
    const char* name;
    std::vector<UINT> messages;
    std::vector<UINT> heard;  // notification messages, in order
    bool hovered;
    bool pressed;
};

class ImageButtonMouseTest : public ImageButtonTest,
                             public ::testing::WithParamInterface<std::tuple<MouseCase, bool>> {};

TEST_P(ImageButtonMouseTest, TheDialogHearsHoverLeaveAndClick) {
    const auto& [mouse, notifies] = GetParam();
    if (!notifies) button_.SetUp(parent_, u"Automatic installation", -1);
    for (UINT message : mouse.messages) Send(message);
    Pump();
    std::vector<Notification> expected;
    if (notifies)
        for (UINT message : mouse.heard)
            expected.push_back({message, static_cast<WPARAM>(kId), message == ui::win32::UM_BUTTON_CLICKED});
    EXPECT_EQ(expected, g_notifications);
    EXPECT_EQ(mouse.hovered, button_.Hovered());
    EXPECT_EQ(mouse.pressed, button_.Pressed());
}

const MouseCase kMouseCases[] = {
    {"Hover", {WM_MOUSEHOVER}, {ui::win32::UM_BUTTON_HOVER}, true, false},
    {"HoverThenLeave",
     {WM_MOUSEHOVER, WM_MOUSELEAVE},
     {ui::win32::UM_BUTTON_HOVER, ui::win32::UM_BUTTON_LEAVE},
     false,
     false},
    {"Pressed", {WM_MOUSEHOVER, WM_LBUTTONDOWN}, {ui::win32::UM_BUTTON_HOVER}, true, true},
    {"Click",
     {WM_MOUSEHOVER, WM_LBUTTONDOWN, WM_LBUTTONUP},
     {ui::win32::UM_BUTTON_HOVER, ui::win32::UM_BUTTON_CLICKED},
     true,
     false},
    // Pressed, then the pointer goes and the button is released elsewhere.
    {"PressedThenLeftWithoutRelease",
     {WM_MOUSEHOVER, WM_LBUTTONDOWN, WM_MOUSELEAVE},
     {ui::win32::UM_BUTTON_HOVER, ui::win32::UM_BUTTON_LEAVE},
     false,
     false},
};

INSTANTIATE_TEST_SUITE_P(Sequences, ImageButtonMouseTest,
                         ::testing::Combine(::testing::ValuesIn(kMouseCases), ::testing::Bool()),
                         [](const auto& test) {
                             return std::string(std::get<0>(test.param).name) +
                                    (std::get<1>(test.param) ? "Notifying" : "Silent");
                         });

// Where the disc of a state bitmap is (left of the arrow) and its corner,
// which has the transparent colour; the bitmap sits 2 pixels above the
// client area.
constexpr POINT kDisc{3, 8 - 2};
constexpr POINT kCorner{0, 2 - 2};

struct PaintCase {
    const char* name;
    std::vector<UINT> messages;
    COLORREF disc;
    COLORREF text;
};

class ImageButtonPaintTest : public ImageButtonTest, public ::testing::WithParamInterface<PaintCase> {};

TEST_P(ImageButtonPaintTest, TheStateBitmapSitsLeftOfTheTextWithItsBackgroundNotDrawn) {
    for (UINT message : GetParam().messages) Send(message);
    const auto canvas = Paint();
    EXPECT_EQ(GetParam().disc, canvas->At(kDisc.x, kDisc.y));
    EXPECT_EQ(kWhite, canvas->At(kCorner.x, kCorner.y));
    EXPECT_EQ(0, canvas->Count(kBitmapBackground, 0, kWidth));
    // Nothing between the bitmap and the text; the text in its colour after.
    EXPECT_EQ((kTextStart - kBitmapSize) * kHeight, canvas->Count(kWhite, kBitmapSize, kTextStart));
    EXPECT_GT(canvas->Count(GetParam().text, kTextStart, kWidth), 20);
    EXPECT_EQ(0, canvas->Count(GetParam().text, 0, kTextStart));
}

INSTANTIATE_TEST_SUITE_P(
    States, ImageButtonPaintTest,
    ::testing::Values(PaintCase{"Normal", {}, kOffDisc, kBlueText},
                      PaintCase{"PointedAt", {WM_MOUSEHOVER}, kOnDisc, kRedText},
                      PaintCase{"Pressed", {WM_MOUSEHOVER, WM_LBUTTONDOWN}, kPressedDisc, kRedText}),
    [](const auto& test) { return std::string(test.param.name); });

TEST_F(ImageButtonTest, AnEmptyPressedNameShowsTheNormalBitmapWhilePressed) {
    button_.SetBitmaps("IDB_OFF_BUTTON", "IDB_ON_BUTTON", "", 0xC6C3C6);
    Send(WM_MOUSEHOVER);
    Send(WM_LBUTTONDOWN);
    EXPECT_EQ(kOffDisc, Paint()->At(kDisc.x, kDisc.y));
}

TEST_F(ImageButtonTest, AnEmptyNormalNameKeepsTheNamesButTurnsTheBitmapOn) {
    CImageButton fresh(Resources());
    HWND control = CreateWindowExA(0, "Static", "Custom", WS_CHILD | WS_VISIBLE, 0, 50, kWidth, kHeight,
                                   parent_, nullptr, Resources(), nullptr);
    ASSERT_TRUE(fresh.SubclassWindow(control));
    EXPECT_FALSE(fresh.DrawsBitmap());
    EXPECT_TRUE(fresh.SetBitmaps("", "NO_SUCH_BITMAP", "", 0xC6C3C6));
    EXPECT_TRUE(fresh.DrawsBitmap());
    Canvas canvas(kWidth, kHeight, kWhite);
    SendMessageA(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.Dc()), PRF_CLIENT);
    EXPECT_EQ(kOffDisc, canvas.At(kDisc.x, kDisc.y));
    // Its caption comes from the window text when none was set up.
    EXPECT_GT(canvas.Count(kBlueText, kTextStart, kWidth), 20);
}

TEST_F(ImageButtonTest, ABitmapThatDoesNotLoadMakesATextButtonForGood) {
    button_.SetBitmaps("NO_SUCH_BITMAP", "NOR_THIS", "", 0xC6C3C6);
    const auto canvas = Paint();
    EXPECT_FALSE(button_.DrawsBitmap());
    EXPECT_GT(canvas->Count(kBlueText, 0, kBitmapSize), 0);  // the text starts at the left edge
    button_.SetBitmaps("IDB_OFF_BUTTON", "IDB_ON_BUTTON", "", 0xC6C3C6);
    EXPECT_TRUE(button_.DrawsBitmap());
}

TEST_F(ImageButtonTest, NormalWeightTextIsNarrowerThanBold) {
    // Bold strokes are wider, so the same caption ends further right.
    const int bold = Paint()->RightmostInk(kWhite);
    button_.SetNormalWeight(true);
    const int normal = Paint()->RightmostInk(kWhite);
    EXPECT_GT(normal, kTextStart);
    EXPECT_LT(normal, bold);
}

TEST_F(ImageButtonTest, AnEmptyCaptionDrawsNoText) {
    button_.SetUp(parent_, u"", kId);
    const auto canvas = Paint();
    EXPECT_EQ(0, canvas->Count(kBlueText, 0, kWidth));
    EXPECT_EQ(kOffDisc, canvas->At(kDisc.x, kDisc.y));
}

// DrawTransparentBitmap on a noisy target, with the masked transfer and
// with the composition that stands in for it on Windows 9x.
class TransparentBitmapTest : public ::testing::TestWithParam<bool> {
protected:
    static constexpr int kSize = 24;  // larger than the bitmap: the rest stays transparent

    TransparentBitmapTest() : target_(kSize, kSize, kWhite), before_(kSize, kSize, kWhite) {
        zebl_test::XorShift32 noise(17);
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x) {
                const COLORREF colour = RGB(noise.Byte(), noise.Byte(), noise.Byte());
                target_.Set(x, y, colour);
                before_.Set(x, y, colour);
            }
    }
    bool Draw(const char* name, HDC dc, const RECT& where) {
        return GetParam()
                   ? ui::win32::DrawTransparentBitmap(Resources(), name, dc, where, 0xC6C3C6)
                   : ui::win32::DrawTransparentBitmapWithoutMask(Resources(), name, dc, where, 0xC6C3C6);
    }

    Canvas target_;
    Canvas before_;
};

TEST_P(TransparentBitmapTest, OpaquePixelsAreCopiedAndTheTransparentColourLeavesTheTarget) {
    const RECT where{2, 3, 2 + kSize - 4, 3 + kSize - 4};
    ASSERT_TRUE(Draw("IDB_OFF_BUTTON", target_.Dc(), where));
    // The bitmap itself, unmasked, for reference.
    Canvas plain(kSize, kSize, kWhite);
    {
        ui::win32::Bitmap bitmap = ui::win32::LoadNamedBitmap(Resources(), "IDB_OFF_BUTTON");
        ui::win32::MemoryContext source(plain.Dc());
        ui::win32::Selection selection(source.Get(), bitmap.Get());
        BitBlt(plain.Dc(), 0, 0, kBitmapSize, kBitmapSize, source.Get(), 0, 0, SRCCOPY);
    }
    int opaque = 0;
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            const int bx = x - where.left, by = y - where.top;
            const bool inside = x >= where.left && x < where.right && y >= where.top && y < where.bottom;
            const bool drawn =
                inside && bx < kBitmapSize && by < kBitmapSize && plain.At(bx, by) != kBitmapBackground;
            opaque += drawn ? 1 : 0;
            ASSERT_EQ(drawn ? plain.At(bx, by) : before_.At(x, y), target_.At(x, y))
                << "at " << x << "," << y;
        }
    EXPECT_GT(opaque, 100);
}

TEST_P(TransparentBitmapTest, AMissingBitmapOrTargetDrawsNothing) {
    const RECT where{0, 0, kSize, kSize};
    EXPECT_FALSE(Draw("NO_SUCH_BITMAP", target_.Dc(), where));
    EXPECT_FALSE(Draw("IDB_OFF_BUTTON", nullptr, where));
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) ASSERT_EQ(before_.At(x, y), target_.At(x, y));
}

INSTANTIATE_TEST_SUITE_P(Transfers, TransparentBitmapTest, ::testing::Bool(),
                         [](const auto& test) { return test.param ? "Masked" : "Composed"; });

}  // namespace
