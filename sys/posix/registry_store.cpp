#include "registry_store.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "error_codes.h"
#include "host_paths.h"
#include "sys/last_error.h"

namespace sys::posix {
namespace {

constexpr size_t kMaxKeyNameLength = 255;
// Far beyond any registry this package writes; a larger file is refused
// rather than read into memory.
constexpr off_t kMaxRegistryBytes = off_t{64} << 20;

constexpr const char* kRootNames[] = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE",
                                      "HKEY_USERS"};

bool SameName(std::string_view a, std::string_view b) { return NamesEqualIgnoringCase(a, b); }

bool NameBefore(std::string_view a, std::string_view b) { return CompareIgnoreCase(Widen(a), Widen(b)) < 0; }

// ---- Text of the file -----------------------------------------------------

char HexDigit(unsigned value) { return "0123456789abcdef"[value & 0xF]; }

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string Quoted(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\' || c == '"') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            out += "\\x";
            out += HexDigit(byte >> 4);
            out += HexDigit(byte);
        } else {
            out += c;
        }
    }
    return out + '"';
}

// Reads a quoted text at *at; false when there is none.
bool TakeQuoted(std::string_view line, size_t* at, std::string* text) {
    if (*at >= line.size() || line[*at] != '"') return false;
    text->clear();
    for (size_t i = *at + 1; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '"') {
            *at = i + 1;
            return true;
        }
        if (c != '\\') {
            *text += c;
            continue;
        }
        if (i + 1 >= line.size()) return false;
        const char next = line[++i];
        if (next != 'x') {
            *text += next;
            continue;
        }
        if (i + 2 >= line.size()) return false;
        const int high = HexValue(line[i + 1]);
        const int low = HexValue(line[i + 2]);
        if (high < 0 || low < 0) return false;
        *text += static_cast<char>(high << 4 | low);
        i += 2;
    }
    return false;
}

std::string EscapedKeyName(std::string_view name) {
    std::string out;
    for (char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || c == '%' || c == '[' || c == ']') {
            out += '%';
            out += HexDigit(byte >> 4);
            out += HexDigit(byte);
        } else {
            out += c;
        }
    }
    return out;
}

bool UnescapeKeyName(std::string_view text, std::string* name) {
    name->clear();
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            *name += text[i];
            continue;
        }
        if (i + 2 >= text.size()) return false;
        const int high = HexValue(text[i + 1]);
        const int low = HexValue(text[i + 2]);
        if (high < 0 || low < 0) return false;
        *name += static_cast<char>(high << 4 | low);
        i += 2;
    }
    return !name->empty();
}

// A string value that the plain "text" form keeps exactly: one final NUL
// and none inside.
bool IsPlainText(const RegistryValue& value) {
    if (value.type != kRegSz && value.type != kRegExpandSz) return false;
    return !value.data.empty() && value.data.find('\0') == value.data.size() - 1;
}

std::string ValueText(const RegistryValue& value) {
    if (IsPlainText(value)) {
        const std::string text = Quoted(std::string_view(value.data).substr(0, value.data.size() - 1));
        return value.type == kRegSz ? text : "expand:" + text;
    }
    if (value.type == kRegDword && value.data.size() == 4) {
        uint32_t number = 0;
        for (size_t i = 0; i < 4; ++i) number |= uint32_t{static_cast<uint8_t>(value.data[i])} << (8 * i);
        char digits[16];
        std::snprintf(digits, sizeof digits, "dword:%08x", number);
        return digits;
    }
    std::string out = "hex(" + std::to_string(value.type) + "):";
    for (size_t i = 0; i < value.data.size(); ++i) {
        if (i > 0) out += ',';
        const auto byte = static_cast<uint8_t>(value.data[i]);
        out += HexDigit(byte >> 4);
        out += HexDigit(byte);
    }
    return out;
}

bool ParseDword(std::string_view digits, RegistryValue* value) {
    if (digits.size() != 8) return false;
    uint32_t number = 0;
    for (char c : digits) {
        const int digit = HexValue(c);
        if (digit < 0) return false;
        number = number << 4 | static_cast<uint32_t>(digit);
    }
    value->type = kRegDword;
    value->data.clear();
    for (size_t i = 0; i < 4; ++i) value->data += static_cast<char>(number >> (8 * i) & 0xFF);
    return true;
}

bool ParseHex(std::string_view text, RegistryValue* value) {
    const size_t close = text.find("):");
    if (close == std::string_view::npos || close == 0 || close > 10) return false;
    uint64_t type = 0;
    for (char c : text.substr(0, close)) {
        if (c < '0' || c > '9') return false;
        type = type * 10 + static_cast<uint64_t>(c - '0');
    }
    if (type > UINT32_MAX) return false;
    value->type = static_cast<uint32_t>(type);
    value->data.clear();
    const std::string_view bytes = text.substr(close + 2);
    for (size_t i = 0; i < bytes.size(); i += 3) {
        if (i + 2 > bytes.size() || (i + 2 < bytes.size() && bytes[i + 2] != ',')) return false;
        const int high = HexValue(bytes[i]);
        const int low = HexValue(bytes[i + 1]);
        if (high < 0 || low < 0) return false;
        value->data += static_cast<char>(high << 4 | low);
    }
    return true;
}

