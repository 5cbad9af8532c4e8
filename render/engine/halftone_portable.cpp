// The portable screening kernels: eight pixels per step in 64-bit words,
// for processors without vector instructions (and as the reference the
// vector kernels are held to).
#include <bit>
#include <cstring>

#include "halftone_kernels.h"
#include "threshold_row.h"

static_assert(std::endian::native == std::endian::little,
              "the screeners read eight pixels at a time as little-endian words");

namespace {

constexpr uint32_t kGroup = 8;  // pixels per plane byte
constexpr uint64_t kAllWhite = ~uint64_t{0};
constexpr uint64_t kHighBits = 0x8080808080808080ull;

inline uint64_t Load64(const uint8_t* p) {
    uint64_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

// Compares eight whiteness bytes with eight thresholds at once and returns
// the dot mask: bit 7 - j is set when byte j of pixels <= byte j of
// thresholds. The compare works on the low seven bits of every byte with
// the high bit as a guard (no borrow crosses a byte), then settles the bytes
// whose high bits differ by the threshold's high bit. The eight resulting
// flags (bit 7 of each byte) are gathered by one multiply: flag j moves to bit
// 63 - j, and a shift leaves pixel 0 in the most significant bit.
inline uint32_t DotMask(uint64_t pixels, uint64_t thresholds) {
    const uint64_t lowCompare = (thresholds | kHighBits) - (pixels & ~kHighBits);
    const uint64_t highDiffers = thresholds ^ pixels;
    const uint64_t atMost = ((highDiffers & thresholds) | (~highDiffers & lowCompare)) & kHighBits;
    return static_cast<uint32_t>(((atMost >> 7) * 0x8040201008040201ull) >> 56);
}

// The four inks of eight 32-bit pixels, one byte per pixel in pixel order.
struct InkBytes {
    uint64_t yellow, magenta, cyan, black;
};

// Transposes eight pixels (four bytes each: yellow, magenta, cyan, black)
// into four words of eight bytes, one per ink. Each 64-bit word carries two
// independent 4 x 4 byte transposes: pixels 0-3 in its low half, 4-7 in its
// high half.
inline InkBytes SplitInks(const uint8_t* group) {
    constexpr uint64_t kLow32 = 0x00000000FFFFFFFFull;
    constexpr uint64_t kEvenBytes = 0x00FF00FF00FF00FFull;
    constexpr uint64_t kLow16 = 0x0000FFFF0000FFFFull;
    const uint64_t a0 = Load64(group), a1 = Load64(group + 8);        // pixels 0 1, 2 3
    const uint64_t a2 = Load64(group + 16), a3 = Load64(group + 24);  // pixels 4 5, 6 7
    // q[j]: pixel j in the low half, pixel j + 4 in the high half.
    const uint64_t q0 = (a0 & kLow32) | (a2 << 32), q1 = (a0 >> 32) | (a2 & ~kLow32);
    const uint64_t q2 = (a1 & kLow32) | (a3 << 32), q3 = (a1 >> 32) | (a3 & ~kLow32);
    // Byte pairs: t0 = Y0 Y1 C0 C1, t1 = M0 M1 K0 K1, t2 = Y2 Y3 C2 C3, t3 = M2 M3 K2 K3.
    const uint64_t t0 = (q0 & kEvenBytes) | ((q1 << 8) & ~kEvenBytes);
    const uint64_t t1 = ((q0 >> 8) & kEvenBytes) | (q1 & ~kEvenBytes);
    const uint64_t t2 = (q2 & kEvenBytes) | ((q3 << 8) & ~kEvenBytes);
    const uint64_t t3 = ((q2 >> 8) & kEvenBytes) | (q3 & ~kEvenBytes);
    return InkBytes{(t0 & kLow16) | ((t2 << 16) & ~kLow16), (t1 & kLow16) | ((t3 << 16) & ~kLow16),
                    ((t0 >> 16) & kLow16) | (t2 & ~kLow16), ((t1 >> 16) & kLow16) | (t3 & ~kLow16)};
}

}  // namespace

PlanesWithDots ScreenGreyPortable(const GreyScreenJob& job) {
    const uint32_t groups = job.pixelsPerRow / kGroup;
    ThresholdRow thresholds(*job.plane, job.firstRow);
    uint32_t dots = 0;
    for (uint32_t r = 0; r < job.rows; ++r) {
        const uint8_t* pixels = job.src + static_cast<size_t>(r) * job.pixelsPerRow;
        uint8_t* out = job.dst + static_cast<size_t>(r) * job.dstStride;
        ThresholdCursor cursor(thresholds, kGroup);
        for (uint32_t g = 0; g < groups; ++g, pixels += kGroup) {
            const uint64_t group = Load64(pixels);
            if (group != kAllWhite) {
                const uint32_t mask = DotMask(group, Load64(cursor.here()));
                out[g] = static_cast<uint8_t>(~mask);
                dots |= mask;
            }
            cursor.Advance();
        }
        if (r + 1 < job.rows) thresholds.NextRow();
    }
    return dots ? 1 : 0;
}

PlanesWithDots ScreenColourPortable(const ColourScreenJob& job) {
    const FBScreen& screen = *job.screen;
    const uint32_t groups = job.pixelsPerRow / kGroup;
    ThresholdRow yellowRow(screen.plane[kScreenYellow], job.firstRow);
    ThresholdRow magentaRow(screen.plane[kScreenMagenta], job.firstRow);
    ThresholdRow cyanRow(screen.plane[kScreenCyan], job.firstRow);
    ThresholdRow blackRow(screen.plane[kScreenBlack], job.firstRow);
    uint32_t cyanDots = 0, magentaDots = 0, yellowDots = 0, blackDots = 0;
    for (uint32_t r = 0; r < job.rows; ++r) {
        const uint8_t* pixels = job.src + static_cast<size_t>(r) * job.pixelsPerRow * 4;
        uint8_t* cyanOut = job.dst + static_cast<size_t>(r) * job.dstStride;
        uint8_t* magentaOut = cyanOut + job.planeOffset;
        uint8_t* yellowOut = magentaOut + job.planeOffset;
        uint8_t* blackOut = yellowOut + job.planeOffset;
        // Locals, so the stores to the planes cannot make the compiler
        // reload them.
        ThresholdCursor ys(yellowRow, kGroup), ms(magentaRow, kGroup), cs(cyanRow, kGroup),
            ks(blackRow, kGroup);
        for (uint32_t g = 0; g < groups; ++g, pixels += 4 * kGroup) {
            const uint64_t white =
                Load64(pixels) & Load64(pixels + 8) & Load64(pixels + 16) & Load64(pixels + 24);
            if (white != kAllWhite) {
                const InkBytes inks = SplitInks(pixels);
                uint32_t y = DotMask(inks.yellow, Load64(ys.here()));
                const uint32_t m = DotMask(inks.magenta, Load64(ms.here()));
                const uint32_t c = DotMask(inks.cyan, Load64(cs.here()));
                const uint32_t k = DotMask(inks.black, Load64(ks.here()));
                y &= ~(c & m & y & k);  // ink limit: no yellow under full cyan, magenta and black
                cyanOut[g] = static_cast<uint8_t>(~c);
                magentaOut[g] = static_cast<uint8_t>(~m);
                yellowOut[g] = static_cast<uint8_t>(~y);
                blackOut[g] = static_cast<uint8_t>(~k);
                cyanDots |= c, magentaDots |= m, yellowDots |= y, blackDots |= k;
            }
            ys.Advance(), ms.Advance(), cs.Advance(), ks.Advance();
        }
        if (r + 1 < job.rows) {
            yellowRow.NextRow(), magentaRow.NextRow(), cyanRow.NextRow(), blackRow.NextRow();
        }
    }
    return (cyanDots ? 1u : 0u) | (magentaDots ? 2u : 0u) | (yellowDots ? 4u : 0u) | (blackDots ? 8u : 0u);
}
