// The Windows version codes of the setup program, their key names in the
// data files, and how the version information maps onto them.
#pragma once

#include <string_view>

#include "sys/os_version.h"

namespace setup {

// nOSVersion. 1 to 6 are the 9x family, 7 to 10 the NT family.
enum WindowsVersionCode : int {
    kWindowsUnknown = 0,
    kWindows32s = 1,
    kWindows95 = 2,
    kWindows95Osr2 = 3,
    kWindows98 = 4,
    kWindows98Se = 5,
    kWindowsMe = 6,
    kWindowsNt = 7,  // NT 4 and earlier
    kWindows2000 = 8,
    kWindowsXp = 9,
    kWindows2003 = 10,  // Server 2003 and everything after it
};

inline bool IsWindows9xFamily(int code) { return code >= kWindows32s && code <= kWindowsMe; }

// "WINDOWS_95" ... "WINDOWS_2003": the key of the version in the START
// section of SETUP.DAT and in the SUPPORT_OS section of VLOS.DAT; empty for
// code 0 and codes out of range.
std::string_view WindowsVersionKey(int code);

// The code of a version as GetVersionEx reports it. `reportsMe` says
// whether the registry names the system Windows Me; it is asked only for a
// 9x minor version of 10, whose release letter cannot tell Me apart.
int ClassifyWindowsVersion(const sys::OsVersion& version, bool (*reportsMe)());

}  // namespace setup
