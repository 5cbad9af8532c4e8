// The posix layer's Windows: a configured version and language instead of a
// real system (sys/testing/system_identity.h). GetVersionExA's rules hold:
// the basic structure is always taken, the extended one only where that
// Windows has it, and any other size is refused with ERROR_INVALID_PARAMETER
// as Windows refuses it.
#include <cstdlib>
#include <mutex>

#include "sys/last_error.h"
#include "sys/os_version.h"
#include "sys/testing/system_identity.h"

namespace sys {
namespace {

uint16_t LanguageFromEnvironment(uint16_t fallback) {
    const char* text = std::getenv("ZSYS_LANGID");
    if (text == nullptr || *text == '\0') return fallback;
    char* end = nullptr;
    const unsigned long value = std::strtoul(text, &end, 0);
    if (*end != '\0' || value > 0xFFFF) return fallback;
    return static_cast<uint16_t>(value);
}

testing::WindowsIdentity IdentityFromEnvironment() {
    testing::WindowsIdentity identity = *testing::WindowsVersionByName("winxp");
    if (const char* name = std::getenv("ZSYS_WINDOWS_VERSION"); name != nullptr) {
        if (auto named = testing::WindowsVersionByName(name)) identity = *named;
    }
    identity.languageId = LanguageFromEnvironment(identity.languageId);
    return identity;
}

struct IdentityState {
    std::mutex lock;
    bool loaded = false;
    testing::WindowsIdentity identity;

    testing::WindowsIdentity Get() {
        std::lock_guard guard(lock);
        if (!loaded) {
            identity = IdentityFromEnvironment();
            loaded = true;
        }
        return identity;
    }
    void Set(const testing::WindowsIdentity& value) {
        std::lock_guard guard(lock);
        identity = value;
        loaded = true;
    }
    void Reset() {
        std::lock_guard guard(lock);
        loaded = false;
    }
};

IdentityState& State() {
    static IdentityState state;
    return state;
}

}  // namespace

bool GetVersionEx(uint32_t structureSize, OsVersion* version) {
    const testing::WindowsIdentity identity = State().Get();
    const bool sizeTaken = structureSize == kOsVersionInfoSize ||
                           (structureSize == kOsVersionInfoExSize && identity.acceptsExtended);
    if (version == nullptr || !sizeTaken || !identity.hasVersion) {
        SetLastError(kErrorInvalidParameter);
        return false;
    }
    *version = identity.version;
    return true;
}

uint16_t GetSystemDefaultLangID() { return State().Get().languageId; }

namespace testing {

bool IdentityIsSettable() { return true; }
void SetWindowsIdentity(const WindowsIdentity& identity) { State().Set(identity); }
WindowsIdentity GetWindowsIdentity() { return State().Get(); }
void ResetWindowsIdentity() { State().Reset(); }

}  // namespace testing
}  // namespace sys
