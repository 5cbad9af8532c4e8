// Where Windows keeps itself and its users' folders, and how much room a disk
// has. The win32 layer uses functions that Windows 95 has (A forms, the shell
// functions of its first shell). The posix layer places the folders under
// the machine root, at the places a Windows of this package's time used, and
// creates them on demand.
#pragma once

#include <cstdint>

#include "sys/text.h"

namespace sys {

// GetWindowsDirectoryA: "C:\WINDOWS" or the like, no trailing backslash;
// empty on failure.
WString GetWindowsDirectory();

// The shell's special folders that setup uses (CSIDL values).
enum class SpecialFolder : int {
    kPrograms = 0x0002,        // the user's Start menu programs
    kCommonPrograms = 0x0017,  // the Start menu programs of all users (NT family)
};

// The folder's path; empty and the last error when this Windows has no such
// folder (Windows 95 to Me have no all-users Start menu).
WString GetSpecialFolderPath(SpecialFolder folder);

// GetShortPathNameA: the 8.3 form of an existing file's or folder's path.
// Empty and kErrorFileNotFound when it does not exist, its folder missing
// or not (as Wine answers). A volume without
// short names gives the path as it is, which the posix layer always does.
WString GetShortPathName(WStringView path);

// The bytes free on the disk that holds `path` (a root such as "C:\" or any
// folder on it); false and the last error when it cannot be told.
bool GetDiskFreeSpace(WStringView path, uint64_t* freeBytes);

}  // namespace sys
