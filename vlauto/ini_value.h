// Reading the disc's data files: the setup data file, the language files and
// Autorun.Inf, each decoded in its code page (a language file in its
// language's, the others in the system's).
#pragma once

#include <cstdint>

#include "sys/text.h"

namespace vlauto {

// The buffer MyGetIniValue reads into: at most 255 characters.
inline constexpr uint32_t kIniValueBuffer = 256;

// The value, empty when the file, section or key is missing, with every
// two-character sequence backslash, "n" made a line break.
sys::WString MyGetIniValue(sys::WStringView section, sys::WStringView key, sys::WStringView file);

// The value as read into a buffer of `bufferSize` bytes, without the
// line-break conversion.
sys::WString ReadIniText(sys::WStringView section, sys::WStringView key, sys::WStringView file,
                         uint32_t bufferSize);

// The texts shown are format strings with one argument: the first "%s"
// shows `argument`, "%%" a percent sign. Any further "%s" shows nothing (the
// text has only one argument); every other '%' stays as written.
sys::WString FormatWithArgument(sys::WStringView format, sys::WStringView argument);

}  // namespace vlauto
