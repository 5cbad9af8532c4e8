#include "halftone.h"

#include <cstring>
#include <initializer_list>

#include "cpu_features.h"
#include "halftone_kernels.h"
#include "threshold_matrices.h"

const uint32_t adwMaskInfoTbl600[3][12] = {
    {96, 80, 80, 64, 96, 80, 80, 64, 9216, 6400, 6400, 4096},  // normal
    {24, 24, 24, 24, 24, 24, 24, 24, 576, 576, 576, 576},      // text
    {12, 12, 12, 12, 12, 12, 12, 12, 144, 144, 144, 144},      // photo
};

const uint32_t adwMaskInfoTbl1200[12] = {120, 116, 116, 98, 120, 116, 116, 98, 14400, 13456, 13456, 9604};

namespace {

// The matrices of each set, in plane order black, cyan, magenta, yellow.
const uint8_t* const kNormal600Tables[4] = {MaskNormal600K, MaskNormal600C, MaskNormal600M, MaskNormal600Y};
const uint8_t* const kText600Tables[4] = {MaskText600K, MaskText600C, MaskText600M, MaskText600Y};
const uint8_t* const kPhoto600Tables[4] = {MaskPhoto600K, MaskPhoto600C, MaskPhoto600M, MaskPhoto600Y};
const uint8_t* const k1200Tables[4] = {Mask1200K, Mask1200C, Mask1200M, Mask1200Y};

constexpr uint32_t kGroup = 8;  // pixels per plane byte

struct MatrixSet {
    const uint32_t* info;  // widths K C M Y, heights K C M Y, sizes K C M Y
    const uint8_t* const* tables;
};

MatrixSet SelectMatrixSet(uint32_t screenClass, uint32_t resolution) {
    if (resolution == 1200) return {adwMaskInfoTbl1200, k1200Tables};
    switch (screenClass) {
        case kScreenNormal: return {adwMaskInfoTbl600[0], kNormal600Tables};
        case kScreenText: return {adwMaskInfoTbl600[1], kText600Tables};
        default: return {adwMaskInfoTbl600[2], kPhoto600Tables};
    }
}

void SetPlane(FBScreen* screen, uint32_t plane, const MatrixSet& set) {
    screen->plane[plane] =
        FBScreenPlane{set.info[plane], set.info[4 + plane], set.info[8 + plane], set.tables[plane]};
}

// A plane the kernels can walk: the row buffer holds a full matrix row plus
// a run of thresholds (threshold_row.h).
bool IsUsable(const FBScreenPlane& plane) {
    return plane.table != nullptr && plane.width >= kGroup && plane.width <= kMaxMaskWidth &&
           plane.height > 0 && plane.size == uint64_t{plane.width} * plane.height;
}

// Whether the screen record chose this kernel and the processor runs it.
bool Uses(const FBScreen& screen, FBScreenKernel kernel) {
    return screen.kernel == kernel && FBScreenKernelRuns(kernel);
}

PlanesWithDots ScreenGrey(const FBScreen& screen, const GreyScreenJob& job) {
#if ZEBL_HALFTONE_AVX2
    if (Uses(screen, FBScreenKernel::Avx2)) return ScreenGreyAvx2(job);
#endif
#if ZEBL_HALFTONE_SSE2
    if (Uses(screen, FBScreenKernel::Sse2)) return ScreenGreySse2(job);
#else
    (void)screen;
#endif
    return ScreenGreyPortable(job);
}

PlanesWithDots ScreenColour(const ColourScreenJob& job) {
#if ZEBL_HALFTONE_AVX2
    if (Uses(*job.screen, FBScreenKernel::Avx2)) return ScreenColourAvx2(job);
#endif
#if ZEBL_HALFTONE_SSE2
    if (Uses(*job.screen, FBScreenKernel::Sse2)) return ScreenColourSse2(job);
#endif
    return ScreenColourPortable(job);
}

void MarkAllBlank(uint8_t* blank) {
    if (blank) std::memset(blank, 1, 4);
}

}  // namespace

int FBMaskInitialize(FBScreen* screen, uint32_t screenClass, uint32_t resolution, void* colourHandle) {
    if (!screen) return 0;
    *screen = FBScreen{};
    screen->screenClass = screenClass;
    screen->resolution = resolution;
    screen->colourHandle = colourHandle;
    const MatrixSet set = SelectMatrixSet(screenClass, resolution);
    const uint32_t planes = colourHandle ? 4 : 1;
    for (uint32_t plane = 0; plane < planes; ++plane) SetPlane(screen, plane, set);
    screen->kernel = FBBestScreenKernel();
    return 1;
}

void FBMaskDestroy(FBScreen* screen) {
    if (screen) *screen = FBScreen{};
}

FBScreenKernel FBBestScreenKernel() {
    // Fastest first; the answers of the processor are asked once and kept.
    for (FBScreenKernel kernel : {FBScreenKernel::Avx2, FBScreenKernel::Sse2}) {
        if (FBScreenKernelRuns(kernel)) return kernel;
    }
    return FBScreenKernel::Portable;
}

bool FBScreenKernelRuns(FBScreenKernel kernel) {
    switch (kernel) {
        case FBScreenKernel::Portable: return true;
        case FBScreenKernel::Sse2: return ZEBL_HALFTONE_SSE2 && CpuHasSse2();
        case FBScreenKernel::Avx2: return ZEBL_HALFTONE_AVX2 && CpuHasAvx2();
    }
    return false;
}

// Every group of eight pixels that is not all white gets its plane byte
// written: bit 7 - j is 0 (dot) when pixel j's whiteness is at most its
// threshold. A whiteness of 255 never gets a dot: the thresholds are capped at
// 254 when a row is loaded, so a white pixel next to a drawn one stays as
// white as a pixel in an all-white group.
int MaskBand8(const FBScreen* screen, uint8_t* dst, uint32_t dstStride, const uint8_t* src, uint32_t firstRow,
              uint32_t pixelsPerRow, uint32_t rows, uint8_t* blank) {
    MarkAllBlank(blank);
    if (!screen || !dst || !src || !blank || pixelsPerRow % kGroup != 0 ||
        !IsUsable(screen->plane[kScreenBlack]))
        return 0;
    const GreyScreenJob job{&screen->plane[kScreenBlack], dst, dstStride, src, firstRow, pixelsPerRow, rows};
    if (ScreenGrey(*screen, job)) blank[0] = 0;
    return 1;
}

int MaskBand32(const FBScreen* screen, uint8_t* dst, uint32_t planeOffset, uint32_t dstStride,
               const uint8_t* src, uint32_t firstRow, uint32_t pixelsPerRow, uint32_t rows, uint8_t* blank) {
    MarkAllBlank(blank);
    if (!screen || !dst || !src || !blank || !screen->colourHandle || pixelsPerRow % kGroup != 0) return 0;
    for (const FBScreenPlane& plane : screen->plane) {
        if (!IsUsable(plane)) return 0;
    }
    const ColourScreenJob job{screen, dst, planeOffset, dstStride, src, firstRow, pixelsPerRow, rows};
    const PlanesWithDots planes = ScreenColour(job);
    for (uint32_t i = 0; i < 4; ++i) blank[i] = (planes >> i) & 1u ? 0 : 1;
    return 1;
}
