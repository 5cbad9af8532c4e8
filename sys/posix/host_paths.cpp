#include "host_paths.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "sys/last_error.h"

namespace sys::posix {
namespace {

constexpr size_t kMaxNameLength = 255;

bool IsSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

bool IsDriveLetter(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }

bool IsDirectory(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool Exists(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

// Characters that Windows refuses in a file name.
bool HasInvalidNameCharacter(WStringView name) {
    for (char16_t c : name) {
        if (c < 0x20) return true;
        switch (c) {
            case u'<':
            case u'>':
            case u':':
            case u'"':
            case u'|':
            case u'?':
            case u'*': return true;
            default: break;
        }
    }
    return false;
}

// Windows ignores trailing dots and spaces of a name ("name. " is "name").
WStringView TrimTrailingDotsAndSpaces(WStringView name) {
    while (!name.empty() && (name.back() == u'.' || name.back() == u' ')) name.remove_suffix(1);
    return name;
}

// Splits the part after the root into names, resolving "." and "..".
bool SplitNames(WStringView rest, std::vector<std::string>* names) {
    size_t start = 0;
    while (start <= rest.size()) {
        size_t end = start;
        while (end < rest.size() && !IsSeparator(rest[end])) ++end;
        const WStringView raw = rest.substr(start, end - start);
        start = end + 1;
        if (raw.empty() || raw == u".") continue;
        if (raw == u"..") {
            if (!names->empty()) names->pop_back();
            continue;
        }
        const WStringView name = TrimTrailingDotsAndSpaces(raw);
        if (name.empty()) continue;
        if (HasInvalidNameCharacter(name)) {
            SetLastError(kErrorInvalidName);
            return false;
        }
        std::string narrow = Narrow(name);
        if (narrow.size() > kMaxNameLength) {
            SetLastError(kErrorFilenameTooLong);
            return false;
        }
        names->push_back(std::move(narrow));
    }
    return true;
}

// The entry of `folder` that `name` refers to: itself when it exists, else an
// entry equal without regard to case, else `name` unchanged.
std::string MatchEntry(const std::string& folder, const std::string& name) {
    if (Exists(folder + "/" + name)) return name;
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) return name;
    std::string found = name;
    while (const dirent* entry = ::readdir(dir)) {
        if (NamesEqualIgnoringCase(entry->d_name, name)) {
            found = entry->d_name;
            break;
        }
    }
    ::closedir(dir);
    return found;
}

std::string CurrentFolder() {
    std::vector<char> buffer(4096);
    if (::getcwd(buffer.data(), buffer.size()) == nullptr) return "/";
    return buffer.data();
}

// The host folder a path starts from, and the rest of the path after it.
bool SplitRoot(WStringView path, std::string* base, WStringView* rest) {
    if (path.empty()) {
        SetLastError(kErrorPathNotFound);
        return false;
    }
    if (path[0] == u'/') {  // a host path
        *base = "/";
        *rest = path;
        return true;
    }
    if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
        SetLastError(kErrorBadNetPath);  // \\server\share: no network here
        return false;
    }
    char16_t drive = 0;
    if (path.size() >= 2 && IsDriveLetter(path[0]) && path[1] == u':') {
        drive = path[0];
        *rest = path.substr(2);
    } else if (IsSeparator(path[0])) {
        drive = u'C';  // root of the current drive, which is always C here
        *rest = path;
    } else {
        *base = CurrentFolder();
        *rest = path;
        return true;
    }
    const std::string root = MachineRoot();
    if (root.empty()) {
        SetLastError(kErrorPathNotFound);
        return false;
    }
    *base = root + "/" + static_cast<char>(FoldCase(drive));
    if (!MakeFolders(*base)) {
        SetLastError(kErrorPathNotFound);
        return false;
    }
    return true;
}

}  // namespace

bool MakeFolders(const std::string& path) {
    if (path.empty() || IsDirectory(path)) return !path.empty();
    const size_t slash = path.find_last_of('/');
    if (slash != std::string::npos && slash > 0 && !MakeFolders(path.substr(0, slash))) return false;
    return ::mkdir(path.c_str(), 0777) == 0 || (errno == EEXIST && IsDirectory(path));
}

std::string MachineRoot() {
    std::string root;
    if (const char* configured = std::getenv("ZSYS_MACHINE_ROOT"); configured && *configured) {
        root = configured;
    } else {
        const char* tmp = std::getenv("TMPDIR");
        root = std::string(tmp && *tmp ? tmp : "/tmp") + "/zsys-machine";
    }
    while (root.size() > 1 && root.back() == '/') root.pop_back();
    return MakeFolders(root) ? root : std::string();
}

bool ToHostPath(WStringView path, HostPath* out) {
    std::string host;
    WStringView rest;
    if (!SplitRoot(path, &host, &rest)) return false;
    std::vector<std::string> names;
    if (!SplitNames(rest, &names)) return false;

    bool folderExists = IsDirectory(host);
    bool parentExists = folderExists;
    for (const std::string& name : names) {
        parentExists = folderExists;
        const std::string entry = folderExists ? MatchEntry(host, name) : name;
        if (host.back() != '/') host += '/';
        host += entry;
        folderExists = folderExists && IsDirectory(host);
    }
    out->path = std::move(host);
    out->parentExists = names.empty() ? true : parentExists;
    return true;
}

void SplitFolderAndName(WStringView path, WString* folder, WString* name) {
    size_t cut = path.size();
    while (cut > 0 && !IsSeparator(path[cut - 1])) --cut;
    if (cut > 0) {
        *folder = WString(path.substr(0, cut));
        *name = WString(path.substr(cut));
    } else if (path.size() >= 2 && IsDriveLetter(path[0]) && path[1] == u':') {
        *folder = WString(path.substr(0, 2)) + u"\\";
        *name = WString(path.substr(2));
    } else {
        *folder = u".";
        *name = WString(path);
    }
}

bool NamesEqualIgnoringCase(std::string_view a, std::string_view b) {
    if (a == b) return true;
    return EqualsIgnoreCase(Widen(a), Widen(b));
}

}  // namespace sys::posix
