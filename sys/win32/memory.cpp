#include "sys/memory.h"

#include "windows_api.h"

namespace sys {

// GlobalMemoryStatus rather than the Ex variant: Windows 95 has only this one.
// On machines with more than 4 GiB it reports at most 4 GiB, which is far
// more than the band budget ever takes.
uint64_t AvailablePhysicalMemory() {
    MEMORYSTATUS status{};
    status.dwLength = sizeof(status);
    GlobalMemoryStatus(&status);
    return status.dwAvailPhys;
}

}  // namespace sys
