// File-name patterns of FindFirstFile: '*' matches any run of characters,
// '?' any one character, letters match without regard to case, and a pattern
// ending in ".*" also matches names without an extension (so "*.*" lists
// everything, as on Windows).
#pragma once

#include "sys/text.h"

namespace sys::posix {

bool MatchesWildcard(WStringView name, WStringView pattern);

}  // namespace sys::posix
