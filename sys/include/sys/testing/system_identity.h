// The Windows that the posix layer pretends to be, for tests and for runs of
// the native programs. Setting it changes what sys::GetVersionEx and
// sys::GetSystemDefaultLangID report from then on, in the whole process.
//
// A process starts from the environment: ZSYS_WINDOWS_VERSION names a
// version (see WindowsVersionByName) and ZSYS_LANGID gives a language id
// (decimal or 0x hex); without them it is Windows XP in US English (0x0409).
//
// The win32 layer reports the real Windows; there IdentityIsSettable() is
// false and the setters do nothing.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "sys/os_version.h"

namespace sys::testing {

struct WindowsIdentity {
    OsVersion version;
    // Whether the extended version structure is accepted (Windows 2000 and
    // later, NT 4 from its Service Pack 4); without it only the basic one is.
    bool acceptsExtended = true;
    // Whether GetVersionEx answers at all.
    bool hasVersion = true;
    uint16_t languageId = 0x0409;
};

bool IdentityIsSettable();
void SetWindowsIdentity(const WindowsIdentity& identity);
WindowsIdentity GetWindowsIdentity();
// Back to what the environment (or the default) says.
void ResetWindowsIdentity();

// The identities of the Windows releases by their short names: "win32s",
// "win95", "win95osr2", "win98", "win98se", "winme", "nt4", "win2k",
// "winxp", "win2k3" (the names Wine uses where it has them); none for an
// unknown name. The language is US English.
std::optional<WindowsIdentity> WindowsVersionByName(std::string_view name);

}  // namespace sys::testing
