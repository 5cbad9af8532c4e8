// A small reader of INI-format text: "[section]" lines, "key=value" lines,
// comments starting with ';' or '#'. Sections and keys match without regard
// to ASCII case; spaces around keys and values are dropped and a value in
// double quotes loses them, as GetPrivateProfileString does. The text may be
// UTF-8 (with or without a byte-order mark) or UTF-16LE with its mark.
#pragma once

#include <optional>
#include <string_view>

#include "sys/text.h"

namespace tzqr4su {

// The value of `key` in `section`, or nothing when either is missing. When a
// key appears twice in a section the first wins.
std::optional<sys::WString> FindIniValue(sys::WStringView iniText, sys::WStringView section,
                                         sys::WStringView key);

// The file's text as UTF-16; empty when it cannot be read. Files above
// 1 MiB are not driver-string files and are not read.
sys::WString ReadIniText(sys::WStringView path);

}  // namespace tzqr4su
