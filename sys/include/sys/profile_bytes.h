// GetPrivateProfileStringA as a program sees it that reads a file written in
// a code page of its choosing: the value's bytes as the file holds them,
// decoded afterwards with sys::DecodeCodePage. The setup program reads its
// language files this way, so that a Japanese language file reads the same
// on a Western system as on a Japanese one.
//
// The rules of sys::GetPrivateProfileString hold (sys/profile.h), with the
// buffer and the result counted in bytes, as the A function counts them: a
// 256-byte buffer takes values of at most 255 bytes, and a longer one is
// cut there, even inside a double-byte character.
#pragma once

#include <cstdint>
#include <string_view>

#include "sys/text.h"

namespace sys {

uint32_t GetPrivateProfileStringBytes(std::string_view section, std::string_view key,
                                      std::string_view fallback, char* buffer, uint32_t size,
                                      WStringView path);

}  // namespace sys
