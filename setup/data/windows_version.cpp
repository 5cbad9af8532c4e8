#include "data/windows_version.h"

#include <array>
#include <string>

namespace setup {
namespace {

constexpr std::array<std::string_view, 11> kKeys{
    "",           "WINDOWS_32S", "WINDOWS_95", "WINDOWS_95OSR2", "WINDOWS_98",   "WINDOWS_98SE",
    "WINDOWS_ME", "WINDOWS_NT",  "WINDOWS_2K", "WINDOWS_XP",     "WINDOWS_2003",
};

std::string UpperCase(std::string_view text) {
    std::string upper(text);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return upper;
}

std::string_view WithoutBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

// Windows 95 tells its releases by a letter: none or "A" for the first
// release and its service pack, "B" and "C" for OEM Service Release 2 and
// 2.5. The letter comes with blanks around it, which do not count.
int Windows95Release(std::string_view servicePack) {
    const std::string letter = UpperCase(WithoutBlanks(servicePack));
    return letter == "B" || letter == "C" ? kWindows95Osr2 : kWindows95;
}

int Windows9xRelease(const sys::OsVersion& version, bool (*reportsMe)()) {
    switch (version.minorVersion) {
        case 0: return Windows95Release(version.servicePack);
        case 10: {
            // The letter "A", alone, is the Second Edition; the check is of
            // the whole text, blanks included.
            const int release = UpperCase(version.servicePack) == "A" ? kWindows98Se : kWindows98;
            return reportsMe != nullptr && reportsMe() ? kWindowsMe : release;
        }
        case 90: return kWindowsMe;
        default: return kWindows98;
    }
}

int WindowsNtRelease(const sys::OsVersion& version) {
    if (version.majorVersion < 5) return kWindowsNt;
    switch (version.minorVersion) {
        case 0: return kWindows2000;
        case 1: return kWindowsXp;
        default: return kWindows2003;
    }
}

}  // namespace

std::string_view WindowsVersionKey(int code) {
    if (code <= kWindowsUnknown || code > kWindows2003) return {};
    return kKeys[static_cast<size_t>(code)];
}

int ClassifyWindowsVersion(const sys::OsVersion& version, bool (*reportsMe)()) {
    switch (version.platformId) {
        case sys::kPlatformWin32s: return kWindows32s;
        case sys::kPlatformWindows9x: return Windows9xRelease(version, reportsMe);
        case sys::kPlatformWindowsNt: return WindowsNtRelease(version);
        default: return kWindowsUnknown;
    }
}

}  // namespace setup
