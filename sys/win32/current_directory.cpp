// The current directory through the A functions (Windows 95 has no W ones).
#include "sys/current_directory.h"

#include <string>

#include "windows_api.h"

namespace sys {

WString GetCurrentDirectory() {
    std::string path(MAX_PATH + 1, '\0');
    DWORD length = ::GetCurrentDirectoryA(static_cast<DWORD>(path.size()), path.data());
    if (length >= path.size()) {  // too long for the first buffer: it gave the size needed
        path.assign(length + 1, '\0');
        length = ::GetCurrentDirectoryA(static_cast<DWORD>(path.size()), path.data());
        if (length >= path.size()) return WString();
    }
    return FromCodePage(std::string_view(path.data(), length));
}

bool SetCurrentDirectory(WStringView path) {
    return ::SetCurrentDirectoryA(ToCodePage(path).c_str()) != FALSE;
}

}  // namespace sys
