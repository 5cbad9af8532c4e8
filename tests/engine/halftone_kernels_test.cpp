// The screening kernels against each other and against the per-pixel
// reference: every matrix set, random bands of several kinds, odd widths,
// first rows, strides and plane offsets. The planes start out patterned, so
// a kernel that writes an all-white group (or misses a drawn one) shows.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include "halftone_test_support.h"
#include "random_band.h"

namespace {

using halftone_test::BandContent;

constexpr uint8_t kPattern = 0xA5;

struct MatrixSet {
    uint32_t screenClass;
    uint32_t resolution;
};

const MatrixSet kMatrixSets[] = {
    {kScreenNormal, 600}, {kScreenText, 600}, {kScreenPhoto, 600}, {kScreenNormal, 1200}, {kScreenText, 300}};

// Band shapes: widths that are odd numbers of groups or of chunks, and
// widths that are no multiple of any matrix width, at page rows that are
// no multiple of any matrix height.
struct Shape {
    uint32_t width, rows, firstRow, extraStride, extraPlaneOffset;
};

const Shape kShapes[] = {
    {8, 3, 0, 0, 0},
    {16, 2, 5, 1, 3},
    {24, 5, 95, 0, 1},
    {40, 7, 119, 2, 0},
    {8 * 41, 13, 12345, 0, 7},
    {4960, 4, 7013, 0, 0},
    {1000, 9, 4000000001u, 3, 5},
    {400, 3, 1199, 0, 2},  // rows end in sixteen pixels after whole colour and grey steps
    {504, 6, 31, 1, 0},    // rows end in 24 colour pixels, 56 grey ones
};

struct Planes {
    std::vector<uint8_t> bytes;
    uint8_t blank[4];
    int result;
};

FBScreen ScreenWith(const MatrixSet& set, bool colour, FBScreenKernel kernel) {
    static int colourHandle = 0;
    FBScreen screen;
    FBMaskInitialize(&screen, set.screenClass, set.resolution, colour ? &colourHandle : nullptr);
    screen.kernel = kernel;
    return screen;
}

Planes ScreenGrey(const FBScreen& screen, const Shape& shape, const std::vector<uint8_t>& src) {
    const uint32_t stride = shape.width / 8 + shape.extraStride;
    Planes planes{std::vector<uint8_t>(size_t{stride} * shape.rows, kPattern), {}, 0};
    planes.result = MaskBand8(&screen, planes.bytes.data(), stride, src.data(), shape.firstRow, shape.width,
                              shape.rows, planes.blank);
    return planes;
}

Planes ScreenColour(const FBScreen& screen, const Shape& shape, const std::vector<uint8_t>& src) {
    const uint32_t stride = shape.width / 8 + shape.extraStride;
    const uint32_t planeOffset = stride * shape.rows + shape.extraPlaneOffset;
    Planes planes{std::vector<uint8_t>(size_t{planeOffset} * 4, kPattern), {}, 0};
    planes.result = MaskBand32(&screen, planes.bytes.data(), planeOffset, stride, src.data(), shape.firstRow,
                               shape.width, shape.rows, planes.blank);
    return planes;
}

Planes ReferenceGrey(const FBScreen& screen, const Shape& shape, const std::vector<uint8_t>& src) {
    const uint32_t stride = shape.width / 8 + shape.extraStride;
    Planes planes{std::vector<uint8_t>(size_t{stride} * shape.rows, kPattern), {}, 1};
    halftone_test::ReferenceMaskBand8(screen, planes.bytes.data(), stride, src.data(), shape.firstRow,
                                      shape.width, shape.rows, planes.blank);
    return planes;
}

Planes ReferenceColour(const FBScreen& screen, const Shape& shape, const std::vector<uint8_t>& src) {
    const uint32_t stride = shape.width / 8 + shape.extraStride;
    const uint32_t planeOffset = stride * shape.rows + shape.extraPlaneOffset;
    Planes planes{std::vector<uint8_t>(size_t{planeOffset} * 4, kPattern), {}, 1};
    halftone_test::ReferenceMaskBand32(screen, planes.bytes.data(), planeOffset, stride, src.data(),
                                       shape.firstRow, shape.width, shape.rows, planes.blank);
    return planes;
}

// The first differing byte, for a readable failure.
std::string FirstDifference(const Planes& got, const Planes& want) {
    for (size_t i = 0; i < want.bytes.size(); ++i) {
        if (got.bytes[i] != want.bytes[i])
            return "byte " + std::to_string(i) + ": " + std::to_string(got.bytes[i]) + " instead of " +
                   std::to_string(want.bytes[i]);
    }
    if (std::memcmp(got.blank, want.blank, 4) != 0) return "blank flags differ";
    return "";
}

class ScreenKernels : public ::testing::TestWithParam<std::tuple<FBScreenKernel, MatrixSet, BandContent>> {
protected:
    void SetUp() override {
        if (!FBScreenKernelRuns(kernel())) GTEST_SKIP() << "this processor cannot run the kernel";
    }
    FBScreenKernel kernel() const { return std::get<0>(GetParam()); }
    const MatrixSet& set() const { return std::get<1>(GetParam()); }
    BandContent content() const { return std::get<2>(GetParam()); }
    uint32_t Seed(const Shape& shape) const {
        return shape.width * 31 + shape.firstRow + static_cast<uint32_t>(content()) * 7919;
    }
};

TEST_P(ScreenKernels, GreyBandsMatchTheReference) {
    const FBScreen screen = ScreenWith(set(), false, kernel());
    for (const Shape& shape : kShapes) {
        SCOPED_TRACE(::testing::Message()
                     << shape.width << " x " << shape.rows << " at row " << shape.firstRow);
        const std::vector<uint8_t> src =
            halftone_test::RandomBand(content(), size_t{shape.width} * shape.rows, Seed(shape));
        const Planes got = ScreenGrey(screen, shape, src);
        ASSERT_EQ(got.result, 1);
        EXPECT_EQ(FirstDifference(got, ReferenceGrey(screen, shape, src)), "");
    }
}

TEST_P(ScreenKernels, ColourBandsMatchTheReference) {
    const FBScreen screen = ScreenWith(set(), true, kernel());
    for (const Shape& shape : kShapes) {
        SCOPED_TRACE(::testing::Message()
                     << shape.width << " x " << shape.rows << " at row " << shape.firstRow);
        const std::vector<uint8_t> src =
            halftone_test::RandomBand(content(), size_t{shape.width} * shape.rows * 4, Seed(shape));
        const Planes got = ScreenColour(screen, shape, src);
        ASSERT_EQ(got.result, 1);
        EXPECT_EQ(FirstDifference(got, ReferenceColour(screen, shape, src)), "");
    }
}

std::string KernelName(FBScreenKernel kernel) {
    switch (kernel) {
        case FBScreenKernel::Portable: return "Portable";
        case FBScreenKernel::Sse2: return "Sse2";
        case FBScreenKernel::Avx2: return "Avx2";
    }
    return "Unknown";
}

const FBScreenKernel kVectorKernels[] = {FBScreenKernel::Sse2, FBScreenKernel::Avx2};

INSTANTIATE_TEST_SUITE_P(AllSets, ScreenKernels,
                         ::testing::Combine(::testing::Values(FBScreenKernel::Portable, FBScreenKernel::Sse2,
                                                              FBScreenKernel::Avx2),
                                            ::testing::ValuesIn(kMatrixSets),
                                            ::testing::Values(BandContent::Noise, BandContent::SpotsOnWhite,
                                                              BandContent::FlatRuns, BandContent::Extremes)),
                         [](const auto& param) {
                             const MatrixSet& set = std::get<1>(param.param);
                             return KernelName(std::get<0>(param.param)) + "_class" +
                                    std::to_string(set.screenClass) + "_" + std::to_string(set.resolution) +
                                    "_" + halftone_test::ContentName(std::get<2>(param.param));
                         });

// A kernel this processor runs (the others are skipped).
class RunnableKernel : public ::testing::TestWithParam<FBScreenKernel> {
protected:
    void SetUp() override {
        if (!FBScreenKernelRuns(GetParam())) GTEST_SKIP() << "this processor cannot run the kernel";
    }
};

// Bands made to a plan: byteOf(row, pixel, byte of the pixel).
template <typename ByteOf>
std::vector<uint8_t> PlannedBand(const Shape& shape, uint32_t bytesPerPixel, ByteOf byteOf) {
    std::vector<uint8_t> band;
    for (uint32_t r = 0; r < shape.rows; ++r) {
        for (uint32_t x = 0; x < shape.width; ++x) {
            for (uint32_t i = 0; i < bytesPerPixel; ++i) band.push_back(byteOf(r, x, i));
        }
    }
    return band;
}

// Where the vector kernels put pixels and groups: in steps of 16, 32 and 64
// pixels, split into lanes and gathered back by masks.
class KernelLayouts : public RunnableKernel {
protected:
    void ExpectBothBandsMatchTheReference(const Shape& shape, const std::vector<uint8_t>& grey,
                                          const std::vector<uint8_t>& colour) const {
        const FBScreen greyScreen = ScreenWith(kMatrixSets[0], false, GetParam());
        const FBScreen colourScreen = ScreenWith(kMatrixSets[0], true, GetParam());
        EXPECT_EQ(
            FirstDifference(ScreenGrey(greyScreen, shape, grey), ReferenceGrey(greyScreen, shape, grey)), "");
        EXPECT_EQ(FirstDifference(ScreenColour(colourScreen, shape, colour),
                                  ReferenceColour(colourScreen, shape, colour)),
                  "");
    }
};

// Row r < 16 has its group r white among inked ones, row 16 + r its group r
// inked among white ones: every group place of a step, white or not.
TEST_P(KernelLayouts, EveryGroupOfAStepMayBeWhite) {
    const Shape shape{128, 32, 3, 0, 0};
    const auto byteOf = [](uint32_t r, uint32_t x, uint32_t i) {
        const bool groupIsRows = x / 8 == r % 16;
        const bool white = r < 16 ? groupIsRows : !groupIsRows;
        return white ? uint8_t{255} : static_cast<uint8_t>((x * 37 + r * 11 + i * 101) % 255);
    };
    ExpectBothBandsMatchTheReference(shape, PlannedBand(shape, 1, byteOf), PlannedBand(shape, 4, byteOf));
}

// Row r has one pixel of full ink on white: pixel r mod 64, in ink r / 64 of
// a colour band. Full ink takes a dot under every threshold, so each row
// shows where that pixel's dot lands.
TEST_P(KernelLayouts, EachPixelOfAStepLandsOnItsOwnDot) {
    const Shape shape{64, 256, 0, 0, 0};
    const auto byteOf = [](uint32_t r, uint32_t x, uint32_t i) {
        return x == r % 64 && i == r / 64 ? uint8_t{0} : uint8_t{255};
    };
    ExpectBothBandsMatchTheReference(shape, PlannedBand(shape, 1, byteOf), PlannedBand(shape, 4, byteOf));
}

INSTANTIATE_TEST_SUITE_P(EveryKernel, KernelLayouts,
                         ::testing::Values(FBScreenKernel::Portable, FBScreenKernel::Sse2,
                                           FBScreenKernel::Avx2),
                         [](const auto& param) { return KernelName(param.param); });

// Each vector kernel against the portable one on one page's worth of bands,
// band after band, as band output calls them: the same planes and the same
// blank flags.
class VectorKernels : public RunnableKernel {};

TEST_P(VectorKernels, AgreeWithThePortableKernelBandAfterBand) {
    const Shape band{4960, 64, 0, 0, 0};
    for (const MatrixSet& set : kMatrixSets) {
        for (uint32_t b = 0; b < 4; ++b) {
            SCOPED_TRACE(::testing::Message()
                         << "band " << b << ", class " << set.screenClass << " at " << set.resolution);
            const Shape shape{band.width, band.rows, b * band.rows, 0, 0};
            const std::vector<uint8_t> colour = halftone_test::RandomBand(
                BandContent::SpotsOnWhite, size_t{shape.width} * shape.rows * 4, b + 1);
            EXPECT_EQ(
                FirstDifference(ScreenColour(ScreenWith(set, true, GetParam()), shape, colour),
                                ScreenColour(ScreenWith(set, true, FBScreenKernel::Portable), shape, colour)),
                "");
            const std::vector<uint8_t> grey =
                halftone_test::RandomBand(BandContent::SpotsOnWhite, size_t{shape.width} * shape.rows, b + 5);
            EXPECT_EQ(
                FirstDifference(ScreenGrey(ScreenWith(set, false, GetParam()), shape, grey),
                                ScreenGrey(ScreenWith(set, false, FBScreenKernel::Portable), shape, grey)),
                "");
        }
    }
}

INSTANTIATE_TEST_SUITE_P(EveryVectorKernel, VectorKernels, ::testing::ValuesIn(kVectorKernels),
                         [](const auto& param) { return KernelName(param.param); });

TEST(ScreenKernelChoice, SetUpTakesTheFastestKernelThatRuns) {
    EXPECT_TRUE(FBScreenKernelRuns(FBScreenKernel::Portable));
    EXPECT_TRUE(FBScreenKernelRuns(FBBestScreenKernel()));
#if defined(__x86_64__)
    EXPECT_TRUE(FBScreenKernelRuns(FBScreenKernel::Sse2));  // every 64-bit x86 processor has SSE2
#endif
    const FBScreenKernel fastestFirst[] = {FBScreenKernel::Avx2, FBScreenKernel::Sse2,
                                           FBScreenKernel::Portable};
    for (FBScreenKernel kernel : fastestFirst) {
        if (FBScreenKernelRuns(kernel)) {
            EXPECT_EQ(FBBestScreenKernel(), kernel) << KernelName(kernel);
            break;
        }
    }
    FBScreen screen;
    ASSERT_EQ(FBMaskInitialize(&screen, kScreenNormal, 600, nullptr), 1);
    EXPECT_EQ(screen.kernel, FBBestScreenKernel());
}

#if defined(__linux__) && (defined(__x86_64__) || defined(__i386__))
// Linux lists avx2 among the processor's flags only where the processor has
// it and the system saves the 256-bit registers, the two conditions the
// screeners ask for themselves.
TEST(ScreenKernelChoice, Avx2RunsWhereTheSystemListsIt) {
    std::ifstream cpuinfo("/proc/cpuinfo");
    std::string line;
    while (std::getline(cpuinfo, line) && line.rfind("flags", 0) != 0) {
    }
    if (line.empty()) GTEST_SKIP() << "no processor flags in /proc/cpuinfo";
    const bool listed = (line + " ").find(" avx2 ") != std::string::npos;
    EXPECT_EQ(FBScreenKernelRuns(FBScreenKernel::Avx2), listed);
}
#endif

// A record that names a kernel the processor cannot run, or no known kernel
// at all, still screens (with the portable one) and gives the same bits.
TEST(ScreenKernelChoice, AnUnknownKernelScreensPortably) {
    const Shape shape{40, 7, 3, 0, 0};
    const std::vector<uint8_t> src = halftone_test::RandomBand(BandContent::Noise, 40 * 7, 11);
    const FBScreen portable = ScreenWith(kMatrixSets[0], false, FBScreenKernel::Portable);
    const FBScreen unknown = ScreenWith(kMatrixSets[0], false, static_cast<FBScreenKernel>(77));
    EXPECT_FALSE(FBScreenKernelRuns(static_cast<FBScreenKernel>(77)));
    EXPECT_EQ(FirstDifference(ScreenGrey(unknown, shape, src), ScreenGrey(portable, shape, src)), "");
}

#if defined(__i386__)
namespace stack_alignment {

// The spooler calls the library with a stack that need only be 4-byte
// aligned, while SSE2 spills and stack operands want 16 bytes (AVX2 ones
// 32): the vector kernels must realign on entry.
std::vector<uint8_t> g_greyPlanes, g_colourPlanes;
FBScreenKernel g_kernel = FBScreenKernel::Portable;

void ScreenOneBandOfEach() {
    const Shape shape{1000, 9, 7, 0, 0};
    const std::vector<uint8_t> grey = halftone_test::RandomBand(BandContent::Noise, 1000 * 9, 5);
    const std::vector<uint8_t> colour = halftone_test::RandomBand(BandContent::Noise, 1000 * 9 * 4, 6);
    g_greyPlanes = ScreenGrey(ScreenWith(kMatrixSets[0], false, g_kernel), shape, grey).bytes;
    g_colourPlanes = ScreenColour(ScreenWith(kMatrixSets[0], true, g_kernel), shape, colour).bytes;
}

// Calls fn with the stack pointer 4 bytes off the 16-byte alignment that
// code of this compiler keeps for its own calls.
void CallWithMisalignedStack(void (*fn)()) {
    asm volatile(
        "movl %%esp, %%esi\n\t"
        "andl $-16, %%esp\n\t"
        "subl $8, %%esp\n\t"
        "call *%0\n\t"
        "movl %%esi, %%esp\n\t"
        :
        : "r"(fn)
        : "esi", "eax", "ecx", "edx", "memory", "cc");
}

TEST_P(VectorKernels, RunOnAStackOnlyFourByteAligned) {
    g_kernel = GetParam();
    ScreenOneBandOfEach();
    const std::vector<uint8_t> grey = g_greyPlanes, colour = g_colourPlanes;
    g_greyPlanes.clear(), g_colourPlanes.clear();
    CallWithMisalignedStack(ScreenOneBandOfEach);
    EXPECT_EQ(g_greyPlanes, grey);
    EXPECT_EQ(g_colourPlanes, colour);
}

}  // namespace stack_alignment
#endif

}  // namespace
