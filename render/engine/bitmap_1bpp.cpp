#include "bitmap_1bpp.h"

#include <algorithm>
#include <cstring>
#include <vector>

void RDExtractMaskBits(uint8_t* dst, size_t dstBytes, const uint8_t* src, size_t srcBytes,
                       uint32_t firstBit) {
    const size_t firstByte = firstBit / 8;
    const unsigned shift = firstBit % 8;
    for (size_t k = 0; k < dstBytes; ++k) {
        const size_t b = firstByte + k;
        const unsigned hi = b < srcBytes ? src[b] : 0;
        const unsigned lo = b + 1 < srcBytes ? src[b + 1] : 0;
        // Two source bytes read as a big-endian 16-bit value, cut at the shift.
        dst[k] = static_cast<uint8_t>(((hi << 8 | lo) << shift) >> 8);
    }
}

void DeletebLeft(TRect* req, uint8_t* dst) {
    const uint32_t srcStride = MaskStride(req->xe - req->xs);
    const uint32_t dstStride = MaskStride(req->xe - req->xs - req->bitOffset);
    for (uint32_t r = 0; r < req->rows; ++r) {
        RDExtractMaskBits(dst + size_t{r} * dstStride, dstStride, req->bits + size_t{r} * srcStride,
                          srcStride, req->bitOffset);
    }
    req->bits = dst;
    req->xs += req->bitOffset;
    req->bitOffset = 0;
}

