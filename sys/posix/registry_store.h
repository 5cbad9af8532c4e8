// The posix layer's registry: a tree of keys kept in <machine root>/registry.txt.
//
// Every read takes a shared lock on registry.lock and parses the file; every
// change takes the exclusive lock, parses, edits, writes the whole tree to a
// new file, flushes it to the disk and renames it over the old one. A
// program that dies at any point leaves either the old or the new registry,
// never half of one, and programs that change it at the same time never
// lose each other's changes.
//
// The file is text, one line each:
//
//     [HKEY_LOCAL_MACHINE\SOFTWARE\Maker]     a key (every key has its line)
//     "Language"="EN"                         a kRegSz value with one NUL
//     @="text"                                the default value
//     "Count"=dword:0000000b                  a kRegDword value
//     "Path"=expand:"%SystemRoot%"            a kRegExpandSz value with one NUL
//     "Raw"=hex(3):0b,00                      any other value, as bytes
//
// In quoted names and texts '\' and '"' are escaped with '\', and bytes
// below 0x20 written \xHH; in a key line '%', '[', ']' and bytes below 0x20
// are written %HH. Lines that do not parse are dropped, so a damaged file
// loses those entries and nothing else.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "sys/registry.h"

namespace sys::posix {

struct RegistryNode {
    std::string name;                                           // UTF-8, spelled as created
    std::vector<std::pair<std::string, RegistryValue>> values;  // in creation order
    std::vector<RegistryNode> subKeys;                          // in name order, without regard to case

    RegistryNode* FindSubKey(std::string_view subKeyName);
    const RegistryNode* FindSubKey(std::string_view subKeyName) const;
    // The sub-key of that name, inserted in name order when missing.
    RegistryNode& SubKeyForEdit(std::string_view subKeyName, bool* created);
    bool RemoveSubKey(std::string_view subKeyName);

    const RegistryValue* FindValue(std::string_view valueName) const;
    // Replaces the value of that name or appends it.
    void SetValue(std::string_view valueName, RegistryValue value);
    bool RemoveValue(std::string_view valueName);
};

// A key path below a root, one name per key.
using RegistryPath = std::vector<std::string>;

class RegistryTree {
public:
    RegistryTree();

    RegistryNode& Root(RegistryRoot root) { return roots_[static_cast<size_t>(root)]; }
    const RegistryNode& Root(RegistryRoot root) const { return roots_[static_cast<size_t>(root)]; }

    const RegistryNode* Find(RegistryRoot root, const RegistryPath& path) const;
    RegistryNode* Find(RegistryRoot root, const RegistryPath& path);

    static RegistryTree Parse(std::string_view text);
    std::string Serialize() const;

private:
    std::array<RegistryNode, 4> roots_;
};

// Splits "Name\Name" into names. Empty names are skipped (a trailing '\' is
// harmless); a path that starts with '\' is refused with kErrorBadPathname
// and a name longer than 255 characters with kErrorInvalidParameter.
bool SplitRegistryPath(WStringView path, RegistryPath* names);

// The registry as the file holds it now. False and the last error when the
// file exists but cannot be read.
bool ReadRegistry(RegistryTree* tree);

// Runs `edit` on the registry under the exclusive lock and writes the
// result when it returns true. `edit` sets the last error of a refused
// change itself and returns false.
bool EditRegistry(const std::function<bool(RegistryTree&)>& edit);

}  // namespace sys::posix
