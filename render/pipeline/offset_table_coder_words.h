// Byte comparisons eight bytes at a time for the offset-table coder, in plain
// integer arithmetic (the Windows build runs on processors without vector
// registers). Bytes are numbered as in memory: byte i of a word loaded from
// p is p[i], in bits 8i .. 8i + 7.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

static_assert(std::endian::native == std::endian::little,
              "the word-wise byte comparisons assume little-endian byte order");

namespace fbb_words {

constexpr uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full;
constexpr uint64_t kHigh = 0x8080808080808080ull;
constexpr uint64_t kOnes = 0x0101010101010101ull;

inline uint64_t Load(const uint8_t* p) {
    uint64_t w;
    std::memcpy(&w, p, sizeof w);
    return w;
}

// Bit 7 of each byte set where that byte of x is not zero, every other bit
// clear. Exact: no carry crosses from one byte into the next.
inline uint64_t NonZeroBytes(uint64_t x) { return (((x & kLow7) + kLow7) | x) & kHigh; }

// 0x01 in each byte where a and b hold the same byte, 0x00 elsewhere.
inline uint64_t EqualBytes(uint64_t a, uint64_t b) { return (~NonZeroBytes(a ^ b) & kHigh) >> 7; }

}  // namespace fbb_words
