// Memory this process has used, for tools that report what a job cost.
#pragma once

#include <cstdint>

namespace sys {

// The most physical memory the process has held at once (its peak working
// set; the peak resident set on POSIX); 0 when the system cannot tell.
uint64_t PeakProcessMemory();

}  // namespace sys
