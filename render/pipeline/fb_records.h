// The two records the frame-buffer manager derives from the settings record:
// the page record `FBPage` (refreshed at every page end, also stored in the
// job spool's page-info file) and the job's PJL settings summary `FBSettings`.
#pragma once

#include <cstdint>
#include <type_traits>

#include "pipeline/fb_interface.h"

// A PJL index that suppresses its line.
constexpr uint32_t kPJLNotSet = 255;

// Duplex types of FBSettings::duplexType.
enum FBDuplexType : uint32_t {
    kDuplexNone = 0,
    kDuplexLongEdge = 1,
    kDuplexShortEdge = 2,
    kDuplexOff = 3,  // poster jobs: DUPLEX=OFF is sent
    kDuplexReverseLongEdge = 4,
    kDuplexReverseShortEdge = 5,
};

// Duplex printing is on for the four binding types only.
constexpr bool FBDuplexIsOn(uint32_t duplexType) {
    return duplexType == kDuplexLongEdge || duplexType == kDuplexShortEdge ||
           duplexType == kDuplexReverseLongEdge || duplexType == kDuplexReverseShortEdge;
}

// Written to and read back from spool files as it is: 23 plain 32-bit words.
struct FBPage {
    uint32_t pageWidth = 0;       // dots: left margin + printable width + right margin
    uint32_t pageHeight = 0;      // dots: top margin + printable height + bottom margin
    uint32_t printableWidth = 0;  // dots
    uint32_t printableHeight = 0;
    uint32_t paperCode = 0;         // Windows paper code as the record gave it
    uint32_t nupPlacement[2] = {};  // set by job finishing
    uint32_t pageNumber = 0;        // 1-based, in the document
    uint32_t orientation = 0;       // 1 = landscape
    uint32_t paperSource = 0;       // Windows bin code
    uint32_t bitsPerPixel = 0;      // 8 grey, 32 colour
    uint32_t resolution = 0;        // rendering, dots per inch
    uint32_t outputResolution = 0;
    uint32_t renderValue184 = 0;  // carried for the rendering engine
    uint32_t colour = 0;
    uint32_t renderValue192 = 0;
    uint32_t poster = 0;
    uint32_t posterTiles = 0;    // tiles per side - 1
    uint32_t posterOverlap = 0;  // dots
    uint32_t rotate180 = 0;
    uint32_t renderValue200 = 0;
    uint32_t copies = 0;    // of this page: 1 when collated
    uint32_t reserved = 0;  // pads the record to its stored size
};
static_assert(sizeof(FBPage) == 92, "FBPage is stored in spool files");
static_assert(std::is_standard_layout_v<FBPage> && std::is_trivially_copyable_v<FBPage>);

constexpr uint32_t kFBSettingsPathUnits = 128;

struct FBSettings {
    uint32_t colourIndex = 0;     // COLORMODE: 1 colour, 0 mono
    uint32_t paperTypeIndex = 0;  // PAPERTYPE
    uint32_t timeout = 0;         // TIMEOUT (a number, not an index)
    uint32_t jamRecoveryIndex = 0;
    uint32_t densityIndex = 0;
    uint32_t economyIndex = 0;
    uint32_t powerSaveTime = 0;  // minutes, 0 = off
    uint32_t retIndex = 0;
    uint32_t reprintIndex = 0;
    uint32_t altitudeIndex = 0;
    uint32_t duplexType = 0;  // FBDuplexType
    uint32_t watermarkFirstPageOnly = 0;
    uint32_t scale = 100;  // percent, FBRecordScale
    uint32_t landscapeScale = 0;
    uint32_t scaleNoEnlarge = 0;
    char16_t overlayPath[kFBSettingsPathUnits] = {};  // NUL-terminated
    char16_t portraitWatermarkPath[kFBSettingsPathUnits] = {};
    char16_t landscapeWatermarkPath[kFBSettingsPathUnits] = {};
};
static_assert(std::is_standard_layout_v<FBSettings> && std::is_trivially_copyable_v<FBSettings>);

// Printable sizes from the record above this are not believed (the page
// header carries sizes in 16 bits, doubled in the 600 x 1200 mode); the
// paper table is used instead.
constexpr int32_t kMaxRecordPrintableDots = 0x7FFF;

// Paper used for the geometry of a paper code the table does not know: A4,
// the paper the page header names for such codes.
constexpr uint32_t kFallbackPaperCode = 9;

// The rendering resolution of the record when it is 300, 600 or 1200; any
// other value renders at 600, as the band geometry treats it.
uint32_t FBRecordResolution(const FBInterface& record);

// Limits on the scale a settings record can ask for: a value outside
// kMinScalePercent .. kMaxScalePercent is taken to the nearer limit; 0 and
// negative values mean "not scaled", 100.
constexpr int32_t kMinScalePercent = 10;
constexpr int32_t kMaxScalePercent = 400;

// The record's scale in percent within those limits. This is the one place
// the scale is clamped: the page printer and the scale command take it as
// it comes from the parsed record (FBRecordPage, FBSettings).
uint32_t FBRecordScale(const FBInterface& record);

// A settings record parsed for the pages it governs, once per record (at
// the start of the document and at every start-of-page record); the page
// end only numbers the page (FBRecordPageFor).
struct FBRecordPage {
    FBPage page;                   // page number 0, paper source of every page but the first
    uint32_t firstPageSource = 0;  // paper source of page 1
    uint32_t scale = 100;          // of the scale command that starts each page (FBRecordScale)
};

// Parses the settings record. Returns 1.
int FBParseRecordPage(FBRecordPage* parsed, const FBInterface& record);

// The page record of page `pageNumber` (1-based) of a parsed record.
FBPage FBRecordPageFor(const FBRecordPage& parsed, uint32_t pageNumber);

// Fills the page record from the settings record for page `pageNumber`
// (1-based): FBParseRecordPage and FBRecordPageFor in one. Returns 1.
int FBPageSetInfo(FBPage* page, const FBInterface& record, uint32_t pageNumber);

// Builds the PJL settings summary from the document options (offset 792,
// possibly rewritten by job finishing) and the record. Returns 1. The
// watermark paths are left empty; the watermark code fills them.
int InitializeSettings(FBSettings* settings, uint32_t options, const FBInterface& record);
