// The screening kernels behind MaskBand8 and MaskBand32: one portable set
// (plain 64-bit arithmetic, eight pixels per step) and, on x86 processors,
// one set with SSE2 instructions (sixteen pixels per step) and one with AVX2
// instructions (32 colour or 64 grey pixels per step). All give the same
// bits for every band; the screeners pick one per call from the screen
// record, which took the fastest the processor runs when it was set up.
//
// The kernels trust their job: the screeners have checked the screen, the
// buffers and the geometry before they call one.
#pragma once

#include <cstdint>

#include "halftone.h"

// Built with SSE2 kernels: every x86 target. A 32-bit build compiles them
// for SSE2 alone and runs them only where the processor has it.
#if defined(__x86_64__) || defined(__i386__)
#define ZEBL_HALFTONE_SSE2 1
#else
#define ZEBL_HALFTONE_SSE2 0
#endif

// Built with AVX2 kernels: every x86 target, each build compiling them for
// AVX2 alone and running them only where the processor and the system allow.
#define ZEBL_HALFTONE_AVX2 ZEBL_HALFTONE_SSE2

// The rows of one 8-bit band and the plane they screen into.
struct GreyScreenJob {
    const FBScreenPlane* plane;  // the black matrix
    uint8_t* dst;
    uint32_t dstStride;
    const uint8_t* src;  // rows of pixelsPerRow pixels, back to back
    uint32_t firstRow;   // page row of src's first row
    uint32_t pixelsPerRow;
    uint32_t rows;
};

// The rows of one 32-bit band and the four planes (cyan, magenta, yellow,
// black, planeOffset bytes apart) they screen into.
struct ColourScreenJob {
    const FBScreen* screen;
    uint8_t* dst;
    uint32_t planeOffset;
    uint32_t dstStride;
    const uint8_t* src;
    uint32_t firstRow;
    uint32_t pixelsPerRow;
    uint32_t rows;
};

// Planes that received a dot, one bit each in output order: bit 0 cyan,
// 1 magenta, 2 yellow, 3 black (a grey job uses bit 0 only).
using PlanesWithDots = uint32_t;

PlanesWithDots ScreenGreyPortable(const GreyScreenJob& job);
PlanesWithDots ScreenColourPortable(const ColourScreenJob& job);

#if ZEBL_HALFTONE_SSE2
PlanesWithDots ScreenGreySse2(const GreyScreenJob& job);
PlanesWithDots ScreenColourSse2(const ColourScreenJob& job);
#endif

#if ZEBL_HALFTONE_AVX2
PlanesWithDots ScreenGreyAvx2(const GreyScreenJob& job);
PlanesWithDots ScreenColourAvx2(const ColourScreenJob& job);
#endif
