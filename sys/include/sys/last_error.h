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
    kErrorWriteFault = 29,
    kErrorSharingViolation = 32,
    kErrorFileExists = 80,
    kErrorInvalidParameter = 87,
    kErrorInsufficientBuffer = 122,
    kErrorAlreadyExists = 183,
    kErrorInvalidPrinterName = 1801,
};

uint32_t GetLastError();
void SetLastError(uint32_t code);

}  // namespace sys
