// The Win32 dialog view: CreateDialogParamA and a modal loop of our own,
// the A functions only (the autorun menu runs on Windows 95).
#include "win32/windows_api.h"
// windows_api.h first: the headers below must not see its macros.
#include "win32/dialog_view.h"

#include <cstring>

#include "sys/answer_script.h"
#include "sys/text.h"

namespace ui::win32 {
namespace {

constexpr COLORREF kWhite = 0xFFFFFF;

Rect ToRect(const RECT& rect) { return Rect{rect.left, rect.top, rect.right, rect.bottom}; }

// The character set of the system's code page: ANSI_CHARSET (0) on Western
// systems, SHIFTJIS_CHARSET on Japanese ones and so on. A font asked for
// with it maps to a face that has the glyphs of the texts the dialogs show
// in that code page; with ANSI_CHARSET a Japanese or Chinese system would
// draw boxes.
BYTE SystemCharset() {
    CHARSETINFO info{};
    const auto codePage = static_cast<UINT_PTR>(GetACP());
    if (!TranslateCharsetInfo(reinterpret_cast<DWORD*>(codePage), &info, TCI_SRCCODEPAGE))
        return ANSI_CHARSET;
    return static_cast<BYTE>(info.ciCharset);
}

}  // namespace

Win32DialogView::Win32DialogView(const DialogTemplate& dialogTemplate, sys::ModuleHandle resources)
    : templateId_(dialogTemplate.id), resources_(static_cast<HINSTANCE>(resources)) {}

Win32DialogView::~Win32DialogView() {
    if (window_ != nullptr) DestroyWindow(window_);
    ReleaseWindowObjects();
}

int Win32DialogView::DoModal(DialogEvents& events) {
    if (window_ != nullptr) return -1;  // one run at a time
    events_ = &events;
    ended_ = false;
    result_ = -1;
    HWND dialog = CreateDialogParamA(resources_, MAKEINTRESOURCEA(templateId_), nullptr, &Procedure,
                                     reinterpret_cast<LPARAM>(this));
    if (dialog == nullptr) {
        events_ = nullptr;
        ReleaseWindowObjects();
        return -1;
    }
    if (!ended_) ShowWindow(dialog, SW_SHOW);

    // The modal loop. The controller's key filter sees each key before the
    // dialog manager, which would turn Escape and Alt+F4 into a close.
    MSG message{};
    bool quit = false;
    while (!ended_) {
        const BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got == 0) {
            quit = true;
            break;
        }
        if (got == -1) break;
        if (FilteredKey(message)) continue;
        if (IsDialogMessageA(dialog, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    DestroyWindow(dialog);
    window_ = nullptr;
    events_ = nullptr;
    ReleaseWindowObjects();
    // A quit that arrived during the dialog belongs to the loop outside.
    if (quit) PostQuitMessage(static_cast<int>(message.wParam));
    return result_;
}

void Win32DialogView::EndDialog(int result) {
    if (window_ == nullptr) return;
    result_ = result;
    ended_ = true;
    ShowWindow(window_, SW_HIDE);
    PostMessageA(window_, WM_NULL, 0, 0);  // wakes the modal loop
}

bool Win32DialogView::FilteredKey(const MSG& message) const {
    if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) return false;
    if (events_ == nullptr || (message.hwnd != window_ && !IsChild(window_, message.hwnd))) return false;
    const KeyMessage key{message.message, static_cast<uint32_t>(message.wParam)};
    return events_->PreTranslateKey(key);
}

INT_PTR CALLBACK Win32DialogView::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(window, DWLP_USER, lParam);
        auto* self = reinterpret_cast<Win32DialogView*>(lParam);
        self->window_ = window;
        self->events_->OnInitDialog();
        return TRUE;
    }
    auto* self = reinterpret_cast<Win32DialogView*>(GetWindowLongPtrA(window, DWLP_USER));
    if (self == nullptr || self->events_ == nullptr) return FALSE;
    return self->OnMessage(message, wParam, lParam);
}

INT_PTR Win32DialogView::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const int id = static_cast<int>(wParam);
    switch (message) {
        case UM_BUTTON_HOVER: events_->OnButtonHover(id); break;
        case UM_BUTTON_LEAVE: events_->OnButtonLeave(id); break;
        case UM_BUTTON_CLICKED: events_->OnButtonClicked(id); break;
        case WM_COMMAND: {
            // The image buttons are statics with the notify style: their own
            // clicked notification is not a command (they post theirs).
            const int control = LOWORD(wParam);
            if (lParam != 0 && buttons_.count(control) != 0) return TRUE;
            events_->OnCommand(control);
            return TRUE;
        }
        case WM_CLOSE: events_->OnCommand(IDCANCEL); return TRUE;
        case WM_CTLCOLORSTATIC:
            return OnControlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        default: return FALSE;
    }
    // The notifications answer 0.
    SetWindowLongPtrA(window_, DWLP_MSGRESULT, 0);
    return TRUE;
}

INT_PTR Win32DialogView::OnControlColour(HDC dc, HWND control) {
    if (onWhite_.count(GetDlgCtrlID(control)) == 0 || !whiteBrush_) return FALSE;
    SetBkMode(dc, TRANSPARENT);
    SetBkColor(dc, kWhite);
    return reinterpret_cast<INT_PTR>(whiteBrush_.Get());
}

HWND Win32DialogView::Control(int id) const { return window_ != nullptr ? GetDlgItem(window_, id) : nullptr; }