bool ParseValueData(std::string_view text, RegistryValue* value) {
    size_t at = 0;
    std::string body;
    uint32_t type = kRegSz;
    if (text.starts_with("dword:")) return ParseDword(text.substr(6), value);
    if (text.starts_with("hex(")) return ParseHex(text.substr(4), value);
    if (text.starts_with("expand:")) {
        type = kRegExpandSz;
        at = 7;
    }
    if (!TakeQuoted(text, &at, &body) || at != text.size()) return false;
    value->type = type;
    value->data = body + '\0';
    return true;
}

// "name"=data or @=data.
bool ParseValueLine(std::string_view line, std::string* name, RegistryValue* value) {
    size_t at = 0;
    if (line.starts_with('@')) {
        name->clear();
        at = 1;
    } else if (!TakeQuoted(line, &at, name)) {
        return false;
    }
    if (at >= line.size() || line[at] != '=') return false;
    return ParseValueData(line.substr(at + 1), value);
}

// [ROOT\Name\Name]: the root and the path.
bool ParseKeyLine(std::string_view line, size_t* root, RegistryPath* path) {
    if (line.size() < 2 || line.front() != '[' || line.back() != ']') return false;
    const std::string_view body = line.substr(1, line.size() - 2);
    path->clear();
    size_t start = 0;
    bool first = true;
    while (start <= body.size()) {
        const size_t end = std::min(body.find('\\', start), body.size());
        const std::string_view part = body.substr(start, end - start);
        if (first) {
            const auto* found = std::find(std::begin(kRootNames), std::end(kRootNames), part);
            if (found == std::end(kRootNames)) return false;
            *root = static_cast<size_t>(found - std::begin(kRootNames));
            first = false;
        } else {
            std::string name;
            if (!UnescapeKeyName(part, &name)) return false;
            path->push_back(std::move(name));
        }
        start = end + 1;
    }
    return true;
}

void SerializeNode(const RegistryNode& node, const std::string& header, std::string* out) {
    *out += '[' + header + "]\n";
    for (const auto& [name, value] : node.values)
        *out += (name.empty() ? std::string("@") : Quoted(name)) + '=' + ValueText(value) + '\n';
    for (const RegistryNode& subKey : node.subKeys)
        SerializeNode(subKey, header + '\\' + EscapedKeyName(subKey.name), out);
}

// ---- The file ---------------------------------------------------------------

std::string RegistryFile() {
    const std::string root = MachineRoot();
    return root.empty() ? root : root + "/registry.txt";
}

// The lock on registry.lock: shared while reading, exclusive while changing.
class RegistryLock {
public:
    explicit RegistryLock(bool exclusive) {
        const std::string root = MachineRoot();
        if (root.empty()) return;
        fd_ = ::open((root + "/registry.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (fd_ >= 0 && ::flock(fd_, exclusive ? LOCK_EX : LOCK_SH) != 0) {
            ::close(fd_);
            fd_ = -1;
        }
    }
    ~RegistryLock() {
        if (fd_ >= 0) ::close(fd_);  // closing releases the lock
    }
    RegistryLock(const RegistryLock&) = delete;
    RegistryLock& operator=(const RegistryLock&) = delete;
    bool Held() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

bool ReadFileText(const std::string& path, std::string* text) {
    text->clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT ? true : FailFromErrno();
    struct stat st;
    bool ok = ::fstat(fd, &st) == 0;
    if (ok && st.st_size > kMaxRegistryBytes) {
        ::close(fd);
        return Fail(kErrorNotEnoughMemory);
    }
    char buffer[65536];
    while (ok) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            ok = got == 0;
            break;
        }
        text->append(buffer, static_cast<size_t>(got));
    }
    const int error = errno;
    ::close(fd);
    if (!ok) return Fail(WindowsError(error));
    return true;
}

bool WriteAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return false;
        done += static_cast<size_t>(put);
    }
    return true;
}

// A new file beside the old one, flushed, then renamed over it.
bool ReplaceFile(const std::string& path, const std::string& bytes) {
    const std::string temp = path + ".new." + std::to_string(::getpid());
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return FailFromErrno();
    bool ok = WriteAll(fd, bytes) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (ok && ::rename(temp.c_str(), path.c_str()) == 0) return true;
    const uint32_t error = errno == 0 ? kErrorWriteFault : WindowsError(errno);
    ::unlink(temp.c_str());
    return Fail(error);
}

}  // namespace

// ---- RegistryNode -------------------------------------------------------------

RegistryNode* RegistryNode::FindSubKey(std::string_view subKeyName) {
    for (RegistryNode& subKey : subKeys)
        if (SameName(subKey.name, subKeyName)) return &subKey;
    return nullptr;
}

