// The SSE2 screening kernels: grey bands 64 pixels per step, colour bands
// sixteen (all four inks at once), each pixel compared with its threshold
// by one unsigned minimum and one equality test.
//
// The functions carry their own target, so that a 32-bit build for
// processors without SSE2 still compiles them; the screeners call them only
// where the processor has SSE2 (cpu_features.h).
#include "halftone_kernels.h"

#if ZEBL_HALFTONE_SSE2

#include <emmintrin.h>

#include <array>
#include <cstring>

#include "colour_rows.h"
#include "threshold_row.h"

// The helpers are always inlined into the kernels, so that no vector is
// passed on the stack. The kernels realign the stack on entry in a 32-bit
// build: the spooler may call the library with a stack that is only 4-byte
// aligned, and SSE2 spills and stack operands need 16 bytes.
#define ZEBL_SSE2_TARGET __attribute__((target("sse2"), always_inline))
#if defined(__i386__)
#define ZEBL_SSE2_KERNEL __attribute__((target("sse2"), force_align_arg_pointer))
#else
#define ZEBL_SSE2_KERNEL __attribute__((target("sse2")))
#endif

namespace {

constexpr uint32_t kBlock = 64;  // grey pixels per step: eight plane bytes
constexpr uint32_t kChunk = 16;  // pixels per step: two plane bytes
constexpr uint32_t kGroup = 8;   // pixels per plane byte
constexpr uint32_t kWhiteGroup = 0xFF;
constexpr uint32_t kWhiteChunk = 0xFFFF;

// A plane byte from eight dot bits as the compare leaves them (pixel 0 in
// bit 0): pixel 0 goes to the most significant bit, and a dot is a 0.
constexpr std::array<uint8_t, 256> MakePlaneBytes() {
    std::array<uint8_t, 256> bytes{};
    for (uint32_t dots = 0; dots < 256; ++dots) {
        uint32_t reversed = 0;
        for (uint32_t j = 0; j < 8; ++j) reversed |= ((dots >> j) & 1u) << (7 - j);
        bytes[dots] = static_cast<uint8_t>(~reversed);
    }
    return bytes;
}
constexpr std::array<uint8_t, 256> kPlaneByte = MakePlaneBytes();

// Bit j set when byte j of pixels is at most byte j of thresholds.
ZEBL_SSE2_TARGET inline uint32_t DotBits(__m128i pixels, const uint8_t* thresholds) {
    const __m128i limit = _mm_loadu_si128(reinterpret_cast<const __m128i*>(thresholds));
    return static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_min_epu8(pixels, limit), pixels)));
}

// Bit j set when byte j is 0xFF.
ZEBL_SSE2_TARGET inline uint32_t WhiteBits(__m128i bytes) {
    return static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, _mm_set1_epi8(-1))));
}

ZEBL_SSE2_TARGET inline __m128i Load128(const uint8_t* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

// Eight pixels followed by eight white ones: the last group of a row whose
// width is an odd number of groups screens as a chunk with a white half.
ZEBL_SSE2_TARGET inline __m128i LoadHalf(const uint8_t* p) {
    return _mm_unpacklo_epi64(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)), _mm_set1_epi8(-1));
}

// Writes the plane bytes of a chunk's groups that are not all white (an
// all-white group leaves its byte as it was).
inline void StoreGroups(uint8_t* out, uint32_t dots, uint32_t white) {
    if ((white & kWhiteGroup) != kWhiteGroup) out[0] = kPlaneByte[dots & 0xFF];
    if ((white >> kGroup) != kWhiteGroup) out[1] = kPlaneByte[dots >> kGroup];
}

ZEBL_SSE2_TARGET inline uint32_t ScreenGreyChunk(__m128i pixels, const uint8_t* thresholds, uint8_t* out) {
    const uint32_t white = WhiteBits(pixels);
    if (white == kWhiteChunk) return 0;
    const uint32_t dots = DotBits(pixels, thresholds);
    StoreGroups(out, dots, white);
    return dots;
}

// Whether any of the eight bytes of a white mask (bit j: pixel j is white)
// is 0xFF, a group of eight white pixels.
inline bool AnyWhiteGroup(uint64_t white) {
    const uint64_t notWhite = ~white;  // a zero byte for each white group
    return ((notWhite - 0x0101010101010101ull) & ~notWhite & 0x8080808080808080ull) != 0;
}

// The eight plane bytes of 64 dot bits (pixel j in bit j), in memory order:
// each byte's bits reversed by three swaps (halves, pairs, single bits), all
// eight bytes at once, and inverted, as a dot is a 0.
inline uint64_t PlaneBytes64(uint64_t dots) {
    dots = (dots & 0x0F0F0F0F0F0F0F0Full) << 4 | (dots >> 4 & 0x0F0F0F0F0F0F0F0Full);
    dots = (dots & 0x3333333333333333ull) << 2 | (dots >> 2 & 0x3333333333333333ull);
    dots = (dots & 0x5555555555555555ull) << 1 | (dots >> 1 & 0x5555555555555555ull);
    return ~dots;
}

