// Whole files read and written through the system layer, so that the tools
// and their tests take the same Windows paths (or host paths natively) in
// both builds.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sys/text.h"

// False and a message naming the file and the system error on failure; a
// file larger than maxBytes is refused before it is read.
bool ReadFileBytes(sys::WStringView path, uint64_t maxBytes, std::vector<uint8_t>* bytes, std::string* error);
// Replaces the file.
bool WriteFileBytes(sys::WStringView path, const uint8_t* data, size_t size, std::string* error);
inline bool WriteFileBytes(sys::WStringView path, const std::vector<uint8_t>& bytes, std::string* error) {
    return WriteFileBytes(path, bytes.data(), bytes.size(), error);
}
