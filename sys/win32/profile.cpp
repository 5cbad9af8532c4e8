// The system's profile functions, called in their A forms: Windows 95 has
// them where its W forms are stubs. Text crosses in the ANSI code page;
// results go through a buffer of our own two units longer than asked,
// because some systems write a section list's double NUL past a one-unit
// buffer.
#include "sys/profile.h"

#include <algorithm>
#include <string>

#include "windows_api.h"

namespace sys {
namespace {

// What the system wrote into `bytes` (its first `count`), back in UTF-16,
// cut to the caller's size.
uint32_t CopyBack(const std::string& bytes, size_t count, char16_t* buffer, uint32_t size) {
    const WString text = FromCodePage(std::string_view(bytes.data(), count));
    const size_t length = std::min<size_t>(text.size(), size);
    std::copy_n(text.begin(), length, buffer);
    return static_cast<uint32_t>(length);
}

// The system keeps written profiles in memory on some versions; this writes
// them out, so that the file is current when the call returns.
void Flush(const std::string& path) { ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str()); }

}  // namespace

uint32_t GetPrivateProfileString(WStringView section, WStringView key, WStringView fallback, char16_t* buffer,
                                 uint32_t size, WStringView path) {
    if (buffer == nullptr || size == 0) return 0;
    std::string result(size_t{size} + 2, '\0');
    const DWORD got = ::GetPrivateProfileStringA(ToCodePage(section).c_str(), ToCodePage(key).c_str(),
                                                 ToCodePage(fallback).c_str(), result.data(), size,
                                                 ToCodePage(path).c_str());
    const uint32_t length = CopyBack(result, std::min<DWORD>(got, size - 1), buffer, size - 1);
    buffer[length] = 0;
    return length;
}

uint32_t GetPrivateProfileSection(WStringView section, char16_t* buffer, uint32_t size, WStringView path) {
    if (buffer == nullptr || size == 0) return 0;
    std::string result(size_t{size} + 2, '\0');
    const DWORD got = ::GetPrivateProfileSectionA(ToCodePage(section).c_str(), result.data(), size,
                                                  ToCodePage(path).c_str());
    // The list and its double NUL: got + 2 units, never more than size.
    // The result counts the code page's bytes, which are the units in the
    // single-byte code pages of the systems this package supports.
    const size_t listed = std::min<size_t>(size_t{got} + 2, size);
    CopyBack(result, listed, buffer, size);
    return got;
}

bool WritePrivateProfileString(WStringView section, WStringView key, WStringView value, WStringView path) {
    const std::string file = ToCodePage(path);
    const BOOL ok = ::WritePrivateProfileStringA(ToCodePage(section).c_str(), ToCodePage(key).c_str(),
                                                 ToCodePage(value).c_str(), file.c_str());
    Flush(file);
    return ok != FALSE;
}

bool WritePrivateProfileSection(WStringView section, std::span<const WString> lines, WStringView path) {
    std::string packed;  // "key=value\0key=value\0\0"
    for (const WString& line : lines) {
        packed += ToCodePage(line);
        packed += '\0';
    }
    packed += '\0';
    const std::string file = ToCodePage(path);
    const BOOL ok = ::WritePrivateProfileSectionA(ToCodePage(section).c_str(), packed.data(), file.c_str());
    Flush(file);
    return ok != FALSE;
}

bool DeletePrivateProfileKey(WStringView section, WStringView key, WStringView path) {
    const std::string file = ToCodePage(path);
    const BOOL ok = ::WritePrivateProfileStringA(ToCodePage(section).c_str(), ToCodePage(key).c_str(),
                                                 nullptr, file.c_str());
    Flush(file);
    return ok != FALSE;
}

bool DeletePrivateProfileSection(WStringView section, WStringView path) {
    const std::string file = ToCodePage(path);
    const BOOL ok = ::WritePrivateProfileStringA(ToCodePage(section).c_str(), nullptr, nullptr, file.c_str());
    Flush(file);
    return ok != FALSE;
}

}  // namespace sys
