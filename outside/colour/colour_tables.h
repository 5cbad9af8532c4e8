// The stand-in colour module's transform: RGB to the whiteness of yellow,
// magenta, cyan and black, with grey-component replacement.
//
// Inks are the complements of the light: C = 255 - R, M = 255 - G,
// Y = 255 - B. The grey component A = min(C, M, Y) is what all three share;
// black generation takes K = A * A / 255 of it, so light greys stay mostly
// three-colour and dark greys turn to black toner, and under-colour removal
// takes half of K out of C, M and Y. Half, because K grows up to two steps
// for one step of A: removing all of it would make C, M and Y fall while a
// grey darkens, and the rounding of those steps would print some darker
// greys lighter than their neighbours. With half, every ink of a grey ramp
// only grows. Full black (0x000000, any tag) prints with black toner alone,
// as does neutral grey text (tag 0x01), so that letters never show colour
// fringes from misregistered planes. White, with any tag, and the
// cleared-band pixel 0xFFFFFFFF stay 0xFFFFFFFF (no ink at all).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace tzqr4cm {

struct ColourTables {
    std::array<uint8_t, 256> blackGeneration{};     // K ink by grey component
    std::array<uint8_t, 256> underColourRemoval{};  // taken from C, M, Y by grey component
};

void BuildColourTables(ColourTables* tables);

// Converts pixels 0xTTRRGGBB in place to Y, M, C, K whiteness in bytes 0..3.
void ConvertPixels(const ColourTables& tables, uint32_t* pixels, size_t count);

}  // namespace tzqr4cm
