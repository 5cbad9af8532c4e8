#include "sys/temp_files.h"

#include "windows_api.h"

namespace sys {

WString GetTempPath() {
    wchar_t path[MAX_PATH + 1] = {};
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, path);
    if (length == 0 || length > MAX_PATH) return {};
    return win32::FromWide(path);
}

WString GetTempFileName(WStringView folder, WStringView prefix) {
    wchar_t name[MAX_PATH] = {};
    const WString terminatedFolder = win32::Terminated(folder);
    const WString terminatedPrefix = win32::Terminated(prefix.substr(0, 3));
    if (::GetTempFileNameW(win32::Wide(terminatedFolder), win32::Wide(terminatedPrefix), 0, name) == 0)
        return {};
    return win32::FromWide(name);
}

}  // namespace sys
