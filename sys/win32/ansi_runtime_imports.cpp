// The three W functions that the static C and C++ runtimes import, given
// to the runtime as A calls, for the programs and modules that must start
// on Windows 95 (linked into them as an object of their own, see
// sys/CMakeLists.txt).
//
// Windows 95 to Me export GetModuleHandleW, LoadLibraryW and
// CreateSemaphoreW only as stubs that fail. The runtime calls them through
// the import pointers __imp__<name>@<bytes>: libgcc's thread and unwinder
// locks make unnamed semaphores, and the C runtime's wrappers look its own
// DLL up by name ("msvcrt.dll") to see which functions it has. This object
// defines those pointers, so the linker takes them from here and never asks
// kernel32 for the W forms. The names the runtime passes are ASCII; any
// name in the ANSI code page goes through whole, and a longer or
// unconvertible one fails as the system would fail it.
#include "windows_api.h"

namespace {

// `wide` in the ANSI code page in `ansi`; false (and the last error) if
// it does not fit or does not convert.
bool ToAnsi(const wchar_t* wide, char (&ansi)[MAX_PATH * 2]) {
    BOOL lossy = FALSE;
    const int bytes = ::WideCharToMultiByte(CP_ACP, 0, wide, -1, ansi, sizeof ansi, nullptr, &lossy);
    if (bytes == 0) {
        ::SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return false;
    }
    if (lossy) {
        ::SetLastError(ERROR_INVALID_NAME);
        return false;
    }
    return true;
}

HMODULE WINAPI AnsiGetModuleHandle(const wchar_t* name) {
    if (name == nullptr) return ::GetModuleHandleA(nullptr);
    char ansi[MAX_PATH * 2];
    return ToAnsi(name, ansi) ? ::GetModuleHandleA(ansi) : nullptr;
}

HMODULE WINAPI AnsiLoadLibrary(const wchar_t* name) {
    if (name == nullptr) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    char ansi[MAX_PATH * 2];
    return ToAnsi(name, ansi) ? ::LoadLibraryA(ansi) : nullptr;
}

HANDLE WINAPI AnsiCreateSemaphore(SECURITY_ATTRIBUTES* security, LONG initialCount, LONG maximumCount,
                                  const wchar_t* name) {
    if (name == nullptr) return ::CreateSemaphoreA(security, initialCount, maximumCount, nullptr);
    char ansi[MAX_PATH * 2];
    return ToAnsi(name, ansi) ? ::CreateSemaphoreA(security, initialCount, maximumCount, ansi) : nullptr;
}

}  // namespace

// The import pointers, under the names the import libraries give them
// (stdcall: a leading underscore and the argument bytes). extern gives the
// constants the external linkage that const alone would take away.
extern "C" {
using GetModuleHandleWide = HMODULE(WINAPI*)(const wchar_t*);
using LoadLibraryWide = HMODULE(WINAPI*)(const wchar_t*);
using CreateSemaphoreWide = HANDLE(WINAPI*)(SECURITY_ATTRIBUTES*, LONG, LONG, const wchar_t*);

extern const GetModuleHandleWide zeblImpGetModuleHandleW __asm__("__imp__GetModuleHandleW@4");
extern const LoadLibraryWide zeblImpLoadLibraryW __asm__("__imp__LoadLibraryW@4");
extern const CreateSemaphoreWide zeblImpCreateSemaphoreW __asm__("__imp__CreateSemaphoreW@16");

const GetModuleHandleWide zeblImpGetModuleHandleW = AnsiGetModuleHandle;
const LoadLibraryWide zeblImpLoadLibraryW = AnsiLoadLibrary;
const CreateSemaphoreWide zeblImpCreateSemaphoreW = AnsiCreateSemaphore;
}
