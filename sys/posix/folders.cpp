// The Windows folders under the machine root, at the places Windows 2000
// and XP use, made when first asked for.
#include "sys/folders.h"

#include <sys/stat.h>
#include <sys/statvfs.h>

#include "error_codes.h"
#include "host_paths.h"
#include "sys/last_error.h"

namespace sys {
namespace {

constexpr char16_t kWindowsDirectory[] = u"C:\\WINDOWS";
constexpr char16_t kUserPrograms[] = u"C:\\Documents and Settings\\User\\Start Menu\\Programs";
constexpr char16_t kAllUsersPrograms[] = u"C:\\Documents and Settings\\All Users\\Start Menu\\Programs";

// The folder, made when missing; empty and the last error when it cannot be.
WString MadeFolder(WStringView path) {
    posix::HostPath host;
    if (!posix::ToHostPath(path, &host)) return WString();
    if (!posix::MakeFolders(host.path)) {
        SetLastError(kErrorPathNotFound);
        return WString();
    }
    return WString(path);
}

}  // namespace

WString GetWindowsDirectory() { return MadeFolder(kWindowsDirectory); }

WString GetSpecialFolderPath(SpecialFolder folder) {
    switch (folder) {
        case SpecialFolder::kPrograms: return MadeFolder(kUserPrograms);
        case SpecialFolder::kCommonPrograms: return MadeFolder(kAllUsersPrograms);
    }
    SetLastError(kErrorInvalidParameter);
    return WString();
}

// A volume without 8.3 names, as NTFS can be set up: the path stays as it is.
WString GetShortPathName(WStringView path) {
    posix::HostPath host;
    if (!posix::ToHostPath(path, &host)) return WString();
    struct stat st;
    if (::stat(host.path.c_str(), &st) != 0) {
        // Wine says "file not found" for a missing folder too.
        posix::FailFromErrno();
        return WString();
    }
    return WString(path);
}

bool GetDiskFreeSpace(WStringView path, uint64_t* freeBytes) {
    posix::HostPath host;
    if (!posix::ToHostPath(path, &host)) return false;
    struct statvfs volume;
    if (::statvfs(host.path.c_str(), &volume) != 0) return posix::FailFromErrno(host.parentExists);
    // What an unprivileged user may still write, as Windows counts it for a
    // user with a quota.
    *freeBytes = uint64_t{volume.f_bavail} * volume.f_frsize;
    return true;
}

}  // namespace sys
