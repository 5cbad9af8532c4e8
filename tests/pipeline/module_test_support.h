// Where the tests find the stand-in modules, and copies of them in a test's
// own folder.
#pragma once

#include "sys/text.h"

namespace zebl_test {

// The folder the stand-in modules are built into: "bin" beside the folder
// of the test program.
sys::WString StandInFolder();

// Copies a file byte for byte; false when either side fails.
bool CopyFileBytes(sys::WStringView from, sys::WStringView to);

// Writes bytes to a new file (replacing an old one).
bool WriteFileBytes(sys::WStringView path, const void* data, size_t size);

}  // namespace zebl_test
