// The bridge to the driver's colour-conversion module (Tzqr4CM.DLL beside
// this library). The module is loaded once per process and use-counted (under
// a lock: documents may print at the same time on several threads); each
// document owns a CMMConverter: the 3396-byte block the module works in
// (colour_block.h) and what the bridge knows about it.
//
// Memory the module allocates stays the module's: it frees its tables in
// SCBB_ReleaseTransformTables, which CMMDestroy calls, and the bridge never
// frees anything the module put into the block. (Handles left in the
// module's words by a module that freed them itself would otherwise be
// freed twice, and a pointer does not fit a 32-bit word on 64-bit hosts.)
#pragma once

#include <array>
#include <cstdint>

#include "formats/colour_block.h"
#include "pipeline/fb_interface.h"
#include "sys/modules.h"
#include "sys/text.h"

// The routines looked up by name, in this order; a missing one fails the
// load.
constexpr int kSCRoutineCount = 16;
extern const char* const kSCRoutineNames[kSCRoutineCount];

// Loads the colour module named by `ownLibraryPath` upper-cased with its
// suffix `ownSuffix` replaced by `moduleSuffix` (SC_Initialize(path,
// u"UM.DLL", u"CM.DLL") names TZQR4CM.DLL for ...\Tzqr4um.dll). Only the
// first use loads; later ones count. On failure an error box (caption "Fast
// Color Conversion interface error") says why, and 0 is returned.
int SC_Initialize(sys::WStringView ownLibraryPath, sys::WStringView ownSuffix, sys::WStringView moduleSuffix);
// Drops one use; the last unloads the module.
void SC_ShutDown();
// The loaded module and its use count (null and 0 when not loaded).
sys::ModuleHandle SC_ModuleHandle();
uint32_t SC_UseCount();

// The settings words 0..16 of the block for a settings record. `duplex`
// (duplex binding 1, 2, 4 or 5) turns paper type 12 into 64.
std::array<uint32_t, kCMMSettingsWords> CMMSettingsWords(const FBInterface& record, bool duplex);

struct CMMConverter {
    CMMConverter() = default;
    ~CMMConverter();
    CMMConverter(const CMMConverter&) = delete;
    CMMConverter& operator=(const CMMConverter&) = delete;

    CMMBlock block;
    bool moduleHeld = false;   // holds one use of the module
    bool tablesBuilt = false;  // the module's tables match block words 0..16
};

// Fills the block from the record and loads the colour module beside this
// library (fbOwnModulePath) and builds its tables. 0 when the module is
// missing or refuses: the caller then drops the converter and prints
// without the module (CMMConvertBlackOnly).
int CMMInitialize(CMMConverter* converter, const FBInterface& record, bool duplex);
// The same with the library path given (tests, and hosts with a known
// library folder).
int CMMInitializeFrom(CMMConverter* converter, const FBInterface& record, bool duplex,
                      sys::WStringView ownLibraryPath);

// At page end: new settings words from the record; the tables are rebuilt
// only when a word changed. 1 when tables are ready.
int CMMReset(CMMConverter* converter, const FBInterface& record, bool duplex);
// At page start: the page's colour flag (word 0) and output resolution
// (word 4); rebuilt only when one changed. 1 when tables are ready.
int CMMResetPage(CMMConverter* converter, uint32_t colour, uint32_t outputResolution);

// Converts a rendering band in place: 32-bit pixels 0xTTRRGGBB become the
// whiteness of yellow, magenta, cyan and black in bytes 0..3. The band must
// match the block: 32 bits per pixel with the colour word set, 8 with it
// clear (the module may adjust grey bands). 1 when the module converted;
// 0, with the band untouched, when there is no converter, no tables, no
// pixels or the band's depth does not match the block.
int CMMConvert(CMMConverter* converter, void* pixels, uint32_t pixelCount, uint32_t bitsPerPixel);

// The library's own conversion of a colour band for when the module is
// missing: every colour prints as black-toner grey of its luminance
// (whiteness byte 3 = (77 R + 150 G + 29 B + 128) / 256; no cyan, magenta or
// yellow), white stays 0xFFFFFFFF.
void CMMConvertBlackOnly(uint32_t* pixels, uint32_t pixelCount);

// Releases the tables and the module use. The converter can be initialised
// again afterwards; the destructor does the same.
void CMMDestroy(CMMConverter* converter);
