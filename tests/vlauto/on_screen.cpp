#include "vlauto/on_screen.h"

#include <cstdio>
#include <memory>

#include "data/setup_data.h"
#include "formats/setup_libraries.h"
#include "support/library_paths.h"

namespace zebl_test {
namespace {

constexpr int kDialogWaitMilliseconds = 10000;
constexpr int kCancelButton = 9;  // on both autorun dialogs
// How long the dialog's thread gets to paint after a change.
constexpr DWORD kPaintSettleMilliseconds = 150;

sys::WString Replace(sys::WString text, sys::WStringView from, sys::WStringView to) {
    for (size_t at = text.find(from); at != sys::WString::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

struct DialogSearch {
    int id;
    HWND found;
};

BOOL CALLBACK FindDialogWithControl(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<DialogSearch*>(parameter);
    if (IsWindowVisible(window) && GetDlgItem(window, search->id) != nullptr) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK CancelDialog(HWND window, LPARAM) {
    if (HWND cancel = GetDlgItem(window, kCancelButton))
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(kCancelButton, BN_CLICKED),
                     reinterpret_cast<LPARAM>(cancel));
    return TRUE;
}

BOOL CALLBACK FindPendingPaint(HWND window, LPARAM parameter) {
    if (!IsWindowVisible(window) || !GetUpdateRect(window, nullptr, FALSE)) return TRUE;
    *reinterpret_cast<bool*>(parameter) = true;
    return FALSE;
}

// True while the window or one of its controls waits to be painted.
bool PaintPending(HWND window) {
    bool pending = GetUpdateRect(window, nullptr, FALSE) != FALSE;
    if (!pending) EnumChildWindows(window, &FindPendingPaint, reinterpret_cast<LPARAM>(&pending));
    return pending;
}

// The dialog's thread paints when its queue is otherwise empty, in the
// order the system chooses (siblings beneath a transparent control first);
// forcing the paint from here would paint in z-order instead. So: wait
// until nothing waits to be painted, then a little longer for the last
// paint to reach the screen.
void LetItPaint(HWND window) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 2000, &ignored);
    WaitUntil([window] { return !PaintPending(window); }, 3000);
    Sleep(kPaintSettleMilliseconds);
}

void SendMouse(DWORD flags, POINT screen) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = screen.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = screen.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof input);
    Sleep(60);
}

}  // namespace

COLORREF Picture::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return RGB(255, 255, 255);
    const uint32_t pixel = pixels_[size_t(y) * size_t(width_) + size_t(x)];
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

bool Picture::WriteBmp(const std::string& path) const {
    const int stride = (width_ * 3 + 3) & ~3;
    const uint32_t imageSize = uint32_t(stride) * uint32_t(height_);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    file.bfSize = file.bfOffBits + imageSize;
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = width_;
    info.biHeight = height_;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biSizeImage = imageSize;
    std::unique_ptr<FILE, int (*)(FILE*)> out(std::fopen(path.c_str(), "wb"), &std::fclose);
    if (!out) return false;
    std::fwrite(&file, sizeof file, 1, out.get());
    std::fwrite(&info, sizeof info, 1, out.get());
    std::vector<uint8_t> row(size_t(stride), 0);
    for (int y = height_ - 1; y >= 0; --y) {
        for (int x = 0; x < width_; ++x) {
            const COLORREF pixel = At(x, y);
            row[size_t(x) * 3] = GetBValue(pixel);
            row[size_t(x) * 3 + 1] = GetGValue(pixel);
            row[size_t(x) * 3 + 2] = GetRValue(pixel);
        }
        std::fwrite(row.data(), 1, row.size(), out.get());
    }
    return std::ferror(out.get()) == 0;
}

AutorunOnScreen::AutorunOnScreen(int maintenance) {
    const sys::WString disc = HostPath(ZEBL_DISC_DIR);
    setup::CSetupData data(u"\"" + disc + u"\\Setup.exe\"", u"Setup");
    data.MyGetOSVersion();
    data.m_InstallInfo.nOSVersion = data.m_nOSVersion;
    if (data.MyGetInstallInfo() == 0) return;
    info_ = data.m_InstallInfo;
    languageFile_ = sys::FromCodePage(info_.szLanguageFile);
    // Setup would store its library handles here; without VLEtc, Cancel
    // needs no confirmation.
    info_.hEtcDll = 0;
    info_.hAutoDll = 0;
    info_.pBackgroundWnd = 0;
    library_ = LoadLibraryA(sys::ToCodePage(disc + u"\\VLAuto.Dll").c_str());
    if (library_ == nullptr || GetProcAddress(library_, "SdAutoRunDlg") == nullptr) return;
    started_ = true;
    thread_ = std::thread([this, maintenance] { Run(maintenance); });
}

