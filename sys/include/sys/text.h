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

// Text in the system's code page (the "A" functions' text): the ANSI code
// page on Windows, UTF-8 on the posix layer. Characters the code page lacks
// become '?' on the way there.
std::string ToCodePage(WStringView text);
WString FromCodePage(std::string_view text);

// Names compared as Windows compares file, printer, section and key names:
// letters of ASCII, Latin-1, Greek and Cyrillic match their other case;
// every other character only itself.
char16_t FoldCase(char16_t c);
bool EqualsIgnoreCase(WStringView a, WStringView b);
// Negative, zero or positive as a sorts before, with or after b once both
// are folded (a name that is the start of another sorts first).
int CompareIgnoreCase(WStringView a, WStringView b);
bool EndsWithIgnoreCase(WStringView text, WStringView suffix);

}  // namespace sys
