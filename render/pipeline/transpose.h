// Transposition of a band plane into byte columns: all lines of byte column 0,
// then all lines of byte column 1, and so on. Halftone patterns repeat down a
// column, so after transposing both coders find that repetition as runs.
//
// For column i in [0, width) and line j in [0, lines):
//     dst[i * lines + j] = src[j * width + i]
// The three variants give the same bytes; they differ in the shapes they take.
#pragma once

#include <cstdint>

// Any shape.
void iTranspose0(uint8_t* dst, const uint8_t* src, uint32_t width, uint32_t lines);
// Width a multiple of 4: reads four columns of a row as one 32-bit word.
void iTranspose1(uint8_t* dst, const uint8_t* src, uint32_t width, uint32_t lines);
// Width and lines multiples of 4: transposes 4 x 4 byte blocks in registers
// (16 x 16 in vector registers where the shape and the processor allow).
void iTranspose2(uint8_t* dst, const uint8_t* src, uint32_t width, uint32_t lines);

// Picks the fastest variant the shape allows. dst and src must not overlap.
void iiTranspose(uint8_t* dst, const uint8_t* src, uint32_t width, uint32_t lines);
