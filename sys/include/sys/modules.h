// Loading modules by name, and where this module and the system live.
#pragma once

#include <cstdint>

#include "formats/calling_convention.h"  // ZEBL_STDCALL
#include "sys/text.h"

namespace sys {

using ModuleHandle = void*;

// The last errors of module loading (the Windows values).
enum : uint32_t {
    kErrorModNotFound = 126,   // no such module file
    kErrorProcNotFound = 127,  // no such exported routine
    kErrorBadExeFormat = 193,  // the file is not a loadable module
};

// LoadLibraryW / dlopen. Null and the last error on failure (for a missing
// module Windows 95 to Me say 1157, ERROR_DLL_NOT_FOUND, where NT says 126).
ModuleHandle LoadLibrary(WStringView path);
// GetProcAddress / dlsym by exported name. Null when missing.
void* GetProcAddress(ModuleHandle module, const char* name);
bool FreeLibrary(ModuleHandle module);

// The full file name of the module (DLL or program) whose image holds
// `addressInModule`: GetModuleFileNameW of that module's instance. Empty and
// kErrorModNotFound when the address lies in no module.
WString GetModuleFileNameContaining(const void* addressInModule);

// GetSystemDirectoryA: "C:\WINDOWS\system32" or the like, no trailing
// backslash; empty on failure. (The Windows folders are in sys/folders.h.)
WString GetSystemDirectory();

// The module that includes this header: each module (program or library)
// has its own marker, since the system layer may be a module of its own and
// cannot tell by itself which module called it.
namespace {
const char kOwnModuleMarker = 0;

// The full file name of the module that contains the code calling this.
inline WString GetOwnModuleFileName() { return GetModuleFileNameContaining(&kOwnModuleMarker); }
}  // namespace

}  // namespace sys
