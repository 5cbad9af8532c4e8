// CTextStatic and CImageButton: subclassed static controls.
#include "win32/windows_api.h"
// windows_api.h first: the headers below must not see its macros.
#include "win32/image_button.h"

#include "win32/gdi_handles.h"
#include "win32/transparent_bitmap.h"

namespace ui::win32 {
namespace {

// The window property that leads from a bound control to its object.
constexpr const char* kObjectProperty = "ZeblTextStatic";

// Text colours of the image buttons (COLORREF: red in the low byte).
constexpr COLORREF kRed = 0x0000FF;
constexpr COLORREF kBlue = 0xFF0000;

// The bitmap sits 2 pixels above the client area's top, and the text starts
// 10 pixels right of the bitmap.
constexpr int kBitmapRaise = 2;
constexpr int kTextGap = 10;

// Without mouse tracking (Windows 95 without a newer common-controls
// library) the button looks for the pointer this often once it is over it.
constexpr UINT kPointerPollMilliseconds = 50;

}  // namespace

// Looked up at run time: a static import of either function would keep the
// library from loading on the first Windows 95. The common-controls library
// stays loaded for the life of the process once it was needed.
MouseTracker SystemMouseTracker() {
    if (HMODULE user = GetModuleHandleA("user32.dll"))
        if (void* address = reinterpret_cast<void*>(GetProcAddress(user, "TrackMouseEvent")))
            return reinterpret_cast<MouseTracker>(address);
    HMODULE common = GetModuleHandleA("comctl32.dll");
    if (common == nullptr) common = LoadLibraryA("comctl32.dll");
    if (common == nullptr) return nullptr;
    return reinterpret_cast<MouseTracker>(
        reinterpret_cast<void*>(GetProcAddress(common, "_TrackMouseEvent")));
}

CTextStatic::~CTextStatic() { Unsubclass(); }

bool CTextStatic::SubclassWindow(HWND control) {
    if (control == nullptr || window_ != nullptr || GetPropA(control, kObjectProperty) != nullptr)
        return false;
    window_ = control;
    SetPropA(control, kObjectProperty, this);
    PreSubclassWindow();
    original_ = reinterpret_cast<WNDPROC>(
        SetWindowLongA(control, GWL_WNDPROC, static_cast<LONG>(reinterpret_cast<LONG_PTR>(&Procedure))));
    return true;
}

void CTextStatic::Unsubclass() {
    if (window_ == nullptr) return;
    if (original_ != nullptr)
        SetWindowLongA(window_, GWL_WNDPROC, static_cast<LONG>(reinterpret_cast<LONG_PTR>(original_)));
    RemovePropA(window_, kObjectProperty);
    window_ = nullptr;
    original_ = nullptr;
}

void CTextStatic::SetUp(HWND notifyTarget, sys::WStringView text, int notifyId) {
    notifyTarget_ = notifyTarget;
    text_ = sys::WString(text);
    notifyId_ = notifyId;
}

LRESULT CTextStatic::WindowProcedure(UINT message, WPARAM wParam, LPARAM lParam) {
    return Default(message, wParam, lParam);
}

LRESULT CTextStatic::Default(UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcA(original_, window_, message, wParam, lParam);
}

void CTextStatic::Notify(UINT message, LPARAM lParam, bool post) const {
    if (notifyId_ == -1 || notifyTarget_ == nullptr) return;
    const auto wParam = static_cast<WPARAM>(notifyId_);
    if (post) PostMessageA(notifyTarget_, message, wParam, lParam);
    else SendMessageA(notifyTarget_, message, wParam, lParam);
}

LRESULT CALLBACK CTextStatic::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = static_cast<CTextStatic*>(GetPropA(window, kObjectProperty));
    if (self == nullptr) return DefWindowProcA(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        // The control goes before its object: give it back its own procedure.
        const WNDPROC original = self->original_;
        self->Unsubclass();
        return CallWindowProcA(original, window, message, wParam, lParam);
    }
    return self->WindowProcedure(message, wParam, lParam);
}

CImageButton::CImageButton(HINSTANCE resources, MouseTracker tracker)
    : resources_(resources), tracker_(tracker) {
    hoverColour_ = kRed;
    normalColour_ = kBlue;
}

bool CImageButton::SetBitmaps(const std::string& normal, const std::string& hover, const std::string& pressed,
                              uint32_t transparentColour) {
    bitmap_ = true;
    if (!normal.empty() && !hover.empty()) {
        normalBitmap_ = normal;
        hoverBitmap_ = hover;
        pressedBitmap_ = pressed.empty() ? normal : pressed;
    }
    transparentColour_ = transparentColour;
    return true;
}

void CImageButton::PreSubclassWindow() {
    const LONG style = GetWindowLongA(Handle(), GWL_STYLE);
    SetWindowLongA(Handle(), GWL_STYLE, style | SS_NOTIFY);
    cursor_ = LoadCursorA(resources_, MAKEINTRESOURCEA(kHandCursorId));
}

