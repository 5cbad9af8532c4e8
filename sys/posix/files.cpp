// Files and folders under the machine root, with the Windows behaviour the
// package relies on: share modes, read-only files that refuse writing and
// deletion, and Windows error codes.
#include "sys/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <limits>

#include "error_codes.h"
#include "file_attributes.h"
#include "host_paths.h"
#include "open_files.h"
#include "sys/last_error.h"

namespace sys {
namespace {

using posix::Fail;
using posix::FailFromErrno;

struct OpenFile {
    int fd = -1;
    posix::FileIdentity id;
    Share share = Share::None;
    bool writable = false;
};

enum class Disposition { CreateAlways, OpenExisting };

// Opens the host file and checks read-only and share modes before anything
// is changed, so a refused CREATE_ALWAYS leaves the file as it was.
OpenFile* OpenHostFile(WStringView path, Disposition disposition, bool writable, Share share) {
    posix::HostPath host;
    if (!posix::ToHostPath(path, &host)) return nullptr;
    if (!host.parentExists) {
        Fail(kErrorPathNotFound);
        return nullptr;
    }
    struct stat before;
    const bool existed = ::stat(host.path.c_str(), &before) == 0;
    if (existed && S_ISDIR(before.st_mode)) {
        Fail(kErrorAccessDenied);
        return nullptr;
    }
    if (existed && writable && posix::IsReadOnly(before)) {
        Fail(kErrorAccessDenied);
        return nullptr;
    }
    int flags = (writable ? O_RDWR : O_RDONLY) | O_CLOEXEC;
    if (disposition == Disposition::CreateAlways) flags |= O_CREAT;
    const int fd = ::open(host.path.c_str(), flags, 0666);
    if (fd < 0) {
        FailFromErrno(host.parentExists);
        return nullptr;
    }
    struct stat info;
    if (::fstat(fd, &info) != 0) {
        FailFromErrno();
        ::close(fd);
        return nullptr;
    }
    const posix::FileIdentity id{info.st_dev, info.st_ino};
    if (!posix::RegisterOpenFile(id, share)) {
        ::close(fd);
        Fail(kErrorSharingViolation);
        return nullptr;
    }
    // A device or pipe is written as it is: only a stored file has a length
    // to cut (ftruncate fails on the others with EINVAL).
    if (disposition == Disposition::CreateAlways && S_ISREG(info.st_mode) && ::ftruncate(fd, 0) != 0) {
        FailFromErrno();
        posix::UnregisterOpenFile(id, share);
        ::close(fd);
        return nullptr;
    }
    // CREATE_ALWAYS reports ERROR_ALREADY_EXISTS on success over an old file.
    SetLastError(disposition == Disposition::CreateAlways && existed ? kErrorAlreadyExists : kErrorSuccess);
    return new OpenFile{fd, id, share, writable};
}

OpenFile* AsOpenFile(void* handle) { return static_cast<OpenFile*>(handle); }

// stat of a Windows path; false with 2 or 3 as the last error when missing.
bool StatPath(WStringView path, posix::HostPath* host, struct stat* info) {
    if (!posix::ToHostPath(path, host)) return false;
    if (::stat(host->path.c_str(), info) != 0) return FailFromErrno(host->parentExists);
    return true;
}

}  // namespace

File File::CreateAlways(WStringView path, Share share) {
    return File(OpenHostFile(path, Disposition::CreateAlways, true, share));
}

File File::OpenExisting(WStringView path, bool writable, Share share) {
    return File(OpenHostFile(path, Disposition::OpenExisting, writable, share));
}

bool File::Read(void* data, uint32_t length, uint32_t* got) {
    *got = 0;
    OpenFile* file = AsOpenFile(handle_);
    if (file == nullptr) return Fail(kErrorInvalidHandle);
    auto* bytes = static_cast<uint8_t*>(data);
    while (*got < length) {
        const ssize_t n = ::read(file->fd, bytes + *got, length - *got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return FailFromErrno();
        if (n == 0) break;
        *got += static_cast<uint32_t>(n);
    }
    return true;
}

bool File::Write(const void* data, uint32_t length, uint32_t* written) {
    *written = 0;
    OpenFile* file = AsOpenFile(handle_);
    if (file == nullptr) return Fail(kErrorInvalidHandle);
    if (!file->writable) return Fail(kErrorAccessDenied);
    const auto* bytes = static_cast<const uint8_t*>(data);
    while (*written < length) {
        const ssize_t n = ::write(file->fd, bytes + *written, length - *written);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return FailFromErrno();
        *written += static_cast<uint32_t>(n);
    }
    return true;
}

bool File::Seek(int64_t offset, SeekOrigin origin, uint64_t* position) {
    OpenFile* file = AsOpenFile(handle_);
    if (file == nullptr) return Fail(kErrorInvalidHandle);
    const int whence = origin == SeekOrigin::Begin     ? SEEK_SET
                       : origin == SeekOrigin::Current ? SEEK_CUR
                                                       : SEEK_END;
    const off_t here = ::lseek(file->fd, 0, SEEK_CUR);
    const off_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? here : ::lseek(file->fd, 0, SEEK_END);
    if (here < 0 || base < 0) return FailFromErrno();
    if (offset < 0 && offset < -static_cast<int64_t>(base)) {  // before the start
        ::lseek(file->fd, here, SEEK_SET);                     // position kept
        return Fail(kErrorNegativeSeek);
    }
    if (offset > 0 && offset > std::numeric_limits<off_t>::max() - base) {
        ::lseek(file->fd, here, SEEK_SET);
        return Fail(kErrorInvalidParameter);
    }
    const off_t result = ::lseek(file->fd, static_cast<off_t>(base + offset), SEEK_SET);
    if (result < 0) return FailFromErrno();
    if (position) *position = static_cast<uint64_t>(result);
    return true;
}

void File::Close() {
    OpenFile* file = AsOpenFile(handle_);
    if (file == nullptr) return;
    posix::UnregisterOpenFile(file->id, file->share);
    ::close(file->fd);
    delete file;
    handle_ = nullptr;
}

bool DeleteFile(WStringView path) {
    posix::HostPath host;
    struct stat info;
    if (!StatPath(path, &host, &info)) return false;
    // Folders, devices and pipes are not files to delete.
    if (!S_ISREG(info.st_mode) || posix::IsReadOnly(info)) return Fail(kErrorAccessDenied);
    if (posix::IsFileOpen({info.st_dev, info.st_ino})) return Fail(kErrorSharingViolation);
    if (::unlink(host.path.c_str()) != 0) return FailFromErrno();
    return true;
}

uint32_t GetFileAttributes(WStringView path) {
    posix::HostPath host;
    struct stat info;
    if (!StatPath(path, &host, &info)) return kInvalidAttributes;
    return posix::AttributesOf(host.path, info);
}

bool SetFileAttributes(WStringView path, uint32_t attributes) {
    posix::HostPath host;
    struct stat info;
    if (!StatPath(path, &host, &info)) return false;
    return posix::StoreAttributes(host.path, info, attributes);
}

PathKind GetPathKind(WStringView path) {
    posix::HostPath host;
    struct stat info;
    if (!StatPath(path, &host, &info)) return PathKind::Missing;
    if (S_ISDIR(info.st_mode)) return PathKind::Folder;
    return S_ISREG(info.st_mode) ? PathKind::File : PathKind::Device;
}

bool MoveFileReplacing(WStringView from, WStringView to) {
    posix::HostPath source;
    struct stat sourceInfo;
    if (!StatPath(from, &source, &sourceInfo)) return false;
    posix::HostPath target;
    if (!posix::ToHostPath(to, &target)) return false;
    if (!target.parentExists) return Fail(kErrorPathNotFound);
    if (!S_ISREG(sourceInfo.st_mode)) return Fail(kErrorAccessDenied);
    if (posix::IsFileOpen({sourceInfo.st_dev, sourceInfo.st_ino})) return Fail(kErrorSharingViolation);
    struct stat targetInfo;
    if (::stat(target.path.c_str(), &targetInfo) == 0) {
        if (!S_ISREG(targetInfo.st_mode) || posix::IsReadOnly(targetInfo)) return Fail(kErrorAccessDenied);
        if (posix::IsFileOpen({targetInfo.st_dev, targetInfo.st_ino})) return Fail(kErrorSharingViolation);
    }
    if (::rename(source.path.c_str(), target.path.c_str()) != 0)
        return Fail(errno == EXDEV ? kErrorNotSameDevice : posix::WindowsError(errno));
    return true;
}

bool CreateDirectory(WStringView path) {
    posix::HostPath host;
    if (!posix::ToHostPath(path, &host)) return false;
    if (!host.parentExists) return Fail(kErrorPathNotFound);
    if (::mkdir(host.path.c_str(), 0777) != 0)
        return Fail(errno == EEXIST ? kErrorAlreadyExists : posix::WindowsError(errno));
    return true;
}

bool RemoveDirectory(WStringView path) {
    posix::HostPath host;
    struct stat info;
    if (!StatPath(path, &host, &info)) return false;
    if (!S_ISDIR(info.st_mode)) return Fail(kErrorDirectory);
    if (::rmdir(host.path.c_str()) != 0) {
        return Fail(errno == ENOTEMPTY || errno == EEXIST ? kErrorDirNotEmpty : posix::WindowsError(errno));
    }
    return true;
}

}  // namespace sys
