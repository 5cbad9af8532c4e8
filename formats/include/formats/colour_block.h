// The colour-conversion block: the 3396 bytes that the library hands to the
// colour module with every call. The library fills the first 17 words from
// the settings record; everything after them belongs to the module, which
// keeps its transform tables there between calls. The module sees the block
// as an array of little-endian 32-bit words.
#pragma once

#include <array>
#include <cstdint>

#include "formats/calling_convention.h"

constexpr uint32_t kCMMBlockBytes = 3396;
constexpr uint32_t kCMMBlockWords = kCMMBlockBytes / 4;
constexpr uint32_t kCMMSettingsWords = 17;

// The words whose meaning the library itself relies on.
enum CMMBlockWord : uint32_t {
    kCMMWordColour = 0,            // non-zero: 32-bit colour bands; zero: 8-bit grey bands
    kCMMWordPaperType = 2,         // paper type index, 64 for plain paper printed in duplex
    kCMMWordOutputResolution = 4,  // dots per inch of the printed page
    kCMMFirstModuleWord = kCMMSettingsWords,
};

struct CMMBlock {
    std::array<uint32_t, kCMMBlockWords> words{};
};
static_assert(sizeof(CMMBlock) == kCMMBlockBytes);

// The colour module's three working routines (standard call). The module
// reads the pixels 0xTTRRGGBB and writes each as the whiteness of yellow,
// magenta, cyan and black in bytes 0 to 3, in place.
using SCBBCreateTransformTablesRoutine = int(ZEBL_STDCALL*)(void* block);
using SCBBReleaseTransformTablesRoutine = void(ZEBL_STDCALL*)(void* block);
using SCBBConvertBulkRoutine = void(ZEBL_STDCALL*)(void* block, void* pixels, uint32_t pixelCount);
