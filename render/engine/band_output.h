// Band output: cuts a played and colour-converted rendering band into
// physical bands, screens each into printer planes, and hands every plane
// that holds a dot to a plane sink (the print pipeline compresses it and
// writes it as part of a band record).
//
// For each physical band (physHeight lines, physWidthBytes x 8 dots wide):
//   pixels   <- converted, when the band leaves its colour conversion to
//               band output (its drawn rows only, see FBPixelConversion)
//   planes   <- 0xFF, then the screened rows (one plane grey; cyan,
//               magenta, yellow, black colour)
//   for each plane with a dot, in that order: the sink takes it, told
//   whether it is the first and the last plane of its physical band and
//   whether the band's rows hold only text and lines.
//   A physical band without dots reaches the sink not at all.
// A grey band given as one-bit planes (bitPlanes) skips the conversion and
// the screening: each physical band's plane goes to the sink as it is, or
// doubled in the 600 x 1200 mode.
//
// A page wider than the printer's band is cut at the band's right edge: the
// printer cannot print beyond it, and the planes have no room for it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "formats/plane_ids.h"
#include "halftone.h"

// Channel identifiers of the colour planes in screening order: cyan 1,
// magenta 2, yellow 3, black 4 (formats/plane_ids.h). A grey page sends its
// plane as black.
extern const uint8_t ChannelIDTbl[4];
constexpr uint8_t kGreyPlaneChannel = kPlaneBlack;

// Converts pixelCount pixels of the rendering buffer in place, as the
// colour module does; returns 0 when it converted nothing. A band that
// leaves its conversion to band output has each physical band's drawn rows
// converted just before they are screened, while they are in the cache,
// rather than the whole rendering band (larger than the cache) before. Rows
// not drawn on are still white and not converted: only a conversion that
// keeps white pixels white may be left to band output.
using FBPixelConversion = int (*)(void* context, uint8_t* pixels, uint32_t pixelCount);

// The rendering band as band output reads it. The page printer fills it at
// every page (geometry, screens) and every rendering band (rectangle,
// buffer, row flags). Lines, widths and heights are at the output
// resolution; in the 600 x 1200 mode the rendering buffer holds half the
// rows and pixels, and band output doubles them.
struct FBRasterBand {
    uint32_t line = 0;            // first output line of the band in the page
    uint32_t width = 0;           // dots
    uint32_t bytesPerRow = 0;     // of a row of the rendering buffer
    uint32_t height = 0;          // lines
    uint32_t bitsPerPixel = 0;    // of the rendering buffer: 8 grey, 32 colour
    uint32_t colour = 0;          // 1: four planes (cyan, magenta, yellow, black)
    uint32_t physWidthBytes = 0;  // of a physical band plane row
    uint32_t physHeight = 0;      // lines of a physical band
    uint8_t* buffer = nullptr;    // the rendering buffer
    size_t bufferBytes = 0;       // how much of it may be read
    FBScreen screen;
    const uint8_t* rowFlags = nullptr;  // of the rendering band, one per rendering row
    size_t rowFlagCount = 0;
    // Where the planes of one physical band are screened: planeCount planes
    // of physWidthBytes x physHeight bytes. Lent by the owner of the band.
    uint8_t* planes = nullptr;
    size_t planesBytes = 0;
    // The 600 x 1200 mode: one physical band's rows doubled, before
    // screening. Sized once per page set-up, not per band.
    std::vector<uint8_t> doubledRows;
    // The conversion left to band output; null: the buffer holds inks.
    FBPixelConversion convert = nullptr;
    void* convertContext = nullptr;
    // A grey band drawn in black and white only may come as its plane
    // already: one bit per dot, 0 = dot, all the band's rendering rows, each
    // of physWidthBytes (of half that in the 600 x 1200 mode, where band
    // output doubles every bit and row). It is then handed on without
    // screening (black and white screen to dots and no dots), and `buffer`
    // is not read.
    const uint8_t* bitPlanes = nullptr;
    size_t bitPlanesBytes = 0;
};

// One screened plane of a physical band: 1 bit per dot, most significant bit
// first, 0 = dot. Valid only during the call that hands it on.
struct FBBandPlane {
    uint32_t bandIndex = 0;          // the physical band's number in the page
    uint8_t channel = 0;             // ChannelIDTbl, or kGreyPlaneChannel
    const uint8_t* bytes = nullptr;  // rows x widthBytes
    uint32_t widthBytes = 0;
    uint32_t rows = 0;
    bool textAndLinesOnly = false;  // no colour or image rows: suits LZW
    bool firstOfBand = false;       // the first plane with dots of its physical band
    bool lastOfBand = false;        // the last one
};

// Where band output sends its planes. TakePlane returns 1, or 0 when the
// plane could not be sent; band output still hands on the rest of the band,
// so that every record the printer gets is whole.
class FBPlaneSink {
public:
    virtual int TakePlane(const FBBandPlane& plane) = 0;

protected:
    FBPlaneSink() = default;
    FBPlaneSink(const FBPlaneSink&) = default;
    FBPlaneSink& operator=(const FBPlaneSink&) = default;
    ~FBPlaneSink() = default;
};

// Band output of an 8-bit and a 32-bit rendering band, and their variants
// for a 600-dpi band printed at 1200 dpi (each rendering row and pixel
// doubled). Return 1 when every physical band was handed on (or had nothing
// to hand on); 0 when the band does not describe a band they can read and
// screen within its buffers (nothing reaches the sink), or when the sink
// refused a plane.
int ClippingMono(FBRasterBand* band, FBPlaneSink* sink);
int ClippingColor(FBRasterBand* band, FBPlaneSink* sink);
int ClippingMono2X(FBRasterBand* band, FBPlaneSink* sink);
int ClippingColor2X(FBRasterBand* band, FBPlaneSink* sink);

// Bytes of the plane buffer a band needs: one or four planes of
// physWidthBytes x physHeight.
uint64_t FBRasterPlanesBytes(const FBRasterBand& band);

// 2 x 2 pixel doubling: each of the rows / 2 source rows of n / 2 pixels
// (bytesPerPixel 1 or 4, rows back to back) becomes destination rows 2y and
// 2y + 1, each source pixel the pixels 2x and 2x + 1 of both (destination
// rows are n pixels apart). Returns 1, or 0 for another pixel size.
int MyStretch2X(uint8_t* dst, uint32_t n, uint32_t rows, const uint8_t* src, uint32_t bytesPerPixel);

// 1 when rows firstRow .. firstRow + rows - 1 of the row flags hold neither
// 2 (colour) nor 3 (image): only black-and-white drawing or nothing, which
// the LZW coder suits. 0 otherwise, when there are no row flags, and when
// the rows are not all within the count flags.
int FBGetObjFlag(const uint8_t* rowFlags, size_t flagCount, uint32_t firstRow, uint32_t rows);
