#include "wide_forms.h"

namespace sys::win32 {

bool SystemHasWideFunctions() {
    // GetVersion sets its top bit on Windows 95, 98 and Me (and Win32s).
    return (::GetVersion() & 0x80000000u) == 0;
}

FARPROC KernelFunction(const char* name) {
    const HMODULE kernel = ::GetModuleHandleA("KERNEL32.DLL");
    return kernel ? ::GetProcAddress(kernel, name) : nullptr;
}

}  // namespace sys::win32
