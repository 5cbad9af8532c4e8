// The registry keys an installed package keeps under HKEY_LOCAL_MACHINE:
//
//   SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\<model>
//       DisplayName      the product name (the model's when empty)
//       Publisher        the maker
//       InstallLocation  the local folder
//       UninstallString  the disc's setup program with /U
//   SOFTWARE\<maker>\<model>
//       Language         the language abbreviation the package installed
//                        with, which the next setup run keeps
//       LocalDirectory   the local folder
//     \<component>       one key per installed component:
//         Directory      the folder its files went to
//         InstallFile    its installer's file name
//
// The setup program finds an installed package by these keys (maintenance
// mode when the uninstall key opens) and deletes a vendor key that has no
// component keys, so the vendor and uninstall keys go when the last
// component is removed.
#pragma once

#include <string>

#include "sys/text.h"

namespace outside {

struct PackageNames {
    sys::WString maker;  // szManufacture
    sys::WString model;  // szModelName
    sys::WString product;
    sys::WString language;
    sys::WString localFolder;
    sys::WString uninstallCommand;
};

struct InstalledComponent {
    sys::WString name;
    sys::WString folder;
    sys::WString installFile;
};

// Both keys' package values; false when a key cannot be written.
bool WritePackageKeys(const PackageNames& package);
bool WriteComponentKey(const PackageNames& package, const InstalledComponent& component);

// Deletes the component's key; a missing one counts as deleted.
bool DeleteComponentKey(const PackageNames& package, const sys::WString& component);

// When no component key is left: deletes the vendor key, the uninstall key
// and the maker's key when that is left empty. True when nothing is left or
// components remain (then the keys stay); false when a delete failed.
bool DeletePackageKeysWhenEmpty(const PackageNames& package);

// The key paths below HKEY_LOCAL_MACHINE, for tests and traces.
sys::WString UninstallKeyPath(const sys::WString& model);
sys::WString VendorKeyPath(const sys::WString& maker, const sys::WString& model);

}  // namespace outside
