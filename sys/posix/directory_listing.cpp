// FindFirstFile/FindNextFile over a folder of the machine root.
#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>

#include "error_codes.h"
#include "file_attributes.h"
#include "host_paths.h"
#include "sys/files.h"
#include "sys/last_error.h"
#include "wildcard.h"

namespace sys {
namespace {

bool IsValidPattern(WStringView pattern) {
    if (pattern.empty()) return false;
    for (char16_t c : pattern) {
        if (c < 0x20 || c == u'<' || c == u'>' || c == u':' || c == u'"' || c == u'|') return false;
    }
    return true;
}

bool ComesFirst(const DirEntry& a, const DirEntry& b) { return CompareIgnoreCase(a.name, b.name) < 0; }

}  // namespace

std::vector<DirEntry> ListDirectory(WStringView pattern) {
    std::vector<DirEntry> entries;
    WString folder, namePattern;
    posix::SplitFolderAndName(pattern, &folder, &namePattern);
    if (!IsValidPattern(namePattern)) {
        posix::Fail(namePattern.empty() ? kErrorFileNotFound : kErrorInvalidName);
        return entries;
    }
    posix::HostPath host;
    if (!posix::ToHostPath(folder, &host)) return entries;
    DIR* dir = ::opendir(host.path.c_str());
    if (dir == nullptr) {
        posix::Fail(kErrorPathNotFound);
        return entries;
    }
    while (const dirent* item = ::readdir(dir)) {
        const std::string name = item->d_name;
        if (name == "." || name == "..") continue;
        WString wide = Widen(name);
        if (!posix::MatchesWildcard(wide, namePattern)) continue;
        const std::string full = host.path + "/" + name;
        struct stat info;
        if (::stat(full.c_str(), &info) != 0) continue;  // vanished meanwhile
        DirEntry entry;
        entry.name = std::move(wide);
        entry.attributes = posix::AttributesOf(full, info);
        entry.size = S_ISDIR(info.st_mode) ? 0 : static_cast<uint64_t>(info.st_size);
        entries.push_back(std::move(entry));
    }
    ::closedir(dir);
    // Windows file systems list names in order; readdir does not.
    std::sort(entries.begin(), entries.end(), ComesFirst);
    if (entries.empty()) posix::Fail(kErrorFileNotFound);
    return entries;
}

}  // namespace sys
