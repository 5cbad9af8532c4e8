// The display-list record format: a byte stream of records, each a one-byte
// opcode followed by its operands (little-endian). This is the one table of
// opcodes, their names and operand sizes; the interpreter, the encoder and
// the reports are all made from it.
#pragma once

#include <cstdint>

// Operand size of a record whose length depends on its contents.
constexpr int kDLVariable = -1;

// X(value, identifier, report name, operand bytes or kDLVariable)
// DL_SPAN and DL_VSPAN have no operands; the interpreter folds runs of them.
#define DL_OPCODE_TABLE(X)                                  \
    X(1, DL_DEFINE_BITMAP, "DL_DEFINE_BITMAP", kDLVariable) \
    X(2, DL_DEFINE_BRUSH, "DL_DEFINE_BRUSH", kDLVariable)   \
    X(3, DL_STRETCH_IMAGE, "DL_STRETCH_IMAGE", kDLVariable) \
    X(4, DL_BLT_IMAGE, "DL_BLT_IMAGE", kDLVariable)         \
    X(5, DL_GLYPH, "DL_GLYPH", kDLVariable)                 \
    X(64, DL_DRAW_BITMAP, "DL_DRAW_BITMAP", 2)              \
    X(80, DL_LINE_TO, "DL_LINE_TO", 4)                      \
    X(81, DL_LINE_REL, "DL_LINE_REL", 2)                    \
    X(82, DL_LINE, "DL_LINE", 4)                            \
    X(83, DL_BOX8, "DL_BOX8", 2)                            \
    X(84, DL_BOX16, "DL_BOX16", 4)                          \
    X(85, DL_SPAN, "DL_SPAN", 0)                            \
    X(86, DL_SPAN_STEP, "DL_SPAN_STEP", 2)                  \
    X(87, DL_VSPAN, "DL_VSPAN", 0)                          \
    X(88, DL_SKIP1, "DL_SKIP1", 1)                          \
    X(96, DL_SET_ROW, "DL_SET_ROW", 2)                      \
    X(97, DL_MOVE_ROW, "DL_MOVE_ROW", 1)                    \
    X(98, DL_SET_COL, "DL_SET_COL", 2)                      \
    X(99, DL_MOVE_COL, "DL_MOVE_COL", 1)                    \
    X(100, DL_SET_SPAN_END, "DL_SET_SPAN_END", 2)           \
    X(101, DL_MOVE_SPAN_END, "DL_MOVE_SPAN_END", 1)         \
    X(102, DL_SET_HEIGHT, "DL_SET_HEIGHT", 2)               \
    X(103, DL_MOVE_HEIGHT, "DL_MOVE_HEIGHT", 1)             \
    X(104, DL_SET_ROW_ORIGIN, "DL_SET_ROW_ORIGIN", 4)       \
    X(105, DL_SET_COL_ORIGIN, "DL_SET_COL_ORIGIN", 4)       \
    X(112, DL_SKIP1_ALT, "DL_SKIP1", 1)                     \
    X(113, DL_SET_COLOR, "DL_SET_COLOR", 4)                 \
    X(114, DL_SET_COLOR_ALT, "DL_SET_COLOR", 4)             \
    X(115, DL_SET_ROP, "DL_SET_ROP", 1)                     \
    X(116, DL_SET_LINE_STYLE, "DL_SET_LINE_STYLE", 1)       \
    X(117, DL_SET_ROP_COLOR, "DL_SET_ROP_COLOR", 5)         \
    X(118, DL_SET_STYLE_PHASE, "DL_SET_STYLE_PHASE", 2)     \
    X(128, DL_FILL_PATH, "DL_FILL_PATH", kDLVariable)       \
    X(129, DL_SET_HATCH, "DL_SET_HATCH", 12)                \
    X(130, DL_SET_SCALE, "DL_SET_SCALE", 8)                 \
    X(131, DL_SKIP4, "DL_SKIP4", 4)                         \
    X(144, DL_WATERMARK_BEGIN, "DL_WATERMARK_BEGIN", 0)     \
    X(145, DL_WATERMARK_END, "DL_WATERMARK_END", 0)         \
    X(160, DL_SET_PATH, "DL_SET_PATH", kDLVariable)         \
    X(161, DL_PAINT_PATH, "DL_PAINT_PATH", 0)               \
    X(175, DL_CLIP_MODE, "DL_CLIP_MODE", 1)

enum DLOpcode : uint8_t {
#define DL_ENUM_ENTRY(value, id, name, size) id = value,
    DL_OPCODE_TABLE(DL_ENUM_ENTRY)
#undef DL_ENUM_ENTRY
};

// Bytes of one row of a 1-bit mask `width` pixels wide, as downloaded
// bitmaps and glyphs carry them: rows padded to whole 32-bit words.
constexpr uint32_t MaskStride(uint32_t width) { return ((width + 31) / 32) * 4; }

// DL_DEFINE_BRUSH format 1: an 8-byte palette and a 32 x 32 1-bit pattern.
constexpr uint32_t kDLBrushPaletteBytes = 8;
constexpr uint32_t kDLBrushPatternBytes = 128;

// Formats of DL_DEFINE_BRUSH.
enum DLBrushFormat : uint8_t {
    kBrushEmpty = 0,    // 128 bytes follow, the slot stays blank
    kBrushPattern = 1,  // 8-byte palette (two B, G, R, 0 entries) + 32 x 32 1-bit pattern
    kBrushRaw = 2,      // 32 x 32 pixels in band format (any format other than 0 and 1)
};

// Flags of an image record (DL_STRETCH_IMAGE, DL_BLT_IMAGE).
constexpr uint8_t kDLImageRotated = 0x01;
constexpr uint8_t kDLImageMirrored = 0x02;

// Bytes of one padded source row of an image record, `pixels` pixels (the
// lead included) of 1, 4, 8 or 24 bits (24 stored as B, G, R, 0); 0 for
// another depth or a row that does not fit 32 bits.
constexpr uint32_t DLImageRowBytes(uint32_t pixels, uint32_t bitsPerPixel) {
    const uint64_t n = pixels;
    uint64_t bytes = 0;
    switch (bitsPerPixel) {
        case 1: bytes = ((n + 31) / 32) * 4; break;
        case 4: bytes = ((4 * n + 31) / 32) * 4; break;
        case 8: bytes = (n + 3) & ~uint64_t{3}; break;
        case 24: bytes = 4 * n; break;
        default: return 0;
    }
    return static_cast<uint32_t>(bytes);
}

// The raster operation that copies the brush (or colour) to the band.
constexpr uint8_t kDLRopCopy = 0xF0;