const RegistryNode* RegistryNode::FindSubKey(std::string_view subKeyName) const {
    return const_cast<RegistryNode*>(this)->FindSubKey(subKeyName);
}

RegistryNode& RegistryNode::SubKeyForEdit(std::string_view subKeyName, bool* created) {
    *created = false;
    if (RegistryNode* found = FindSubKey(subKeyName)) return *found;
    *created = true;
    const auto at = std::find_if(subKeys.begin(), subKeys.end(), [&](const RegistryNode& subKey) {
        return NameBefore(subKeyName, subKey.name);
    });
    RegistryNode node;
    node.name = std::string(subKeyName);
    return *subKeys.insert(at, std::move(node));
}

bool RegistryNode::RemoveSubKey(std::string_view subKeyName) {
    const auto found = std::find_if(subKeys.begin(), subKeys.end(), [&](const RegistryNode& subKey) {
        return SameName(subKey.name, subKeyName);
    });
    if (found == subKeys.end()) return false;
    subKeys.erase(found);
    return true;
}

const RegistryValue* RegistryNode::FindValue(std::string_view valueName) const {
    for (const auto& [storedName, value] : values)
        if (SameName(storedName, valueName)) return &value;
    return nullptr;
}

void RegistryNode::SetValue(std::string_view valueName, RegistryValue value) {
    for (auto& [storedName, stored] : values) {
        if (SameName(storedName, valueName)) {
            stored = std::move(value);
            return;
        }
    }
    values.emplace_back(std::string(valueName), std::move(value));
}

bool RegistryNode::RemoveValue(std::string_view valueName) {
    const auto found = std::find_if(values.begin(), values.end(),
                                    [&](const auto& entry) { return SameName(entry.first, valueName); });
    if (found == values.end()) return false;
    values.erase(found);
    return true;
}

// ---- RegistryTree -------------------------------------------------------------

RegistryTree::RegistryTree() {
    for (size_t i = 0; i < roots_.size(); ++i) roots_[i].name = kRootNames[i];
}

const RegistryNode* RegistryTree::Find(RegistryRoot root, const RegistryPath& path) const {
    const RegistryNode* node = &Root(root);
    for (const std::string& name : path) {
        node = node->FindSubKey(name);
        if (node == nullptr) return nullptr;
    }
    return node;
}

RegistryNode* RegistryTree::Find(RegistryRoot root, const RegistryPath& path) {
    return const_cast<RegistryNode*>(std::as_const(*this).Find(root, path));
}

RegistryTree RegistryTree::Parse(std::string_view text) {
    RegistryTree tree;
    RegistryNode* current = nullptr;  // values before the first key line are dropped
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (line.ends_with('\r')) line.remove_suffix(1);
        if (line.empty()) continue;
        size_t root = 0;
        RegistryPath path;
        std::string name;
        RegistryValue value;
        if (ParseKeyLine(line, &root, &path)) {
            current = &tree.roots_[root];
            bool created = false;
            for (const std::string& part : path) current = &current->SubKeyForEdit(part, &created);
        } else if (line.starts_with('[')) {
            current = nullptr;  // the values of a key line that does not parse go with it
        } else if (current != nullptr && ParseValueLine(line, &name, &value)) {
            current->SetValue(name, std::move(value));
        }
    }
    return tree;
}

std::string RegistryTree::Serialize() const {
    std::string out = "; the registry of this machine root\n";
    for (const RegistryNode& root : roots_) SerializeNode(root, root.name, &out);
    return out;
}

// ---- Paths and the file -------------------------------------------------------------

bool SplitRegistryPath(WStringView path, RegistryPath* names) {
    names->clear();
    if (!path.empty() && path[0] == u'\\') return Fail(kErrorBadPathname);
    size_t start = 0;
    while (start < path.size()) {
        size_t end = path.find(u'\\', start);
        if (end == WStringView::npos) end = path.size();
        const WStringView name = path.substr(start, end - start);
        start = end + 1;
        if (name.empty()) continue;
        if (name.size() > kMaxKeyNameLength) return Fail(kErrorInvalidParameter);
        names->push_back(Narrow(name));
    }
    return true;
}

bool ReadRegistry(RegistryTree* tree) {
    const std::string file = RegistryFile();
    if (file.empty()) return Fail(kErrorPathNotFound);
    RegistryLock lock(false);
    if (!lock.Held()) return FailFromErrno();
    std::string text;
    if (!ReadFileText(file, &text)) return false;
    *tree = RegistryTree::Parse(text);
    return true;
}

bool EditRegistry(const std::function<bool(RegistryTree&)>& edit) {
    const std::string file = RegistryFile();
    if (file.empty()) return Fail(kErrorPathNotFound);
    RegistryLock lock(true);
    if (!lock.Held()) return FailFromErrno();
    std::string text;
    if (!ReadFileText(file, &text)) return false;
    RegistryTree tree = RegistryTree::Parse(text);
    if (!edit(tree)) return false;
    return ReplaceFile(file, tree.Serialize());
}

}  // namespace sys::posix
