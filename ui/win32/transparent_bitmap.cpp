// A bitmap drawn with one colour left out, through a monochrome mask: the
// mask is 1 where the image has the transparent colour and 0 elsewhere.
// Windows NT draws image and mask in one masked transfer; Windows 9x lacks
// it, and there the target is composed from three ordinary transfers.
#include "win32/windows_api.h"
// windows_api.h first: the headers below must not see its macros.
#include "win32/transparent_bitmap.h"

#include <algorithm>

#include "win32/gdi_handles.h"

namespace ui::win32 {
namespace {

// Raster operations. The masked transfer's code holds two ternary
// operations: the high byte applies where the mask is 0 (0xCC, copy the
// image), the next where it is 1 (0xAA, keep the target).
constexpr DWORD kMaskedCopyKeepingTarget = 0xCCAA0020;
constexpr DWORD kSourceAnd = 0x008800C6;                // D & S
constexpr DWORD kDestinationAndNotSource = 0x00220326;  // D & ~S
constexpr DWORD kSourceOr = 0x00EE0086;                 // D | S

using MaskBltFunction = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, HBITMAP, int, int, DWORD);

// MaskBlt when gdi32 exports it. Looked up at run time: a static import
// would keep the library from loading on Windows 95.
MaskBltFunction MaskedTransfer() {
    HMODULE gdi = GetModuleHandleA("gdi32.dll");
    if (gdi == nullptr) return nullptr;
    void* address = reinterpret_cast<void*>(GetProcAddress(gdi, "MaskBlt"));
    return reinterpret_cast<MaskBltFunction>(address);
}

// The loaded bitmap on a field of the transparent colour, the destination's
// size, and its mask.
struct MaskedImage {
    MaskedImage(HDC target, int width, int height)
        : image(target),
          imageBitmap(CreateCompatibleBitmap(target, width, height)),
          mask(target),
          maskBitmap(CreateBitmap(width, height, 1, 1, nullptr)) {}

    bool Valid() const { return image && imageBitmap && mask && maskBitmap; }

    MemoryContext image;
    Bitmap imageBitmap;
    MemoryContext mask;
    Bitmap maskBitmap;
};

enum class Transfer { kMaskedFirst, kComposedOnly };

bool Draw(HINSTANCE resources, const char* bitmapName, HDC target, const RECT& destination,
          uint32_t transparentColour, Transfer transfer) {
    Bitmap loaded = LoadNamedBitmap(resources, bitmapName);
    if (!loaded || target == nullptr) return false;
    const int width = destination.right - destination.left;
    const int height = destination.bottom - destination.top;
    if (width <= 0 || height <= 0) return true;

    MaskedImage masked(target, width, height);
    if (!masked.Valid()) return false;
    Selection imageSelection(masked.image.Get(), masked.imageBitmap.Get());
    Selection maskSelection(masked.mask.Get(), masked.maskBitmap.Get());
    {
        // The image: the transparent colour everywhere, the bitmap at the
        // top left (a destination larger than the bitmap stays transparent).
        Brush field(CreateSolidBrush(transparentColour));
        RECT all{0, 0, width, height};
        FillRect(masked.image.Get(), &all, field.Get());
        const SIZE size = BitmapSize(loaded.Get());
        MemoryContext source(target);
        Selection sourceSelection(source.Get(), loaded.Get());
        BitBlt(masked.image.Get(), 0, 0, std::min<int>(width, size.cx), std::min<int>(height, size.cy),
               source.Get(), 0, 0, SRCCOPY);
    }
    // Colour to monochrome: pixels of the background colour become 1.
    const COLORREF previousBackground = SetBkColor(masked.image.Get(), transparentColour);
    BitBlt(masked.mask.Get(), 0, 0, width, height, masked.image.Get(), 0, 0, SRCCOPY);
    SetBkColor(masked.image.Get(), previousBackground);

    if (transfer == Transfer::kMaskedFirst) {
        if (MaskBltFunction maskBlt = MaskedTransfer();
            maskBlt != nullptr &&
            maskBlt(target, destination.left, destination.top, width, height, masked.image.Get(), 0, 0,
                    masked.maskBitmap.Get(), 0, 0, kMaskedCopyKeepingTarget)) {
            return true;
        }
    }

    // Without the masked transfer: target AND mask clears the opaque
    // pixels; image AND NOT mask blackens the transparent ones; OR joins
    // them. Monochrome to colour maps 1 to white and 0 to black with the
    // contexts' default text and background colours.
    MemoryContext scratch(target);
    Bitmap scratchBitmap(CreateCompatibleBitmap(target, width, height));
    if (!scratch || !scratchBitmap) return false;
    Selection scratchSelection(scratch.Get(), scratchBitmap.Get());
    BitBlt(scratch.Get(), 0, 0, width, height, target, destination.left, destination.top, SRCCOPY);
    BitBlt(scratch.Get(), 0, 0, width, height, masked.mask.Get(), 0, 0, kSourceAnd);
    BitBlt(masked.image.Get(), 0, 0, width, height, masked.mask.Get(), 0, 0, kDestinationAndNotSource);
    BitBlt(scratch.Get(), 0, 0, width, height, masked.image.Get(), 0, 0, kSourceOr);
    BitBlt(target, destination.left, destination.top, width, height, scratch.Get(), 0, 0, SRCCOPY);
    return true;
}

}  // namespace

bool DrawTransparentBitmap(HINSTANCE resources, const char* bitmapName, HDC target, const RECT& destination,
                           uint32_t transparentColour) {
    return Draw(resources, bitmapName, target, destination, transparentColour, Transfer::kMaskedFirst);
}

bool DrawTransparentBitmapWithoutMask(HINSTANCE resources, const char* bitmapName, HDC target,
                                      const RECT& destination, uint32_t transparentColour) {
    return Draw(resources, bitmapName, target, destination, transparentColour, Transfer::kComposedOnly);
}

}  // namespace ui::win32
