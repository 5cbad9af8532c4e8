// Files written byte for byte by tests: copies of the stand-in modules in a
// test's own folder, and files of chosen bytes.
#pragma once

#include "sys/text.h"

namespace zebl_test {

// Copies a file byte for byte; false when either side fails.
bool CopyFileBytes(sys::WStringView from, sys::WStringView to);

// Writes bytes to a new file (replacing an old one).
bool WriteFileBytes(sys::WStringView path, const void* data, size_t size);

}  // namespace zebl_test
