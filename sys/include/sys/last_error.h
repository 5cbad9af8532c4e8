// The calling thread's last error code, with the numbering of the Windows API
// (2 file not found, 5 access denied, 87 invalid parameter, ...). Every failing
// call of the system layer sets it, as the Windows functions do.
#pragma once

#include <cstdint>

namespace sys {

enum : uint32_t {
    kErrorSuccess = 0,
    kErrorFileNotFound = 2,
    kErrorPathNotFound = 3,
    kErrorAccessDenied = 5,
    kErrorInvalidHandle = 6,
    kErrorNotEnoughMemory = 8,
    kErrorNotSameDevice = 17,
    kErrorNoMoreFiles = 18,
    kErrorWriteFault = 29,
    kErrorGenFailure = 31,
    kErrorSharingViolation = 32,
    kErrorNotSupported = 50,
    kErrorBadNetPath = 53,
    kErrorFileExists = 80,
    kErrorInvalidParameter = 87,
    kErrorDiskFull = 112,
    kErrorInsufficientBuffer = 122,
    kErrorInvalidName = 123,
    kErrorNegativeSeek = 131,
    kErrorDirNotEmpty = 145,
    kErrorBadPathname = 161,
    kErrorAlreadyExists = 183,
    kErrorFilenameTooLong = 206,
    kErrorMoreData = 234,
    kErrorNoMoreItems = 259,
    kErrorDirectory = 267,
    kErrorKeyDeleted = 1018,
    kErrorUnsupportedType = 1630,
    kErrorInvalidPrinterName = 1801,
    kErrorInvalidDatatype = 1804,
    kErrorInvalidPrinterState = 1906,
    kErrorNoStartDoc = 3003,
};

uint32_t GetLastError();
void SetLastError(uint32_t code);

}  // namespace sys
