// The band printer: cuts a played and colour-converted rendering band into
// physical bands, screens each into printer planes, and sends every plane
// that holds a dot as a band record.
//
// For each physical band (physHeight lines, physWidthBytes x 8 dots wide):
//   planes   <- 0xFF, then the screened rows (one plane grey; cyan,
//               magenta, yellow, black colour)
//   for each plane with a dot, in that order:
//       compressed <- CompressOneBand (LZW when the band's rows hold only
//                     text and lines, else the offset-table coder)
//       send the plane raw (code 0x0A) when that is not smaller
//       12-byte band header before the first plane, 6-byte plane header
//       before each further one, then data and checksum
//   one 0x00 byte after the last plane; a band without dots sends nothing.
//
// A page wider than the printer's band is cut at the band's right edge: the
// printer cannot print beyond it, and the planes have no room for it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "pipeline/fb_band.h"
#include "pipeline/output_writer.h"

// Channel identifiers of the colour planes in screening order: cyan 1,
// magenta 2, yellow 3, black 4. A grey page sends its plane as black.
extern const uint8_t ChannelIDTbl[4];

// The band printers of an 8-bit and a 32-bit rendering band, and their
// variants for a 600-dpi band printed at 1200 dpi (each rendering row and
// pixel doubled). Return 1 when every physical band was sent (or had nothing
// to send); 0 when the band record does not describe a band they can read
// and write within its buffers (nothing is sent), or when the writer
// refused a write.
int ClippingMono(FBBand* band, FBOut* out);
int ClippingColor(FBBand* band, FBOut* out);
int ClippingMono2X(FBBand* band, FBOut* out);
int ClippingColor2X(FBBand* band, FBOut* out);

// 2 x 2 pixel doubling: each of the rows / 2 source rows of n / 2 pixels
// (bytesPerPixel 1 or 4, rows back to back) becomes destination rows 2y and
// 2y + 1, each source pixel the pixels 2x and 2x + 1 of both (destination
// rows are n pixels apart). Returns 1, or 0 for another pixel size.
int MyStretch2X(uint8_t* dst, uint32_t n, uint32_t rows, const uint8_t* src,
                uint32_t bytesPerPixel);

// 1 when rows firstRow .. firstRow + rows - 1 of the row flags hold neither
// 2 (colour) nor 3 (image): only black-and-white drawing or nothing, which
// the LZW coder suits. 0 otherwise, when there are no row flags, and when
// the rows are not all within the count flags.
int FBGetObjFlag(const uint8_t* rowFlags, size_t flagCount, uint32_t firstRow, uint32_t rows);
