// RDPaintPath: fills the current path (DL_FILL_PATH, DL_PAINT_PATH) inside
// the clip rectangle last set on the path generator, each span going to the
// callback (RDFillRow1 paints it).
#include "path_generator.h"

int RDPaintPath(PathGenerator* generator, RDSpanCallback callback, RenderState* user, TRect* req) {
    if (!generator) return 0;
    PGSetCallback(generator, callback, user, req);
    switch (PGGetFillMode(generator)) {
        case kPGFillAlternate: return GpmPaintPath(generator, 1);
        case kPGFillWinding: return GpmPaintPath(generator, 0);
        default: return 0;  // no path record has set a mode yet
    }
}
