// Registry keys over the posix layer's registry file (registry_store.h). A
// handle remembers the key's path and the access it was opened with; each
// call finds the key again in the file as it is now, so a key that someone
// deleted fails with kErrorKeyDeleted, as a Windows handle on a deleted key
// does.
#include <algorithm>
#include <utility>

#include "error_codes.h"
#include "registry_store.h"
#include "sys/last_error.h"
#include "sys/registry.h"

namespace sys {
namespace {

using posix::RegistryNode;
using posix::RegistryPath;
using posix::RegistryTree;

struct OpenKey {
    RegistryRoot root;
    RegistryPath path;
    uint32_t access;
};

OpenKey* KeyOf(void* handle) { return static_cast<OpenKey*>(handle); }

// Windows grants what the caller asks for (there are no users here to
// refuse); MAXIMUM_ALLOWED becomes everything.
uint32_t GrantedAccess(uint32_t access) { return (access & kMaximumAllowed) ? kKeyAllAccess : access; }

bool Allows(const OpenKey& key, uint32_t right) {
    if ((key.access & right) == right) return true;
    return posix::Fail(kErrorAccessDenied);
}

// Runs `read` on the key's node as the file holds it now.
template <typename Read>
bool ReadKey(const OpenKey* key, uint32_t right, Read read) {
    if (key == nullptr) return posix::Fail(kErrorInvalidHandle);
    if (!Allows(*key, right)) return false;
    RegistryTree tree;
    if (!posix::ReadRegistry(&tree)) return false;
    const RegistryNode* node = tree.Find(key->root, key->path);
    if (node == nullptr) return posix::Fail(kErrorKeyDeleted);
    return read(*node);
}

template <typename Edit>
bool EditKey(const OpenKey* key, uint32_t right, Edit edit) {
    if (key == nullptr) return posix::Fail(kErrorInvalidHandle);
    if (!Allows(*key, right)) return false;
    return posix::EditRegistry([&](RegistryTree& tree) {
        RegistryNode* node = tree.Find(key->root, key->path);
        if (node == nullptr) return posix::Fail(kErrorKeyDeleted);
        return edit(*node);
    });
}

bool DeleteBelow(RegistryRoot root, const RegistryPath& base, WStringView path) {
    // An empty path would name the key itself.
    if (path.empty()) return posix::Fail(kErrorInvalidParameter);
    RegistryPath names;
    if (!posix::SplitRegistryPath(path, &names)) return false;
    if (names.empty()) return posix::Fail(kErrorAccessDenied);  // a root cannot go
    RegistryPath full = base;
    full.insert(full.end(), names.begin(), names.end());
    return posix::EditRegistry([&](RegistryTree& tree) {
        const RegistryPath parentPath(full.begin(), full.end() - 1);
        RegistryNode* parent = tree.Find(root, parentPath);
        const RegistryNode* node = parent ? parent->FindSubKey(full.back()) : nullptr;
        if (node == nullptr) return posix::Fail(kErrorFileNotFound);
        if (!node->subKeys.empty()) return posix::Fail(kErrorAccessDenied);
        parent->RemoveSubKey(full.back());
        return true;
    });
}

bool IsStringType(uint32_t type) { return type == kRegSz || type == kRegExpandSz; }

}  // namespace

void RegistryKey::Close() {
    delete KeyOf(handle_);
    handle_ = nullptr;
}

RegistryKey RegistryKey::Open(RegistryRoot root, WStringView path, uint32_t access) {
    RegistryPath names;
    if (!posix::SplitRegistryPath(path, &names)) return RegistryKey();
    RegistryTree tree;
    if (!posix::ReadRegistry(&tree)) return RegistryKey();
    const RegistryNode* node = tree.Find(root, names);
    if (node == nullptr) {
        posix::Fail(kErrorFileNotFound);
        return RegistryKey();
    }
    // The stored spelling, so that the handle finds the key whatever case
    // later callers use.
    return RegistryKey(new OpenKey{root, std::move(names), GrantedAccess(access)});
}

RegistryKey RegistryKey::Create(RegistryRoot root, WStringView path, uint32_t access, bool* created) {
    RegistryPath names;
    if (!posix::SplitRegistryPath(path, &names)) return RegistryKey();
    bool madeNew = false;
    const bool ok = posix::EditRegistry([&](RegistryTree& tree) {
        RegistryNode* node = &tree.Root(root);
        for (const std::string& name : names) node = &node->SubKeyForEdit(name, &madeNew);
        return true;
    });
    if (!ok) return RegistryKey();
    if (created) *created = madeNew;
    SetLastError(kErrorSuccess);
    return RegistryKey(new OpenKey{root, std::move(names), GrantedAccess(access)});
}

bool RegistryKey::QueryInfo(RegistryKeyInfo* info) const {
    return ReadKey(KeyOf(handle_), kKeyQueryValue, [&](const RegistryNode& node) {
        info->subKeys = static_cast<uint32_t>(node.subKeys.size());
        info->values = static_cast<uint32_t>(node.values.size());
        return true;
    });
}

bool RegistryKey::EnumSubKey(uint32_t index, WString* name) const {
    return ReadKey(KeyOf(handle_), kKeyEnumerateSubKeys, [&](const RegistryNode& node) {
        if (index >= node.subKeys.size()) return posix::Fail(kErrorNoMoreItems);
        *name = Widen(node.subKeys[index].name);
        return true;
    });
}

bool RegistryKey::EnumValue(uint32_t index, WString* name, uint32_t* type) const {
    return ReadKey(KeyOf(handle_), kKeyQueryValue, [&](const RegistryNode& node) {
        if (index >= node.values.size()) return posix::Fail(kErrorNoMoreItems);
        *name = Widen(node.values[index].first);
        if (type) *type = node.values[index].second.type;
        return true;
    });
}

bool RegistryKey::QueryValue(WStringView name, RegistryValue* value) const {
    const std::string wanted = Narrow(name);
    return ReadKey(KeyOf(handle_), kKeyQueryValue, [&](const RegistryNode& node) {
        const RegistryValue* found = node.FindValue(wanted);
        if (found == nullptr) return posix::Fail(kErrorFileNotFound);
        *value = *found;
        return true;
    });
}

bool RegistryKey::QueryString(WStringView name, WString* value, uint32_t maxBytes) const {
    RegistryValue stored;
    if (!QueryValue(name, &stored)) return false;
    if (!IsStringType(stored.type)) return posix::Fail(kErrorUnsupportedType);
    if (stored.data.size() > maxBytes) return posix::Fail(kErrorMoreData);
    *value = FromCodePage(std::string_view(stored.data).substr(0, stored.data.find('\0')));
    return true;
}

bool RegistryKey::QueryDword(WStringView name, uint32_t* value) const {
    RegistryValue stored;
    if (!QueryValue(name, &stored)) return false;
    if (stored.type != kRegDword || stored.data.size() != 4) return posix::Fail(kErrorUnsupportedType);
    uint32_t number = 0;
    for (size_t i = 0; i < 4; ++i) number |= uint32_t{static_cast<uint8_t>(stored.data[i])} << (8 * i);
    *value = number;
    return true;
}

bool RegistryKey::SetValue(WStringView name, uint32_t type, std::span<const uint8_t> data) {
    RegistryValue value{type, std::string(data.begin(), data.end())};
    const std::string valueName = Narrow(name);
    return EditKey(KeyOf(handle_), kKeySetValue, [&](RegistryNode& node) {
        node.SetValue(valueName, std::move(value));
        return true;
    });
}

bool RegistryKey::SetString(WStringView name, WStringView value, uint32_t type) {
    const std::string bytes = ToCodePage(value);
    std::vector<uint8_t> data(bytes.begin(), bytes.end());
    data.push_back(0);
    return SetValue(name, type, data);
}

bool RegistryKey::SetDword(WStringView name, uint32_t value) {
    const uint8_t data[4] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                             static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
    return SetValue(name, kRegDword, data);
}

bool RegistryKey::DeleteValue(WStringView name) {
    const std::string valueName = Narrow(name);
    return EditKey(KeyOf(handle_), kKeySetValue, [&](RegistryNode& node) {
        return node.RemoveValue(valueName) || posix::Fail(kErrorFileNotFound);
    });
}

bool RegistryKey::DeleteSubKey(WStringView path) {
    const OpenKey* key = KeyOf(handle_);
    if (key == nullptr) return posix::Fail(kErrorInvalidHandle);
    RegistryTree tree;
    if (!posix::ReadRegistry(&tree)) return false;
    if (tree.Find(key->root, key->path) == nullptr) return posix::Fail(kErrorKeyDeleted);
    return DeleteBelow(key->root, key->path, path);
}

bool RegDeleteKey(RegistryRoot root, WStringView path) { return DeleteBelow(root, {}, path); }

}  // namespace sys
