// The Windows and system folders through the A functions (Windows 95), in a
// file of their own so that a module asking for them imports nothing else.
#include "sys/folders.h"
#include "sys/modules.h"
#include "windows_api.h"

namespace sys {
namespace {

// A folder function's answer: the length it returns, 0 on failure, or more
// than the buffer when it did not fit.
WString FolderFrom(const char* buffer, UINT length, UINT size) {
    if (length == 0 || length >= size) return WString();
    return FromCodePage(std::string_view(buffer, length));
}

}  // namespace

WString GetWindowsDirectory() {
    char folder[MAX_PATH + 1] = {};
    return FolderFrom(folder, ::GetWindowsDirectoryA(folder, sizeof folder), sizeof folder);
}

WString GetSystemDirectory() {
    char folder[MAX_PATH + 1] = {};
    return FolderFrom(folder, ::GetSystemDirectoryA(folder, sizeof folder), sizeof folder);
}

}  // namespace sys
