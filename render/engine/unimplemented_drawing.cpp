// NOT IMPLEMENTED YET: lines, paths and images draw nothing.
//
// The display-list interpreter already decodes and skips these records
// correctly and calls the functions below; the line drawer, the path scan
// converter and the image renderers replace this whole file. Until then
// every function here draws nothing and reports that nothing was drawn, and
// a clip path is always empty (glyphs under DL_CLIP_MODE 3 draw nothing).
#include "drawing_seams.h"

int RDClipTLines(RenderState*, const TLine*) { return 0; }

int LineDraw(RenderState*, TLine*, uint8_t) { return 0; }

PathGenerator* RDNewPathGenerator() { return nullptr; }

void RDFreePathGenerator(PathGenerator*) {}

int RDSetPath(RenderState*, const RDRect&, const DLPath&, uint32_t, uint32_t, uint32_t,
              uint32_t) {
    return 0;
}

void RDResetPath(RenderState*) {}

int RDPaintPath(RenderState*, TRect*, RDSpanCallback) { return 0; }

int RDMakeClipPath(RenderState*, TRect*, RDSpanCallback) { return 0; }

int RenderingImage(RenderState*, const DLImage&) { return 0; }

int RenderingBitBlt(RenderState*, const DLImage&) { return 0; }

int GetScanLineForBmp(RenderState*, const DLImage&) { return 0; }

int ClipRenderImage(RenderState* state, const DLImage&, uint32_t) {
    state->clipRuns.clear();
    return 0;
}
