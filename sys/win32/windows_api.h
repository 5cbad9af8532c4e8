// The Windows headers for the win32 layer, and char16_t strings for the W
// functions (char16_t and wchar_t are both UTF-16 units on Windows).
//
// The rule for names that Windows and sys:: share
// -------------------------------------------------
// A sys:: function that does what a Win32 function does takes its plain
// name (sys::DeleteFile, sys::OpenPrinter, sys::GetPrivateProfileString).
// The Windows headers make most such names macros (DeleteFile expands to
// DeleteFileW or DeleteFileA), which would rename the sys:: declaration in
// one file and not in another, and the link fails or, worse, picks the
// wrong function. So:
// 1. Files of sys/win32 include <windows.h> and <winspool.h> through this
//    header only. Outside sys/, only a file that defines a Windows entry
//    point itself (render/dll/dll_main_win32.cpp) includes <windows.h>,
//    and such a file includes no sys:: header.
// 2. Every such macro is #undef'd below, in alphabetical order; a new sys::
//    function with a Win32 name adds its line here.
// 3. This layer calls the A or W function by its full name (DeleteFileW,
//    GetPrivateProfileStringA), never the macro.
#pragma once

#include <windows.h>
// The others need <windows.h> first.
#include <shellapi.h>
#include <shlobj.h>
#include <winspool.h>

#undef AddPrinter
#undef AddPrinterDriver
#undef CreateDirectory
#undef DeleteFile
#undef DeletePrinterDriver
#undef GetCommandLine
#undef GetCurrentDirectory
#undef GetDiskFreeSpace
#undef GetEnvironmentVariable
#undef GetFileAttributes
#undef GetPrivateProfileSection
#undef GetPrivateProfileString
#undef GetShortPathName
#undef GetSystemDirectory
#undef GetTempFileName
#undef GetTempPath
#undef GetVersionEx
#undef GetWindowsDirectory
#undef LoadLibrary
#undef MessageBox
#undef OpenPrinter
#undef OutputDebugString
#undef RegDeleteKey
#undef RemoveDirectory
#undef SetCurrentDirectory
#undef SetEnvironmentVariable
#undef SetFileAttributes
#undef ShellExecute
#undef StartDocPrinter
#undef WritePrivateProfileSection
#undef WritePrivateProfileString

#include "sys/text.h"

namespace sys::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t));

// A NUL-terminated copy for the API (views need not be terminated).
inline WString Terminated(WStringView text) { return WString(text); }

inline const wchar_t* Wide(const WString& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }
inline wchar_t* MutableWide(WString& text) { return reinterpret_cast<wchar_t*>(text.data()); }
inline WString FromWide(const wchar_t* text) {
    return text ? WString(reinterpret_cast<const char16_t*>(text)) : WString();
}

}  // namespace sys::win32
