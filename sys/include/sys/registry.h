// The registry: keys below four roots, each key holding named values and
// sub-keys. Setup reads and writes its uninstall, vendor, run-once and USB
// keys through this.
//
// The win32 layer calls the system's A functions (RegOpenKeyExA ...), which
// Windows 95 implements: names and string data cross in the ANSI code page.
// The posix layer keeps the registry in one file under the machine root
// (registry.txt), replaced whole by a new file renamed into place on every
// change, so a program that dies in the middle of a change leaves the
// previous registry intact.
//
// What Windows does, and so both layers (confirmed under Wine):
// - key and value names match without regard to case and keep the spelling
//   they were created with; the empty value name is the key's default value;
// - sub-keys enumerate in name order, without regard to case;
// - a key with sub-keys cannot be deleted (access denied); deleting a key
//   leaves the handles open on it useless (kErrorKeyDeleted);
// - a handle does only what it was opened for: reading values needs
//   kKeyQueryValue, writing them kKeySetValue, and so on (access denied);
// - a missing key or value is kErrorFileNotFound; enumeration past the last
//   entry is kErrorNoMoreItems.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "sys/text.h"

namespace sys {

// The predefined keys. Our own tokens: the win32 layer maps them to the
// HKEY values, the posix layer to the trees of its file.
enum class RegistryRoot : uint32_t { kClassesRoot, kCurrentUser, kLocalMachine, kUsers };

// Access rights of a key handle (the Windows values).
enum : uint32_t {
    kKeyQueryValue = 0x0001,
    kKeySetValue = 0x0002,
    kKeyCreateSubKey = 0x0004,
    kKeyEnumerateSubKeys = 0x0008,
    kKeyRead = 0x20019,       // query, enumerate, notify, read control
    kKeyWrite = 0x20006,      // set values, create sub-keys, read control
    kKeyAllAccess = 0xF003F,  // everything, deleting included
    kMaximumAllowed = 0x02000000,
};

// Value types (the Windows values).
enum : uint32_t {
    kRegNone = 0,
    kRegSz = 1,
    kRegExpandSz = 2,
    kRegBinary = 3,
    kRegDword = 4,
    kRegMultiSz = 7,
};

// A value as stored: string types hold their text in the code page with
// whatever terminating NULs the writer gave.
struct RegistryValue {
    uint32_t type = kRegNone;
    std::string data;
};

struct RegistryKeyInfo {
    uint32_t subKeys = 0;
    uint32_t values = 0;
};

// An open key. Move-only; closes itself. Every failing call returns false
// (or a closed key) and sets the last error.
class RegistryKey {
public:
    RegistryKey() = default;
    ~RegistryKey() { Close(); }
    RegistryKey(RegistryKey&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    RegistryKey& operator=(RegistryKey&& other) noexcept {
        if (this != &other) {
            Close();
            handle_ = std::exchange(other.handle_, nullptr);
        }
        return *this;
    }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    // RegOpenKeyExA: `path` is "Name\Name..." below the root (empty: the
    // root itself).
    static RegistryKey Open(RegistryRoot root, WStringView path, uint32_t access);
    // RegCreateKeyExA: opens the key, creating it and every missing key
    // above it. *created (when given) tells whether it was new.
    static RegistryKey Create(RegistryRoot root, WStringView path, uint32_t access, bool* created = nullptr);

    bool IsOpen() const { return handle_ != nullptr; }
    void Close();

    // RegQueryInfoKeyA: how many sub-keys and values the key has.
    bool QueryInfo(RegistryKeyInfo* info) const;
    // RegEnumKeyExA / RegEnumValueA: the name of entry `index`.
    bool EnumSubKey(uint32_t index, WString* name) const;
    bool EnumValue(uint32_t index, WString* name, uint32_t* type = nullptr) const;

    // RegQueryValueExA.
    bool QueryValue(WStringView name, RegistryValue* value) const;
    // A kRegSz or kRegExpandSz value up to its first NUL. Like a read into a
    // buffer of `maxBytes` bytes: a value whose data (its terminating NUL
    // included) is longer fails with kErrorMoreData. Another type fails with
    // kErrorUnsupportedType.
    bool QueryString(WStringView name, WString* value, uint32_t maxBytes = UINT32_MAX) const;
    // A kRegDword value; another type or size fails with kErrorUnsupportedType.
    bool QueryDword(WStringView name, uint32_t* value) const;

    // RegSetValueExA: raw data of any type (string types in the code page).
    bool SetValue(WStringView name, uint32_t type, std::span<const uint8_t> data);
    // A string value with its terminating NUL.
    bool SetString(WStringView name, WStringView value, uint32_t type = kRegSz);
    bool SetDword(WStringView name, uint32_t value);
    // RegDeleteValueA.
    bool DeleteValue(WStringView name);
    // RegDeleteKeyA of a key below this one; the key must have no sub-keys.
    // An empty path (which Windows takes as the key itself) is refused with
    // kErrorInvalidParameter.
    bool DeleteSubKey(WStringView path);

private:
    explicit RegistryKey(void* handle) : handle_(handle) {}
    void* handle_ = nullptr;
};

// RegDeleteKeyA below a root: the key must have no sub-keys; an empty path
// is refused with kErrorInvalidParameter.
bool RegDeleteKey(RegistryRoot root, WStringView path);

}  // namespace sys
