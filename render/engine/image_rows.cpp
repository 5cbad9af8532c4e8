#include "image_rows.h"

#include <cstring>

namespace {

constexpr uint32_t kBytesPer24BitPixel = 4;

// The raw value of pixel x of a stored row: a palette index, or for 24 bits
// the B, G, R bytes as 0x00RRGGBB. Rows are most significant bits first.
template <uint32_t kBits>
uint32_t ReadSource(const uint8_t* row, uint32_t x) {
    if constexpr (kBits == 1) {
        return (row[x >> 3] >> (7 - (x & 7))) & 1u;
    } else if constexpr (kBits == 4) {
        return (row[x >> 1] >> ((~x & 1u) << 2)) & 0xFu;  // even pixels in the high nibble
    } else if constexpr (kBits == 8) {
        return row[x];
    } else {
        const uint8_t* p = row + size_t{x} * kBytesPer24BitPixel;
        return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16;
    }
}

template <uint32_t kBits, bool kColour>
uint32_t ToBand(uint32_t raw, const ImagePaletteLut& lut) {
    if constexpr (kBits == 24) {
        return Image24ToBand(raw, kColour);
    } else {
        return lut.values[raw];
    }
}

template <bool kColour>
void StoreRepeated(uint8_t*& out, uint32_t value, uint32_t count) {
    if constexpr (kColour) {
        for (uint32_t k = 0; k < count; ++k, out += 4) std::memcpy(out, &value, 4);
    } else {
        std::memset(out, static_cast<int>(value), count);
        out += count;
    }
}

template <uint32_t kBits, bool kColour>
void ExpandRow(const ImageRowWalk& walk, const StretchTable& columns, const ImagePaletteLut& lut,
               uint8_t* out) {
    size_t rowOffset = walk.rowOffset;
    uint32_t x = walk.x;
    const uint32_t entries = columns.Entries();
    for (uint32_t k = 0; k < entries; ++k) {
        const uint32_t raw = ReadSource<kBits>(walk.pixels + rowOffset, x);
        StoreRepeated<kColour>(out, ToBand<kBits, kColour>(raw, lut), columns.counts[k]);
        rowOffset += walk.rowOffsetStep;
        x += walk.xStep;
    }
}

template <bool kColour>
ImageRowExpander ExpanderFor(uint32_t bitsPerPixel) {
    switch (bitsPerPixel) {
        case 1: return ExpandRow<1, kColour>;
        case 4: return ExpandRow<4, kColour>;
        case 8: return ExpandRow<8, kColour>;
        case 24: return ExpandRow<24, kColour>;
        default: return nullptr;
    }
}

}  // namespace

ImageRowWalk GetImageRowWalk(const ImageDescriptor& image, uint32_t drawnRow, uint32_t firstColumn) {
    ImageRowWalk walk;
    walk.pixels = image.pixels;
    const uint32_t lastPixel = image.lead + image.srcWidth - 1;
    if (image.rotated) {
        // Drawn (r, c) is stored (c, srcWidth - 1 - r), or (c, r) when the
        // stored rows were mirrored first: one stored column, top to bottom.
        walk.rowOffset = size_t{firstColumn} * image.srcStride;
        walk.rowOffsetStep = image.srcStride;
        walk.x = image.mirrored ? image.lead + drawnRow : lastPixel - drawnRow;
        walk.xStep = 0;
    } else {
        walk.rowOffset = size_t{drawnRow} * image.srcStride;
        walk.rowOffsetStep = 0;
        walk.x = image.mirrored ? lastPixel - firstColumn : image.lead + firstColumn;
        walk.xStep = image.mirrored ? UINT32_MAX : 1;  // -1 modulo 2^32
    }
    return walk;
}

ImageRowExpander SelectImageRowExpander(uint32_t bitsPerPixel, bool colourPage) {
    return colourPage ? ExpanderFor<true>(bitsPerPixel) : ExpanderFor<false>(bitsPerPixel);
}
