// The temporary folder is always C:\TEMP\ of the machine root. Temporary
// names follow GetTempFileName: "<folder>\<prefix, at most three
// characters><hex number>.tmp", the number starting from the clock and
// counting up until a name is free; the file is created empty, atomically, so
// that concurrent processes never get the same name.
#include "sys/temp_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "error_codes.h"
#include "host_paths.h"
#include "sys/clock.h"
#include "sys/files.h"
#include "sys/last_error.h"

namespace sys {
namespace {

constexpr char16_t kTempFolder[] = u"C:\\TEMP";
constexpr uint32_t kNumbers = 0xFFFF;  // four hex digits, never 0

WString UniqueName(WStringView folder, WStringView prefix, uint32_t number) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "%X", number);
    WString name(folder);
    if (name.empty() || (name.back() != u'\\' && name.back() != u'/')) name += u'\\';
    name += prefix.substr(0, 3);
    name += Widen(hex);
    name += u".tmp";
    return name;
}

// Creates the file if the name is free: 1 made, 0 taken, -1 failure.
int TryCreate(WStringView windowsName) {
    posix::HostPath host;
    if (!posix::ToHostPath(windowsName, &host)) return -1;
    struct stat info;
    if (::stat(host.path.c_str(), &info) == 0) return 0;  // taken, maybe in other case
    const int fd = ::open(host.path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
        ::close(fd);
        return 1;
    }
    if (errno == EEXIST) return 0;
    posix::FailFromErrno(host.parentExists);
    return -1;
}

}  // namespace

WString GetTempPath() {
    if (!CreateDirectory(kTempFolder) && GetLastError() != kErrorAlreadyExists) return {};
    return WString(kTempFolder) + u"\\";
}

WString GetTempFileName(WStringView folder, WStringView prefix) {
    if (!(GetFileAttributes(folder) != kInvalidAttributes && (GetFileAttributes(folder) & kAttrDirectory))) {
        posix::Fail(kErrorDirectory);
        return {};
    }
    const uint32_t start = (GetTickCount() ^ static_cast<uint32_t>(::getpid())) % kNumbers;
    for (uint32_t i = 0; i < kNumbers; ++i) {
        WString name = UniqueName(folder, prefix, (start + i) % kNumbers + 1);
        const int made = TryCreate(name);
        if (made > 0) {
            SetLastError(kErrorSuccess);
            return name;
        }
        if (made < 0) return {};
    }
    posix::Fail(kErrorFileExists);
    return {};
}

}  // namespace sys
