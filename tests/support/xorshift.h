// xorshift32: a pseudo-random sequence that is the same on every platform,
// so generated test pictures and bands do not depend on the library.
#pragma once

#include <cstdint>

namespace zebl_test {

struct XorShift32 {
    uint32_t state;
    explicit XorShift32(uint32_t seed) : state(seed ? seed : 1) {}
    uint32_t Next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    }
    uint8_t Byte() { return uint8_t(Next() >> 24); }
};

}  // namespace zebl_test
