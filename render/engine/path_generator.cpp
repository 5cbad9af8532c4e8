// The path generator: the vertex buffer that a path record's subpaths are
// collected into, once per DL_SET_PATH or DL_FILL_PATH.
//
// NOT IMPLEMENTED YET: there is no path generator. RDNewPathGenerator gives
// none, so the document holds a null generator, every path is empty and
// nothing is filled or clipped.
//
// What will live here: vertex blocks that grow from the heap as points come;
// subpaths started, extended (a repeated point is dropped) and closed; the
// points of a path record read as 16-bit running differences or 32-bit
// positions, origins added and scaled; and the clip rectangle and fill rule
// the scan converter (path_fill.cpp) uses. The vertex buffer lives from one
// path record to the next, so one clip path serves any number of objects.
#include "drawing_seams.h"

PathGenerator* RDNewPathGenerator() { return nullptr; }

void RDFreePathGenerator(PathGenerator*) {}

int RDSetPath(PathGenerator*, const RDRect&, const DLPath&, uint32_t, uint32_t, uint32_t, uint32_t) {
    return 0;
}

void RDResetPath(PathGenerator*) {}
