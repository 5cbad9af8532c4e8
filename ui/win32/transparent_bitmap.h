// Painting a bitmap resource with one colour left out: the image buttons'
// state bitmaps are drawn on the dialog's white panel with their grey
// background (0xC6C3C6) not drawn, so the panel shows through.
#pragma once

#include <cstdint>

#include "win32/windows_api.h"

namespace ui::win32 {

// Draws the named bitmap of `resources` into `target` at `destination`'s
// top-left corner, `destination`'s size (a bitmap smaller than that is
// padded with the transparent colour, a larger one cut), leaving every
// pixel of `transparentColour` (a COLORREF) undrawn. False when the bitmap
// is not in the resources or there is no target.
bool DrawTransparentBitmap(HINSTANCE resources, const char* bitmapName, HDC target, const RECT& destination,
                           uint32_t transparentColour);

// The same without the masked transfer (MaskBlt), which Windows 95, 98 and
// Me do not have: the target area is composed in a scratch bitmap with AND,
// AND NOT and OR transfers and copied back. DrawTransparentBitmap falls back
// to it when the masked transfer fails; tests call it to compare the two.
bool DrawTransparentBitmapWithoutMask(HINSTANCE resources, const char* bitmapName, HDC target,
                                      const RECT& destination, uint32_t transparentColour);

}  // namespace ui::win32
