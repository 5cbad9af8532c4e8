// What Windows says about itself: the version information of GetVersionEx
// and the system's default language. The setup program classifies the
// running Windows and picks its language files from these.
//
// The posix layer has no Windows of its own: it reports a configured one
// (Windows XP, US English unless told otherwise), so that every version
// and language can be tested (sys/testing/system_identity.h).
#pragma once

#include <cstdint>
#include <string>

namespace sys {

// The platform ids of the version information (VER_PLATFORM_*).
enum : uint32_t {
    kPlatformWin32s = 0,
    kPlatformWindows9x = 1,
    kPlatformWindowsNt = 2,
};

// The sizes of the two version structures a program may offer: the
// extended one (OSVERSIONINFOEXA), which Windows 95, 98, Me and NT 4 before
// its Service Pack 4 refuse, and the basic one (OSVERSIONINFOA) that every
// 32-bit Windows takes.
inline constexpr uint32_t kOsVersionInfoExSize = 156;
inline constexpr uint32_t kOsVersionInfoSize = 148;

struct OsVersion {
    uint32_t majorVersion = 0;
    uint32_t minorVersion = 0;
    uint32_t buildNumber = 0;
    uint32_t platformId = 0;
    // szCSDVersion: the service pack ("Service Pack 2") on the NT family; on
    // the 9x family a short release letter (" A", " B", " C"). In the
    // system's code page, at most 127 bytes.
    std::string servicePack;
};

// GetVersionExA with a structure of `structureSize` bytes (one of the two
// sizes above). False, with the last error set, when Windows refuses that
// size or gives no version at all.
bool GetVersionEx(uint32_t structureSize, OsVersion* version);

// GetSystemDefaultLangID: the language id of the system's locale (primary
// language in the low 10 bits, sub-language in the upper 6); 0 when the
// system has none.
uint16_t GetSystemDefaultLangID();

}  // namespace sys
