#include "band_output.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "stage_clock.h"

const uint8_t ChannelIDTbl[4] = {kPlaneCyan, kPlaneMagenta, kPlaneYellow, kPlaneBlack};

namespace {

struct Variant {
    bool colour;
    bool doubled;  // a 600-dpi rendering band printed at 1200 dpi
};

// A rendering band as the band printer walks it, checked once per band so
// that the loops below can trust every size.
struct BandLayout {
    uint32_t physHeight;      // P, lines of a physical band
    uint32_t physWidthBytes;  // W, bytes of a plane row
    uint32_t planeBytes;      // W x P
    uint32_t planeCount;      // 1 grey, 4 colour
    uint32_t bytesPerPixel;   // of the rendering buffer: 1 or 4
    uint32_t screenPixels;    // dots screened per output row: the band, cut at W x 8
    uint32_t renderRows;      // rendering rows per physical band: P, or P / 2 doubled
    uint32_t renderStride;    // bytes per rendering row
    uint32_t firstIndex;      // the first physical band's number in the page
    uint32_t bandCount;       // physical bands in the rendering band
    uint8_t* planes;          // planeCount planes of planeBytes
    uint8_t* doubled;         // P rows of screenPixels pixels (doubled only)
};

// Where one physical band comes from and goes to.
struct PhysicalBand {
    uint32_t index;           // band number in the page
    uint32_t pageRow;         // first output line: anchors the screens
    const uint8_t* pixels;    // first row to screen
    uint32_t pixelStride;     // bytes between those rows
    bool objectFlag;          // only text and lines: LZW
    uint32_t firstRenderRow;  // the rendering row of output row 0
    uint32_t rowShift;        // output row r comes from rendering row r >> rowShift
};

bool ScreenIsReady(const FBRasterBand& band, bool colour) {
    return band.screen.plane[0].table != nullptr && (!colour || band.screen.colourHandle != nullptr);
}

// Everything the band says, checked against what the buffers hold. The band
// is filled from spooled page settings, so nothing in it is trusted: a band
// the loops could not walk within the buffers is refused.
std::optional<BandLayout> CheckBand(FBRasterBand* band, FBPlaneSink* sink, Variant variant) {
    if (band == nullptr || sink == nullptr || band->buffer == nullptr) return std::nullopt;
    const uint32_t bitsPerPixel = variant.colour ? 32 : 8;
    if (band->bitsPerPixel != bitsPerPixel || (band->colour != 0) != variant.colour ||
        !ScreenIsReady(*band, variant.colour))
        return std::nullopt;
    const uint32_t p = band->physHeight, w = band->physWidthBytes;
    // A plane's dots are counted in 32 bits here and by the sink.
    if (p == 0 || w == 0 || (variant.doubled && p % 2 != 0) || uint64_t{w} * p * 8 > UINT32_MAX)
        return std::nullopt;
    if (band->width == 0 || band->width % 8 != 0 || band->height == 0 || band->height % p != 0 ||
        band->line % p != 0 || uint64_t{band->line} + band->height > UINT32_MAX)
        return std::nullopt;

    BandLayout layout{};
    layout.physHeight = p;
    layout.physWidthBytes = w;
    layout.planeBytes = w * p;
    layout.planeCount = variant.colour ? 4 : 1;
    layout.bytesPerPixel = bitsPerPixel / 8;
    layout.screenPixels = std::min(band->width, w * 8);
    layout.renderRows = variant.doubled ? p / 2 : p;
    layout.renderStride = band->bytesPerRow;
    layout.firstIndex = band->line / p;
    layout.bandCount = band->height / p;

    // Bytes read from each rendering row, and rows read in all.
    const uint64_t readPixels = variant.doubled ? layout.screenPixels / 2 : layout.screenPixels;
    const uint64_t renderRowsTotal = uint64_t{layout.bandCount} * layout.renderRows;
    if (layout.renderStride < readPixels * layout.bytesPerPixel ||
        renderRowsTotal * layout.renderStride > band->bufferBytes)
        return std::nullopt;

    if (band->planes == nullptr || band->planesBytes < FBRasterPlanesBytes(*band)) return std::nullopt;
    layout.planes = band->planes;
    if (variant.doubled) {
        const uint64_t doubledBytes = uint64_t{p} * layout.screenPixels * layout.bytesPerPixel;
        if (band->doubledRows.size() < doubledBytes) return std::nullopt;
        layout.doubled = band->doubledRows.data();
    }
    return layout;
}

int ScreenCall(const FBRasterBand& band, const BandLayout& layout, uint8_t* dst, const uint8_t* src,
               uint32_t pageRow, uint32_t rows, uint8_t* blank) {
    if (layout.planeCount == 4)
        return MaskBand32(&band.screen, dst, layout.planeBytes, layout.physWidthBytes, src, pageRow,
                          layout.screenPixels, rows, blank);
    return MaskBand8(&band.screen, dst, layout.physWidthBytes, src, pageRow, layout.screenPixels, rows,
                     blank);
}

// A rendering row was drawn on. A row whose flag is 0 is still the white the
// band was cleared to and screens to no dots. Without flags for it, a row
// counts as drawn.
bool RenderRowDrawn(const FBRasterBand& band, size_t renderRow) {
    return band.rowFlags == nullptr || renderRow >= band.rowFlagCount || band.rowFlags[renderRow] != 0;
}

// Output row r of the physical band was drawn on.
bool RowDrawn(const FBRasterBand& band, const PhysicalBand& physical, uint32_t r) {
    return RenderRowDrawn(band, size_t{physical.firstRenderRow} + (r >> physical.rowShift));
}

// Screens output rows first .. end - 1 of a physical band into the planes,
// clearing the blank flag of each plane that receives a dot. Rows that are
// exactly as wide as the screened part go in one call; wider rows (a page
// wider than the printer's band) row by row.
bool ScreenRows(const FBRasterBand& band, const BandLayout& layout, const PhysicalBand& physical,
                uint32_t first, uint32_t end, uint8_t* blank) {
    const uint32_t screenedBytes = layout.screenPixels * layout.bytesPerPixel;
    const uint32_t step = physical.pixelStride == screenedBytes ? end - first : 1;
    for (uint32_t r = first; r < end; r += step) {
        uint8_t runBlank[4];
        if (!ScreenCall(band, layout, layout.planes + size_t{r} * layout.physWidthBytes,
                        physical.pixels + size_t{r} * physical.pixelStride, physical.pageRow + r, step,
                        runBlank))
            return false;
        for (int i = 0; i < 4; ++i) blank[i] &= runBlank[i];
    }
    return true;
}

// Screens the P rows of a physical band into the planes, run of drawn rows
// by run of drawn rows.
bool ScreenBand(const FBRasterBand& band, const BandLayout& layout, const PhysicalBand& physical,
                uint8_t* blank) {
    const RDStageTimer timer(RDStage::Screening);
    std::fill(blank, blank + 4, uint8_t{1});
    for (uint32_t r = 0; r < layout.physHeight;) {
        while (r < layout.physHeight && !RowDrawn(band, physical, r)) ++r;
        uint32_t end = r;
        while (end < layout.physHeight && RowDrawn(band, physical, end)) ++end;
        if (r < end && !ScreenRows(band, layout, physical, r, end, blank)) return false;
        r = end;
    }
    return true;
}

// The conversion left to band output, over the drawn rendering rows of one
// physical band: runs of drawn rows in one call each, whole rows (a row's
// pixels fit 32 bits, as the band's checked row bytes do).
void ConvertDrawnRows(const FBRasterBand& band, const BandLayout& layout, const PhysicalBand& physical,
                      uint8_t* renderRows) {
    if (band.convert == nullptr) return;
    const RDStageTimer timer(RDStage::ColourConversion);
    const uint32_t rowPixels = layout.renderStride / layout.bytesPerPixel;
    const uint32_t rowsPerCall = std::max<uint32_t>(1, UINT32_MAX / std::max<uint32_t>(rowPixels, 1));
    for (uint32_t r = 0; r < layout.renderRows;) {
        while (r < layout.renderRows && !RenderRowDrawn(band, size_t{physical.firstRenderRow} + r)) ++r;
        uint32_t end = r;
        while (end < layout.renderRows && end - r < rowsPerCall &&
               RenderRowDrawn(band, size_t{physical.firstRenderRow} + end))
            ++end;
        if (r < end)
            band.convert(band.convertContext, renderRows + size_t{r} * layout.renderStride,
                         (end - r) * rowPixels);
        r = end;
    }
}

// The 600 x 1200 mode: the P / 2 rendering rows of a physical band, cut to
// the screened width, doubled into P rows of screenPixels pixels. Rows not
// drawn on are not screened, so they are not doubled either.
void DoubleRows(const FBRasterBand& band, const BandLayout& layout, const PhysicalBand& physical,
                const uint8_t* renderRows) {
    const size_t doubledRowBytes = size_t{layout.screenPixels} * layout.bytesPerPixel;
    for (uint32_t r = 0; r < layout.renderRows; ++r) {
        if (!RowDrawn(band, physical, 2 * r)) continue;
        MyStretch2X(layout.doubled + 2 * r * doubledRowBytes, layout.screenPixels, 2,
                    renderRows + size_t{r} * layout.renderStride, layout.bytesPerPixel);
    }
}

// Hands every plane with a dot to the sink; returns 0 when the sink refused
// one (the rest of the band is still handed on, so that each record the
// printer gets is whole).
int HandOnPlanes(FBPlaneSink* sink, const BandLayout& layout, const PhysicalBand& physical,
                 const uint8_t* blank) {
    uint32_t last = layout.planeCount;
    for (uint32_t i = 0; i < layout.planeCount; ++i)
        if (!blank[i]) last = i;
    int ok = 1;
    bool first = true;
    for (uint32_t i = 0; i < layout.planeCount; ++i) {
        if (blank[i]) continue;
        FBBandPlane plane;
        plane.bandIndex = physical.index;
        plane.channel = layout.planeCount == 4 ? ChannelIDTbl[i] : kGreyPlaneChannel;
        plane.bytes = layout.planes + size_t{i} * layout.planeBytes;
        plane.widthBytes = layout.physWidthBytes;
        plane.rows = layout.physHeight;
        plane.textAndLinesOnly = physical.objectFlag;
        plane.firstOfBand = first;
        plane.lastOfBand = i == last;
        ok &= sink->TakePlane(plane);
        first = false;
    }
    return ok;
}

// Whether the drawn ones of a physical band's rendering rows in bits hold a
// dot (a byte other than 0xFF); rows not drawn on are white.
bool BitRowsHaveDots(const FBRasterBand& band, const BandLayout& layout, const PhysicalBand& physical,
                     const uint8_t* rows, uint32_t stride) {
    for (uint32_t r = 0; r < layout.renderRows; ++r) {
        if (!RenderRowDrawn(band, size_t{physical.firstRenderRow} + r)) continue;
        const uint8_t* row = rows + size_t{r} * stride;
        if (std::any_of(row, row + stride, [](uint8_t b) { return b != 0xFF; })) return true;
    }
    return false;
}

// Each byte's bits doubled, most significant first: bit 7 becomes bits 15
// and 14. Generated by the compiler.
struct DoubledBits {
    uint16_t of[256];
    constexpr DoubledBits() : of{} {
        for (unsigned byte = 0; byte < 256; ++byte)
            for (unsigned bit = 0; bit < 8; ++bit)
                if ((byte >> bit) & 1u) of[byte] = static_cast<uint16_t>(of[byte] | 3u << (2 * bit));
    }
};
constexpr DoubledBits kDoubledBits;

// The 600 x 1200 mode: a physical band's rendering rows in bits, each bit
// doubled across and each row down, into the plane buffer. Eight white
// bytes at a time stay as the filled buffer has them.
void DoubleBitRows(const FBRasterBand& band, const BandLayout& layout, const PhysicalBand& physical,
                   const uint8_t* rows, uint32_t stride) {
    std::memset(layout.planes, 0xFF, layout.planeBytes);
    constexpr uint64_t kWhite = ~uint64_t{0};
    for (uint32_t r = 0; r < layout.renderRows; ++r) {
        if (!RenderRowDrawn(band, size_t{physical.firstRenderRow} + r)) continue;
        const uint8_t* row = rows + size_t{r} * stride;
        uint8_t* out = layout.planes + size_t{2 * r} * layout.physWidthBytes;
        for (uint32_t i = 0; i < stride; ++i) {
            if (i % 8 == 0 && stride - i >= 8) {
                uint64_t word;
                std::memcpy(&word, row + i, sizeof word);
                if (word == kWhite) {
                    i += 7;
                    continue;
                }
            }
            const uint16_t doubled = kDoubledBits.of[row[i]];
            out[2 * i] = static_cast<uint8_t>(doubled >> 8);
            out[2 * i + 1] = static_cast<uint8_t>(doubled);
        }
        std::memcpy(out + layout.physWidthBytes, out, layout.physWidthBytes);
    }
}

// A grey band that comes in bits: each physical band's plane is handed on
// from them, doubled first in the 600 x 1200 mode.
int HandOnBitPlanes(FBRasterBand* band, FBPlaneSink* sink, const BandLayout& layout, bool doubled) {
    const uint32_t stride = doubled ? layout.physWidthBytes / 2 : layout.physWidthBytes;
    const uint64_t bandBits = uint64_t{layout.renderRows} * stride;
    if (uint64_t{layout.bandCount} * bandBits > band->bitPlanesBytes) return 0;
    int ok = 1;
    for (uint32_t k = 0; k < layout.bandCount; ++k) {
        PhysicalBand physical{};
        physical.index = layout.firstIndex + k;
        physical.objectFlag =
            FBGetObjFlag(band->rowFlags, band->rowFlagCount, k * layout.renderRows, layout.renderRows) != 0;
        physical.firstRenderRow = k * layout.renderRows;
        const uint8_t* rows = band->bitPlanes + size_t{k} * bandBits;
        const uint8_t* plane = rows;
        {
            const RDStageTimer timer(RDStage::Screening);  // what stands in for screening
            if (!BitRowsHaveDots(*band, layout, physical, rows, stride)) continue;
            if (doubled) {
                DoubleBitRows(*band, layout, physical, rows, stride);
                plane = layout.planes;
            }
        }
        FBBandPlane out;
        out.bandIndex = physical.index;
        out.channel = kGreyPlaneChannel;
        out.bytes = plane;
        out.widthBytes = layout.physWidthBytes;
        out.rows = layout.physHeight;
        out.textAndLinesOnly = physical.objectFlag;
        out.firstOfBand = out.lastOfBand = true;
        ok &= sink->TakePlane(out);
    }
    return ok;
}

int ClipBand(FBRasterBand* band, FBPlaneSink* sink, Variant variant) {
    const std::optional<BandLayout> checked = CheckBand(band, sink, variant);
    if (!checked) return 0;
    const BandLayout& layout = *checked;
    if (band->bitPlanes != nullptr && !variant.colour)
        return HandOnBitPlanes(band, sink, layout, variant.doubled);
    const size_t renderBytesPerBand = size_t{layout.renderRows} * layout.renderStride;
    int ok = 1;
    for (uint32_t k = 0; k < layout.bandCount; ++k) {
        uint8_t* renderRows = band->buffer + k * renderBytesPerBand;
        PhysicalBand physical{};
        physical.index = layout.firstIndex + k;
        physical.pageRow = band->line + k * layout.physHeight;
        physical.objectFlag =
            FBGetObjFlag(band->rowFlags, band->rowFlagCount, k * layout.renderRows, layout.renderRows) != 0;
        physical.firstRenderRow = k * layout.renderRows;
        physical.rowShift = variant.doubled ? 1 : 0;
        ConvertDrawnRows(*band, layout, physical, renderRows);
        if (variant.doubled) {
            DoubleRows(*band, layout, physical, renderRows);
            physical.pixels = layout.doubled;
            physical.pixelStride = layout.screenPixels * layout.bytesPerPixel;
        } else {
            physical.pixels = renderRows;
            physical.pixelStride = layout.renderStride;
        }
        std::memset(layout.planes, 0xFF, size_t{layout.planeBytes} * layout.planeCount);
        uint8_t blank[4];
        if (!ScreenBand(*band, layout, physical, blank)) return 0;
        ok &= HandOnPlanes(sink, layout, physical, blank);
    }
    return ok;
}

}  // namespace

int ClippingMono(FBRasterBand* band, FBPlaneSink* sink) { return ClipBand(band, sink, {false, false}); }
int ClippingColor(FBRasterBand* band, FBPlaneSink* sink) { return ClipBand(band, sink, {true, false}); }
int ClippingMono2X(FBRasterBand* band, FBPlaneSink* sink) { return ClipBand(band, sink, {false, true}); }
int ClippingColor2X(FBRasterBand* band, FBPlaneSink* sink) { return ClipBand(band, sink, {true, true}); }

uint64_t FBRasterPlanesBytes(const FBRasterBand& band) {
    return uint64_t{band.physWidthBytes} * band.physHeight * (band.colour ? 4 : 1);
}

int FBGetObjFlag(const uint8_t* rowFlags, size_t flagCount, uint32_t firstRow, uint32_t rows) {
    if (rowFlags == nullptr || uint64_t{firstRow} + rows > flagCount) return 0;
    const uint8_t* end = rowFlags + firstRow + rows;
    return std::none_of(rowFlags + firstRow, end, [](uint8_t f) { return f == 2 || f == 3; }) ? 1 : 0;
}
