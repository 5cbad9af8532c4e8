// The AVX2 screening kernels: grey bands 64 pixels per step, colour bands
// 32 (all four inks at once). Each pixel is compared with its threshold by
// one unsigned minimum and one equality test, and one byte shuffle puts the
// results of every group of eight in plane order, so that a movemask gives
// finished plane bits: pixel 0 of a group in the most significant bit.
//
// The functions carry their own target, so that every x86 build compiles
// them; the screeners call them only where the processor has AVX2 and the
// system saves its registers (cpu_features.h).
#include "halftone_kernels.h"

#if ZEBL_HALFTONE_AVX2

#include <immintrin.h>

#include <cstring>

#include "colour_rows.h"
#include "threshold_row.h"

// The helpers are always inlined into the kernels, so that no vector is
// passed on the stack. The kernels realign the stack on entry in a 32-bit
// build, whose callers may keep only 4-byte alignment.
#define ZEBL_AVX2_TARGET __attribute__((target("avx2"), always_inline))
#if defined(__i386__)
#define ZEBL_AVX2_KERNEL __attribute__((target("avx2"), force_align_arg_pointer))
#else
#define ZEBL_AVX2_KERNEL __attribute__((target("avx2")))
#endif

namespace {

constexpr uint32_t kGroup = 8;         // pixels per plane byte
constexpr uint32_t kGreyStep = 64;     // grey pixels per step: eight plane bytes
constexpr uint32_t kColourStep = 32;   // colour pixels per step: four plane bytes per ink
constexpr uint32_t kColourBlock = 64;  // colour pixels per cursor move: two steps, or one test for paper
constexpr uint32_t kColourBytes = 4;   // bytes per colour pixel
constexpr uint32_t kAllWhite32 = ~0u;  // white bits of 32 white pixels
constexpr uint64_t kAllWhite64 = ~uint64_t{0};

static_assert(kGreyStep <= kThresholdRun, "a step reads one run of thresholds");
static_assert(kColourBlock == kThresholdRun, "a colour block reads one run of thresholds");

ZEBL_AVX2_TARGET inline __m256i Load256(const uint8_t* p) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}

// Bit j set when byte j is 0xFF, white paper.
ZEBL_AVX2_TARGET inline uint32_t WhiteBits(__m256i bytes) {
    return static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(bytes, _mm256_set1_epi8(-1))));
}

// The dots of 32 pixels in plane order: bit 7 - j of byte g is set when
// pixel 8g + j is at most its threshold. The compare gives pixel order; the
// shuffle reverses the bytes of every group of eight before the movemask.
ZEBL_AVX2_TARGET inline uint32_t PlaneDots(__m256i pixels, const uint8_t* thresholds) {
    const __m256i atMost = _mm256_cmpeq_epi8(_mm256_min_epu8(pixels, Load256(thresholds)), pixels);
    const __m256i groupsReversed = _mm256_setr_epi8(7, 6, 5, 4, 3, 2, 1, 0, 15, 14, 13, 12, 11, 10, 9, 8,  //
                                                    7, 6, 5, 4, 3, 2, 1, 0, 15, 14, 13, 12, 11, 10, 9, 8);
    return static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_shuffle_epi8(atMost, groupsReversed)));
}

// 0xFF in every byte of `white` that is 0xFF (a group of eight white pixels,
// whose plane byte stays as it was), 0 in the others: a byte's low seven
// bits plus one carry into its high bit only when they are all set.
template <typename Word>
constexpr Word WhiteGroups(Word white) {
    constexpr Word kOnes = static_cast<Word>(~Word{0} / 0xFF);  // 0x01 in every byte
    constexpr Word kLow7 = static_cast<Word>(kOnes * 0x7F);
    constexpr Word kHigh = static_cast<Word>(kOnes * 0x80);
    const Word full = static_cast<Word>(((white & kLow7) + kOnes) & white & kHigh);
    return static_cast<Word>((full >> 7) * 0xFF);
}

// Writes the first `groups` plane bytes of a step (all of them in the body
// of a row, fewer at its end) except those of white groups, which keep
// what the plane held.
template <typename Word>
inline void StoreGroups(uint8_t* out, Word dots, Word white, uint32_t groups) {
    Word bytes = static_cast<Word>(~dots);
    const Word keep = WhiteGroups(white);
    if (keep != 0) {
        Word held = 0;
        std::memcpy(&held, out, groups);
        bytes = static_cast<Word>((bytes & ~keep) | (held & keep));
    }
    std::memcpy(out, &bytes, groups);
}

// Screens 64 grey pixels into `groups` plane bytes; returns their dots.
ZEBL_AVX2_TARGET inline uint64_t ScreenGreyStep(const uint8_t* pixels, const uint8_t* thresholds,
                                                uint8_t* out, uint32_t groups) {
    const __m256i low = Load256(pixels), high = Load256(pixels + 32);
    const uint64_t white = uint64_t{WhiteBits(low)} | uint64_t{WhiteBits(high)} << 32;
    if (white == kAllWhite64) return 0;
    const uint64_t dots = uint64_t{PlaneDots(low, thresholds)} | uint64_t{PlaneDots(high, thresholds + 32)}
                                                                     << 32;
    StoreGroups(out, dots, white, groups);
    return dots;
}

