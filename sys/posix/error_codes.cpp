#include "error_codes.h"

#include <cerrno>

#include "sys/last_error.h"

namespace sys::posix {

uint32_t WindowsError(int errnoValue, bool parentExists) {
    switch (errnoValue) {
        case 0: return kErrorSuccess;
        case ENOENT: return parentExists ? kErrorFileNotFound : kErrorPathNotFound;
        case ENOTDIR: return kErrorPathNotFound;
        case EACCES:
        case EPERM:
        case EISDIR: return kErrorAccessDenied;
        case EBADF: return kErrorInvalidHandle;
        case ENOMEM: return kErrorNotEnoughMemory;
        case EROFS: return 19;  // ERROR_WRITE_PROTECT
        case EIO: return kErrorWriteFault;
        case EBUSY:
        case ETXTBSY: return kErrorSharingViolation;
        case EEXIST: return kErrorFileExists;
        case EINVAL: return kErrorInvalidParameter;
        case ENOSPC:
        case EDQUOT: return kErrorDiskFull;
        case ENAMETOOLONG: return kErrorFilenameTooLong;
        case ENOTEMPTY: return kErrorDirNotEmpty;
        case EMFILE:
        case ENFILE: return 4;  // ERROR_TOO_MANY_OPEN_FILES
        default: return kErrorGenFailure;
    }
}

bool Fail(uint32_t code) {
    SetLastError(code);
    return false;
}

bool FailFromErrno(bool parentExists) { return Fail(WindowsError(errno, parentExists)); }

}  // namespace sys::posix
