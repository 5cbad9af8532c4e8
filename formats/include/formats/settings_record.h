// The settings record that the driver's drawing side spools: exactly 1676
// bytes (419 little-endian 32-bit words) at fixed offsets. Any spooled buffer
// of exactly this size is a settings record. The fields used are listed here;
// the rest of the record is carried along unread.
#pragma once

#include <cstdint>

constexpr uint32_t kFBInterfaceSize = 1676;

// Offsets of the 32-bit fields (int = signed, uint = flags).
enum FBInterfaceOffset : uint32_t {
    kFBIOrientation = 84,  // 1 = landscape
    kFBIPaperSize = 88,    // Windows paper code (DMPAPER_*)
    kFBICopies = 104,
    kFBIResolution = 124,        // rendering resolution, dots per inch
    kFBICollate = 132,           // 1 = the library repeats the job body itself
    kFBIColourSetting164 = 164,  // kFBIColourSetting*: handed to the colour module
    kFBICommandFlags = 176,
    kFBIOutputResolution = 180,  // 1200 with 600 rendering: the 600 x 1200 mode
    kFBIRenderValue184 = 184,    // carried into the page record for the engine
    kFBIColour = 188,            // non-zero = colour printing
    kFBIRenderValue192 = 192,
    kFBIRotate180 = 196,
    kFBIRenderValue200 = 200,
    kFBIPrintableWidth = 204,  // dots; under 256 means "take the paper table"
    kFBIPrintableHeight = 208,
    kFBIPaperSource = 212,         // Windows bin code (DMBIN_*)
    kFBIPaperType = 216,           // PAPERTYPE index
    kFBIFirstPageDifferent = 220,  // non-zero: page 1 comes from kFBIFirstPageSource
    kFBIFirstPageSource = 228,
    kFBIEconomy = 236,        // ECONOMODE index
    kFBIPowerSaveTime = 244,  // minutes, 0 = power save off
    kFBIDensity = 248,        // DENSITY index
    kFBIJamRecovery = 252,    // JAMRECOVERY index
    kFBIReprint = 256,        // REPRINT index
    kFBIAltitude = 260,       // ALTITUDE index
    kFBITimeout = 264,        // PJL TIMEOUT value
    kFBIUnused268 = 268,
    kFBIDocOptions = 792,     // FBIDocOption bits
    kFBIScale = 796,          // percent
    kFBIPagesPerSheet = 800,  // N-up
    kFBINupBorder = 808,
    kFBINupOrder = 812,
    kFBIPosterTiles = 816,    // poster: tiles per side - 1
    kFBIPosterOverlap = 820,  // poster: overlap in dots
    kFBIAskBeforeOverlay = 828,
    kFBIDuplexBinding = 1352,  // 1 long edge, 2 short edge, 4/5 reversed
    kFBIPageOrder = 1360,      // 1 reverse, 2 odd pages only, 3 even pages only
    kFBIWatermarkFirstPageOnly = 1604,
    kFBIColourSetting1612 = 1612,
    kFBIColourSetting1616 = 1616,
    kFBIColourSetting1620 = 1620,
    kFBIColourSetting1624 = 1624,
    kFBIColourSetting1628 = 1628,
    kFBIColourSetting1644 = 1644,
    kFBIColourSetting1648 = 1648,
    kFBIColourSetting1652 = 1652,
    kFBIColourSetting1656 = 1656,
    kFBIColourSetting1660 = 1660,
    kFBIColourSetting1664 = 1664,
    kFBIColourSetting1668 = 1668,
    kFBIColourSetting1672 = 1672,
};

// The UTF-16 text fields: where they start and how many 16-bit units they
// may occupy before the next used field.
struct FBIStringField {
    uint32_t offset;
    uint32_t units;
};
constexpr FBIStringField kFBIPrinterName{0, 42};     // up to offset 84
constexpr FBIStringField kFBIPortName{272, 260};     // up to offset 792
constexpr FBIStringField kFBIOverlayPath{832, 260};  // up to offset 1352

// Command flags (kFBICommandFlags).
enum : uint32_t {
    kFBICmdStartDoc = 0x4,
    kFBICmdStartPage = 0x8000,        // the exact value, not a bit
    kFBICmdStartDocFails = 0x100000,  // with kFBICmdStartDoc
};

// Document option flags (kFBIDocOptions).
enum FBIDocOption : uint32_t {
    kDocOptLandscapeScale = 0x1,
    kDocOptNup = 0x2,
    kDocOptPoster = 0x4,
    kDocOptBooklet = 0x8,
    kDocOptScaleNoEnlarge = 0x10,
    kDocOptRecordWatermark = 0x20,
    kDocOptWatermark = 0x40,
    kDocOptOverlayCreate = 0x80,
    kDocOptDuplexRequest = 0x100,  // turned into kDocOptDuplex by job finishing
    kDocOptPageOrder = 0x200,
    kDocOptMultiPageNup = 0x400,
    kDocOptDuplex = 0x20000,
    kDocOptBookletActive = 0x80000,
    kDocOptRecordOverlay = 0x100000,
    kDocOptUseOverlay = 0x200000,
};
