// The profile functions: values of INI-format files ("[section]" and
// "key=value" lines) read and written as Windows does. The setup program's
// data files and the utilities module's driver strings are read with them.
//
// The win32 layer calls the system's A functions (Windows 95 has no working
// W forms), so the file's text is in the system code page there; the posix
// layer reads the file as UTF-8 (its code page) with the parser of
// sys/ini_document.h. Both read a file that starts with a UTF-8 or UTF-16LE
// byte-order mark in that encoding, and write it back in the same one.
//
// A file name without a folder ("win.ini", "Wininit.ini") names a file in
// the Windows folder, as Windows reads it.
//
// Buffer sizes and results count char16_t units, the terminating NULs
// included in `size` as the Windows functions count characters.
#pragma once

#include <cstdint>
#include <span>

#include "sys/text.h"

namespace sys {

// The value of `key` in the first section named `section`, or `fallback`
// (without its trailing spaces) when the file, the section, the key or the
// key's value is missing. A value or fallback in matching single or double
// quotes loses them. Copies at most size - 1 units and a NUL; returns the
// units copied (so size - 1 when the text was cut, 0 and nothing written
// for size 0). A 256-unit buffer takes the 255-character values of the
// setup data files.
uint32_t GetPrivateProfileString(WStringView section, WStringView key, WStringView fallback, char16_t* buffer,
                                 uint32_t size, WStringView path);

// The section's "key=value" lines (a key without '=' alone; comment lines
// left out), each ended by a NUL, the list by a second NUL. When the list
// does not fit, the last line is cut, the double NUL ends the buffer and the
// result is size - 2 (also for an exact fit); sizes 1 and 2 give 0. A
// missing section gives 0 and an empty list.
uint32_t GetPrivateProfileSection(WStringView section, char16_t* buffer, uint32_t size, WStringView path);

// Sets the key's value (creating the file, the section or the key as
// needed). Blanks before the value are dropped; Windows may keep blanks
// after it in the file, but every read drops them. False and the last error
// when the file cannot be read or written.
bool WritePrivateProfileString(WStringView section, WStringView key, WStringView value, WStringView path);

// Replaces the keys of the section with `lines` ("key=value" each; lines
// without '=' are dropped). Every section of that name loses its keys; the
// first one takes the new lines.
bool WritePrivateProfileSection(WStringView section, std::span<const WString> lines, WStringView path);

// Windows deletes with null arguments of WritePrivateProfileString; these
// name the two cases. Deleting what is not there succeeds.
bool DeletePrivateProfileKey(WStringView section, WStringView key, WStringView path);
bool DeletePrivateProfileSection(WStringView section, WStringView path);

}  // namespace sys
