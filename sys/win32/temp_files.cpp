// The temporary folder and names in it, through the W forms where the
// system implements them and the A forms elsewhere (wide_forms.h).
#include "sys/temp_files.h"

#include "wide_forms.h"

namespace sys {

WString GetTempPath() {
    if (const auto wide = win32::WideForm<decltype(&::GetTempPathW)>("GetTempPathW")) {
        wchar_t path[MAX_PATH + 1] = {};
        const DWORD length = wide(MAX_PATH + 1, path);
        return length == 0 || length > MAX_PATH ? WString() : win32::FromWide(path);
    }
    char path[MAX_PATH + 1] = {};
    const DWORD length = ::GetTempPathA(MAX_PATH + 1, path);
    return length == 0 || length > MAX_PATH ? WString() : FromCodePage(path);
}

WString GetTempFileName(WStringView folder, WStringView prefix) {
    const WStringView stem = prefix.substr(0, 3);
    if (const auto wide = win32::WideForm<decltype(&::GetTempFileNameW)>("GetTempFileNameW")) {
        wchar_t name[MAX_PATH] = {};
        const WString terminatedFolder = win32::Terminated(folder);
        const WString terminatedPrefix = win32::Terminated(stem);
        if (wide(win32::Wide(terminatedFolder), win32::Wide(terminatedPrefix), 0, name) == 0) return {};
        return win32::FromWide(name);
    }
    char name[MAX_PATH] = {};
    if (::GetTempFileNameA(win32::Ansi(folder).c_str(), win32::Ansi(stem).c_str(), 0, name) == 0) return {};
    return FromCodePage(name);
}

}  // namespace sys
