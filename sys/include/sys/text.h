// UTF-16 text as the Windows wide-character API sees it. The portable code
// keeps paths, printer names and document names as char16_t strings so that
// both builds carry the same 16-bit units; the win32 layer hands them to the
// W functions unchanged and the posix layer converts at its edge.
#pragma once

#include <string>
#include <string_view>

namespace sys {

using WString = std::u16string;
using WStringView = std::u16string_view;

// UTF-8 <-> UTF-16. Invalid sequences become U+FFFD; nothing throws.
WString Widen(std::string_view utf8);
std::string Narrow(WStringView utf16);

}  // namespace sys
