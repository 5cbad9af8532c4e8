// The image drawers: DL_STRETCH_IMAGE and DL_BLT_IMAGE, drawn plainly or
// through the clip path.
//
// NOT IMPLEMENTED YET: no image is drawn. Each function below draws nothing
// and reports that nothing was drawn; ClipRenderImage empties the clip runs
// it was given, as drawing through them would.
//
// What will live here: source rows of 1, 4, 8 and 24 bits expanded through
// their palettes into band pixels; stretching to the destination size by
// integer replication tables; mirroring and turning; the cut to the band
// and, under DL_CLIP_MODE 3, to the clip runs of the path over the image's
// box; every pixel combined with the band through the image ROP operators,
// and the rows drawn marked as image rows.
#include "drawing_seams.h"

int RenderingImage(RenderState*, const DLImage&) { return 0; }

int RenderingBitBlt(RenderState*, const DLImage&) { return 0; }

int GetScanLineForBmp(RenderState*, const DLImage&) { return 0; }

int ClipRenderImage(RenderState* state, const DLImage&, uint32_t) {
    state->window.clipRuns.clear();
    return 0;
}
