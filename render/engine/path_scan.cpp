// GpmPaintPath: the scan converter of filled paths and clip paths.
//
// It walks down the rows between consecutive vpos rows (a trapezoid: the
// same edges cross every row of it), keeps the edges that cross the row in
// the order of their columns, and finds the spans between them under the
// even-odd or the non-zero winding rule. Each edge steps from row to row
// with an exact integer DDA: its column at row c is
//     x1 + trunc((c - y1) * dx / dy)
// kept as a whole step per row plus a carried remainder, so no division is
// done per row and no rounding error builds up. The scan converter produces
// spans only; the callback decides what a span means (RDFillRow1 paints it,
// RDAddClipRun records it).
#include <algorithm>
#include <array>
#include <new>

#include "path_edges.h"
#include "path_generator.h"

namespace {

// An edge crossing the current row.
struct ActiveEdge {
    int32_t x;              // column at the current row
    int32_t step;           // whole columns per row, with the edge's sign
    int32_t sign;           // +1 or -1: the way x moves
    int32_t remainderStep;  // |dx| mod dy
    int32_t remainder;      // carried part, 0 .. dy-1
    int32_t dy;
    int32_t y2;  // first row below the edge
    int8_t direction;
};

// The edge at row c (y1 <= c < y2).
ActiveEdge StartAt(const PGEdge& e, int32_t c) {
    const int32_t sign = e.dx < 0 ? -1 : 1;
    const int64_t adx = e.dx < 0 ? -int64_t{e.dx} : int64_t{e.dx};
    const int64_t travelled = int64_t{c - e.y1} * adx;
    ActiveEdge a;
    a.x = e.x1 + sign * static_cast<int32_t>(travelled / e.dy);
    a.remainder = static_cast<int32_t>(travelled % e.dy);
    a.step = sign * static_cast<int32_t>(adx / e.dy);
    a.remainderStep = static_cast<int32_t>(adx % e.dy);
    a.sign = sign;
    a.dy = e.dy;
    a.y2 = e.y2;
    a.direction = e.direction;
    return a;
}

void StepDown(ActiveEdge* a) {
    a->x += a->step;
    a->remainder += a->remainderStep;
    if (a->remainder >= a->dy) {
        a->remainder -= a->dy;
        a->x += a->sign;
    }
}

// Keeps the active edges in column order. Edges move little from one row to
// the next, so an insertion sort is linear while nothing crosses; when many
// edges cross at once the work is capped and a full sort takes over.
void OrderByColumn(std::vector<ActiveEdge>* active) {
    auto& a = *active;
    size_t budget = 8 * a.size() + 64;
    for (size_t i = 1; i < a.size(); ++i) {
        const ActiveEdge e = a[i];
        size_t j = i;
        while (j > 0 && a[j - 1].x > e.x) {
            if (budget-- == 0) {
                a[j] = e;
                std::stable_sort(a.begin(), a.end(),
                                 [](const ActiveEdge& l, const ActiveEdge& r) { return l.x < r.x; });
                return;
            }
            a[j] = a[j - 1];
            --j;
        }
        a[j] = e;
    }
}

struct Run {
    int32_t x1, x2, row;
};

// Spans wait here and go to the consumer kPGRunBuffer at a time, cut to the
// clip columns.
class RunBuffer {
public:
    explicit RunBuffer(const PathGenerator& pg) : pg_(pg) {}

    void Add(int32_t row, int32_t x1, int32_t x2) {
        runs_[count_++] = Run{x1, x2, row};
        if (count_ == runs_.size()) Flush();
    }

    void Flush() {
        for (size_t i = 0; i < count_; ++i) Deliver(runs_[i]);
        count_ = 0;
    }

private:
    void Deliver(Run run) const {
        if (run.x1 < pg_.clipLeft) {
            if (run.x2 <= pg_.clipLeft) return;
            run.x1 = pg_.clipLeft;
        }
        if (run.x1 >= pg_.clipRight) return;
        run.x2 = std::min(run.x2, pg_.clipRight);
        if (run.x2 < run.x1 || !pg_.callback) return;
        pg_.callback(pg_.callbackUser, pg_.callbackRequest, static_cast<uint32_t>(run.row),
                     static_cast<uint32_t>(run.x1), static_cast<uint32_t>(run.x2));
    }

    const PathGenerator& pg_;
    std::array<Run, kPGRunBuffer> runs_;
    size_t count_ = 0;
};

// The spans of one row: between the 1st and 2nd edge, the 3rd and 4th, ...
void EvenOddSpans(const std::vector<ActiveEdge>& active, int32_t row, RunBuffer* runs) {
    for (size_t i = 0; i + 1 < active.size(); i += 2) runs->Add(row, active[i].x, active[i + 1].x);
}

// The spans of one row: where the sum of the directions crossed is not 0.
void WindingSpans(const std::vector<ActiveEdge>& active, int32_t row, RunBuffer* runs) {
    int32_t winding = 0;
    int32_t start = 0;
    for (const ActiveEdge& e : active) {
        const int32_t before = winding;
        winding += e.direction;
        if (before == 0 && winding != 0) start = e.x;
        if (before != 0 && winding == 0) runs->Add(row, start, e.x);
    }
}

class TrapezoidWalk {
public:
    TrapezoidWalk(const PathGenerator& pg, const PGEdgeTable& table, bool evenOdd)
        : pg_(pg), table_(table), evenOdd_(evenOdd), runs_(pg) {}

    void Run() {
        const auto& vpos = table_.vpos;
        for (size_t i = 0; i + 1 < vpos.size(); ++i) {
            const int32_t top = vpos[i], bottom = vpos[i + 1];
            if (bottom <= pg_.clipTop) continue;
            if (top > pg_.clipBottom) break;
            const int32_t first = std::max(top, pg_.clipTop);
            Enter(first);
            const int64_t end = std::min<int64_t>(bottom, int64_t{pg_.clipBottom} + 1);
            for (int32_t row = first; row < end; ++row) {
                OrderByColumn(&active_);
                if (evenOdd_) {
                    EvenOddSpans(active_, row, &runs_);
                } else {
                    WindingSpans(active_, row, &runs_);
                }
                for (ActiveEdge& e : active_) StepDown(&e);
            }
        }
        runs_.Flush();
    }

private:
    // At a vpos row: edges that end leave, edges that start come in.
    void Enter(int32_t row) {
        active_.erase(std::remove_if(active_.begin(), active_.end(),
                                     [row](const ActiveEdge& e) { return e.y2 <= row; }),
                      active_.end());
        const auto& edges = table_.edges;
        for (; next_ < edges.size() && edges[next_].y1 <= row; ++next_) {
            if (edges[next_].y2 > row) active_.push_back(StartAt(edges[next_], row));
        }
    }

    const PathGenerator& pg_;
    const PGEdgeTable& table_;
    bool evenOdd_;
    RunBuffer runs_;
    std::vector<ActiveEdge> active_;
    size_t next_ = 0;
};

}  // namespace

int GpmPaintPath(PathGenerator* pg, int evenOdd) {
    if (pg->vertices.Overflowed() || pg->clipTop > pg->clipBottom || pg->clipLeft >= pg->clipRight) {
        return pg->vertices.Overflowed() ? 0 : 1;
    }
    try {
        PGEdgeTable table;
        if (!PGBuildEdgeTable(pg->vertices, pg->clipTop, pg->clipBottom, &table)) return 0;
        TrapezoidWalk walk(*pg, table, evenOdd != 0);
        walk.Run();
    } catch (const std::bad_alloc&) {
        return 0;
    }
    return 1;
}
