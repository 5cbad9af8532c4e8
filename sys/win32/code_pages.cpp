// Code pages through MultiByteToWideChar, which Windows 95 implements for
// every code page it has installed (IsValidCodePage tells which).
#include <climits>

#include "sys/code_pages.h"
#include "windows_api.h"

namespace sys {
namespace {

// The bytes without a lead byte that has lost its second byte at the end.
std::string_view WholeCharacters(std::string_view bytes, UINT codePage) {
    size_t at = 0;
    while (at < bytes.size()) {
        const size_t length = ::IsDBCSLeadByteEx(codePage, static_cast<BYTE>(bytes[at])) ? 2 : 1;
        if (at + length > bytes.size()) return bytes.substr(0, at);
        at += length;
    }
    return bytes;
}

}  // namespace

WString DecodeCodePage(std::string_view bytes, uint32_t codePage) {
    if (codePage == kCodePageSystem || codePage == kCodePageUtf8 || !::IsValidCodePage(codePage))
        return FromCodePage(bytes);
    bytes = WholeCharacters(bytes, codePage);
    if (bytes.empty() || bytes.size() > INT_MAX) return WString();
    const int length = static_cast<int>(bytes.size());
    const int units = ::MultiByteToWideChar(codePage, 0, bytes.data(), length, nullptr, 0);
    WString text(static_cast<size_t>(units > 0 ? units : 0), u'\0');
    if (units > 0)
        ::MultiByteToWideChar(codePage, 0, bytes.data(), length, reinterpret_cast<wchar_t*>(text.data()),
                              units);
    return text;
}

}  // namespace sys
