#include "win32/windows_api.h"
// windows_api.h first: the headers below must not see its macros.
#include "win32/picture_pane.h"

#include "win32/gdi_handles.h"

namespace ui::win32 {

LRESULT CPicturePane::WindowProcedure(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND: return TRUE;  // the picture covers every pixel
        case WM_PAINT: {
            PAINTSTRUCT paint{};
            if (HDC dc = BeginPaint(Handle(), &paint)) {
                Paint(dc);
                EndPaint(Handle(), &paint);
            }
            return 0;
        }
        case WM_PRINTCLIENT: Paint(reinterpret_cast<HDC>(wParam)); return 0;
        default: return Default(message, wParam, lParam);
    }
}

void CPicturePane::Paint(HDC dc) {
    RECT client{};
    GetClientRect(Handle(), &client);
    const Bitmap picture = LoadNamedBitmap(resources_, bitmapName_.c_str());
    const SIZE size = BitmapSize(picture.Get());
    MemoryContext source(dc);
    if (picture && source) {
        const Selection selection(source.Get(), picture.Get());
        // Halftone averages the pixels it drops; Windows 9x knows only the
        // plain modes and takes this as a copy of every kept pixel. The brush
        // origin must be set again after choosing halftone.
        const int previousMode = SetStretchBltMode(dc, HALFTONE);
        POINT previousOrigin{};
        SetBrushOrgEx(dc, 0, 0, &previousOrigin);
        StretchBlt(dc, client.left, client.top, client.right - client.left, client.bottom - client.top,
                   source.Get(), 0, 0, size.cx, size.cy, SRCCOPY);
        SetBrushOrgEx(dc, previousOrigin.x, previousOrigin.y, nullptr);
        SetStretchBltMode(dc, previousMode);
    } else {
        // No picture in the resources: the dialog's own colour, not garbage.
        FillRect(dc, &client, GetSysColorBrush(COLOR_3DFACE));
    }
}

}  // namespace ui::win32
