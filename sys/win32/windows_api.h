// The Windows headers for the win32 layer, and char16_t strings for the W
// functions (char16_t and wchar_t are both UTF-16 units on Windows).
#pragma once

#include <windows.h>
#include <winspool.h>

// The headers map names such as DeleteFile to DeleteFileW with macros, which
// would rename the sys:: functions of the same names. This layer calls the
// A and W functions by their full names.
#undef AddPrinter
#undef CreateDirectory
#undef DeleteFile
#undef GetFileAttributes
#undef GetTempFileName
#undef GetTempPath
#undef OpenPrinter
#undef OutputDebugString
#undef RemoveDirectory
#undef SetFileAttributes
#undef StartDocPrinter

#include "sys/text.h"

namespace sys::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t));

// A NUL-terminated copy for the API (views need not be terminated).
inline WString Terminated(WStringView text) { return WString(text); }

inline const wchar_t* Wide(const WString& text) {
    return reinterpret_cast<const wchar_t*>(text.c_str());
}
inline wchar_t* MutableWide(WString& text) { return reinterpret_cast<wchar_t*>(text.data()); }
inline WString FromWide(const wchar_t* text) {
    return text ? WString(reinterpret_cast<const char16_t*>(text)) : WString();
}

}  // namespace sys::win32
