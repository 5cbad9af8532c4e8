// Tzqr4CM.DLL, the stand-in colour-conversion module: the sixteen routines
// the rendering library looks up. The three it calls convert for real
// (colour_tables.h); the other thirteen belong to the driver's drawing side
// and ICC profile handling, which this package does not have: they do
// nothing and report failure.
//
// The module keeps its tables in the C++ heap and their address in its own
// part of the colour block (words 17 on): a marker word, then the pointer.
// It frees them itself in SCBB_ReleaseTransformTables, so the library never
// needs to free anything the module allocated.
//
// Grey pages: when the block's colour word is 0 the bands hold one byte per
// pixel, whiteness of black, which is already what the screener wants. The
// module then builds no tables and SCBB_ConvertBulk leaves the band alone.
#include <atomic>
#include <cstdint>
#include <cstring>
#include <new>

#include "../export.h"
#include "colour_tables.h"
#include "formats/colour_block.h"

namespace {

constexpr uint32_t kTablesMarker = 0x4D435A54;  // "TZCM"
constexpr uint32_t kMarkerWord = kCMMFirstModuleWord;
constexpr uint32_t kPointerWord = kCMMFirstModuleWord + 1;

// How many times tables were built since this copy of the module was
// loaded; tests read it to see rebuilds and reloads. Documents on several
// threads build their tables at the same time.
std::atomic<uint32_t> g_tableBuilds{0};

tzqr4cm::ColourTables* TablesOf(const CMMBlock* block) {
    if (block->words[kMarkerWord] != kTablesMarker) return nullptr;
    tzqr4cm::ColourTables* tables = nullptr;
    // The pointer's own bytes are kept in the block's words.
    std::memcpy(&tables, &block->words[kPointerWord], sizeof tables);  // NOLINT(bugprone-sizeof-expression)
    return tables;
}

void SetTables(CMMBlock* block, tzqr4cm::ColourTables* tables) {
    block->words[kMarkerWord] = tables ? kTablesMarker : 0;
    // The pointer's own bytes go into the block's words.
    std::memset(&block->words[kPointerWord], 0, sizeof tables);  // NOLINT(bugprone-sizeof-expression)
    if (tables)
        std::memcpy(&block->words[kPointerWord], &tables,
                    sizeof tables);  // NOLINT(bugprone-sizeof-expression)
}

void ReleaseTables(CMMBlock* block) {
    delete TablesOf(block);
    SetTables(block, nullptr);
}

}  // namespace

ZEBL_EXPORT int ZEBL_STDCALL SCBB_CreateTransformTables(void* blockAddress) {
    if (blockAddress == nullptr) return 0;
    auto* block = static_cast<CMMBlock*>(blockAddress);
    ReleaseTables(block);                             // a second build replaces the first
    if (block->words[kCMMWordColour] == 0) return 1;  // grey: nothing to convert
    auto* tables = new (std::nothrow) tzqr4cm::ColourTables;
    if (tables == nullptr) return 0;
    tzqr4cm::BuildColourTables(tables);
    SetTables(block, tables);
    ++g_tableBuilds;
    return 1;
}

ZEBL_EXPORT void ZEBL_STDCALL SCBB_ReleaseTransformTables(void* blockAddress) {
    if (blockAddress != nullptr) ReleaseTables(static_cast<CMMBlock*>(blockAddress));
}

ZEBL_EXPORT void ZEBL_STDCALL SCBB_ConvertBulk(void* blockAddress, void* pixels, uint32_t pixelCount) {
    if (blockAddress == nullptr || pixels == nullptr) return;
    const auto* block = static_cast<const CMMBlock*>(blockAddress);
    const tzqr4cm::ColourTables* tables = TablesOf(block);
    if (block->words[kCMMWordColour] == 0 || tables == nullptr) return;
    tzqr4cm::ConvertPixels(*tables, static_cast<uint32_t*>(pixels), pixelCount);
}

// Not one of the sixteen: the number of table builds since load, for tests.
ZEBL_EXPORT uint32_t ZEBL_STDCALL StandIn_TableBuildCount() { return g_tableBuilds.load(); }

// The routines the library only requires to exist.
#define ZEBL_UNUSED_ROUTINE(name) \
    ZEBL_EXPORT int ZEBL_STDCALL name() { return 0; }
ZEBL_UNUSED_ROUTINE(SC_CreateICCTransform)
ZEBL_UNUSED_ROUTINE(SC_ReleaseICCTransform)
ZEBL_UNUSED_ROUTINE(SC_DoICCTransform)
ZEBL_UNUSED_ROUTINE(SC_DoGenTransform)
ZEBL_UNUSED_ROUTINE(SC_CreateTransformTable)
ZEBL_UNUSED_ROUTINE(SC_ReleaseTransformTable)
ZEBL_UNUSED_ROUTINE(SC_DoTransformTable)
ZEBL_UNUSED_ROUTINE(SC_DoTransformTableBulk)
ZEBL_UNUSED_ROUTINE(SC_EnableTransformTableCache)
ZEBL_UNUSED_ROUTINE(SC_InitICCArcHeader)
ZEBL_UNUSED_ROUTINE(SC_MoveICCEntry)
ZEBL_UNUSED_ROUTINE(SC_ExtractTempICCEntry)
ZEBL_UNUSED_ROUTINE(SC_GetProfileInfo)
#undef ZEBL_UNUSED_ROUTINE