// Screens 64 grey pixels: all eight plane bytes in one store when no group
// is white, byte by byte around the white ones otherwise.
ZEBL_SSE2_TARGET inline uint32_t ScreenGreyBlock(const uint8_t* pixels, const uint8_t* thresholds,
                                                 uint8_t* out) {
    const __m128i p0 = Load128(pixels), p1 = Load128(pixels + 16);
    const __m128i p2 = Load128(pixels + 32), p3 = Load128(pixels + 48);
    const uint64_t white = uint64_t{WhiteBits(p0)} | uint64_t{WhiteBits(p1)} << 16 |
                           uint64_t{WhiteBits(p2)} << 32 | uint64_t{WhiteBits(p3)} << 48;
    if (white == ~uint64_t{0}) return 0;
    const uint64_t dots = uint64_t{DotBits(p0, thresholds)} | uint64_t{DotBits(p1, thresholds + 16)} << 16 |
                          uint64_t{DotBits(p2, thresholds + 32)} << 32 |
                          uint64_t{DotBits(p3, thresholds + 48)} << 48;
    const uint64_t bytes = PlaneBytes64(dots);
    if (!AnyWhiteGroup(white)) {
        std::memcpy(out, &bytes, sizeof bytes);
    } else {
        for (uint32_t g = 0; g < kBlock / kGroup; ++g) {
            if ((white >> (kGroup * g) & kWhiteGroup) != kWhiteGroup)
                out[g] = static_cast<uint8_t>(bytes >> (kGroup * g));
        }
    }
    return dots != 0 ? 1 : 0;
}

// Sixteen 32-bit pixels as four registers of sixteen bytes, one per ink.
struct InkChunk {
    __m128i yellow, magenta, cyan, black;
};

// Splits sixteen pixels (bytes yellow, magenta, cyan, black each) into one
// register per ink by three rounds of byte interleaving; after round r the
// bytes of each ink lie in runs of 2^r pixels.
ZEBL_SSE2_TARGET inline InkChunk SplitInks(__m128i a0, __m128i a1, __m128i a2, __m128i a3) {
    // Y0 Y4 M0 M4 C0 C4 K0 K4 Y1 Y5 ..., and likewise.
    const __m128i b0 = _mm_unpacklo_epi8(a0, a1), b1 = _mm_unpackhi_epi8(a0, a1);
    const __m128i b2 = _mm_unpacklo_epi8(a2, a3), b3 = _mm_unpackhi_epi8(a2, a3);
    // Y0 Y2 Y4 Y6 M0 M2 M4 M6 C0 ... K6; Y1 Y3 Y5 Y7 M1 ...
    const __m128i c0 = _mm_unpacklo_epi8(b0, b1), c1 = _mm_unpackhi_epi8(b0, b1);
    const __m128i c2 = _mm_unpacklo_epi8(b2, b3), c3 = _mm_unpackhi_epi8(b2, b3);
    // Y0..Y7 M0..M7; C0..C7 K0..K7; then pixels 8..15.
    const __m128i d0 = _mm_unpacklo_epi8(c0, c1), d1 = _mm_unpackhi_epi8(c0, c1);
    const __m128i d2 = _mm_unpacklo_epi8(c2, c3), d3 = _mm_unpackhi_epi8(c2, c3);
    return InkChunk{_mm_unpacklo_epi64(d0, d2), _mm_unpackhi_epi64(d0, d2), _mm_unpacklo_epi64(d1, d3),
                    _mm_unpackhi_epi64(d1, d3)};
}

// What ScreenColourChunk reports besides the planes with dots: the chunk
// was white.
constexpr uint32_t kChunkWasWhite = 1u << 4;
constexpr uint32_t kPlaneBits = kChunkWasWhite - 1;

static_assert(kBlock == kThresholdRun, "a white block skips one run of thresholds");

// Whether 64 colour pixels (256 bytes) are all white.
ZEBL_SSE2_TARGET inline bool WhiteColourBlock(const uint8_t* p) {
    __m128i all = Load128(p);
    for (uint32_t i = 16; i < 4 * kBlock; i += 16) all = _mm_and_si128(all, Load128(p + i));
    return WhiteBits(all) == kWhiteChunk;
}

