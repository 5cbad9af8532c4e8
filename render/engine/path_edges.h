// The edge table of a path: its non-horizontal edges inside the clip rows,
// upper end first, sorted by where they start; and the rows at which edges
// start or end (the vpos list), between which the set of edges that cross a
// row does not change.
#pragma once

#include <cstdint>
#include <vector>

#include "path_generator.h"

struct PGEdge {
    int32_t x1 = 0, y1 = 0;  // upper end (the edge covers rows y1 .. y2-1)
    int32_t x2 = 0, y2 = 0;  // lower end
    int32_t dx = 0;          // x2 - x1
    int32_t dy = 0;          // y2 - y1, always > 0
    int8_t direction = 0;    // +1 when the path runs down along the edge, -1 up
};

struct PGEdgeTable {
    std::vector<PGEdge> edges;  // sorted by y1, then x1, then slope
    std::vector<int32_t> vpos;  // distinct rows where edges start or end, ascending
};

// Builds the edge table of the closed subpaths of `vertices` that reach rows
// clipTop .. clipBottom. Each coordinate is rounded up to a whole dot. False
// when the path has more than kPGMaxEdges such edges or memory runs out.
bool PGBuildEdgeTable(const PGVertexBuffer& vertices, int32_t clipTop, int32_t clipBottom,
                      PGEdgeTable* table);
