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

// ---- Lines (line_clip.cpp, line_drawing.cpp) -------------------------------------

// 1 when some part of the segment lies inside the band's columns clipLeft ..
// clipRight and rows bandTop .. min(bandBottom, pageRows).
int RDClipTLines(const BandWindow& window, uint32_t pageRows, const TLine* line);

// Draws a one-pixel line in the current colour, ROP and style; opcode is
// DL_LINE_TO, DL_LINE_REL or DL_LINE. The caller's end points are left as
// they were given. It takes the whole state: a line reads the page geometry,
// marks the band's rows, draws through the current kernel or writes pixels
// itself with the registers' colour, ROP and style, and moves the style
// phase. Returns 1 when the band holds some pixel of the line.
int LineDraw(RenderState* state, TLine* line, uint8_t opcode);

// A line that RDClipTLines keeps out of the band: nothing is drawn, but the
// style phase moves on as in the bands that draw the line.
void LineMissesBand(RenderState* state, const TLine* line, uint8_t opcode);

// ---- Paths (path_generator.h: path_*.cpp, clip_path.cpp) ---------------------------

// Receives each span (row, columns x1 .. x2-1) of a filled or clipping path;
// `state` and `req` are the user and request the span producer was given.
using RDSpanCallback = int (*)(RenderState* state, TRect* req, uint32_t row, uint32_t x1, uint32_t x2);

// The path generator of a document (created by RDInitialize, freed by
// RDDestroy). Every function below takes it as it is, null included: without
// a generator there is no path, and nothing is filled or clipped.
PathGenerator* RDNewPathGenerator();
void RDFreePathGenerator(PathGenerator* generator);

// Builds the current path from a path record, inside `box` (the record's
// bounding box with origins added, scaled, cut to the band).
int RDSetPath(PathGenerator* generator, const RDRect& box, const DLPath& path, uint32_t rowOrigin,
              uint32_t colOrigin, uint32_t scaleDen, uint32_t scaleNum);

// Empties the current path (DL_CLIP_MODE other than 3; a path record whose
// box misses the band), so no later paint or clip uses an older path.
void RDResetPath(PathGenerator* generator);

// Fills the current path, handing each span to callback(user, req, ...)
// (RDFillRow1). The scan converter produces spans only; it never touches
// pixels.
int RDPaintPath(PathGenerator* generator, RDSpanCallback callback, RenderState* user, TRect* req);

// Collects the spans of the current path inside the box of `req` (columns
// from xs + bitOffset) cut to the band window, through callback(user, ...)
// (RDAddClipRun).
int RDMakeClipPath(PathGenerator* generator, const BandWindow& window, RDSpanCallback callback,
                   RenderState* user, TRect* req);

// ---- Images (image_drawing.cpp) -------------------------------------------------

// DL_STRETCH_IMAGE and DL_BLT_IMAGE at (imageRow, imageCol) of the registers;
// the image's destination extents are already scaled. Images take the whole
// state: they read the page depth and the band window, combine every pixel
// with the registers' brush and reduced ROP, mark the rows they draw, and
// stretch rows in the work buffers. Each returns 1 when it drew into the
// band, 0 when nothing of the image lies there (or it cannot be drawn).
// (image_drawing.cpp; the parts in image_*.cpp and stretch_table.cpp.)
int RenderingImage(RenderState* state, const DLImage& image);
int RenderingBitBlt(RenderState* state, const DLImage& image);

// With clipMode 3: collect the clip runs of the path generator over the
// image's box (returns their count), then draw the image through them (tag
// 0 for stretched images, 0x2000000 for blits) and empty the run list
// (image_clip.cpp).
int GetScanLineForBmp(RenderState* state, const DLImage& image);
int ClipRenderImage(RenderState* state, const DLImage& image, uint32_t tag);
