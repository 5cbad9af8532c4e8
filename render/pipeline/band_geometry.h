// Geometry of the physical bands the printer receives, per resolution, and
// the sizes of the buffers a band needs on its way to the printer.
//
//   resolution   band height   band width
//   1200 dpi     128 lines     1240 bytes (9920 dots)
//    300 dpi      64 lines      308 bytes (2464 dots)
//   other (600)  128 lines      620 bytes (4960 dots)
#pragma once

#include <cstdint>

// Lines of one physical band.
uint32_t FBGetPhysBandHeight(uint32_t resolution);

// Bytes of one row of a physical band plane (8 dots per byte).
uint32_t FBGetPhysBandWidthBytes(uint32_t resolution);

// The screened planes of one physical band: width x height x bitsPerPixel / 8
// bytes, that is one plane for an 8-bit page and four for a 32-bit page.
uint32_t FBGetHTBandSize(uint32_t resolution, uint32_t bitsPerPixel);

// Room for one compressed plane: width x height + 1024.
uint32_t FBGetCompBandSize(uint32_t resolution);

// The coders' work area for one plane: width x height + 67584.
uint32_t FBGetTempCompBufSize(uint32_t resolution);
