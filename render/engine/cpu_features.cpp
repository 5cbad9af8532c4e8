#include "cpu_features.h"

#if defined(__i386__)
#include <cpuid.h>

#include "sys/os_version.h"
#endif

namespace {

#if defined(__i386__)

constexpr unsigned kCpuidFeatures = 1;
constexpr unsigned kEdxSse2 = 1u << 26;

// __get_cpuid first checks that the processor has CPUID at all (a 486 or
// an early Pentium may not) and answers 0 when it does not.
bool ProcessorHasSse2() {
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (!__get_cpuid(kCpuidFeatures, &eax, &ebx, &ecx, &edx)) return false;
    return (edx & kEdxSse2) != 0;
}

// Windows saves the SSE registers on a task switch from Windows 98 and
// Windows 2000 on; on Windows 95 and NT 4 the instructions fault or lose
// their registers to other programs.
bool SystemSavesSseRegisters() {
    sys::OsVersion version;
    if (!sys::GetVersionEx(sys::kOsVersionInfoSize, &version)) return false;
    if (version.majorVersion > 4) return true;
    return version.platformId == sys::kPlatformWindows9x && version.minorVersion >= 10;
}

bool DetectSse2() { return ProcessorHasSse2() && SystemSavesSseRegisters(); }

#elif defined(__x86_64__)

bool DetectSse2() { return true; }

#else

bool DetectSse2() { return false; }

#endif

}  // namespace

bool CpuHasSse2() {
    static const bool hasSse2 = DetectSse2();
    return hasSse2;
}
