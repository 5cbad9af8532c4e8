// Owning wrappers of the GDI objects that the dialog views create: each
// deletes its object when it goes, so that no early return leaks a bitmap,
// a brush, a font or a memory context. Selecting into a context is scoped
// too, as a selected object cannot be deleted.
#pragma once

#include "win32/windows_api.h"

namespace ui::win32 {

// A bitmap, brush or font; DeleteObject when it goes.
template <typename Handle>
class GdiObject {
public:
    GdiObject() = default;
    explicit GdiObject(Handle handle) : handle_(handle) {}
    ~GdiObject() { Reset(); }
    GdiObject(GdiObject&& other) noexcept : handle_(other.Release()) {}
    GdiObject& operator=(GdiObject&& other) noexcept {
        if (this != &other) {
            Reset();
            handle_ = other.Release();
        }
        return *this;
    }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;

    Handle Get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    Handle Release() {
        Handle handle = handle_;
        handle_ = nullptr;
        return handle;
    }
    void Reset() {
        if (handle_ != nullptr) DeleteObject(handle_);
        handle_ = nullptr;
    }

private:
    Handle handle_ = nullptr;
};

using Bitmap = GdiObject<HBITMAP>;
using Brush = GdiObject<HBRUSH>;
using Font = GdiObject<HFONT>;

// A memory device context compatible with `reference`; DeleteDC when it goes.
class MemoryContext {
public:
    explicit MemoryContext(HDC reference) : dc_(CreateCompatibleDC(reference)) {}
    ~MemoryContext() {
        if (dc_ != nullptr) DeleteDC(dc_);
    }
    MemoryContext(const MemoryContext&) = delete;
    MemoryContext& operator=(const MemoryContext&) = delete;

    HDC Get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HDC dc_;
};

// An object selected into a context for a scope; the previous one returns.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~Selection() {
        if (previous_ != nullptr && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
    }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// The size of a bitmap in pixels; 0 x 0 when it cannot be read.
inline SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    if (bitmap == nullptr || GetObjectA(bitmap, sizeof info, &info) == 0) return SIZE{0, 0};
    return SIZE{info.bmWidth, info.bmHeight};
}

// A named bitmap of a module's resources; null when it is not there.
inline Bitmap LoadNamedBitmap(HINSTANCE resources, const char* name) {
    if (name == nullptr || *name == '\0') return Bitmap();
    return Bitmap(LoadBitmapA(resources, name));
}

}  // namespace ui::win32
