// Byte strings for tests: text as bytes, and parts joined into one string.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace zebl_test {

using Bytes = std::vector<uint8_t>;

inline Bytes Text(const std::string& text) { return Bytes(text.begin(), text.end()); }

inline Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

}  // namespace zebl_test
