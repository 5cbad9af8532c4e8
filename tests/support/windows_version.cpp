#include "support/windows_version.h"

#include "sys/environment.h"
#include "sys/registry.h"

namespace zebl_test {
namespace {

#if defined(_WIN32)
sys::WString AppDefaultsKey(sys::WStringView program) {
    return u"Software\\Wine\\AppDefaults\\" + sys::WString(program);
}
#else
constexpr char16_t kVersionVariable[] = u"ZSYS_WINDOWS_VERSION";
#endif

}  // namespace

ProgramWindowsVersion::ProgramWindowsVersion(sys::WStringView program, const std::string& version)
    : program_(program) {
    if (version.empty()) return;
    set_ = true;
#if defined(_WIN32)
    sys::RegistryKey key = sys::RegistryKey::Create(sys::RegistryRoot::kCurrentUser, AppDefaultsKey(program_),
                                                    sys::kKeyAllAccess);
    key.SetString(u"Version", sys::Widen(version));
#else
    savedEnvironment_ = sys::GetEnvironmentVariable(kVersionVariable);
    // Wine calls NT 4 "nt40", the posix layer "nt4".
    sys::SetEnvironmentVariable(kVersionVariable, sys::Widen(version == "nt40" ? "nt4" : version));
#endif
}

ProgramWindowsVersion::~ProgramWindowsVersion() {
    if (!set_) return;
#if defined(_WIN32)
    sys::RegDeleteKey(sys::RegistryRoot::kCurrentUser, AppDefaultsKey(program_));
#else
    sys::SetEnvironmentVariable(kVersionVariable, savedEnvironment_);
#endif
}

}  // namespace zebl_test
