// The pipeline's own commands in a page's command list: base position,
// scale, black rectangles and borders, and the recorded watermark and overlay
// files. Each command is one or more display-list records, made with the
// display-list encoder and appended as one piece with tag 0.
#pragma once

#include <cstdint>

#include "formats/spooled_buffers.h"  // kFBCmdPipelineTag
#include "pipeline/cmd_list.h"
#include "sys/text.h"

// Moves the origin of the following records:
//   0x68 row origin (LE32) | 0x69 column origin (LE32)
int FBCmdWriteBasePos(FBCmdList* list, uint32_t rowOrigin, uint32_t columnOrigin);

// Scales the following records by scale/divisor (the manager passes 100 and
// the scale in percent); the orientation rides along for the printer's
// record and is skipped by playback:
//   0x82 divisor (LE32) scale (LE32) | 0x83 orientation (LE32)
int FBCmdWriteSetScale(FBCmdList* list, uint32_t divisor, uint32_t scale, uint32_t orientation);

// A black box over rows r0 .. r1-1 and columns c0 .. c1-1:
//   0x75 0xF0 0x81000000 (ROP "copy" with black) | 0x60 r0 (LE16) |
//   0x62 c0 (LE16) | 0x54 r1-r0 (LE16) c1-c0 (LE16)
// Corners are 16-bit values. A box without area (r1 <= r0 or c1 <= c0) is
// not written: its 16-bit size would wrap round to a bar across the sheet.
int FBCmdWriteDrawRect(FBCmdList* list, uint16_t r0, uint16_t c0, uint16_t r1, uint16_t c1);

// The frame of the rectangle (r0, c0)-(r1, c1): four bars 2 * thickness + 1
// dots wide centred on its edges, in 16-bit arithmetic. r0 and c0 are raised
// to at least the thickness first so that no bar starts above or left of the
// page.
int FBCmdWriteDrawBorder(FBCmdList* list, uint16_t r0, uint16_t c0, uint16_t r1, uint16_t c1,
                         uint16_t thickness);

// Appends the watermark of the page between watermark start (0x90) and end
// (0x91): the landscape file when orientation is non-zero, else the portrait
// file. Nothing when firstPageOnly is set and this is not page 1, or the
// chosen file name is empty. The end command is written even when the file
// is missing or damaged, so the page never stays in watermark mode; the
// result is then 0.
int FBCmdLoadWatermark(FBCmdList* list, sys::WStringView portraitFile, sys::WStringView landscapeFile,
                       uint32_t orientation, uint32_t pageNumber, uint32_t firstPageOnly);

// Puts the overlay file's records in front of the page's plain list, so the
// overlay plays first and lies under the page's own drawing. Nothing for an
// empty name (1). A file that cannot be opened adds nothing (0); a damaged
// file adds its whole records before the damage (0).
int FBCmdLoadOverlay(FBCmdList* list, sys::WStringView overlayFile);
