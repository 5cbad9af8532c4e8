// The drawing of lines, filled and clipping paths and images, as the
// display-list interpreter calls it. The interpreter decodes these records
// (sizes, origins, scaling, band test of path boxes) and hands them over
// here; the drawing itself lives behind these functions.
//
// Everything passed in comes from the untrusted display list: the point
// counts of a path's subpaths may add up to more than its point count, and
// image extents may be anything; implementations must stay inside the
// record (DLPath::points points at pointData, DLImage sizes as parsed).
#pragma once

#include <cstdint>

#include "display_list.h"
#include "render_state.h"

// ---- Lines ----------------------------------------------------------------------

// 1 when some part of the segment lies inside the band's columns clipLeft ..
// clipRight and rows bandTop .. min(bandBottom, pageRows).
int RDClipTLines(RenderState* state, const TLine* line);

// Draws a one-pixel line in the current colour, ROP and style; opcode is
// DL_LINE_TO, DL_LINE_REL or DL_LINE. The line record may be changed.
int LineDraw(RenderState* state, TLine* line, uint8_t opcode);

// ---- Paths ----------------------------------------------------------------------

// Receives each span (row, columns x1 .. x2-1) of a filled or clipping path.
using RDSpanCallback = int (*)(RenderState* state, TRect* req, uint32_t row, uint32_t x1,
                               uint32_t x2);

// The path generator of a RenderState (created by RDInitialize, freed by
// RDDestroy).
PathGenerator* RDNewPathGenerator();
void RDFreePathGenerator(PathGenerator* generator);

// Builds the current path from a path record, inside `box` (the record's
// bounding box with origins added, scaled, cut to the band).
int RDSetPath(RenderState* state, const RDRect& box, const DLPath& path, uint32_t rowOrigin,
              uint32_t colOrigin, uint32_t scaleDen, uint32_t scaleNum);

// Empties the current path (DL_CLIP_MODE other than 3; a path record whose
// box misses the band), so no later paint or clip uses an older path.
void RDResetPath(RenderState* state);

// Fills the current path, handing each span to `callback` (RDFillRow1).
int RDPaintPath(RenderState* state, TRect* req, RDSpanCallback callback);

// Collects the spans of the current path inside the box of `req` (columns
// from xs + bitOffset) through `callback` (RDAddClipRun).
int RDMakeClipPath(RenderState* state, TRect* req, RDSpanCallback callback);

// ---- Images ---------------------------------------------------------------------

// DL_STRETCH_IMAGE and DL_BLT_IMAGE at (imageRow, imageCol) of the state;
// the image's destination extents are already scaled.
int RenderingImage(RenderState* state, const DLImage& image);
int RenderingBitBlt(RenderState* state, const DLImage& image);

// With clipMode 3: collect the clip runs over the image's box, then draw the
// image through them (tag 0 for stretched images, 0x2000000 for blits).
int GetScanLineForBmp(RenderState* state, const DLImage& image);
int ClipRenderImage(RenderState* state, const DLImage& image, uint32_t tag);
