// What a path names, and replacing a file by another. Apart from files.cpp
// so that the shipped modules, which use neither, do not import GetFileType
// and MoveFileExW (the latter is Windows NT only).
#include "sys/files.h"
#include "windows_api.h"

namespace sys {

using win32::Terminated;
using win32::Wide;

PathKind GetPathKind(WStringView path) {
    const WString name = Terminated(path);
    // \\.\ names (pipes, ports) are not opened to look: opening a pipe takes
    // one of its instances.
    if (name.starts_with(u"\\\\.\\")) return PathKind::Device;
    const DWORD attributes = ::GetFileAttributesW(Wide(name));
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return PathKind::Folder;
    // NUL, CON, COMn and LPTn open as character devices wherever they are named.
    HANDLE handle =
        ::CreateFileW(Wide(name), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
        const DWORD type = ::GetFileType(handle);
        ::CloseHandle(handle);
        return type == FILE_TYPE_DISK ? PathKind::File : PathKind::Device;
    }
    if (attributes != INVALID_FILE_ATTRIBUTES) return PathKind::File;  // open elsewhere, unshared
    return PathKind::Missing;
}

bool MoveFileReplacing(WStringView from, WStringView to) {
    return ::MoveFileExW(Wide(Terminated(from)), Wide(Terminated(to)), MOVEFILE_REPLACE_EXISTING) != FALSE;
}

}  // namespace sys
