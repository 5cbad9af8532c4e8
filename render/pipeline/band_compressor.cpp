#include "pipeline/band_compressor.h"

#include "pipeline/lzw_coder.h"

uint8_t FBCompressParameter(uint32_t bandIndex, uint32_t bandCount, uint32_t resolution) {
    if (resolution == 1200) return 100;
    if (bandIndex == 0 || bandIndex + 1 == bandCount) return 10;
    if (bandIndex % 4 == 3) return 50;
    return 0;
}

uint32_t CompressOneBand(uint8_t* out, const uint8_t* plane, uint32_t bandIndex, uint32_t bandCount,
                         uint32_t lines, uint32_t width, uint8_t* work, uint8_t* codeOut, uint32_t resolution,
                         bool objectFlag, FBCompressTables* tables) {
    if (objectFlag) {
        *codeOut = kBandCodeLzw;
        return XORLZW77_BMP_Data_En(out, plane, width, lines, work, true);
    }
    *codeOut = kBandCodeOffsetTable;
    const uint8_t parameter = FBCompressParameter(bandIndex, bandCount, resolution);
    return XORFBB_BMP_Data_En(out, plane, width, lines, work, parameter, tables);
}
