#include "common/reboot_files.h"

#include <string>
#include <vector>

#include "sys/folders.h"
#include "sys/profile.h"

namespace {

constexpr char16_t kWininit[] = u"Wininit.ini";
constexpr char16_t kRenameSection[] = u"Rename";
constexpr uint32_t kSectionBufferSize = 16384;

sys::WString ShortOrLong(const char* path) {
    const sys::WString longPath = sys::FromCodePage(path ? path : "");
    const sys::WString shortPath = sys::GetShortPathName(longPath);
    return shortPath.empty() ? longPath : shortPath;
}

// Appends `entries` to the section when it and they fit the buffer.
void AppendRenameEntries(const std::vector<sys::WString>& entries) {
    std::vector<char16_t> buffer(kSectionBufferSize, 0);
    const uint32_t length =
        sys::GetPrivateProfileSection(kRenameSection, buffer.data(), kSectionBufferSize, kWininit);
    if (length == kSectionBufferSize - 2) return;  // the section does not fit: leave it alone

    // The existing entries, each ended by its NUL, then the new ones; the
    // section's final NUL must still fit.
    size_t needed = length;
    for (const sys::WString& entry : entries) needed += entry.size() + 1;
    if (needed + 1 > kSectionBufferSize) return;

    std::vector<sys::WString> lines;
    for (size_t at = 0; at < length && buffer[at] != 0;) {
        const sys::WString line(buffer.data() + at);
        at += line.size() + 1;
        lines.push_back(line);
    }
    lines.insert(lines.end(), entries.begin(), entries.end());
    sys::WritePrivateProfileSection(kRenameSection, lines, kWininit);
}

}  // namespace

int MyDeleteFileOnReboot(const char* path) {
    AppendRenameEntries({u"NUL=" + ShortOrLong(path)});
    return 0;
}

int MyRenameFileOnReboot(const char* source, const char* destination) {
    const sys::WString target = ShortOrLong(destination);
    AppendRenameEntries({u"NUL=" + target, target + u"=" + ShortOrLong(source)});
    return 0;
}
