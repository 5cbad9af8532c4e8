#include "display_list.h"

#include <array>

#include "render_state.h"

namespace {

constexpr DLOpcodeInfo kOpcodes[] = {
#define DL_INFO_ENTRY(value, id, name, size) {value, name, size},
    DL_OPCODE_TABLE(DL_INFO_ENTRY)
#undef DL_INFO_ENTRY
};

// Index of each byte value into kOpcodes, or -1. Built once at compile time
// from the table so that the table stays the only list of opcodes.
constexpr std::array<int16_t, 256> MakeOpcodeIndex() {
    std::array<int16_t, 256> index{};
    for (auto& i : index) i = -1;
    for (size_t i = 0; i < sizeof(kOpcodes) / sizeof(kOpcodes[0]); ++i) {
        index[kOpcodes[i].value] = static_cast<int16_t>(i);
    }
    return index;
}
constexpr std::array<int16_t, 256> kOpcodeIndex = MakeOpcodeIndex();

// True when `header` + `body` bytes fit in `available`; sizes are 64-bit so
// that no product of untrusted fields can wrap.
bool Fits(uint64_t header, uint64_t body, size_t available) {
    return header <= available && body <= available - header;
}

uint32_t PaletteBytes(uint8_t bitsPerPixel) {
    switch (bitsPerPixel) {
        case 1: return 8;
        case 4: return 64;
        case 8: return 1024;
        default: return 0;
    }
}

}  // namespace

const DLOpcodeInfo* DLFindOpcode(uint8_t opcode) {
    int16_t i = kOpcodeIndex[opcode];
    return i < 0 ? nullptr : &kOpcodes[i];
}

uint32_t Get4BytesAlign(uint32_t pixels, uint32_t bitsPerPixel) {
    return DLImageRowBytes(pixels, bitsPerPixel);
}

bool DLParseBitmapDefinition(const uint8_t* p, size_t available, DLBitmapDefinition* out) {
    if (available < kDLBitmapHeader) return false;
    out->slot = DLReadU16(p + 1);
    out->rows = DLReadU16(p + 3);
    out->width = DLReadU16(p + 5);
    uint64_t bytes = uint64_t{out->rows} * MaskStride(out->width);
    if (!Fits(kDLBitmapHeader, bytes, available)) return false;
    out->data = p + kDLBitmapHeader;
    out->dataBytes = static_cast<size_t>(bytes);
    return true;
}

bool DLParseBrushDefinition(const uint8_t* p, size_t available, bool colourDevice, DLBrushDefinition* out) {
    if (available < kDLBrushHeader) return false;
    out->format = p[0];
    out->slot = static_cast<uint8_t>(DLReadU32(p + 1) & 0xFF);
    switch (out->format) {
        case 1: out->dataBytes = kDLBrushPaletteBytes + kDLBrushPatternBytes; break;
        case 0: out->dataBytes = kDLBrushPatternBytes; break;
        default: out->dataBytes = colourDevice ? 4096 : 1024; break;
    }
    if (!Fits(kDLBrushHeader, out->dataBytes, available)) return false;
    out->data = p + kDLBrushHeader;
    return true;
}

bool DLParseGlyph(const uint8_t* p, size_t available, DLGlyph* out) {
    if (available < kDLGlyphHeader) return false;
    out->bitOffset = p[0];
    out->rows = DLReadU16(p + 4);
    out->width = DLReadU16(p + 6);
    uint64_t bytes = uint64_t{out->rows} * MaskStride(uint32_t{out->bitOffset} + out->width);
    if (!Fits(kDLGlyphHeader, bytes, available)) return false;
    out->data = p + kDLGlyphHeader;
    out->dataBytes = static_cast<size_t>(bytes);
    return true;
}

bool DLParseImage(const uint8_t* p, size_t available, DLImage* out) {
    if (available < kDLImageHeader) return false;
    out->lead = p[0];
    out->bitsPerPixel = p[1];
    out->hasPalette = p[2];
    out->flags = p[3];
    out->srcRows = DLReadU16(p + 4);
    out->srcWidth = DLReadU16(p + 6);
    out->destExtent8 = DLReadU16(p + 8);
    out->destExtent10 = DLReadU16(p + 10);
    out->paletteBytes = out->hasPalette ? PaletteBytes(out->bitsPerPixel) : 0;
    out->srcStride = Get4BytesAlign(uint32_t{out->srcWidth} + out->lead, out->bitsPerPixel);
    uint64_t body = uint64_t{out->paletteBytes} + uint64_t{out->srcRows} * out->srcStride;
    if (!Fits(kDLImageHeader, body, available)) return false;
    out->palette = out->paletteBytes ? p + kDLImageHeader : nullptr;
    out->pixels = p + kDLImageHeader + out->paletteBytes;
    out->size = static_cast<size_t>(kDLImageHeader + body);
    return true;
}

bool DLParsePath(const uint8_t* p, size_t available, DLPath* out) {
    if (available < kDLPathHeader) return false;
    out->fillMode = DLReadU16(p);
    out->wordsPerPoint = p[2];
    out->left = DLReadU32(p + 4);
    out->top = DLReadU32(p + 8);
    out->right = DLReadU32(p + 12);
    out->bottom = DLReadU32(p + 16);
    out->subpaths = DLReadU32(p + 20);
    out->points = DLReadU32(p + 24);
    // A point is wordsPerPoint 16-bit words (2: two int16, 4: two int32).
    uint64_t pointBytes = uint64_t{out->points} * out->wordsPerPoint * 2;
    uint64_t countBytes = out->subpaths > 1 ? uint64_t{out->subpaths} * 4 : 0;
    if (!Fits(kDLPathHeader, pointBytes + countBytes, available)) return false;
    out->pointData = p + kDLPathHeader;
    out->counts = countBytes ? out->pointData + pointBytes : nullptr;
    out->size = static_cast<size_t>(kDLPathHeader + pointBytes + countBytes);
    return true;
}

size_t DLOperandSize(uint8_t opcode, const uint8_t* operands, size_t available, bool colourDevice) {
    const DLOpcodeInfo* info = DLFindOpcode(opcode);
    if (!info) return 0;
    if (info->operandSize != kDLVariable) {
        size_t size = static_cast<size_t>(info->operandSize);
        return size <= available ? size : kDLDoesNotFit;
    }
    switch (opcode) {
        case DL_DEFINE_BITMAP: {
            DLBitmapDefinition b;
            return DLParseBitmapDefinition(operands, available, &b) ? kDLBitmapHeader + b.dataBytes
                                                                    : kDLDoesNotFit;
        }
        case DL_DEFINE_BRUSH: {
            DLBrushDefinition b;
            return DLParseBrushDefinition(operands, available, colourDevice, &b)
                       ? kDLBrushHeader + b.dataBytes
                       : kDLDoesNotFit;
        }
        case DL_STRETCH_IMAGE:
        case DL_BLT_IMAGE: {
            DLImage image;
            return DLParseImage(operands, available, &image) ? image.size : kDLDoesNotFit;
        }
        case DL_GLYPH: {
            DLGlyph g;
            return DLParseGlyph(operands, available, &g) ? kDLGlyphHeader + g.dataBytes : kDLDoesNotFit;
        }
        case DL_FILL_PATH:
        case DL_SET_PATH: {
            DLPath path;
            return DLParsePath(operands, available, &path) ? path.size : kDLDoesNotFit;
        }
        default: return kDLDoesNotFit;  // a variable record without a reader: cannot be skipped
    }
}
