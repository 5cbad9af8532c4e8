#include "pipeline/band_geometry.h"

#include "pipeline/band_compressor.h"

uint32_t FBGetPhysBandHeight(uint32_t resolution) {
    switch (resolution) {
        case 1200: return 128;
        case 300: return 64;
        default: return 128;
    }
}

uint32_t FBGetPhysBandWidthBytes(uint32_t resolution) {
    switch (resolution) {
        case 1200: return 1240;
        case 300: return 308;
        default: return 620;
    }
}

namespace {

uint32_t PlaneBytes(uint32_t resolution) {
    return FBGetPhysBandWidthBytes(resolution) * FBGetPhysBandHeight(resolution);
}

}  // namespace

uint32_t FBGetHTBandSize(uint32_t resolution, uint32_t bitsPerPixel) {
    return PlaneBytes(resolution) * bitsPerPixel / 8;
}

uint32_t FBGetCompBandSize(uint32_t resolution) { return PlaneBytes(resolution) + kCompressOutSlack; }

uint32_t FBGetTempCompBufSize(uint32_t resolution) { return PlaneBytes(resolution) + kCompressWorkSlack; }
