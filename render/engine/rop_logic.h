// The logic of ROP3 codes, shared by the kernel selection, the kernels and
// the evaluators: which operands a code depends on, its two-operand truth
// tables, and their bitwise evaluation.
//
// A ROP3 code is an 8-entry truth table: the result bit for operand bits
// (p, s, d) is bit (4p + 2s + d). Fixing one operand (or dropping one the
// code does not depend on) leaves a two-operand operation f(a, b), held here
// as a 4-bit table whose bit (2a + b) is the result.
#pragma once

#include <cstdint>

namespace rop {

// A code depends on P when the halves for P = 0 and P = 1 differ.
constexpr bool DependsOnPattern(uint8_t code) { return (code >> 4) != (code & 0x0F); }

// A code depends on S when the entries for S = 1 (bits 2, 3, 6, 7) differ
// from those for S = 0 (bits 0, 1, 4, 5).
constexpr bool DependsOnSource(uint8_t code) { return ((code >> 2) & 0x33) != (code & 0x33); }

constexpr unsigned Bit(uint8_t code, unsigned index) { return (code >> index) & 1u; }

// f(P, D) with S fixed at s (0 or 1).
constexpr unsigned PatternDestTable(uint8_t code, unsigned s) {
    return Bit(code, 2 * s) | Bit(code, 2 * s + 1) << 1 | Bit(code, 4 + 2 * s) << 2 |
           Bit(code, 5 + 2 * s) << 3;
}

// f(S, D) with P fixed at p (0 or 1): simply the code's nibble for p.
constexpr unsigned SourceDestTable(uint8_t code, unsigned p) { return (code >> (4 * p)) & 0x0Fu; }

// Applies a two-operand table known at compile time. Each of the sixteen
// operations is written in its cheapest form so that the pixel loops built on
// it reduce to one or two instructions per pixel.
template <unsigned kTable, class T>
constexpr T ApplyTable(T a, T b) {
    static_assert(kTable < 16);
    if constexpr (kTable == 0x0) return T(0);
    if constexpr (kTable == 0x1) return T(~(a | b));
    if constexpr (kTable == 0x2) return T(~a & b);
    if constexpr (kTable == 0x3) return T(~a);
    if constexpr (kTable == 0x4) return T(a & ~b);
    if constexpr (kTable == 0x5) return T(~b);
    if constexpr (kTable == 0x6) return T(a ^ b);
    if constexpr (kTable == 0x7) return T(~(a & b));
    if constexpr (kTable == 0x8) return T(a & b);
    if constexpr (kTable == 0x9) return T(~(a ^ b));
    if constexpr (kTable == 0xA) return b;
    if constexpr (kTable == 0xB) return T(~a | b);
    if constexpr (kTable == 0xC) return a;
    if constexpr (kTable == 0xD) return T(a | ~b);
    if constexpr (kTable == 0xE) return T(a | b);
    if constexpr (kTable == 0xF) return T(~T(0));
}

// A two-operand table chosen at run time, evaluated without branches: each
// table bit becomes an all-zero or all-one mask and the operands select
// between them bit by bit.
template <class T>
struct RuntimeTable {
    T whereA0B0, whereA0B1, whereA1B0, whereA1B1;

    static constexpr T Spread(unsigned table, unsigned index) { return T(T(0) - T((table >> index) & 1u)); }
    static constexpr RuntimeTable From(unsigned table) {
        return {Spread(table, 0), Spread(table, 1), Spread(table, 2), Spread(table, 3)};
    }
    constexpr T operator()(T a, T b) const {
        const T whenB1 = T((a & whereA1B1) | (~a & whereA0B1));
        const T whenB0 = T((a & whereA1B0) | (~a & whereA0B0));
        return T((b & whenB1) | (~b & whenB0));
    }
};

// The whole ROP3 evaluated bit by bit for arbitrary S: S selects, bit by
// bit, between the (P, D) operations for S = 1 and S = 0.
template <class T>
constexpr T EvaluateRop3(uint8_t code, T S, T P, T D) {
    const T whenS0 = RuntimeTable<T>::From(PatternDestTable(code, 0))(P, D);
    const T whenS1 = RuntimeTable<T>::From(PatternDestTable(code, 1))(P, D);
    return T((S & whenS1) | (~S & whenS0));
}

}  // namespace rop
