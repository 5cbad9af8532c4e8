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

ModuleHandle LoadLibrary(WStringView path) {
    const WString terminated = win32::Terminated(path);
    return ::LoadLibraryW(win32::Wide(terminated));
}

void* GetProcAddress(ModuleHandle module, const char* name) {
    if (module == nullptr || name == nullptr) {
        ::SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(module), name));
}

bool FreeLibrary(ModuleHandle module) {
    return module != nullptr && ::FreeLibrary(static_cast<HMODULE>(module)) != FALSE;
}

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

WString GetSystemDirectory() {
    wchar_t folder[MAX_PATH + 1] = {};
    const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH + 1);
    if (length == 0 || length > MAX_PATH) return WString();
    return win32::FromWide(folder);
}

}  // namespace sys
