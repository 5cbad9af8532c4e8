// The temporary folder and unique temporary file names.
#pragma once

#include "sys/text.h"

namespace sys {

// GetTempPathW: the temporary folder with a trailing backslash; empty on failure.
WString GetTempPath();

// GetTempFileNameW(folder, prefix, 0): makes a unique name
// "<folder>\<first three characters of prefix><hex number>.tmp", creates the
// file empty so the name stays taken, and returns it; empty on failure.
WString GetTempFileName(WStringView folder, WStringView prefix);

}  // namespace sys
