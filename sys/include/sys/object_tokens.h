// Handles, window objects and function addresses that travel in 32-bit
// fields of records shared between modules (the setup program's
// InstallInfo). The Windows build (32-bit) stores the real values. A 64-bit
// build stores a token per object instead, kept for the whole run in the
// system layer, which every module of the process shares, so a module that
// receives the record maps a token back to the object another module stored.
#pragma once

#include <cstdint>

namespace sys {

// 0 for null; the same object always gets the same token.
uint32_t TokenOf(const void* object);
// The object a token stands for; null for 0 or a token never handed out.
void* ObjectOf(uint32_t token);

}  // namespace sys
