// Waiting and time.
#pragma once

#include <cstdint>

namespace sys {

void Sleep(uint32_t milliseconds);
// GetTickCount: milliseconds since start, wrapping at 2^32.
uint32_t GetTickCount();

}  // namespace sys
