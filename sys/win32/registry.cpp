// The registry through the system's A functions, which Windows 95 has (its
// W forms are stubs there). Names and string data cross in the ANSI code
// page. The Reg functions return their error instead of setting the last
// error; this layer sets it, as every other failing sys:: call does.
#include "sys/registry.h"

#include <string>
#include <utility>

#include "sys/last_error.h"
#include "windows_api.h"

namespace sys {
namespace {

HKEY RootKey(RegistryRoot root) {
    switch (root) {
        case RegistryRoot::kClassesRoot: return HKEY_CLASSES_ROOT;
        case RegistryRoot::kCurrentUser: return HKEY_CURRENT_USER;
        case RegistryRoot::kLocalMachine: return HKEY_LOCAL_MACHINE;
        case RegistryRoot::kUsers: return HKEY_USERS;
    }
    return HKEY_LOCAL_MACHINE;
}

HKEY KeyOf(void* handle) { return static_cast<HKEY>(handle); }

// Sets the last error from a Reg function's result; true for success.
bool Succeeded(LONG result) {
    ::SetLastError(static_cast<DWORD>(result));
    return result == ERROR_SUCCESS;
}

bool NoHandle() {
    ::SetLastError(ERROR_INVALID_HANDLE);
    return false;
}

// An empty path would name the key itself. Windows 95 to Me delete a key
// with all its sub-keys where the NT family refuses (ERROR_ACCESS_DENIED);
// the layer refuses everywhere, so that a call meant for an empty key never
// takes a whole tree with it on 9x.
bool DeleteKeyBelow(HKEY key, WStringView path) {
    if (path.empty()) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    const std::string name = ToCodePage(path);
    HKEY doomed = nullptr;
    if (!Succeeded(::RegOpenKeyExA(key, name.c_str(), 0, KEY_QUERY_VALUE, &doomed))) return false;
    DWORD subKeys = 0;
    const LONG queried = ::RegQueryInfoKeyA(doomed, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr,
                                            nullptr, nullptr, nullptr, nullptr, nullptr);
    ::RegCloseKey(doomed);
    if (!Succeeded(queried)) return false;
    if (subKeys > 0) {
        ::SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    return Succeeded(::RegDeleteKeyA(key, name.c_str()));
}

bool IsStringType(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ; }

// Names as long as the system allows: 255 characters for a key, 16,383 for
// a value, in code-page bytes (two per character at most).
constexpr DWORD kMaxNameBytes = 2 * 16384;

}  // namespace

void RegistryKey::Close() {
    if (handle_ != nullptr) ::RegCloseKey(KeyOf(handle_));
    handle_ = nullptr;
}

RegistryKey RegistryKey::Open(RegistryRoot root, WStringView path, uint32_t access) {
    HKEY key = nullptr;
    if (!Succeeded(::RegOpenKeyExA(RootKey(root), ToCodePage(path).c_str(), 0, access, &key)))
        return RegistryKey();
    return RegistryKey(key);
}

RegistryKey RegistryKey::Create(RegistryRoot root, WStringView path, uint32_t access, bool* created) {
    HKEY key = nullptr;
    DWORD disposition = 0;
    std::string name = ToCodePage(path);
    if (!Succeeded(::RegCreateKeyExA(RootKey(root), name.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access,
                                     nullptr, &key, &disposition)))
        return RegistryKey();
    if (created) *created = disposition == REG_CREATED_NEW_KEY;
    return RegistryKey(key);
}

bool RegistryKey::QueryInfo(RegistryKeyInfo* info) const {
    if (handle_ == nullptr) return NoHandle();
    DWORD subKeys = 0;
    DWORD values = 0;
    if (!Succeeded(::RegQueryInfoKeyA(KeyOf(handle_), nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr,
                                      &values, nullptr, nullptr, nullptr, nullptr)))
        return false;
    info->subKeys = subKeys;
    info->values = values;
    return true;
}

bool RegistryKey::EnumSubKey(uint32_t index, WString* name) const {
    if (handle_ == nullptr) return NoHandle();
    std::string buffer(256 * 2 + 1, '\0');
    DWORD length = static_cast<DWORD>(buffer.size());
    if (!Succeeded(::RegEnumKeyExA(KeyOf(handle_), index, buffer.data(), &length, nullptr, nullptr, nullptr,
                                   nullptr)))
        return false;
    *name = FromCodePage(std::string_view(buffer.data(), length));
    return true;
}

bool RegistryKey::EnumValue(uint32_t index, WString* name, uint32_t* type) const {
    if (handle_ == nullptr) return NoHandle();
    std::string buffer(kMaxNameBytes, '\0');
    DWORD length = kMaxNameBytes;
    DWORD valueType = 0;
    if (!Succeeded(::RegEnumValueA(KeyOf(handle_), index, buffer.data(), &length, nullptr, &valueType,
                                   nullptr, nullptr)))
        return false;
    *name = FromCodePage(std::string_view(buffer.data(), length));
    if (type) *type = valueType;
    return true;
}

bool RegistryKey::QueryValue(WStringView name, RegistryValue* value) const {
    if (handle_ == nullptr) return NoHandle();
    const std::string valueName = ToCodePage(name);
    // Size, then data; a value that grows in between is asked again.
    for (;;) {
        DWORD type = 0;
        DWORD size = 0;
        if (!Succeeded(::RegQueryValueExA(KeyOf(handle_), valueName.c_str(), nullptr, &type, nullptr, &size)))
            return false;
        std::string data(size, '\0');
        const LONG result = ::RegQueryValueExA(KeyOf(handle_), valueName.c_str(), nullptr, &type,
                                               reinterpret_cast<BYTE*>(data.data()), &size);
        if (result == ERROR_MORE_DATA) continue;
        if (!Succeeded(result)) return false;
        data.resize(size);
        *value = RegistryValue{type, std::move(data)};
        return true;
    }
}

bool RegistryKey::QueryString(WStringView name, WString* value, uint32_t maxBytes) const {
    RegistryValue stored;
    if (!QueryValue(name, &stored)) return false;
    if (!IsStringType(stored.type)) {
        ::SetLastError(ERROR_UNSUPPORTED_TYPE);
        return false;
    }
    if (stored.data.size() > maxBytes) {
        ::SetLastError(ERROR_MORE_DATA);
        return false;
    }
    *value = FromCodePage(std::string_view(stored.data).substr(0, stored.data.find('\0')));
    return true;
}

bool RegistryKey::QueryDword(WStringView name, uint32_t* value) const {
    RegistryValue stored;
    if (!QueryValue(name, &stored)) return false;
    if (stored.type != REG_DWORD || stored.data.size() != 4) {
        ::SetLastError(ERROR_UNSUPPORTED_TYPE);
        return false;
    }
    uint32_t number = 0;
    for (size_t i = 0; i < 4; ++i) number |= uint32_t{static_cast<uint8_t>(stored.data[i])} << (8 * i);
    *value = number;
    return true;
}

bool RegistryKey::SetValue(WStringView name, uint32_t type, std::span<const uint8_t> data) {
    if (handle_ == nullptr) return NoHandle();
    return Succeeded(::RegSetValueExA(KeyOf(handle_), ToCodePage(name).c_str(), 0, type, data.data(),
                                      static_cast<DWORD>(data.size())));
}

bool RegistryKey::SetString(WStringView name, WStringView value, uint32_t type) {
    const std::string bytes = ToCodePage(value);
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.c_str());
    return SetValue(name, type, std::span<const uint8_t>(data, bytes.size() + 1));
}

bool RegistryKey::SetDword(WStringView name, uint32_t value) {
    const uint8_t data[4] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                             static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
    return SetValue(name, REG_DWORD, data);
}

bool RegistryKey::DeleteValue(WStringView name) {
    if (handle_ == nullptr) return NoHandle();
    return Succeeded(::RegDeleteValueA(KeyOf(handle_), ToCodePage(name).c_str()));
}

bool RegistryKey::DeleteSubKey(WStringView path) {
    if (handle_ == nullptr) return NoHandle();
    return DeleteKeyBelow(KeyOf(handle_), path);
}

bool RegDeleteKey(RegistryRoot root, WStringView path) { return DeleteKeyBelow(RootKey(root), path); }

}  // namespace sys
