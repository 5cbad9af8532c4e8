// errno values as the Windows error codes the package expects.
#pragma once

#include <cstdint>

namespace sys::posix {

// `parentExists` tells a missing file (2) from a missing folder (3).
uint32_t WindowsError(int errnoValue, bool parentExists = true);

// Sets the last error and returns false, for one-line failure returns.
bool Fail(uint32_t code);
bool FailFromErrno(bool parentExists = true);

}  // namespace sys::posix
