// Handles, window objects and function addresses stored in InstallInfo are
// 32-bit values. The Windows build stores the real ones; the 64-bit native
// build stores a token per object, kept for the whole run, and maps it
// back when the object is used.
#pragma once

#include "formats/install_info.h"

namespace setup {

// 0 for null; the same object always gets the same token.
InstallInfoToken TokenOf(const void* object);
// The object a token stands for; null for 0 or a token never handed out.
void* ObjectOf(InstallInfoToken token);

}  // namespace setup
