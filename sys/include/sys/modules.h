// Loading modules by name, and where this module and the system live.
#pragma once

#include <cstdint>

#include "sys/text.h"

// The calling convention of exported Windows entry points and of the
// routines the library looks up in other modules.
#if defined(_WIN32)
#define ZEBL_STDCALL __stdcall
#else
#define ZEBL_STDCALL
#endif

namespace sys {

using ModuleHandle = void*;

// The last errors of module loading (the Windows values).
enum : uint32_t {
    kErrorModNotFound = 126,   // no such module file
    kErrorProcNotFound = 127,  // no such exported routine
    kErrorBadExeFormat = 193,  // the file is not a loadable module
};

// LoadLibraryW / dlopen. Null and the last error on failure.
ModuleHandle LoadLibrary(WStringView path);
// GetProcAddress / dlsym by exported name. Null when missing.
void* GetProcAddress(ModuleHandle module, const char* name);
bool FreeLibrary(ModuleHandle module);

// The full file name of the module (DLL or program) that contains the code
// calling this: GetModuleFileNameW of the module's own instance.
WString GetOwnModuleFileName();

// GetSystemDirectoryW: "C:\WINDOWS\system32" or the like, no trailing
// backslash; empty on failure.
WString GetSystemDirectory();

}  // namespace sys
