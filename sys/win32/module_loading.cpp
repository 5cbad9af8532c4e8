// Loading modules by name. A path that the ANSI code page can hold (every
// path on Windows 95 to Me, nearly every one on the NT family) goes through
// LoadLibraryA, which Windows 95 has; any other path needs LoadLibraryW,
// looked up at run time so that no program imports it: it exists (and
// works) on the NT family only.
#include "sys/modules.h"

#include "wide_forms.h"

namespace sys {
namespace {

using LoadLibraryWide = HMODULE(WINAPI*)(const wchar_t*);

HMODULE LoadThroughWideForm(WStringView path) {
    const auto load =
        reinterpret_cast<LoadLibraryWide>(reinterpret_cast<void*>(win32::KernelFunction("LoadLibraryW")));
    if (load == nullptr) {
        ::SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
        return nullptr;
    }
    const WString terminated = win32::Terminated(path);
    return load(win32::Wide(terminated));
}

}  // namespace

ModuleHandle LoadLibrary(WStringView path) {
    const std::string ansi = ToCodePage(path);
    if (FromCodePage(ansi) != path) return LoadThroughWideForm(path);
    return ::LoadLibraryA(ansi.c_str());
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

}  // namespace sys
