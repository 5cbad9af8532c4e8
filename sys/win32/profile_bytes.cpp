// GetPrivateProfileStringA itself: its result is the file's bytes (the NT
// family reads the file through the system's code page and back, which
// keeps them), so a value written in another code page is decoded by the
// caller.
#include <string>

#include "sys/profile_bytes.h"
#include "windows_api.h"

namespace sys {

uint32_t GetPrivateProfileStringBytes(std::string_view section, std::string_view key,
                                      std::string_view fallback, char* buffer, uint32_t size,
                                      WStringView path) {
    if (buffer == nullptr || size == 0) return 0;
    // A buffer of our own two bytes longer than asked: some systems write a
    // terminator past a short one.
    std::string result(size_t{size} + 2, '\0');
    const DWORD got = ::GetPrivateProfileStringA(std::string(section).c_str(), std::string(key).c_str(),
                                                 std::string(fallback).c_str(), result.data(), size,
                                                 ToCodePage(path).c_str());
    const uint32_t length = got < size ? got : size - 1;
    result.copy(buffer, length);
    buffer[length] = 0;
    return length;
}

}  // namespace sys
