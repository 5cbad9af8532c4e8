// The profile functions over sys/ini_document.h. The buffer rules are those
// of Windows, including its corners (confirmed under Wine, whose profile
// code the tests hold this layer against):
// - a quoted value is cut before its quotes are dropped, so a buffer one
//   unit short of the quoted text loses the value's last character too;
// - a fallback loses trailing spaces but never its first character;
// - a section list that does not fit returns size - 2 even when its last
//   line came out whole.
#include "sys/profile.h"

#include <algorithm>

#include "profile_file.h"

namespace sys {
namespace {

// lstrcpyn: at most count - 1 units and a NUL; nothing for count 0.
size_t CopyCut(WStringView text, char16_t* out, size_t count) {
    if (count == 0) return 0;
    const size_t length = std::min(text.size(), count - 1);
    std::copy_n(text.begin(), length, out);
    out[length] = 0;
    return length;
}

bool IsQuoted(WStringView text) {
    return text.size() >= 2 && (text[0] == u'"' || text[0] == u'\'') && text.back() == text[0];
}

size_t CopyValue(WStringView value, char16_t* out, size_t count) {
    if (!IsQuoted(value)) return CopyCut(value, out, count);
    value.remove_prefix(1);  // the closing quote goes after the cut
    size_t length = CopyCut(value, out, count);
    if (count >= value.size() && length > 0) out[--length] = 0;
    return length;
}

WStringView WithoutTrailingSpaces(WStringView text) {
    while (text.size() > 1 && text.back() == u' ') text.remove_suffix(1);
    return text;
}

// Writes the list of `section` as GetPrivateProfileSection does; size > 2.
uint32_t ListSection(const IniSection& section, char16_t* buffer, uint32_t size) {
    size_t left = size, at = 0;
    for (const IniEntry& entry : section.entries) {
        if (left <= 2) break;
        if (entry.IsComment()) continue;
        const size_t keyLength = CopyCut(entry.key, buffer + at, left - 1);
        left -= keyLength + 1;
        at += keyLength + 1;
        if (left < 2) break;
        if (entry.value) {
            buffer[at - 1] = u'=';
            const size_t valueLength = CopyCut(*entry.value, buffer + at, left - 1);
            left -= valueLength + 1;
            at += valueLength + 1;
        }
    }
    buffer[at] = 0;
    if (left <= 1) {  // cut short: the double NUL ends the buffer
        buffer[at - 1] = 0;
        return size - 2;
    }
    buffer[at + 1] = 0;
    return static_cast<uint32_t>(at);
}

}  // namespace

uint32_t GetPrivateProfileString(WStringView section, WStringView key, WStringView fallback, char16_t* buffer,
                                 uint32_t size, WStringView path) {
    if (buffer == nullptr || size == 0) return 0;
    IniDocument document;
    posix::ReadProfile(path, &document);  // an unreadable file gives the fallback
    const IniEntry* entry = document.FindEntry(section, key);
    const WStringView text =
        entry && entry->value ? WStringView(*entry->value) : WithoutTrailingSpaces(fallback);
    return static_cast<uint32_t>(CopyValue(text, buffer, size));
}

uint32_t GetPrivateProfileSection(WStringView section, char16_t* buffer, uint32_t size, WStringView path) {
    if (buffer == nullptr || size == 0) return 0;
    buffer[0] = 0;
    if (size == 1) return 0;
    buffer[1] = 0;
    if (size == 2) return 0;
    IniDocument document;
    posix::ReadProfile(path, &document);
    const IniSection* found = document.FindSection(section);
    return found ? ListSection(*found, buffer, size) : 0;
}

bool WritePrivateProfileString(WStringView section, WStringView key, WStringView value, WStringView path) {
    return posix::EditProfile(path, true, [&](IniDocument& document) {
        document.SetValue(section, key, value);
        return true;
    });
}

bool WritePrivateProfileSection(WStringView section, std::span<const WString> lines, WStringView path) {
    return posix::EditProfile(path, true, [&](IniDocument& document) {
        document.ReplaceSection(section, lines);
        return true;
    });
}

bool DeletePrivateProfileKey(WStringView section, WStringView key, WStringView path) {
    return posix::EditProfile(path, false,
                              [&](IniDocument& document) { return document.DeleteKey(section, key); });
}

bool DeletePrivateProfileSection(WStringView section, WStringView path) {
    return posix::EditProfile(path, false,
                              [&](IniDocument& document) { return document.DeleteSection(section); });
}

}  // namespace sys
