#include "package_keys.h"

#include "sys/registry.h"

namespace outside {
namespace {

using sys::RegistryKey;
using sys::RegistryRoot;

constexpr char16_t kUninstallRoot[] = u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

bool SetStrings(RegistryKey& key,
                std::initializer_list<std::pair<const char16_t*, const sys::WString*>> values) {
    bool ok = key.IsOpen();
    for (const auto& [name, value] : values) ok = ok && key.SetString(name, *value);
    return ok;
}

uint32_t SubKeyCount(const RegistryKey& key) {
    sys::RegistryKeyInfo info;
    return key.QueryInfo(&info) ? info.subKeys : 1;  // unknown: treat as in use
}

bool DeleteKeyIfPresent(const sys::WString& path) {
    if (!RegistryKey::Open(RegistryRoot::kLocalMachine, path, sys::kKeyRead).IsOpen()) return true;
    return sys::RegDeleteKey(RegistryRoot::kLocalMachine, path);
}

}  // namespace

sys::WString UninstallKeyPath(const sys::WString& model) {
    return sys::WString(kUninstallRoot) + u'\\' + model;
}

sys::WString VendorKeyPath(const sys::WString& maker, const sys::WString& model) {
    return u"SOFTWARE\\" + maker + u'\\' + model;
}

bool WritePackageKeys(const PackageNames& package) {
    const sys::WString displayName = package.product.empty() ? package.model : package.product;
    RegistryKey uninstall =
        RegistryKey::Create(RegistryRoot::kLocalMachine, UninstallKeyPath(package.model), sys::kKeyAllAccess);
    const bool uninstallWritten = SetStrings(uninstall, {{u"DisplayName", &displayName},
                                                         {u"Publisher", &package.maker},
                                                         {u"InstallLocation", &package.localFolder},
                                                         {u"UninstallString", &package.uninstallCommand}});
    RegistryKey vendor = RegistryKey::Create(RegistryRoot::kLocalMachine,
                                             VendorKeyPath(package.maker, package.model), sys::kKeyAllAccess);
    const bool vendorWritten =
        SetStrings(vendor, {{u"Language", &package.language}, {u"LocalDirectory", &package.localFolder}});
    return uninstallWritten && vendorWritten;
}

bool WriteComponentKey(const PackageNames& package, const InstalledComponent& component) {
    RegistryKey key = RegistryKey::Create(
        RegistryRoot::kLocalMachine, VendorKeyPath(package.maker, package.model) + u'\\' + component.name,
        sys::kKeyAllAccess);
    return SetStrings(key, {{u"Directory", &component.folder}, {u"InstallFile", &component.installFile}});
}

bool DeleteComponentKey(const PackageNames& package, const sys::WString& component) {
    return DeleteKeyIfPresent(VendorKeyPath(package.maker, package.model) + u'\\' + component);
}

bool DeletePackageKeysWhenEmpty(const PackageNames& package) {
    const sys::WString vendorPath = VendorKeyPath(package.maker, package.model);
    {
        const RegistryKey vendor = RegistryKey::Open(RegistryRoot::kLocalMachine, vendorPath, sys::kKeyRead);
        if (vendor.IsOpen() && SubKeyCount(vendor) > 0) return true;
    }
    bool ok = DeleteKeyIfPresent(vendorPath);
    ok = DeleteKeyIfPresent(UninstallKeyPath(package.model)) && ok;
    const sys::WString makerPath = u"SOFTWARE\\" + package.maker;
    const RegistryKey maker = RegistryKey::Open(RegistryRoot::kLocalMachine, makerPath, sys::kKeyRead);
    sys::RegistryKeyInfo info;
    const bool makerEmpty = maker.IsOpen() && maker.QueryInfo(&info) && info.subKeys == 0 && info.values == 0;
    if (makerEmpty) ok = sys::RegDeleteKey(RegistryRoot::kLocalMachine, makerPath) && ok;
    return ok;
}

}  // namespace outside
