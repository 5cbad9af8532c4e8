// The scan converter of filled paths and clip paths: turns the current path
// of the path generator into horizontal spans.
//
// NOT IMPLEMENTED YET: no span is produced. RDPaintPath fills nothing and
// RDMakeClipPath collects no clip run, so a clip path is always empty and
// glyphs, bitmaps and images under DL_CLIP_MODE 3 draw nothing.
//
// What will live here: the edge table built from the closed subpaths, sorted
// by their upper row; a walk down the rows where edges start and end, with
// an exact integer step per edge per row; spans found under the even-odd or
// the non-zero winding rule, buffered, cut to the clip rectangle and handed
// to the callback. The scan converter knows nothing of pixels: RDFillRow1
// paints the spans of a filled path and RDAddClipRun records those of a clip
// path.
#include "drawing_seams.h"

int RDPaintPath(PathGenerator*, RDSpanCallback, RenderState*, TRect*) { return 0; }

int RDMakeClipPath(PathGenerator*, const BandWindow&, RDSpanCallback, RenderState*, TRect*) { return 0; }
