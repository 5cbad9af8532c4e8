// Text in a named Windows code page. The setup program's language files are
// written in the code page of their language (Shift-JIS for Japanese, Big5
// for Traditional Chinese, 1252 for German ...), whatever the system's own
// code page is, and are decoded with it.
#pragma once

#include <cstdint>
#include <string_view>

#include "sys/text.h"

namespace sys {

// The system's ANSI code page (CP_ACP): what sys::FromCodePage decodes.
inline constexpr uint32_t kCodePageSystem = 0;
inline constexpr uint32_t kCodePageUtf8 = 65001;

// The bytes decoded in `codePage` (a Windows code page number such as 932,
// 936, 949, 950, 874 or 1250 to 1258). A code page the system cannot decode
// is read as the system's. A double-byte character cut in half at the end
// is dropped; a byte that means nothing in the code page becomes a
// replacement character.
WString DecodeCodePage(std::string_view bytes, uint32_t codePage);

}  // namespace sys
