// Which Windows runs the setup program.
#include "sys/os_version.h"
#include "common/trace.h"
#include "data/setup_data.h"
#include "data/windows_version.h"

namespace setup {

// The extended version structure first; Windows 95, 98, Me and early NT 4
// refuse it and take the basic one.
int CSetupData::MyGetOSVersion() {
    MyTrace("MyGetOSVersion Start");
    sys::OsVersion version;
    if (!sys::GetVersionEx(sys::kOsVersionInfoExSize, &version) &&
        !sys::GetVersionEx(sys::kOsVersionInfoSize, &version)) {
        m_nOSVersion = kWindowsUnknown;
        MyTrace("       No version information; MyGetOSVersion End");
        return 0;
    }
    m_nOSVersion = ClassifyWindowsVersion(version, [] { return MyGetOSVersionBugFix() == 1; });
    MyTrace("       Windows %u.%u platform %u \"%s\" is code %d; MyGetOSVersion End", version.majorVersion,
            version.minorVersion, version.platformId, version.servicePack.c_str(), m_nOSVersion);
    return m_nOSVersion == kWindows32s ? 0 : 1;
}

}  // namespace setup
