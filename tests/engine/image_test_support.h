// Helpers of the image tests: a picture of logical pixels, packed into an
// image record with the record's own layout (worked out here from the row
// format, not taken from the engine), turned, mirrored and enlarged by plain
// loops, and drawn into test bands.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/display_list.h"
#include "playback_test_support.h"
#include "support/xorshift.h"

namespace image_test {

// Logical pixels: palette indices for 1, 4 and 8 bits, 0x00RRGGBB for 24.
struct Picture {
    uint32_t rows = 0, cols = 0;
    std::vector<uint32_t> px;

    Picture() = default;
    Picture(uint32_t r, uint32_t c) : rows(r), cols(c), px(size_t{r} * c) {}
    uint32_t& At(uint32_t r, uint32_t c) { return px[size_t{r} * cols + c]; }
    uint32_t At(uint32_t r, uint32_t c) const { return px[size_t{r} * cols + c]; }
    bool operator==(const Picture&) const = default;
};

using Random = zebl_test::XorShift32;

// A picture of pseudo-random pixels a depth can hold.
inline Picture RandomPicture(uint32_t rows, uint32_t cols, uint32_t bits, uint32_t seed) {
    Picture p(rows, cols);
    Random random(seed);
    const uint32_t mask = bits == 24 ? 0xFFFFFFu : (1u << bits) - 1;
    for (uint32_t& v : p.px) v = random.Next() & mask;
    return p;
}

// Turned 90 degrees clockwise / counter-clockwise, mirrored left to right,
// and enlarged by whole factors, pixel by pixel.
inline Picture TurnClockwise(const Picture& p) {
    Picture out(p.cols, p.rows);
    for (uint32_t r = 0; r < out.rows; ++r)
        for (uint32_t c = 0; c < out.cols; ++c) out.At(r, c) = p.At(p.rows - 1 - c, r);
    return out;
}
inline Picture TurnCounterClockwise(const Picture& p) {
    Picture out(p.cols, p.rows);
    for (uint32_t r = 0; r < out.rows; ++r)
        for (uint32_t c = 0; c < out.cols; ++c) out.At(r, c) = p.At(c, p.cols - 1 - r);
    return out;
}
inline Picture Mirror(const Picture& p) {
    Picture out(p.rows, p.cols);
    for (uint32_t r = 0; r < p.rows; ++r)
        for (uint32_t c = 0; c < p.cols; ++c) out.At(r, c) = p.At(r, p.cols - 1 - c);
    return out;
}
inline Picture Replicate(const Picture& p, uint32_t rowFactor, uint32_t colFactor) {
    Picture out(p.rows * rowFactor, p.cols * colFactor);
    for (uint32_t r = 0; r < out.rows; ++r)
        for (uint32_t c = 0; c < out.cols; ++c) out.At(r, c) = p.At(r / rowFactor, c / colFactor);
    return out;
}

// An image record to draw.
struct ImageRecord {
    uint8_t bits = 8;
    uint8_t lead = 0;
    uint8_t flags = 0;             // 1 rotated, 2 mirrored
    uint32_t extent8 = 0;          // destination rows (columns when rotated); 0: unstretched
    uint32_t extent10 = 0;         // destination columns (rows when rotated); 0: unstretched
    bool withPalette = true;       // 1-, 4- and 8-bit only
    std::vector<uint8_t> palette;  // empty: TestPalette
    Picture picture;
};

// Bytes of one stored row of n pixels (lead included), from the record
// format: rows are padded to 4 bytes and 24-bit pixels take four bytes.
inline uint32_t RowBytes(uint32_t n, uint32_t bits) {
    switch (bits) {
        case 1: return (n + 31) / 32 * 4;
        case 4: return (4 * n + 31) / 32 * 4;
        case 8: return (n + 3) / 4 * 4;
        default: return 4 * n;
    }
}

// Colours whose grey is worked out by hand: (30 R + 59 G + 11 B) / 100.
struct KnownColour {
    uint8_t r, g, b;
    uint8_t grey;
};
inline const std::vector<KnownColour>& KnownColours() {
    static const std::vector<KnownColour> colours = {
        {0, 0, 0, 0},         {255, 255, 255, 255}, {255, 0, 0, 76},     {0, 255, 0, 150},
        {0, 0, 255, 28},      {100, 100, 100, 100}, {255, 255, 0, 226},  {0, 255, 255, 178},
        {255, 0, 255, 104},   {10, 20, 30, 18},     {200, 100, 50, 124}, {1, 2, 3, 1},
        {128, 128, 128, 128}, {50, 60, 70, 58},     {250, 5, 120, 91},   {17, 34, 51, 30},
    };
    return colours;
}

// Palette entry i: known colour i % 16, as B, G, R, 0.
inline std::vector<uint8_t> TestPalette(uint32_t bits) {
    std::vector<uint8_t> palette;
    const uint32_t entries = bits == 1 ? 2 : bits == 4 ? 16 : bits == 8 ? 256 : 0;
    for (uint32_t i = 0; i < entries; ++i) {
        const KnownColour& k = KnownColours()[i % 16];
        palette.insert(palette.end(), {k.b, k.g, k.r, 0});
    }
    return palette;
}

// The record bytes (opcode first). Lead pixels, row padding and the fourth
// byte of 24-bit pixels hold junk, which must never show.
inline std::vector<uint8_t> EncodeImage(uint8_t opcode, const ImageRecord& image) {
    const Picture& p = image.picture;
    // Unstretched: rows then columns; rotated, the turned image's columns
    // (the stored rows) then its rows (the stored columns): the same numbers.
    const uint32_t extent8 = image.extent8 ? image.extent8 : p.rows;
    const uint32_t extent10 = image.extent10 ? image.extent10 : p.cols;
    std::vector<uint8_t> palette;
    if (image.withPalette && image.bits != 24)
        palette = image.palette.empty() ? TestPalette(image.bits) : image.palette;
    playback_test::DL dl;
    dl.Op(opcode).U8(image.lead).U8(image.bits).U8(palette.empty() ? 0 : 1).U8(image.flags);
    dl.U16(p.rows).U16(p.cols).U16(extent8).U16(extent10).Bytes(palette);
    const uint32_t stride = RowBytes(p.cols + image.lead, image.bits);
    Random junk(0xBADC0DE);
    for (uint32_t r = 0; r < p.rows; ++r) {
        std::vector<uint8_t> row(stride);
        for (uint8_t& b : row) b = static_cast<uint8_t>(junk.Next());
        for (uint32_t c = 0; c < p.cols; ++c) {
            const uint32_t x = c + image.lead;
            const uint32_t v = p.At(r, c);
            switch (image.bits) {
                case 1:
                    row[x / 8] = static_cast<uint8_t>((row[x / 8] & ~(0x80 >> x % 8)) | (v << (7 - x % 8)));
                    break;
                case 4: {
                    const unsigned shift = x % 2 ? 0 : 4;
                    row[x / 2] = static_cast<uint8_t>((row[x / 2] & ~(0xF << shift)) | (v << shift));
                    break;
                }
                case 8: row[x] = static_cast<uint8_t>(v); break;
                default:
                    row[4 * x] = static_cast<uint8_t>(v);
                    row[4 * x + 1] = static_cast<uint8_t>(v >> 8);
                    row[4 * x + 2] = static_cast<uint8_t>(v >> 16);
                    break;
            }
        }
        dl.Bytes(row);
    }
    return dl.bytes();
}

// A display list that draws `image` at (row, col) with ROP 0xCC (the image
// as it is).
inline playback_test::DL ImageList(uint8_t opcode, const ImageRecord& image, uint16_t row, uint16_t col) {
    playback_test::DL dl;
    dl.RopColour(0xCC, 0x81000000).At(row, col).Bytes(EncodeImage(opcode, image));
    return dl;
}

// The band pixels of a rectangle of the band, row after row.
inline std::vector<uint32_t> BandPixels(const playback_test::Band& band, uint32_t top, uint32_t left,
                                        uint32_t rows, uint32_t cols) {
    std::vector<uint32_t> out;
    for (uint32_t r = 0; r < rows; ++r)
        for (uint32_t c = 0; c < cols; ++c) out.push_back(band.Pixel(top + r, left + c));
    return out;
}

}  // namespace image_test