namespace {

// First destination index of each source index: start[i] = floor(i*dst/src),
// i = 0 .. src. Source index i covers start[i] .. start[i+1]-1 (none when
// shrinking drops it).
std::vector<uint32_t> StretchStarts(uint32_t src, uint32_t dst) {
    std::vector<uint32_t> start(size_t{src} + 1);
    for (uint32_t i = 0; i <= src; ++i) {
        start[i] = static_cast<uint32_t>(uint64_t{i} * dst / src);
    }
    return start;
}

// Sets bits first .. end-1 of an MSB-first row.
void SetBitRun(uint8_t* row, uint32_t first, uint32_t end) {
    if (first >= end) return;
    const uint32_t firstByte = first / 8, lastByte = (end - 1) / 8;
    const uint8_t head = static_cast<uint8_t>(0xFF >> (first % 8));
    const uint8_t tail = static_cast<uint8_t>(0xFF << (7 - (end - 1) % 8));
    if (firstByte == lastByte) {
        row[firstByte] |= head & tail;
        return;
    }
    row[firstByte] |= head;
    std::memset(row + firstByte + 1, 0xFF, lastByte - firstByte - 1);
    row[lastByte] |= tail;
}

// Stretches one source row into a zeroed destination row.
void StretchRow(uint8_t* dst, const uint8_t* src, uint32_t srcWidth, const std::vector<uint32_t>& colStart) {
    for (uint32_t byte = 0; byte * 8 < srcWidth; ++byte) {
        const uint8_t bits = src[byte];
        if (bits == 0) continue;
        const uint32_t end = std::min(srcWidth, byte * 8 + 8);
        for (uint32_t i = byte * 8; i < end; ++i) {
            if (bits & (0x80 >> (i % 8))) SetBitRun(dst, colStart[i], colStart[i + 1]);
        }
    }
}

// ---- Edge smoothing -----------------------------------------------------------
//
// After pure replication a diagonal edge is a staircase of f x f blocks. The
// filters look, at every place where a row's bytes change, at a 16-pixel
// window of three rows: c (inside the source row's block), e (the last row of
// the block above) and g (the first row of the block below). At the first
// two-pixel step of c they pull the block's first row towards e and its last
// row(s) towards g, which cuts the corners of the stairs.

enum class Smoothing { None, Filter2x2, Filter3x3, Filter4x4 };

uint16_t Window(const uint8_t* row, size_t x) { return static_cast<uint16_t>(row[x] << 8 | row[x + 1]); }

void SetWindow(uint8_t* row, size_t x, uint16_t bits) {
    row[x] |= static_cast<uint8_t>(bits >> 8);
    row[x + 1] |= static_cast<uint8_t>(bits);
}

void ClearWindow(uint8_t* row, size_t x, uint16_t bits) {
    row[x] &= static_cast<uint8_t>(~(bits >> 8));
    row[x + 1] &= static_cast<uint8_t>(~bits);
}

// Two-pixel masks at pixel 2+i of the window (awBitMask4).
constexpr uint16_t TwoPixels(int i) { return static_cast<uint16_t>(0x3000 >> i); }
// The same widened by one pixel on each side (awNoiseOR2).
constexpr uint16_t FourPixels(int i) {
    return static_cast<uint16_t>(TwoPixels(i) << 1 | TwoPixels(i) | TwoPixels(i) >> 1);
}

// First i >= from where c's two pixels under TwoPixels(i) differ from the two
// pixels one to the left; 8 when there is none.
int FirstStep(uint16_t c, int from) {
    for (int i = from; i < 8; ++i) {
        const uint16_t m = TwoPixels(i);
        if ((c & m) != ((c & (m << 1)) >> 1)) return i;
    }
    return 8;
}

void PullTowards(uint8_t* row, size_t x, uint16_t other, uint16_t m, uint16_t pattern) {
    if (other & m) {
        SetWindow(row, x, pattern);
    } else {
        ClearWindow(row, x, pattern);
    }
}

struct SmoothRows {
    uint8_t* first;       // first copy of source row j (R)
    const uint8_t* c;     // second copy of row j
    const uint8_t* e;     // last copy of row j-1
    const uint8_t* g;     // first copy of row j+1
    uint8_t* last;        // last copy of row j
    uint8_t* beforeLast;  // the copy before it
};

void SmoothPosition(Smoothing kind, const SmoothRows& rows, size_t x) {
    const uint16_t c = Window(rows.c, x);
    const uint16_t e = Window(rows.e, x);
    const uint16_t g = Window(rows.g, x);
    if (e == c && c == g) return;
    if ((c & 0xE000) != 0 && (c & 0xE000) != 0xE000) return;
    if (kind == Smoothing::Filter2x2) {
        for (int i = FirstStep(c, 0); i < 8; i = FirstStep(c, i + 3)) {
            const uint16_t m = TwoPixels(i);
            if ((e & m) && (e & m) != (c & m)) {
                SetWindow(rows.first, x, m);
                return;
            }
            if ((g & m) && (g & m) != (c & m)) {
                SetWindow(rows.last, x, m);
                return;
            }
        }
        return;
    }
    const int i = FirstStep(c, 0);
    if (i == 8) return;
    const uint16_t m = TwoPixels(i);
    if ((e & m) != (c & m)) PullTowards(rows.first, x, e, m, m);
    if ((g & m) != (c & m)) {
        if (kind == Smoothing::Filter3x3) {
            PullTowards(rows.last, x, g, m, m);
        } else {
            PullTowards(rows.beforeLast, x, g, m, m);
            PullTowards(rows.last, x, g, m, FourPixels(i));
        }
    }
}

Smoothing ChooseSmoothing(uint32_t dstWidth, uint32_t dstRows, uint32_t srcWidth, uint32_t srcRows) {
    if (srcRows < 8) return Smoothing::None;
    const uint32_t f = std::min(dstWidth / srcWidth, dstRows / srcRows);
    const uint32_t stride = MaskStride(dstWidth);
    if (f >= 4) return stride >= 8 ? Smoothing::Filter4x4 : Smoothing::None;
    if (f == 3) return stride >= 6 ? Smoothing::Filter3x3 : Smoothing::None;
    if (f == 2) return stride >= 4 ? Smoothing::Filter2x2 : Smoothing::None;
    return Smoothing::None;
}

void Smooth(Smoothing kind, uint8_t* dst, size_t stride, uint32_t srcRows,
            const std::vector<uint32_t>& rowStart) {
    for (uint32_t j = 1; j + 1 < srcRows; ++j) {
        // Every source row has at least f >= 2 copies (4 for Filter4x4).
        const size_t r = rowStart[j], lastCopy = rowStart[j + 1] - 1;
        SmoothRows rows{dst + r * stride,        dst + (r + 1) * stride,
                        dst + (r - 1) * stride,  dst + size_t{rowStart[j + 1]} * stride,
                        dst + lastCopy * stride, dst + (lastCopy - 1) * stride};
        for (size_t x = 0; x + 1 < stride; ++x) {
            if (rows.first[x] != rows.first[x + 1]) SmoothPosition(kind, rows, x);
        }
    }
}

}  // namespace

void Scale1BPPBitmap(uint8_t* dst, uint32_t dstWidth, uint32_t dstRows, const uint8_t* src, uint32_t srcWidth,
                     uint32_t srcRows) {
    if (dstWidth == 0 || dstRows == 0 || srcWidth == 0 || srcRows == 0) return;
    const size_t dstStride = MaskStride(dstWidth);
    const size_t srcStride = MaskStride(srcWidth);
    const std::vector<uint32_t> colStart = StretchStarts(srcWidth, dstWidth);
    const std::vector<uint32_t> rowStart = StretchStarts(srcRows, dstRows);
    for (uint32_t j = 0; j < srcRows; ++j) {
        const uint32_t first = rowStart[j], end = rowStart[j + 1];
        if (first == end) continue;
        uint8_t* row = dst + first * dstStride;
        StretchRow(row, src + j * srcStride, srcWidth, colStart);
        for (uint32_t copy = first + 1; copy < end; ++copy) {
            std::memcpy(dst + copy * dstStride, row, dstStride);
        }
    }
    const Smoothing kind = ChooseSmoothing(dstWidth, dstRows, srcWidth, srcRows);
    if (kind != Smoothing::None) Smooth(kind, dst, dstStride, srcRows, rowStart);
}
