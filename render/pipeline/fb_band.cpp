#include "pipeline/fb_band.h"

#include <algorithm>
#include <limits>
#include <new>

#include "pipeline/band_compressor.h"
#include "pipeline/band_geometry.h"
#include "pipeline/band_record_writer.h"
#include "pipeline/stream_records.h"

namespace {

constexpr uint64_t kMaxUInt32 = std::numeric_limits<uint32_t>::max();

bool GrowBandBuffers(FBBandCache* cache, uint32_t resolution, uint32_t bitsPerPixel) {
    return FBAllocInCache(cache, kCacheHalftoneBand, FBGetHTBandSize(resolution, bitsPerPixel)) &&
           FBAllocInCache(cache, kCacheCompressedBand, FBGetCompBandSize(resolution)) &&
           FBAllocInCache(cache, kCacheCompressWork, FBGetTempCompBufSize(resolution));
}

// One physical band of doubled rows, as wide as the printer's band: the band
// printer never doubles pixels it would not send.
bool GrowDoubledRows(FBRasterBand* band) {
    const size_t bytes = size_t{band->physHeight} * band->physWidthBytes * 8 * (band->bitsPerPixel / 8);
    try {
        if (band->doubledRows.size() < bytes) band->doubledRows.assign(bytes, 0xFF);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

// The colour module as band output's pixel conversion.
int ConvertWithColourModule(void* context, uint8_t* pixels, uint32_t pixelCount) {
    const FBBand* band = static_cast<const FBBand*>(context);
    return CMMConvert(band->conversion, pixels, pixelCount, band->raster.bitsPerPixel);
}

}  // namespace

bool FBBandIsDoubled(const FBBand& band) { return band.resolution == 600 && band.outputResolution == 1200; }

int FBInitializeBand(FBBand* band, FBBandCache* cache, const FBPage& page, uint32_t screenClass) {
    if (band == nullptr || cache == nullptr) return 0;
    if (page.bitsPerPixel != 8 && page.bitsPerPixel != 32) return 0;
    FBRasterBand& raster = band->raster;
    band->resolution = page.resolution;
    band->outputResolution = Is600x1200Mode(page) ? 1200 : page.resolution;
    raster.bitsPerPixel = page.bitsPerPixel;
    raster.colour = page.bitsPerPixel == 32 ? 1 : 0;
    raster.physWidthBytes = FBGetPhysBandWidthBytes(band->outputResolution);
    raster.physHeight = FBGetPhysBandHeight(band->outputResolution);
    raster.line = raster.width = raster.height = raster.bytesPerRow = 0;
    raster.rowFlags = nullptr;
    raster.rowFlagCount = 0;
    FBOutBandSetConversion(band, nullptr);
    FBOutBandSetBitPlanes(band, nullptr, 0);
    band->cache = cache;
    if (!GrowBandBuffers(cache, band->outputResolution, raster.bitsPerPixel)) return 0;
    if (FBBandIsDoubled(*band) && !GrowDoubledRows(&raster)) return 0;
    // The screens ask only whether the device is colour; the band's own
    // colour flag answers that until a colour-management handle exists.
    void* colourDevice = raster.colour ? &raster.colour : nullptr;
    return FBMaskInitialize(&raster.screen, screenClass, band->outputResolution, colourDevice);
}

int FBOutBandSetTotalBandNums(FBBand* band, uint32_t renderBandCount) {
    if (band == nullptr || band->resolution == 0) return 0;
    const uint64_t heightRatio =
        FBGetPhysBandHeight(band->outputResolution) / FBGetPhysBandHeight(band->resolution);
    const uint64_t count =
        heightRatio * (uint64_t{renderBandCount} * band->outputResolution / band->resolution);
    band->bandCount = static_cast<uint32_t>(std::min(count, kMaxUInt32));
    return 1;
}

int FBOutBandSetBuffer(FBBand* band, uint8_t* buffer, size_t bytes) {
    if (band == nullptr) return 0;
    band->raster.buffer = buffer;
    band->raster.bufferBytes = buffer ? bytes : 0;
    return 1;
}

int FBOutBandSetRowFlags(FBBand* band, const uint8_t* rowFlags, size_t count) {
    if (band == nullptr) return 0;
    band->raster.rowFlags = count ? rowFlags : nullptr;
    band->raster.rowFlagCount = rowFlags ? count : 0;
    return 1;
}

int FBOutBandSetConversion(FBBand* band, CMMConverter* colour) {
    if (band == nullptr) return 0;
    band->conversion = colour;
    band->raster.convert = colour ? ConvertWithColourModule : nullptr;
    band->raster.convertContext = colour ? band : nullptr;
    return 1;
}

int FBOutBandSetBitPlanes(FBBand* band, const uint8_t* bits, size_t bytes) {
    if (band == nullptr) return 0;
    band->raster.bitPlanes = bits;
    band->raster.bitPlanesBytes = bits ? bytes : 0;
    return 1;
}

int FBPrepareBand(FBBand* band, uint32_t x0, uint32_t y0, uint32_t x1, uint32_t y1) {
    if (band == nullptr) return 0;
    FBRasterBand& raster = band->raster;
    raster.line = raster.width = raster.height = raster.bytesPerRow = 0;
    if (x1 < x0 || y1 < y0) return 0;
    const uint64_t columns = uint64_t{x1} - x0 + 1;
    const uint64_t rows = uint64_t{y1} - y0 + 1;
    const uint64_t scale = FBBandIsDoubled(*band) ? 2 : 1;
    const uint64_t rowBytes = columns * raster.bitsPerPixel / 8;
    if (scale * y0 > kMaxUInt32 || scale * columns > kMaxUInt32 || scale * rows > kMaxUInt32 ||
        rowBytes > kMaxUInt32) {
        return 0;
    }
    raster.line = static_cast<uint32_t>(scale * y0);
    raster.width = static_cast<uint32_t>(scale * columns);
    raster.height = static_cast<uint32_t>(scale * rows);
    raster.bytesPerRow = static_cast<uint32_t>(rowBytes);
    return 1;
}

int FBPrintBand(FBBand* band, FBOut* out) {
    if (band == nullptr || out == nullptr || band->cache == nullptr) return 0;
    FBRasterBand& raster = band->raster;
    const uint32_t w = raster.physWidthBytes, p = raster.physHeight;
    raster.planes = FBAllocInCache(band->cache, kCacheHalftoneBand, FBRasterPlanesBytes(raster));
    raster.planesBytes = raster.planes ? FBCacheCapacity(*band->cache, kCacheHalftoneBand) : 0;
    uint8_t* compressed = FBAllocInCache(band->cache, kCacheCompressedBand, CompressOutBytes(w, p));
    uint8_t* work = FBAllocInCache(band->cache, kCacheCompressWork, CompressWorkBytes(w, p));
    if (raster.planes == nullptr || compressed == nullptr || work == nullptr) return 0;
    FBBandRecordWriter writer(out, &band->compressTables, band->bandCount, band->outputResolution, compressed,
                              work);
    if (FBBandIsDoubled(*band))
        return raster.colour ? ClippingColor2X(&raster, &writer) : ClippingMono2X(&raster, &writer);
    return raster.colour ? ClippingColor(&raster, &writer) : ClippingMono(&raster, &writer);
}

int FBDestroyBand(FBBand* band) {
    if (band == nullptr) return 0;
    FBRasterBand& raster = band->raster;
    FBMaskDestroy(&raster.screen);
    std::vector<uint8_t>().swap(raster.doubledRows);
    raster.buffer = nullptr;
    raster.bufferBytes = 0;
    raster.rowFlags = nullptr;
    raster.rowFlagCount = 0;
    FBOutBandSetConversion(band, nullptr);
    FBOutBandSetBitPlanes(band, nullptr, 0);
    raster.planes = nullptr;
    raster.planesBytes = 0;
    return 1;
}
