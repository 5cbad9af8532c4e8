#include "sys/process_memory.h"

#include <sys/resource.h>

namespace sys {

// getrusage's ru_maxrss, in kilobytes on Linux.
uint64_t PeakProcessMemory() {
    rusage usage{};
    if (getrusage(RUSAGE_SELF, &usage) != 0 || usage.ru_maxrss < 0) return 0;
    return static_cast<uint64_t>(usage.ru_maxrss) * 1024;
}

}  // namespace sys