// Screens one chunk of sixteen pixels (a0..a3, four each) into the four
// planes at byte g; returns the planes that received a dot, or
// kChunkWasWhite.
ZEBL_SSE2_TARGET inline PlanesWithDots ScreenColourChunk(__m128i a0, __m128i a1, __m128i a2, __m128i a3,
                                                         const ColourCursors& cursors,
                                                         const ColourRowOut& out, uint32_t g) {
    const uint32_t white = WhiteBits(_mm_and_si128(a0, a1)) | WhiteBits(_mm_and_si128(a2, a3)) << kChunk;
    constexpr uint32_t kWhiteFirst = 0xFFFF, kWhiteBoth = 0xFFFFFFFF;
    if (white == kWhiteBoth) return kChunkWasWhite;
    const InkChunk inks = SplitInks(a0, a1, a2, a3);
    const uint32_t c = DotBits(inks.cyan, cursors.cyan.here());
    const uint32_t m = DotBits(inks.magenta, cursors.magenta.here());
    const uint32_t k = DotBits(inks.black, cursors.black.here());
    const uint32_t y = DotBits(inks.yellow, cursors.yellow.here()) & ~(c & m & k);  // ink limit
    // Group white flags in the layout StoreGroups reads: 0xFF per white group.
    const uint32_t groupsWhite = ((white & kWhiteFirst) == kWhiteFirst ? kWhiteGroup : 0u) |
                                 ((white >> kChunk) == kWhiteFirst ? kWhiteGroup << kGroup : 0u);
    StoreGroups(out.cyan + g, c, groupsWhite);
    StoreGroups(out.magenta + g, m, groupsWhite);
    StoreGroups(out.yellow + g, y, groupsWhite);
    StoreGroups(out.black + g, k, groupsWhite);
    return (c ? 1u : 0u) | (m ? 2u : 0u) | (y ? 4u : 0u) | (k ? 8u : 0u);
}

}  // namespace

ZEBL_SSE2_KERNEL PlanesWithDots ScreenGreySse2(const GreyScreenJob& job) {
    ThresholdRow thresholds(*job.plane, job.firstRow);
    uint32_t dots = 0;
    for (uint32_t r = 0; r < job.rows; ++r) {
        const uint8_t* pixels = job.src + static_cast<size_t>(r) * job.pixelsPerRow;
        uint8_t* out = job.dst + static_cast<size_t>(r) * job.dstStride;
        ThresholdCursor blocks(thresholds, kBlock);
        uint32_t x = 0;
        for (; x + kBlock <= job.pixelsPerRow; x += kBlock, blocks.Advance())
            dots |= ScreenGreyBlock(pixels + x, blocks.here(), out + x / kGroup);
        ThresholdCursor cursor(thresholds, kChunk, x);
        for (; x + kChunk <= job.pixelsPerRow; x += kChunk, cursor.Advance())
            dots |= ScreenGreyChunk(Load128(pixels + x), cursor.here(), out + x / kGroup);
        if (x < job.pixelsPerRow)
            dots |= ScreenGreyChunk(LoadHalf(pixels + x), cursor.here(), out + x / kGroup);
        if (r + 1 < job.rows) thresholds.NextRow();
    }
    return dots ? 1 : 0;
}

ZEBL_SSE2_KERNEL PlanesWithDots ScreenColourSse2(const ColourScreenJob& job) {
    ColourThresholdRows thresholds(*job.screen, job.firstRow);
    const __m128i white = _mm_set1_epi8(-1);
    PlanesWithDots planes = 0;
    for (uint32_t r = 0; r < job.rows; ++r) {
        const uint8_t* pixels = job.src + static_cast<size_t>(r) * job.pixelsPerRow * 4;
        const ColourRowOut out(job, r);
        ColourCursors cursors(thresholds, kChunk);
        // Where the last chunk was white, the next 64 pixels are tested as a
        // whole and skipped when white: paper between drawn areas costs one
        // test instead of four, and dense areas are not tested at all.
        uint32_t x = 0;
        bool afterWhite = true;
        while (x + kChunk <= job.pixelsPerRow) {
            const uint8_t* p = pixels + 4 * x;
            if (afterWhite && x + kBlock <= job.pixelsPerRow && WhiteColourBlock(p)) {
                x += kBlock;
                cursors.SkipRun();
                continue;
            }
            const uint32_t chunk = ScreenColourChunk(Load128(p), Load128(p + 16), Load128(p + 32),
                                                     Load128(p + 48), cursors, out, x / kGroup);
            planes |= chunk & kPlaneBits;
            afterWhite = (chunk & kChunkWasWhite) != 0;
            x += kChunk;
            cursors.Advance();
        }
        if (x < job.pixelsPerRow) {
            const uint8_t* p = pixels + 4 * x;
            planes |= ScreenColourChunk(Load128(p), Load128(p + 16), white, white, cursors, out, x / kGroup) &
                      kPlaneBits;
        }
        if (r + 1 < job.rows) thresholds.NextRow();
    }
    return planes;
}

#endif  // ZEBL_HALFTONE_SSE2