// The last pixels of a row, fewer than a step, screened as a step padded
// with white (which takes no dot and leaves no byte written).
ZEBL_AVX2_TARGET inline uint64_t ScreenGreyTail(const uint8_t* pixels, uint32_t count,
                                                const uint8_t* thresholds, uint8_t* out) {
    alignas(32) uint8_t padded[kGreyStep];
    std::memset(padded, 0xFF, sizeof padded);
    std::memcpy(padded, pixels, count);
    return ScreenGreyStep(padded, thresholds, out, count / kGroup);
}

// 32 colour pixels as four registers of four pixels per lane: register i
// holds pixels 4i..4i+3 in its low lane and 16+4i..16+4i+3 in its high lane,
// so that the in-lane shuffles below split two runs of sixteen pixels side
// by side.
struct ColourPixels {
    __m256i a0, a1, a2, a3;
};

ZEBL_AVX2_TARGET inline __m256i LoadLanes(const uint8_t* low, const uint8_t* high) {
    const __m128i lowHalf = _mm_loadu_si128(reinterpret_cast<const __m128i*>(low));
    const __m128i highHalf = _mm_loadu_si128(reinterpret_cast<const __m128i*>(high));
    return _mm256_inserti128_si256(_mm256_castsi128_si256(lowHalf), highHalf, 1);
}

ZEBL_AVX2_TARGET inline ColourPixels LoadColourPixels(const uint8_t* p) {
    constexpr uint32_t kHalf = kColourStep / 2 * kColourBytes;  // the bytes of sixteen pixels
    return ColourPixels{LoadLanes(p, p + kHalf), LoadLanes(p + 16, p + kHalf + 16),
                        LoadLanes(p + 32, p + kHalf + 32), LoadLanes(p + 48, p + kHalf + 48)};
}

// The four inks of 32 pixels, one byte per pixel in pixel order.
struct InkBytes {
    __m256i yellow, magenta, cyan, black;
};

// Splits the pixels (bytes yellow, magenta, cyan, black each): one byte
// shuffle per register gathers each ink of its four pixels into one 32-bit
// word, and a 4 x 4 transpose of those words puts each ink's sixteen pixels
// of a lane in one register. The two lanes' halves of an ink are then
// pixels 0-15 and 16-31: one register in pixel order.
ZEBL_AVX2_TARGET inline InkBytes SplitInks(const ColourPixels& px) {
    const __m256i byInk = _mm256_setr_epi8(0, 4, 8, 12, 1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15,  //
                                           0, 4, 8, 12, 1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15);
    // Y0-3 M0-3 C0-3 K0-3; Y4-7 M4-7 ...; and pixels 8-15 likewise.
    const __m256i s0 = _mm256_shuffle_epi8(px.a0, byInk), s1 = _mm256_shuffle_epi8(px.a1, byInk);
    const __m256i s2 = _mm256_shuffle_epi8(px.a2, byInk), s3 = _mm256_shuffle_epi8(px.a3, byInk);
    // Y0-3 Y4-7 M0-3 M4-7; C0-3 C4-7 K0-3 K4-7; then pixels 8-15.
    const __m256i t0 = _mm256_unpacklo_epi32(s0, s1), t1 = _mm256_unpackhi_epi32(s0, s1);
    const __m256i t2 = _mm256_unpacklo_epi32(s2, s3), t3 = _mm256_unpackhi_epi32(s2, s3);
    return InkBytes{_mm256_unpacklo_epi64(t0, t2), _mm256_unpackhi_epi64(t0, t2),
                    _mm256_unpacklo_epi64(t1, t3), _mm256_unpackhi_epi64(t1, t3)};
}

// Whether 64 colour pixels (256 bytes) are all white.
ZEBL_AVX2_TARGET inline bool WhiteColourBlock(const uint8_t* p) {
    __m256i all = Load256(p);
    for (uint32_t i = 32; i < kColourBytes * kColourBlock; i += 32)
        all = _mm256_and_si256(all, Load256(p + i));
    return WhiteBits(all) == kAllWhite32;
}

// The dots each plane has received so far, in plane order (bit 7 - j of
// byte g: pixel 8g + j); only whether a plane has any is kept in the end.
struct ColourDots {
    uint32_t cyan = 0, magenta = 0, yellow = 0, black = 0;

    PlanesWithDots Planes() const {
        return (cyan ? 1u : 0u) | (magenta ? 2u : 0u) | (yellow ? 4u : 0u) | (black ? 8u : 0u);
    }
};

