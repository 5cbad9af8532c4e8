// The band test of a line segment: a parametric (Liang-Barsky) clip of the
// segment against the band's columns and rows. It only answers whether some
// part of the segment is there; the line's pixels are found later, exactly,
// from its slice form. So the test errs only on the side of yes: a line's
// pixels lie within half a pixel of it, so the box is widened by that half
// pixel all round; and it works in double precision (exact for every 32-bit
// coordinate) with a little slack, so that rounding never loses a line that
// a band holds.
#include <algorithm>

#include "drawing_seams.h"

namespace {

constexpr double kSlack = 1e-9;

// Narrows [t0, t1] by one boundary of the clip box: p is the step of the
// segment across it, q the distance to it from the start. False when the
// segment lies wholly outside that boundary.
bool clipTest(double p, double q, double* t0, double* t1) {
    if (p == 0.0) return q >= 0.0;  // parallel: inside or outside all along
    const double t = q / p;
    if (p < 0.0) {
        if (t > *t1 + kSlack) return false;
        *t0 = std::max(*t0, t);
    } else {
        if (t < *t0 - kSlack) return false;
        *t1 = std::min(*t1, t);
    }
    return true;
}

}  // namespace

int RDClipTLines(const BandWindow& window, uint32_t pageRows, const TLine* line) {
    if (window.bandRows == 0) return 0;
    constexpr double kHalfPixel = 0.5;
    const double left = window.clipLeft - kHalfPixel;
    const double right = window.clipRight + kHalfPixel;
    const double top = window.bandTop - kHalfPixel;
    const double bottom = std::min(window.bandBottom, pageRows) + kHalfPixel;
    const double x1 = line->x1, y1 = line->y1;
    const double dx = static_cast<double>(line->x2) - x1;
    const double dy = static_cast<double>(line->y2) - y1;
    double t0 = 0.0, t1 = 1.0;
    return clipTest(-dx, x1 - left, &t0, &t1) && clipTest(dx, right - x1, &t0, &t1) &&
                   clipTest(-dy, y1 - top, &t0, &t1) && clipTest(dy, bottom - y1, &t0, &t1)
               ? 1
               : 0;
}
