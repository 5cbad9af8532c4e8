// The Win32 dialog view: a real modal dialog made from a template of a
// module's resources, driven by a portable controller through DialogView.
// It runs its own modal loop (as the dialog framework's modal dialogs do),
// so that the controller sees every key before the dialog manager turns
// Escape or Alt+F4 into a close.
#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "ui/dialog_view.h"
#include "win32/gdi_handles.h"
#include "win32/image_button.h"
#include "win32/picture_pane.h"

namespace ui::win32 {

class Win32DialogView final : public DialogView {
public:
    Win32DialogView(const DialogTemplate& dialogTemplate, sys::ModuleHandle resources);
    ~Win32DialogView() override;

    int DoModal(DialogEvents& events) override;
    void EndDialog(int result) override;
    WindowHandle Window() const override { return window_; }
    void SetCaption(sys::WStringView text) override;
    void SetControlText(int id, sys::WStringView text) override;
    void ShowControl(int id, bool show) override;
    void EnableControl(int id, bool enable) override;
    Rect DialogWindowRect() const override;
    Rect ControlWindowRect(int id) const override;
    void MoveControl(int id, int32_t x, int32_t y, int32_t width, int32_t height) override;
    void SetControlFont(int id, const FontSpec& font) override;
    void SetupImageButton(int id, const ImageButtonSetup& setup) override;
    void SetNormalWeight(int id, bool normalWeight) override;
    void DrawOnWhite(int id) override;
    void PaintBitmap(int id, const std::string& bitmapName) override;
    void CenterAndBringToForeground() override;
    void DropAppWindowStyle() override;
    int ShowMessageBox(sys::WStringView text, sys::WStringView caption, uint32_t style) override;

    // The image button bound to control `id` while the dialog shows; null
    // when the control is not one.
    const CImageButton* FindImageButton(int id) const;

private:
    static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnControlColour(HDC dc, HWND control);
    // True when the controller's key filter swallows this message.
    bool FilteredKey(const MSG& message) const;
    HWND Control(int id) const;
    // The image button of control `id`, bound on first use.
    CImageButton* ImageButton(int id);
    void ReleaseWindowObjects();

    int templateId_;
    HINSTANCE resources_;
    DialogEvents* events_ = nullptr;
    HWND window_ = nullptr;
    bool ended_ = false;
    int result_ = -1;
    std::map<int, std::unique_ptr<CImageButton>> buttons_;
    std::map<int, std::unique_ptr<CPicturePane>> pictures_;
    std::vector<Font> fonts_;
    std::set<int> onWhite_;
    Brush whiteBrush_;
};

}  // namespace ui::win32
