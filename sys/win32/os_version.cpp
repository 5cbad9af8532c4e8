// The real Windows's version and language. GetVersionExA is offered the
// structure size the caller asks for, as a program written for Windows 95
// does: the extended structure is refused by the 9x family and by NT 4
// before its Service Pack 4.
#include "sys/os_version.h"

#include <cstring>

#include "sys/testing/system_identity.h"
#include "windows_api.h"

namespace sys {

bool GetVersionEx(uint32_t structureSize, OsVersion* version) {
    if (version == nullptr ||
        (structureSize != kOsVersionInfoExSize && structureSize != kOsVersionInfoSize)) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    static_assert(sizeof(OSVERSIONINFOEXA) == kOsVersionInfoExSize);
    static_assert(sizeof(OSVERSIONINFOA) == kOsVersionInfoSize);
    OSVERSIONINFOEXA info;
    std::memset(&info, 0, sizeof info);
    info.dwOSVersionInfoSize = structureSize;
    if (!::GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info))) return false;
    version->majorVersion = info.dwMajorVersion;
    version->minorVersion = info.dwMinorVersion;
    version->buildNumber = info.dwBuildNumber;
    version->platformId = info.dwPlatformId;
    version->servicePack.assign(info.szCSDVersion, strnlen(info.szCSDVersion, sizeof info.szCSDVersion));
    return true;
}

uint16_t GetSystemDefaultLangID() { return ::GetSystemDefaultLangID(); }

namespace testing {

// The real Windows answers here; tests that need another one skip.
bool IdentityIsSettable() { return false; }
void SetWindowsIdentity(const WindowsIdentity&) {}
WindowsIdentity GetWindowsIdentity() {
    WindowsIdentity identity;
    identity.hasVersion = sys::GetVersionEx(kOsVersionInfoSize, &identity.version);
    identity.acceptsExtended = sys::GetVersionEx(kOsVersionInfoExSize, &identity.version);
    identity.languageId = sys::GetSystemDefaultLangID();
    return identity;
}
void ResetWindowsIdentity() {}

}  // namespace testing
}  // namespace sys
