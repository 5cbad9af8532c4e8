// Halftone screening: turns a played and colour-converted band into 1-bit
// printer planes by comparing every pixel with a threshold matrix.
//
// Input pixels are whiteness (255 = no ink): one byte per pixel in a grey
// band; in a colour band four bytes per pixel, byte 0 yellow, 1 magenta,
// 2 cyan, 3 black. Output planes hold 1 bit per dot, most significant bit
// first, 0 = dot. The caller fills the planes with 0xFF first; groups of eight
// all-white pixels leave their plane byte as it was.
//
// A pixel x (counted from the left edge of the band row) in page row y uses
// the threshold M[y mod height][x mod width] of its ink's matrix, so the
// screens are anchored to the page's rows and continue across bands.
#pragma once

#include <cstdint>

// One ink's threshold matrix.
struct FBScreenPlane {
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t size = 0;               // width * height
    const uint8_t* table = nullptr;  // rows of width thresholds
};

// Indices into FBScreen::plane. A grey device uses the black plane only.
enum : uint32_t { kScreenBlack = 0, kScreenCyan = 1, kScreenMagenta = 2, kScreenYellow = 3 };

// Screen classes. Any class other than normal and text screens as photo.
enum : uint32_t { kScreenNormal = 0, kScreenText = 1, kScreenPhoto = 2 };

// The screening kernels: the portable ones, and those with SSE2 or AVX2
// instructions (x86 processors that have them). All give the same bits.
enum class FBScreenKernel : uint32_t { Portable = 0, Sse2 = 1, Avx2 = 2 };

// The screening set-up of one page.
struct FBScreen {
    FBScreenPlane plane[4];        // black, cyan, magenta, yellow
    void* colourHandle = nullptr;  // non-null: a colour device with four planes
    uint32_t screenClass = 0;
    uint32_t resolution = 0;  // 1200 selects the 1200-dpi matrices
    // Chosen by FBMaskInitialize; a kernel this processor cannot run screens
    // with the portable one.
    FBScreenKernel kernel = FBScreenKernel::Portable;
};

// The fastest kernel this processor runs, decided once per process.
FBScreenKernel FBBestScreenKernel();

// Whether the kernel can run here (the portable one always can).
bool FBScreenKernelRuns(FBScreenKernel kernel);

// Geometry of the matrices, one row per screen class (normal, text, photo) at
// 600 dpi and one row at 1200 dpi: widths K C M Y, heights K C M Y, sizes K C M Y.
extern const uint32_t adwMaskInfoTbl600[3][12];
extern const uint32_t adwMaskInfoTbl1200[12];

// The widest matrix; the screeners' row buffers are sized from it.
constexpr uint32_t kMaxMaskWidth = 120;

// Fills the screen record for a page: its class, the band resolution (1200
// when a 600-dpi page prints at 1200 dpi), whether the device is colour, and
// the fastest kernel.
// Returns 1, or 0 when screen is null.
int FBMaskInitialize(FBScreen* screen, uint32_t screenClass, uint32_t resolution, void* colourHandle);

// Releases a screen record (the matrices are constant; the record is cleared).
void FBMaskDestroy(FBScreen* screen);

// Screens `rows` rows of an 8-bit band (rows of pixelsPerRow pixels back to
// back) whose first row is page row firstRow into one plane; dst row r starts
// at dst + r * dstStride. blank[0..3] become 1, and blank[0] 0 when the plane
// received a dot. Returns 1, or 0 (nothing written, all blank) when the screen
// is not set up or pixelsPerRow is not a multiple of 8.
int MaskBand8(const FBScreen* screen, uint8_t* dst, uint32_t dstStride, const uint8_t* src, uint32_t firstRow,
              uint32_t pixelsPerRow, uint32_t rows, uint8_t* blank);

// Screens `rows` rows of a 32-bit band into four planes planeOffset bytes
// apart, in the order cyan, magenta, yellow, black; blank[i] is 0 when plane i
// of that order received a dot. Where all four inks would get a dot, the
// yellow dot is dropped (ink limit). Returns 1, or 0 (nothing written, all
// blank) when the screen is not a colour set-up or pixelsPerRow is not a
// multiple of 8.
int MaskBand32(const FBScreen* screen, uint8_t* dst, uint32_t planeOffset, uint32_t dstStride,
               const uint8_t* src, uint32_t firstRow, uint32_t pixelsPerRow, uint32_t rows, uint8_t* blank);
