// What a path names, and replacing a file by another. Apart from files.cpp
// so that the shipped modules, which use neither, do not import GetFileType
// and MoveFileA.
#include "sys/files.h"
#include "wide_forms.h"

namespace sys {

using win32::Ansi;
using win32::Terminated;
using win32::Wide;
using win32::WideForm;

PathKind GetPathKind(WStringView path) {
    const WString name = Terminated(path);
    // \\.\ names (pipes, ports) are not opened to look: opening a pipe takes
    // one of its instances.
    if (name.starts_with(u"\\\\.\\")) return PathKind::Device;
    const DWORD attributes = GetFileAttributes(name);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return PathKind::Folder;
    // NUL, CON, COMn and LPTn open as character devices wherever they are named.
    const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE;
    const auto createWide = WideForm<decltype(&::CreateFileW)>("CreateFileW");
    HANDLE handle = createWide
                        ? createWide(Wide(name), 0, share, nullptr, OPEN_EXISTING, 0, nullptr)
                        : ::CreateFileA(Ansi(name).c_str(), 0, share, nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
        const DWORD type = ::GetFileType(handle);
        ::CloseHandle(handle);
        return type == FILE_TYPE_DISK ? PathKind::File : PathKind::Device;
    }
    if (attributes != INVALID_FILE_ATTRIBUTES) return PathKind::File;  // open elsewhere, unshared
    return PathKind::Missing;
}

bool MoveFileReplacing(WStringView from, WStringView to) {
    if (const auto moveWide = WideForm<decltype(&::MoveFileExW)>("MoveFileExW"))
        return moveWide(Wide(Terminated(from)), Wide(Terminated(to)), MOVEFILE_REPLACE_EXISTING) != FALSE;
    // Windows 95 to Me have no MoveFileEx, and nothing else that replaces a
    // file in one step: the target goes first (a missing one is no
    // failure), then the rename.
    const std::string target = Ansi(to);
    if (!::DeleteFileA(target.c_str()) && ::GetLastError() != ERROR_FILE_NOT_FOUND) return false;
    return ::MoveFileA(Ansi(from).c_str(), target.c_str()) != FALSE;
}

}  // namespace sys