LRESULT CImageButton::WindowProcedure(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_MOUSEMOVE: OnMouseMove(); break;
        case WM_MOUSEHOVER: OnMouseHover(); return 0;
        case WM_MOUSELEAVE: OnMouseLeave(); return 0;
        case WM_TIMER:
            if (wParam != kPointerPollTimer) break;
            OnPollPointer();
            return 0;
        case WM_LBUTTONDOWN: {
            pressed_ = true;
            const LRESULT result = Default(message, wParam, lParam);
            Repaint();
            return result;
        }
        case WM_LBUTTONUP: {
            Notify(UM_BUTTON_CLICKED, 0, true);
            pressed_ = false;
            const LRESULT result = Default(message, wParam, lParam);
            Repaint();
            return result;
        }
        case WM_SETCURSOR:
            if (cursor_ == nullptr) break;
            SetCursor(cursor_);
            return TRUE;
        case WM_PAINT: OnPaint(); return 0;
        case WM_PRINTCLIENT: Paint(reinterpret_cast<HDC>(wParam)); return 0;
        default: break;
    }
    return Default(message, wParam, lParam);
}

void CImageButton::OnMouseMove() {
    if (tracking_ != 0) return;
    if (tracker_ != nullptr) {
        TRACKMOUSEEVENT request{};
        request.cbSize = sizeof request;
        request.dwFlags = TME_HOVER | TME_LEAVE;
        request.hwndTrack = Handle();
        request.dwHoverTime = 1;
        tracking_ = tracker_(&request) ? 1 : 0;
        return;
    }
    // No tracking from the system: the pointer rests on the button now, and
    // a timer notices when it has gone.
    if (!pollingPointer_ && SetTimer(Handle(), kPointerPollTimer, kPointerPollMilliseconds, nullptr) != 0) {
        pollingPointer_ = true;
        OnMouseHover();
    }
}

void CImageButton::OnPollPointer() {
    POINT pointer{};
    if (GetCursorPos(&pointer) && WindowFromPoint(pointer) == Handle()) return;
    KillTimer(Handle(), kPointerPollTimer);
    pollingPointer_ = false;
    OnMouseLeave();
}

void CImageButton::OnMouseHover() {
    hovered_ = true;
    tracking_ = 1;
    Notify(UM_BUTTON_HOVER, reinterpret_cast<LPARAM>(tipText_.c_str()), false);
    Repaint();
}

void CImageButton::OnMouseLeave() {
    tracking_ = 0;
    hovered_ = false;
    Notify(UM_BUTTON_LEAVE, reinterpret_cast<LPARAM>(tipText_.c_str()), false);
    pressed_ = false;
    Repaint();
}

void CImageButton::Repaint() const {
    HWND parent = GetParent(Handle());
    if (parent == nullptr) {
        InvalidateRect(Handle(), nullptr, TRUE);
        return;
    }
    RECT area{};
    GetWindowRect(Handle(), &area);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&area), 2);
    RedrawWindow(parent, &area, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

const std::string& CImageButton::CurrentBitmapName() const {
    if (!hovered_) return normalBitmap_;
    return pressed_ ? pressedBitmap_ : hoverBitmap_;
}

void CImageButton::OnPaint() {
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(Handle(), &paint);
    if (dc == nullptr) return;
    Paint(dc);
    EndPaint(Handle(), &paint);
}

void CImageButton::Paint(HDC dc) {
    RECT client{};
    GetClientRect(Handle(), &client);
    if (bitmap_) PaintBitmap(dc, client);
    PaintText(dc, client);
}

void CImageButton::PaintBitmap(HDC dc, const RECT& client) {
    // The normal bitmap gives the size of all three.
    const Bitmap normal = LoadNamedBitmap(resources_, normalBitmap_.c_str());
    if (!normal) {
        bitmap_ = false;
        return;
    }
    const SIZE size = BitmapSize(normal.Get());
    const RECT destination{client.left, client.top - kBitmapRaise, client.left + size.cx,
                           client.top - kBitmapRaise + size.cy};
    DrawTransparentBitmap(resources_, CurrentBitmapName().c_str(), dc, destination, transparentColour_);
}

void CImageButton::PaintText(HDC dc, const RECT& client) {
    std::string text = sys::ToCodePage(text_);
    if (text.empty()) {
        char windowText[512] = {};
        GetWindowTextA(Handle(), windowText, sizeof windowText);
        text = windowText;
    }
    if (text.empty()) return;

    SetTextColor(dc, hovered_ ? hoverColour_ : normalColour_);
    LOGFONTA face{};
    auto parentFont = reinterpret_cast<HFONT>(SendMessageA(GetParent(Handle()), WM_GETFONT, 0, 0));
    if (parentFont == nullptr) parentFont = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    GetObjectA(parentFont, sizeof face, &face);
    face.lfWeight = normalWeight_ ? FW_NORMAL : FW_BOLD;
    const Font font(CreateFontIndirectA(&face));
    const Selection fontSelection(dc, font ? static_cast<HGDIOBJ>(font.Get()) : parentFont);
    const int previousMode = SetBkMode(dc, TRANSPARENT);

    RECT textArea = client;
    if (bitmap_) {
        const Bitmap normal = LoadNamedBitmap(resources_, normalBitmap_.c_str());
        if (normal) textArea.left = client.left + BitmapSize(normal.Get()).cx + kTextGap;
        else bitmap_ = false;
    }
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &textArea, DT_WORDBREAK | DT_LEFT | DT_TOP);
    SetBkMode(dc, previousMode);
}

}  // namespace ui::win32