AutorunOnScreen::~AutorunOnScreen() {
    // A test that failed half-way leaves a dialog open: Cancel it (and the
    // dialogs that follow) until the call returns.
    while (started_ && !finished_) {
        if (const DWORD thread = threadId_) EnumThreadWindows(thread, &CancelDialog, 0);
        Sleep(50);
    }
    if (thread_.joinable()) thread_.join();
    if (library_ != nullptr) FreeLibrary(library_);
}

void AutorunOnScreen::Run(int maintenance) {
    threadId_ = GetCurrentThreadId();
    const auto run =
        reinterpret_cast<SdAutoRunDlgFn>(reinterpret_cast<void*>(GetProcAddress(library_, "SdAutoRunDlg")));
    result_ = run(info_, maintenance);
    finished_ = true;
}

sys::WString AutorunOnScreen::LanguageText(const char16_t* section, const char16_t* key,
                                           bool withProduct) const {
    const setup::CSetupData reader(u"", u"Setup");
    sys::WString text = reader.MyGetProfileString(section, key, languageFile_);
    if (!withProduct) return text;
    text = Replace(text, u"%s", sys::FromCodePage(info_.szProductName));
    return Replace(text, u"%%", u"%");
}

HWND AutorunOnScreen::WaitForDialog(int id) const {
    DialogSearch search{id, nullptr};
    WaitUntil(
        [&] {
            if (const DWORD thread = threadId_)
                EnumThreadWindows(thread, &FindDialogWithControl, reinterpret_cast<LPARAM>(&search));
            return search.found != nullptr || finished_;
        },
        kDialogWaitMilliseconds);
    if (search.found != nullptr) LetItPaint(search.found);
    return search.found;
}

int AutorunOnScreen::Result() {
    if (!started_ || !WaitUntil([this] { return finished_.load(); }, kDialogWaitMilliseconds)) return -2;
    thread_.join();
    return result_;
}

RECT ControlRect(HWND dialog, int id) {
    RECT window{};
    RECT control{};
    GetWindowRect(dialog, &window);
    GetWindowRect(GetDlgItem(dialog, id), &control);
    return RECT{control.left - window.left, control.top - window.top, control.right - window.left,
                control.bottom - window.top};
}

POINT ControlCentre(HWND dialog, int id) {
    RECT control{};
    GetWindowRect(GetDlgItem(dialog, id), &control);
    return POINT{(control.left + control.right) / 2, (control.top + control.bottom) / 2};
}

sys::WString ControlText(HWND dialog, int id) {
    char text[1024] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return sys::FromCodePage(text);
}

void MovePointer(POINT screen) { SendMouse(MOUSEEVENTF_MOVE, screen); }

void ClickAt(POINT screen) {
    SendMouse(MOUSEEVENTF_MOVE, screen);
    SendMouse(MOUSEEVENTF_LEFTDOWN, screen);
    SendMouse(MOUSEEVENTF_LEFTUP, screen);
}

void PressKeys(const std::vector<WORD>& keys) {
    auto send = [](WORD key, DWORD flags) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        input.ki.dwFlags = flags;
        SendInput(1, &input, sizeof input);
        Sleep(30);
    };
    for (WORD key : keys) send(key, 0);
    for (auto key = keys.rbegin(); key != keys.rend(); ++key) send(*key, KEYEVENTF_KEYUP);
}

Picture CaptureWindow(HWND window) {
    LetItPaint(window);
    RECT area{};
    GetWindowRect(window, &area);
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    Picture picture(width, height);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC source = GetWindowDC(window);
    HDC memory = CreateCompatibleDC(source);
    HBITMAP bitmap = CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, source, 0, 0, SRCCOPY);
    GdiFlush();
    const auto* pixels = static_cast<const uint32_t*>(bits);
    for (int y = 0; pixels != nullptr && y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.Set(x, y, pixels[size_t(y) * size_t(width) + size_t(x)] & 0xFFFFFF);
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, source);
    return picture;
}

}  // namespace zebl_test
