// Handles, window objects and function addresses stored in InstallInfo are
// 32-bit values: the real ones in the Windows build, tokens of the system
// layer in the 64-bit native build (sys/object_tokens.h), which the
// libraries Setup loads map back the same way.
#pragma once

#include "formats/install_info.h"
#include "sys/object_tokens.h"

namespace setup {

using sys::ObjectOf;
using sys::TokenOf;

}  // namespace setup
