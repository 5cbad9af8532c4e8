// The version information of the Windows releases the package supports, as
// each reports it, for the posix layer's pretended Windows.
#include <array>

#include "sys/testing/system_identity.h"

namespace sys::testing {
namespace {

struct NamedRelease {
    std::string_view name;
    uint32_t platformId;
    uint32_t major;
    uint32_t minor;
    uint32_t build;  // the 9x family keeps major and minor in the high word
    const char* servicePack;
    bool acceptsExtended;
};

// The 9x family refuses the extended structure, and so does NT 4 before its
// Service Pack 4; the release letters of the 9x family come with blanks
// around them, as those systems report them.
constexpr std::array<NamedRelease, 10> kReleases{{
    {"win32s", kPlatformWin32s, 3, 10, 0, "", false},
    {"win95", kPlatformWindows9x, 4, 0, 0x040003B6, "", false},
    {"win95osr2", kPlatformWindows9x, 4, 0, 0x04000457, " B", false},
    {"win98", kPlatformWindows9x, 4, 10, 0x040A07CE, "", false},
    {"win98se", kPlatformWindows9x, 4, 10, 0x040A08AE, " A ", false},
    {"winme", kPlatformWindows9x, 4, 90, 0x045A0BB8, " ", false},
    {"nt4", kPlatformWindowsNt, 4, 0, 1381, "Service Pack 3", false},
    {"win2k", kPlatformWindowsNt, 5, 0, 2195, "Service Pack 4", true},
    {"winxp", kPlatformWindowsNt, 5, 1, 2600, "Service Pack 2", true},
    {"win2k3", kPlatformWindowsNt, 5, 2, 3790, "Service Pack 1", true},
}};

}  // namespace

std::optional<WindowsIdentity> WindowsVersionByName(std::string_view name) {
    for (const NamedRelease& release : kReleases) {
        if (release.name != name) continue;
        WindowsIdentity identity;
        identity.version.platformId = release.platformId;
        identity.version.majorVersion = release.major;
        identity.version.minorVersion = release.minor;
        identity.version.buildNumber = release.build;
        identity.version.servicePack = release.servicePack;
        identity.acceptsExtended = release.acceptsExtended;
        return identity;
    }
    return std::nullopt;
}

}  // namespace sys::testing
