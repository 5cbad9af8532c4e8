// The block test of the offset-table coder's copy search
// (offset_table_coder_search.h): for 32 positions at once, which of the 64
// distances repeat at least three bytes there.
//
// Three versions give the same bits: one in plain 64-bit arithmetic, which
// every processor runs, and ones with SSE2 and with AVX2 instructions on
// x86. Every x86 build compiles the vector versions for their instructions
// alone and runs them only where the processor and the system allow it
// (engine/cpu_features.h); the choice is made once per process. With AVX2 a
// block of 32 costs what a block of sixteen costs with SSE2, and most
// blocks serve more than sixteen positions.
#pragma once

#include <cstddef>
#include <cstdint>

// Built with the SSE2 block test: every x86 target.
#if defined(__x86_64__) || defined(__i386__)
#define ZEBL_CODER_SSE2 1
#else
#define ZEBL_CODER_SSE2 0
#endif

// Positions one block test covers.
constexpr uint32_t kFBBlockPositions = 32;

// Sets bit k of candidates[i] when the three bytes at + i .. at + i + 2
// repeat distances[k] bytes back, for i below kFBBlockPositions (every one
// of those words is written), counting only distances from 1 to reach (the
// others stay clear). Reads from at - reach to at + kFBBlockPositions + 2.
// allReach: every distance is in use and reaches back, so none needs the
// test.
using FBBlockTest = void (*)(const uint8_t* at, const uint32_t* distances, size_t reach, bool allReach,
                             uint64_t* candidates);

void FBBlockTestWords(const uint8_t* at, const uint32_t* distances, size_t reach, bool allReach,
                      uint64_t* candidates);
#if ZEBL_CODER_SSE2
void FBBlockTestSse2(const uint8_t* at, const uint32_t* distances, size_t reach, bool allReach,
                     uint64_t* candidates);
void FBBlockTestAvx2(const uint8_t* at, const uint32_t* distances, size_t reach, bool allReach,
                     uint64_t* candidates);
#endif

// Whether this process may run the SSE2 and the AVX2 block test.
bool FBBlockTestSse2Runs();
bool FBBlockTestAvx2Runs();

// The fastest block test this process runs, chosen at the first call.
FBBlockTest FBChosenBlockTest();
