#include "path_edges.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace {

struct PGPoint {
    int32_t x, y;
    bool operator==(const PGPoint&) const = default;
};

// A vertex coordinate rounded up to a whole dot, held inside the limit (a
// value that is not a number counts as 0).
int32_t RoundUp(float v) {
    if (!(v == v)) return 0;
    const float up = std::ceil(v);
    if (up >= static_cast<float>(kPGCoordinateLimit)) return kPGCoordinateLimit;
    if (up <= -static_cast<float>(kPGCoordinateLimit)) return -kPGCoordinateLimit;
    return static_cast<int32_t>(up);
}

// Edges sort by their upper row, then column, then slope dx/dy (compared as
// dxA * dyB < dxB * dyA; both dy are positive).
bool StartsBefore(const PGEdge& a, const PGEdge& b) {
    if (a.y1 != b.y1) return a.y1 < b.y1;
    if (a.x1 != b.x1) return a.x1 < b.x1;
    return int64_t{a.dx} * b.dy < int64_t{b.dx} * a.dy;
}

class EdgeCollector {
public:
    EdgeCollector(int32_t clipTop, int32_t clipBottom, PGEdgeTable* table)
        : clipTop_(clipTop), clipBottom_(clipBottom), table_(table) {}

    // False when the edge was one too many.
    bool Add(PGPoint from, PGPoint to) {
        if (from.y == to.y) return true;  // a horizontal edge covers no row
        const bool down = to.y > from.y;
        const PGPoint& upper = down ? from : to;
        const PGPoint& lower = down ? to : from;
        if (lower.y <= clipTop_ || upper.y > clipBottom_) return true;  // misses the clip rows
        if (table_->edges.size() >= kPGMaxEdges) return false;
        PGEdge e;
        e.x1 = upper.x;
        e.y1 = upper.y;
        e.x2 = lower.x;
        e.y2 = lower.y;
        e.dx = lower.x - upper.x;
        e.dy = lower.y - upper.y;
        e.direction = down ? 1 : -1;
        table_->edges.push_back(e);
        table_->vpos.push_back(e.y1);
        table_->vpos.push_back(e.y2);
        return true;
    }

private:
    int32_t clipTop_, clipBottom_;
    PGEdgeTable* table_;
};

}  // namespace

bool PGBuildEdgeTable(const PGVertexBuffer& vertices, int32_t clipTop, int32_t clipBottom,
                      PGEdgeTable* table) {
    table->edges.clear();
    table->vpos.clear();
    try {
        EdgeCollector collector(clipTop, clipBottom, table);
        PGPoint pen{0, 0};
        for (uint32_t i = 0; i < vertices.Count(); ++i) {
            const PGVertex& v = vertices.At(i);
            const PGPoint p{RoundUp(v.x), RoundUp(v.y)};
            if (v.kind != kPGVertexStart && !(p == pen) && !collector.Add(pen, p)) return false;
            pen = p;
        }
        std::sort(table->edges.begin(), table->edges.end(), StartsBefore);
        std::sort(table->vpos.begin(), table->vpos.end());
        table->vpos.erase(std::unique(table->vpos.begin(), table->vpos.end()), table->vpos.end());
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}
