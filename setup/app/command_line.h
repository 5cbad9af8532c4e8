// Setup's command line.
#pragma once

#include "sys/text.h"

namespace setup {

// The arguments: what follows the program's path, which may be quoted.
sys::WStringView ArgumentsOf(sys::WStringView commandLine);

// 1 when the arguments start (after blanks) with '-' or '/' and 'U' or 'u':
// the package is to be removed. Anything else is ignored.
int ForcesUninstall(sys::WStringView arguments);

}  // namespace setup
