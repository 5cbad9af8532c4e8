// Raster operations on one-bit rows: the kernels of a band drawn in black
// and white only.
//
// A bit is a pixel's whiteness (1 white, 0 black), most significant bit
// first, so a row of bits reads like a printer plane row. On pixels that are
// all black or all white a ternary ROP gives all black or all white again,
// bit for bit as on the byte band: the one-bit kernels compute the same
// picture as the byte kernels, eight to 56 pixels per step.
#pragma once

#include <cstdint>

// What a request does to D where its mask bit is clear and where it is set:
// result = fixed XOR (D AND flip), each all ones or all zeros.
struct BitRopFunction {
    uint64_t clearFixed = 0, clearFlip = 0;
    uint64_t setFixed = 0, setFlip = 0;
};

// The functions of ROP code `rop` with a solid pattern that is white
// (patternWhite) or black. A clear mask bit is S = white, a set one S =
// black; a request without a mask uses the clear function everywhere.
BitRopFunction BitRopFor(uint8_t rop, bool patternWhite);

// A request on one-bit rows: columns xs .. xe - 1 of `rows` rows starting at
// `dest` (row i at dest + i * destStride). The mask, when there is one, has
// rows of maskStride bytes with bit 0 at column xs, and maskBytes of it may
// be read. Every row holds at least eight bytes after the byte of column
// xe - 1, or the buffer has them (the kernel reads and writes back whole
// 64-bit words, changing only the bits of the request).
struct BitRopArea {
    uint8_t* dest = nullptr;
    uint32_t destStride = 0;
    uint32_t xs = 0, xe = 0;
    uint32_t rows = 0;
    const uint8_t* mask = nullptr;
    uint32_t maskStride = 0;
    uint64_t maskBytes = 0;
};

// Applies the function to the area's pixels.
void BitRopRows(const BitRopArea& area, const BitRopFunction& function);

// Widens one-bit rows to grey pixels: each bit becomes 0xFF (white) or 0x00
// (black). `bytes` one-bit bytes become 8 x `bytes` pixels.
void WidenBitsToGrey(uint8_t* pixels, const uint8_t* bits, uint32_t bytes);
