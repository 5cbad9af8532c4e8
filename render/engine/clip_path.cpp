// RDMakeClipPath: the spans of the current path inside one object's box,
// collected before a glyph, bitmap or image is drawn under DL_CLIP_MODE 3.
// The vertex buffer is read, not consumed, so one clip path serves every
// object drawn through it.
#include <algorithm>

#include "path_generator.h"

int RDMakeClipPath(PathGenerator* generator, const BandWindow& window, RDSpanCallback callback,
                   RenderState* user, TRect* req) {
    if (!generator || req->rows == 0) return 0;
    // The object's drawn box (columns from xs + bitOffset), cut to the band;
    // right and bottom exclusive.
    const uint64_t top = std::max<uint64_t>(req->row, window.bandTop);
    const uint64_t bottom =
        std::min<uint64_t>(uint64_t{req->row} + req->rows, uint64_t{window.bandBottom} + 1);
    const uint64_t left = std::max<uint64_t>(uint64_t{req->xs} + req->bitOffset, window.bandLeft);
    const uint64_t right = std::min<uint64_t>(req->xe, uint64_t{window.bandRight} + 1);
    if (top >= bottom || left >= right) return 0;  // nothing of the object shows
    PGSetClipRect(generator, static_cast<uint32_t>(left), static_cast<uint32_t>(right),
                  static_cast<uint32_t>(top), static_cast<uint32_t>(bottom));
    PGSetCallback(generator, callback, user, nullptr);
    return GpmPaintPath(generator, PGGetFillMode(generator) != kPGFillWinding ? 1 : 0);
}
