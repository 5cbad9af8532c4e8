#include "sys/process_memory.h"

#include "windows_api.h"

namespace sys {
namespace {

// PROCESS_MEMORY_COUNTERS of psapi.h, as far as the peak working set.
struct ProcessMemoryCounters {
    DWORD cb;
    DWORD pageFaultCount;
    SIZE_T peakWorkingSetSize;
    SIZE_T workingSetSize;
    SIZE_T quotaPeakPagedPoolUsage;
    SIZE_T quotaPagedPoolUsage;
    SIZE_T quotaPeakNonPagedPoolUsage;
    SIZE_T quotaNonPagedPoolUsage;
    SIZE_T pagefileUsage;
    SIZE_T peakPagefileUsage;
};

using GetProcessMemoryInfoFn = BOOL(WINAPI*)(HANDLE, ProcessMemoryCounters*, DWORD);

}  // namespace

// GetProcessMemoryInfo lives in psapi.dll, which Windows 95, 98 and Me do
// not have: it is looked up by name, and the answer is 0 without it.
uint64_t PeakProcessMemory() {
    HMODULE psapi = ::LoadLibraryA("psapi.dll");
    if (psapi == nullptr) return 0;
    uint64_t peak = 0;
    const auto query = reinterpret_cast<GetProcessMemoryInfoFn>(
        reinterpret_cast<void (*)()>(::GetProcAddress(psapi, "GetProcessMemoryInfo")));
    ProcessMemoryCounters counters{};
    counters.cb = sizeof counters;
    if (query != nullptr && query(::GetCurrentProcess(), &counters, sizeof counters))
        peak = counters.peakWorkingSetSize;
    ::FreeLibrary(psapi);
    return peak;
}

}  // namespace sys
