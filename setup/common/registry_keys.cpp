#include "common/registry_keys.h"

#include "sys/registry.h"

namespace {

bool KeyInfo(const std::string& keyPath, uint32_t access, sys::RegistryKeyInfo* info) {
    const sys::RegistryKey key =
        sys::RegistryKey::Open(sys::RegistryRoot::kLocalMachine, sys::FromCodePage(keyPath), access);
    return key.IsOpen() && key.QueryInfo(info);
}

}  // namespace

bool MyKeyHasValues(const std::string& keyPath) {
    sys::RegistryKeyInfo info;
    return KeyInfo(keyPath, sys::kKeyAllAccess, &info) && info.values > 0;
}

bool MyKeyHasSubKeys(const std::string& keyPath) {
    sys::RegistryKeyInfo info;
    // The access of the system's plain legacy open (RegOpenKey).
    return KeyInfo(keyPath, sys::kMaximumAllowed, &info) && info.subKeys > 0;
}
