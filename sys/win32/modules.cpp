// Which module holds an address: its file name through GetModuleFileNameW
// where the system implements it, GetModuleFileNameA elsewhere
// (wide_forms.h).
#include "sys/modules.h"

#include <string>

#include "sys/last_error.h"
#include "wide_forms.h"

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
    const auto wide = win32::WideForm<decltype(&::GetModuleFileNameW)>("GetModuleFileNameW");
    // GetModuleFileName truncates silently (and on Windows 2000 without a
    // terminating NUL): grow the buffer until the name fits with room over.
    for (DWORD size = MAX_PATH; size <= 32768; size *= 2) {
        if (wide) {
            WString name(size, u'\0');
            const DWORD length = wide(module, win32::MutableWide(name), size);
            if (length == 0) return WString();
            if (length < size - 1) return name.substr(0, length);
        } else {
            std::string name(size, '\0');
            const DWORD length = ::GetModuleFileNameA(module, name.data(), size);
            if (length == 0) return WString();
            if (length < size - 1) return FromCodePage(std::string_view(name).substr(0, length));
        }
    }
    ::SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return WString();
}

}  // namespace sys
