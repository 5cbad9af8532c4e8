// Reading one value of the disc's INI-format data files.
#pragma once

#include <cstdint>

#include "sys/text.h"

namespace setup {

// The buffers the values are read into: 255 bytes for texts, 9 for flags.
inline constexpr uint32_t kValueBuffer = 256;
inline constexpr uint32_t kFlagBuffer = 10;

// The code page a data file is written in: that of its language for a
// language file "Lang_XX.Dat", the system's for any other.
uint32_t DataFileCodePage(sys::WStringView file);

// The value as a buffer of `bufferSize` bytes takes it, decoded in the
// file's code page; empty when the file, the section or the key is missing.
sys::WString ReadDataValue(sys::WStringView section, sys::WStringView key, sys::WStringView file,
                           uint32_t bufferSize = kValueBuffer);

// The two characters "\n" made a line break, and "%LANG_ABBR%" the
// language abbreviation when there is one.
sys::WString ExpandDataText(sys::WStringView text, sys::WStringView language);

}  // namespace setup
