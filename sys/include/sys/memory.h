// Memory of the machine, for sizing work buffers.
#pragma once

#include <cstdint>

namespace sys {

// Bytes of physical memory currently available (GlobalMemoryStatus's
// dwAvailPhys on Windows); 0 when the system cannot tell.
uint64_t AvailablePhysicalMemory();

}  // namespace sys
