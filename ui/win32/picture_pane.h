// A static control that shows a bitmap of the resource module stretched
// over its whole client area: the picture on the left of the autorun
// dialogs. The control paints it itself, so the picture survives every
// repaint, whatever the control's own style would draw.
#pragma once

#include <string>

#include "win32/image_button.h"

namespace ui::win32 {

class CPicturePane : public CTextStatic {
public:
    CPicturePane(HINSTANCE resources, std::string bitmapName)
        : resources_(resources), bitmapName_(std::move(bitmapName)) {}

protected:
    LRESULT WindowProcedure(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Paint(HDC dc);

    HINSTANCE resources_;
    std::string bitmapName_;
};

}  // namespace ui::win32
