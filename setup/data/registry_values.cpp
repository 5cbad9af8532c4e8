// What the setup data takes from the registry: the 9x family's version
// number, which tells Windows Me from 98 where the version information does
// not, and the language an earlier installation of the package kept.
#include <string>

#include "data/fixed_text.h"
#include "data/setup_data.h"
#include "sys/registry.h"

namespace setup {
namespace {

// String values are read into 256-byte buffers.
constexpr uint32_t kRegistryText = 256;

}  // namespace

// "4.90.3000": the part between the first and the second dot says 90 on
// Windows Me.
int CSetupData::MyGetOSVersionBugFix() {
    const sys::RegistryKey key =
        sys::RegistryKey::Open(sys::RegistryRoot::kLocalMachine,
                               u"Software\\Microsoft\\Windows\\CurrentVersion", sys::kKeyQueryValue);
    sys::WString number;
    if (!key.IsOpen() || !key.QueryString(u"VersionNumber", &number, kRegistryText)) return 0;
    const size_t first = number.find(u'.');
    if (first == sys::WString::npos) return 0;
    const size_t second = number.find(u'.', first + 1);
    const sys::WStringView minor = sys::WStringView(number).substr(
        first + 1, second == sys::WString::npos ? sys::WString::npos : second - first - 1);
    return minor.find(u"90") != sys::WStringView::npos ? 1 : 0;
}

// HKEY_LOCAL_MACHINE\SOFTWARE\<maker>\<model>, value "Language".
std::optional<sys::WString> CSetupData::EarlierInstallationLanguage() const {
    const sys::WString path =
        u"SOFTWARE\\" + LoadText(m_InstallInfo.szManufacture) + u"\\" + LoadText(m_InstallInfo.szModelName);
    const sys::RegistryKey key =
        sys::RegistryKey::Open(sys::RegistryRoot::kLocalMachine, path, sys::kKeyQueryValue);
    sys::WString language;
    if (!key.IsOpen() || !key.QueryString(u"Language", &language, kRegistryText)) return std::nullopt;
    return language;
}

}  // namespace setup
