// Which module holds an address. Loading modules is in module_loading.cpp,
// apart from this, so that the programs that must start on Windows 95 can
// load modules without importing GetModuleFileNameW.
#include "sys/modules.h"

#include "sys/last_error.h"
#include "windows_api.h"

namespace sys {
namespace {

// A module's image is one allocation that starts at the module's base, which
// is its instance handle. (GetModuleHandleExW with an address would say the
// same, but Windows 2000 does not have it.)
HMODULE ModuleContaining(const void* address) {
    MEMORY_BASIC_INFORMATION info{};
    if (address == nullptr || ::VirtualQuery(address, &info, sizeof info) == 0) return nullptr;
    return static_cast<HMODULE>(info.AllocationBase);
}

}  // namespace

WString GetModuleFileNameContaining(const void* addressInModule) {
    // A null base would name the program, whatever the address.
    const HMODULE module = ModuleContaining(addressInModule);
    if (module == nullptr) {
        ::SetLastError(ERROR_MOD_NOT_FOUND);
        return WString();
    }
    // GetModuleFileNameW truncates silently (and on Windows 2000 without a
    // terminating NUL): grow the buffer until the name fits with room over.
    for (DWORD size = MAX_PATH; size <= 32768; size *= 2) {
        WString name(size, u'\0');
        const DWORD length = ::GetModuleFileNameW(module, win32::MutableWide(name), size);
        if (length == 0) return WString();
        if (length < size - 1) {
            name.resize(length);
            return name;
        }
    }
    ::SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return WString();
}

}  // namespace sys
