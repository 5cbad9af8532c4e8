#include "sys/text_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "error_codes.h"
#include "host_paths.h"
#include "sys/last_error.h"

namespace sys {
namespace {

constexpr off_t kMaxTextFileBytes = off_t{16} << 20;

}  // namespace

bool ReadTextFile(WStringView path, std::string* bytes) {
    posix::HostPath host;
    if (!posix::ToHostPath(path, &host)) return false;
    const int fd = ::open(host.path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return posix::FailFromErrno(host.parentExists);
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > kMaxTextFileBytes) {
        const bool tooLarge = st.st_size > kMaxTextFileBytes;
        ::close(fd);
        return posix::Fail(tooLarge ? kErrorNotEnoughMemory : kErrorAccessDenied);
    }
    bytes->clear();
    char chunk[65536];
    for (;;) {
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            const bool ok = got == 0;
            const int error = errno;
            ::close(fd);
            return ok || posix::Fail(posix::WindowsError(error));
        }
        bytes->append(chunk, static_cast<size_t>(got));
    }
}

bool AppendTextLine(WStringView path, std::string_view line) {
    posix::HostPath host;
    if (!posix::ToHostPath(path, &host)) return false;
    const int fd = ::open(host.path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
    if (fd < 0) return posix::FailFromErrno(host.parentExists);
    const ssize_t written = ::write(fd, line.data(), line.size());
    const int error = errno;
    ::close(fd);
    if (written == static_cast<ssize_t>(line.size())) return true;
    return posix::Fail(written < 0 ? posix::WindowsError(error) : kErrorWriteFault);
}

}  // namespace sys
