// The process's current directory. The setup program makes its own folder
// on the disc the current one, and falls back to it when its command line
// does not say where it was started from.
#pragma once

#include "sys/text.h"

namespace sys {

// GetCurrentDirectoryA: a full Windows path without a trailing backslash
// (except a drive's root, "C:\"); empty on failure.
WString GetCurrentDirectory();

// SetCurrentDirectoryA: false and the last error when the folder does not
// exist.
bool SetCurrentDirectory(WStringView path);

}  // namespace sys
