// GetPrivateProfileStringA over the file's own bytes. An unmarked file is
// parsed one unit per byte (ISO 8859-1), which keeps every byte as it is and
// leaves the INI syntax, which is all ASCII, intact; names are matched the
// same way. A file with a UTF-16LE byte-order mark is text, which the A
// function hands out in the system's code page (UTF-8 on this layer); a
// UTF-8 mark is skipped. Then the buffer rules of sys/profile.h apply to the
// bytes, as Windows applies them to the A function's result.
#include <algorithm>
#include <string>

#include "profile_file.h"
#include "sys/profile_bytes.h"

namespace sys {
namespace {

WString BytesAsUnits(std::string_view bytes) {
    WString units(bytes.size(), u'\0');
    std::transform(bytes.begin(), bytes.end(), units.begin(),
                   [](char byte) { return static_cast<char16_t>(static_cast<uint8_t>(byte)); });
    return units;
}

std::string UnitsAsBytes(WStringView units) {
    std::string bytes(units.size(), '\0');
    std::transform(units.begin(), units.end(), bytes.begin(),
                   [](char16_t unit) { return static_cast<char>(unit & 0xFF); });
    return bytes;
}

WString DecodeUtf16Le(std::string_view bytes) {
    WString text;
    text.reserve(bytes.size() / 2);
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        text.push_back(
            static_cast<char16_t>(static_cast<uint8_t>(bytes[i]) | static_cast<uint8_t>(bytes[i + 1]) << 8));
    return text;
}

// The value of section/key as bytes, or nothing when the file lacks it.
bool FindValueBytes(std::string_view file, std::string_view section, std::string_view key,
                    std::string* value) {
    constexpr std::string_view kUtf16LeMark("\xFF\xFE", 2);
    constexpr std::string_view kUtf8Mark("\xEF\xBB\xBF", 3);
    if (file.starts_with(kUtf16LeMark)) {
        const IniDocument document = IniDocument::Parse(DecodeUtf16Le(file.substr(2)));
        const IniEntry* entry = document.FindEntry(Widen(section), Widen(key));
        if (entry == nullptr || !entry->value) return false;
        *value = Narrow(*entry->value);
        return true;
    }
    if (file.starts_with(kUtf8Mark)) file.remove_prefix(kUtf8Mark.size());
    const IniDocument document = IniDocument::Parse(BytesAsUnits(file));
    const IniEntry* entry = document.FindEntry(BytesAsUnits(section), BytesAsUnits(key));
    if (entry == nullptr || !entry->value) return false;
    *value = UnitsAsBytes(*entry->value);
    return true;
}

// lstrcpynA: at most size - 1 bytes and a NUL.
uint32_t CopyCut(std::string_view text, char* out, uint32_t size) {
    const size_t length = std::min<size_t>(text.size(), size - 1);
    std::copy_n(text.begin(), length, out);
    out[length] = 0;
    return static_cast<uint32_t>(length);
}

// A quoted value is cut before its quotes are dropped (see sys/profile.h).
uint32_t CopyValue(std::string_view value, char* out, uint32_t size) {
    const bool quoted =
        value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0];
    if (!quoted) return CopyCut(value, out, size);
    value.remove_prefix(1);
    uint32_t length = CopyCut(value, out, size);
    if (size >= value.size() && length > 0) out[--length] = 0;
    return length;
}

std::string_view WithoutTrailingSpaces(std::string_view text) {
    while (text.size() > 1 && text.back() == ' ') text.remove_suffix(1);
    return text;
}

}  // namespace

uint32_t GetPrivateProfileStringBytes(std::string_view section, std::string_view key,
                                      std::string_view fallback, char* buffer, uint32_t size,
                                      WStringView path) {
    if (buffer == nullptr || size == 0) return 0;
    std::string file;
    std::string value;
    // An unreadable file gives the fallback, as a missing one does.
    if (posix::ReadProfileBytes(path, &file) && FindValueBytes(file, section, key, &value))
        return CopyValue(value, buffer, size);
    return CopyValue(WithoutTrailingSpaces(fallback), buffer, size);
}

}  // namespace sys