void Win32DialogView::SetCaption(sys::WStringView text) {
    if (window_ != nullptr) SetWindowTextA(window_, sys::ToCodePage(text).c_str());
}

void Win32DialogView::SetControlText(int id, sys::WStringView text) {
    if (HWND control = Control(id)) SetWindowTextA(control, sys::ToCodePage(text).c_str());
}

void Win32DialogView::ShowControl(int id, bool show) {
    if (HWND control = Control(id)) ShowWindow(control, show ? SW_SHOW : SW_HIDE);
}

void Win32DialogView::EnableControl(int id, bool enable) {
    if (HWND control = Control(id)) EnableWindow(control, enable ? TRUE : FALSE);
}

Rect Win32DialogView::DialogWindowRect() const {
    RECT rect{};
    if (window_ != nullptr) GetWindowRect(window_, &rect);
    return ToRect(rect);
}

Rect Win32DialogView::ControlWindowRect(int id) const {
    RECT rect{};
    if (HWND control = Control(id)) GetWindowRect(control, &rect);
    return ToRect(rect);
}

void Win32DialogView::MoveControl(int id, int32_t x, int32_t y, int32_t width, int32_t height) {
    if (HWND control = Control(id)) MoveWindow(control, x, y, width, height, TRUE);
}

void Win32DialogView::SetControlFont(int id, const FontSpec& font) {
    HWND control = Control(id);
    if (control == nullptr) return;
    LOGFONTA face{};
    face.lfHeight = font.height;
    face.lfWeight = font.weight;
    face.lfCharSet = SystemCharset();
    const std::string name = sys::ToCodePage(font.face);
    std::strncpy(face.lfFaceName, name.c_str(), sizeof face.lfFaceName - 1);
    Font created(CreateFontIndirectA(&face));
    if (!created) return;
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(created.Get()), TRUE);
    fonts_.push_back(std::move(created));  // lives as long as the dialog
}

CImageButton* Win32DialogView::ImageButton(int id) {
    if (auto found = buttons_.find(id); found != buttons_.end()) return found->second.get();
    HWND control = Control(id);
    if (control == nullptr) return nullptr;
    auto button = std::make_unique<CImageButton>(resources_);
    if (!button->SubclassWindow(control)) return nullptr;
    return buttons_.emplace(id, std::move(button)).first->second.get();
}

const CImageButton* Win32DialogView::FindImageButton(int id) const {
    const auto found = buttons_.find(id);
    return found != buttons_.end() ? found->second.get() : nullptr;
}

void Win32DialogView::SetupImageButton(int id, const ImageButtonSetup& setup) {
    CImageButton* button = ImageButton(id);
    if (button == nullptr) return;
    button->SetUp(window_, setup.text, setup.notifyId);
    button->SetBitmaps(setup.normalBitmap, setup.hoverBitmap, setup.pressedBitmap, setup.transparentColour);
    InvalidateRect(button->Handle(), nullptr, TRUE);
}

void Win32DialogView::SetNormalWeight(int id, bool normalWeight) {
    CImageButton* button = ImageButton(id);
    if (button == nullptr) return;
    button->SetNormalWeight(normalWeight);
    InvalidateRect(button->Handle(), nullptr, TRUE);
}

void Win32DialogView::DrawOnWhite(int id) {
    if (!whiteBrush_) whiteBrush_ = Brush(CreateSolidBrush(kWhite));
    onWhite_.insert(id);
    if (HWND control = Control(id)) InvalidateRect(control, nullptr, TRUE);
}

void Win32DialogView::PaintBitmap(int id, const std::string& bitmapName) {
    HWND control = Control(id);
    if (control == nullptr || pictures_.count(id) != 0) return;
    auto pane = std::make_unique<CPicturePane>(resources_, bitmapName);
    if (!pane->SubclassWindow(control)) return;
    pictures_.emplace(id, std::move(pane));
    InvalidateRect(control, nullptr, TRUE);
}

void Win32DialogView::CenterAndBringToForeground() {
    if (window_ == nullptr) return;
    RECT window{};
    GetWindowRect(window_, &window);
    RECT area{};
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0))
        area = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    const int x = area.left + ((area.right - area.left) - (window.right - window.left)) / 2;
    const int y = area.top + ((area.bottom - area.top) - (window.bottom - window.top)) / 2;
    SetWindowPos(window_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetForegroundWindow(window_);
}

void Win32DialogView::DropAppWindowStyle() {
    if (window_ == nullptr) return;
    const LONG style = GetWindowLongA(window_, GWL_EXSTYLE);
    SetWindowLongA(window_, GWL_EXSTYLE, style & ~WS_EX_APPWINDOW);
}

int Win32DialogView::ShowMessageBox(sys::WStringView text, sys::WStringView caption, uint32_t style) {
    // An unattended run answers every question from its script.
    if (sys::AnswerScriptActive())
        return sys::AnswerMessageBox(sys::Narrow(caption), sys::Narrow(text), style);
    return MessageBoxA(window_, sys::ToCodePage(text).c_str(), sys::ToCodePage(caption).c_str(), style);
}

void Win32DialogView::ReleaseWindowObjects() {
    // The controls are gone (or never came); their objects and the fonts
    // and brush they drew with go after them.
    buttons_.clear();
    pictures_.clear();
    fonts_.clear();
    onWhite_.clear();
    whiteBrush_.Reset();
}

}  // namespace ui::win32