// Screens 32 colour pixels into `groups` bytes of each plane at byte g and
// adds their dots; false when the pixels were all white (nothing written).
// The pixels' thresholds start `run` thresholds into the cursors' run (0 or
// 32: the first or second step of a block).
ZEBL_AVX2_TARGET inline bool ScreenColourStep(const uint8_t* p, const ColourCursors& cursors, uint32_t run,
                                              const ColourRowOut& out, uint32_t g, uint32_t groups,
                                              ColourDots& dots) {
    const InkBytes inks = SplitInks(LoadColourPixels(p));
    const uint32_t white = WhiteBits(_mm256_and_si256(_mm256_and_si256(inks.yellow, inks.magenta),
                                                      _mm256_and_si256(inks.cyan, inks.black)));
    if (white == kAllWhite32) return false;
    const uint32_t c = PlaneDots(inks.cyan, cursors.cyan.here() + run);
    const uint32_t m = PlaneDots(inks.magenta, cursors.magenta.here() + run);
    const uint32_t k = PlaneDots(inks.black, cursors.black.here() + run);
    const uint32_t y = PlaneDots(inks.yellow, cursors.yellow.here() + run) & ~(c & m & k);  // ink limit
    StoreGroups(out.cyan + g, c, white, groups);
    StoreGroups(out.magenta + g, m, white, groups);
    StoreGroups(out.yellow + g, y, white, groups);
    StoreGroups(out.black + g, k, white, groups);
    dots.cyan |= c, dots.magenta |= m, dots.yellow |= y, dots.black |= k;
    return true;
}

// The last pixels of a row, fewer than a step, padded with white.
ZEBL_AVX2_TARGET inline void ScreenColourTail(const uint8_t* p, uint32_t count, const ColourCursors& cursors,
                                              uint32_t run, const ColourRowOut& out, uint32_t g,
                                              ColourDots& dots) {
    alignas(32) uint8_t padded[kColourStep * kColourBytes];
    std::memset(padded, 0xFF, sizeof padded);
    std::memcpy(padded, p, size_t{count} * kColourBytes);
    ScreenColourStep(padded, cursors, run, out, g, count / kGroup, dots);
}

// The end of a row, fewer than a block: a whole step and what is left.
ZEBL_AVX2_TARGET inline void ScreenColourRowEnd(const uint8_t* p, uint32_t count,
                                                const ColourCursors& cursors, const ColourRowOut& out,
                                                uint32_t g, ColourDots& dots) {
    uint32_t run = 0;
    if (count >= kColourStep) {
        ScreenColourStep(p, cursors, run, out, g, kColourStep / kGroup, dots);
        p += kColourStep * kColourBytes, count -= kColourStep, g += kColourStep / kGroup, run = kColourStep;
    }
    if (count > 0) ScreenColourTail(p, count, cursors, run, out, g, dots);
}

}  // namespace

ZEBL_AVX2_KERNEL PlanesWithDots ScreenGreyAvx2(const GreyScreenJob& job) {
    ThresholdRow thresholds(*job.plane, job.firstRow);
    const uint32_t width = job.pixelsPerRow;  // a local: the plane stores may alias the job
    uint64_t dots = 0;
    for (uint32_t r = 0; r < job.rows; ++r) {
        const uint8_t* pixels = job.src + static_cast<size_t>(r) * width;
        uint8_t* out = job.dst + static_cast<size_t>(r) * job.dstStride;
        ThresholdCursor cursor(thresholds, kGreyStep);
        uint32_t x = 0;
        for (; x + kGreyStep <= width; x += kGreyStep, cursor.Advance())
            dots |= ScreenGreyStep(pixels + x, cursor.here(), out + x / kGroup, kGreyStep / kGroup);
        if (x < width) dots |= ScreenGreyTail(pixels + x, width - x, cursor.here(), out + x / kGroup);
        if (r + 1 < job.rows) thresholds.NextRow();
    }
    return dots != 0 ? 1 : 0;
}

ZEBL_AVX2_KERNEL PlanesWithDots ScreenColourAvx2(const ColourScreenJob& job) {
    ColourThresholdRows thresholds(*job.screen, job.firstRow);
    const uint32_t width = job.pixelsPerRow;  // a local: the plane stores may alias the job
    ColourDots dots;
    for (uint32_t r = 0; r < job.rows; ++r) {
        const uint8_t* pixels = job.src + static_cast<size_t>(r) * width * kColourBytes;
        const ColourRowOut out(job, r);
        ColourCursors cursors(thresholds, kColourBlock);
        // Where the last step was white, the next block is tested as a whole
        // and skipped when white: paper between drawn areas costs one test
        // instead of two steps, and dense areas are not tested at all.
        uint32_t x = 0;
        bool afterWhite = true;
        for (; x + kColourBlock <= width; x += kColourBlock, cursors.Advance()) {
            const uint8_t* p = pixels + size_t{x} * kColourBytes;
            if (afterWhite && WhiteColourBlock(p)) continue;
            const uint32_t g = x / kGroup;
            ScreenColourStep(p, cursors, 0, out, g, kColourStep / kGroup, dots);
            afterWhite = !ScreenColourStep(p + kColourStep * kColourBytes, cursors, kColourStep, out,
                                           g + kColourStep / kGroup, kColourStep / kGroup, dots);
        }
        if (x < width)
            ScreenColourRowEnd(pixels + size_t{x} * kColourBytes, width - x, cursors, out, x / kGroup, dots);
        if (r + 1 < job.rows) thresholds.NextRow();
    }
    return dots.Planes();
}

#endif  // ZEBL_HALFTONE_AVX2
