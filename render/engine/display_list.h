// Safe readers of the display-list format (its opcode table and constants:
// formats/display_list.h), for the records whose size depends on their
// contents.
//
// A display list is a byte stream of records: a one-byte opcode followed by
// its operands (little-endian). The driver's drawing side produces it and the
// spooler hands it to us, so every reader here treats it as untrusted: sizes
// are computed in 64 bits and a record that does not fit in what is left of
// its chunk is reported as such, never read.
#pragma once

#include <cstddef>
#include <cstdint>

#include "formats/display_list.h"

struct DLOpcodeInfo {
    uint8_t value;
    const char* name;
    int operandSize;  // bytes, or kDLVariable
};

// The table entry of an opcode, or null for a byte that is not an opcode
// (such a byte is played as a one-byte no-op).
const DLOpcodeInfo* DLFindOpcode(uint8_t opcode);

// Returned by DLOperandSize when the record runs past the end of its chunk.
constexpr size_t kDLDoesNotFit = static_cast<size_t>(-1);

// Number of operand bytes of the record starting with `opcode`, whose
// operands start at `operands` with `available` bytes left in the chunk; or
// kDLDoesNotFit. The size of DL_DEFINE_BRUSH's raw format depends on the
// device (4096 bytes of colour pixels or 1024 grey ones). Bytes that are not
// opcodes have 0 operand bytes.
size_t DLOperandSize(uint8_t opcode, const uint8_t* operands, size_t available, bool colourDevice);

// Little-endian operand readers; the caller has checked the size.
inline uint16_t DLReadU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
inline uint32_t DLReadU32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
inline int8_t DLReadS8(const uint8_t* p) { return static_cast<int8_t>(p[0]); }

// ---- Records with contents ---------------------------------------------------

// DL_DEFINE_BITMAP: +0 reserved, +1 slot, +3 rows, +5 width, +7 data.
struct DLBitmapDefinition {
    uint16_t slot;
    uint16_t rows;
    uint16_t width;
    const uint8_t* data;  // rows x MaskStride(width) bytes
    size_t dataBytes;
};
constexpr size_t kDLBitmapHeader = 7;
bool DLParseBitmapDefinition(const uint8_t* operands, size_t available, DLBitmapDefinition* out);

// DL_DEFINE_BRUSH: +0 format, +1 slot (uint32, low byte used), +5 data.
struct DLBrushDefinition {
    uint8_t format;  // 1: palette + 1-bit pattern; 0: nothing; other: raw pixels
    uint8_t slot;
    const uint8_t* data;
    size_t dataBytes;  // 136, 128, or 4096 (colour) / 1024 (grey)
};
constexpr size_t kDLBrushHeader = 5;
bool DLParseBrushDefinition(const uint8_t* operands, size_t available, bool colourDevice,
                            DLBrushDefinition* out);

// DL_GLYPH: +0 bitOffset, +4 rows, +6 width, +12 data.
struct DLGlyph {
    uint8_t bitOffset;
    uint16_t rows;
    uint16_t width;
    const uint8_t* data;  // rows x MaskStride(bitOffset + width) bytes
    size_t dataBytes;
};
constexpr size_t kDLGlyphHeader = 12;
bool DLParseGlyph(const uint8_t* operands, size_t available, DLGlyph* out);

// DL_STRETCH_IMAGE and DL_BLT_IMAGE.
struct DLImage {
    uint8_t lead;          // leading source pixels of each row not drawn
    uint8_t bitsPerPixel;  // 1, 4, 8 or 24 (24 stored as 4 bytes); others draw nothing
    uint8_t hasPalette;
    uint8_t flags;  // bit 0 rotated, bit 1 mirrored
    uint16_t srcRows;
    uint16_t srcWidth;
    // Destination extents: the record's +8 and +10 fields. Under a scale the
    // interpreter replaces them with the scaled extents, which may need more
    // than 16 bits.
    uint32_t destExtent8;
    uint32_t destExtent10;
    uint32_t paletteBytes;   // 8, 64, 1024 or 0
    uint32_t srcStride;      // bytes per source row (Get4BytesAlign)
    const uint8_t* palette;  // paletteBytes of B, G, R, 0 entries (null when none)
    const uint8_t* pixels;   // srcRows x srcStride bytes
    size_t size;             // operand bytes of the whole record
};
constexpr size_t kDLImageHeader = 12;
bool DLParseImage(const uint8_t* operands, size_t available, DLImage* out);

// Bytes of one padded source row of `pixels` pixels (lead included).
uint32_t Get4BytesAlign(uint32_t pixels, uint32_t bitsPerPixel);

// DL_FILL_PATH and DL_SET_PATH.
struct DLPath {
    uint16_t fillMode;                  // 20 non-zero winding, 22 (and anything else) even-odd
    uint8_t wordsPerPoint;              // 2: two int16 per point; 4: two int32
    uint32_t left, top, right, bottom;  // bounding box, right and bottom exclusive
    uint32_t subpaths;                  // S
    uint32_t points;                    // N
    const uint8_t* pointData;           // N points of wordsPerPoint 16-bit words
    const uint8_t* counts;              // S uint32 point counts when S > 1, else null
    size_t size;                        // operand bytes of the whole record
};
constexpr size_t kDLPathHeader = 28;
bool DLParsePath(const uint8_t* operands, size_t available, DLPath* out);
