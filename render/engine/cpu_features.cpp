#include "cpu_features.h"

#include <cstdint>

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#endif
#if defined(__i386__)
#include "sys/os_version.h"
#endif

namespace {

#if defined(__i386__) || defined(__x86_64__)

constexpr unsigned kCpuidFeatures = 1;
constexpr unsigned kCpuidExtendedFeatures = 7;
constexpr unsigned kEcxOsxsave = 1u << 27;  // the system enabled XGETBV and XSAVE
constexpr unsigned kEcxAvx = 1u << 28;
constexpr unsigned kEbxAvx2 = 1u << 5;  // leaf 7, subleaf 0
// XCR0: the system saves the SSE registers (bit 1) and the upper halves of
// the 256-bit registers (bit 2).
constexpr uint64_t kXcr0SseAndAvxState = 0x6;

// The extended control register 0. XGETBV is undefined unless the system
// set OSXSAVE, so callers check that first.
uint64_t ReadXcr0() {
    uint32_t low = 0, high = 0;
    asm volatile("xgetbv" : "=a"(low), "=d"(high) : "c"(0));
    return uint64_t{high} << 32 | low;
}

bool DetectAvx2() {
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (!__get_cpuid(kCpuidFeatures, &eax, &ebx, &ecx, &edx)) return false;
    if ((ecx & kEcxOsxsave) == 0 || (ecx & kEcxAvx) == 0) return false;
    if ((ReadXcr0() & kXcr0SseAndAvxState) != kXcr0SseAndAvxState) return false;
    // __get_cpuid_count answers 0 when the processor has no leaf 7.
    if (!__get_cpuid_count(kCpuidExtendedFeatures, 0, &eax, &ebx, &ecx, &edx)) return false;
    return (ebx & kEbxAvx2) != 0;
}

#else

bool DetectAvx2() { return false; }

#endif

#if defined(__i386__)

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

bool CpuHasAvx2() {
    static const bool hasAvx2 = DetectAvx2();
    return hasAvx2;
}
