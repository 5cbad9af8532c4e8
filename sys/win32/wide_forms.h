// The W functions of kernel32 that the file services use, found at run time.
//
// Windows 95 to Me export most W functions only as stubs that fail with
// ERROR_CALL_NOT_IMPLEMENTED, so a program that must start there imports
// the A forms alone. The NT family implements both; there the W form is
// taken, so that every name the file system holds (and every folder the
// system answers, such as a temporary folder under a user name in another
// script) comes through whole. Looking the W form up instead of importing
// it keeps one implementation for every binary: the rendering library, on
// the NT family only, behaves as if it imported the W forms, and Setup and
// its libraries import nothing Windows 95 lacks.
#pragma once

#include <string>

#include "windows_api.h"

namespace sys::win32 {

// True on the NT family, whose W functions work.
bool SystemHasWideFunctions();

// kernel32's function `name`, or null.
FARPROC KernelFunction(const char* name);

// The W form `name` of type Function (written decltype(&::CreateFileW),
// which names the function without importing it) where the system
// implements it, else null: the caller then uses the A form.
template <typename Function>
Function WideForm(const char* name) {
    if (!SystemHasWideFunctions()) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(KernelFunction(name)));
}

// A path for an A function: the ANSI code page, NUL-terminated. A
// character the code page lacks becomes '?', which no file name holds, so
// such a path names nothing rather than another file.
inline std::string Ansi(WStringView path) { return ToCodePage(path); }

}  // namespace sys::win32
