#include "scaling.h"

namespace {

constexpr uint64_t kMax32 = 0xFFFFFFFFu;

uint32_t Saturate(uint64_t v) {
    return v > kMax32 ? static_cast<uint32_t>(kMax32) : static_cast<uint32_t>(v);
}

// num * v / den without overflow: v = q * den + r, so the result is
// q * num + r * num / den, and r * num (+ den - 1) stays below 2^64.
uint32_t ScaleSplit(uint64_t v, uint32_t den, uint32_t num, bool roundUp) {
    if (den == 0) return Saturate(v);
    const uint64_t q = v / den;
    const uint64_t r = v % den;
    if (num != 0 && q > kMax32 / num) return static_cast<uint32_t>(kMax32);
    const uint64_t part = roundUp ? (r * num + den - 1) / den : r * num / den;
    return Saturate(q * num + part);
}

}  // namespace

uint32_t RDScaleFloor(uint64_t v, uint32_t den, uint32_t num) { return ScaleSplit(v, den, num, false); }

uint32_t RDScaleCeil(uint64_t v, uint32_t den, uint32_t num) { return ScaleSplit(v, den, num, true); }

void RDScaleTRect(TRect* req, uint32_t den, uint32_t num) {
    if (den == 0) return;
    const uint64_t end = uint64_t{req->row} + req->rows;
    uint32_t xs = RDScaleFloor(req->xs, den, num);
    uint32_t xe = RDScaleFloor(req->xe, den, num);
    if (xs == xe && req->xs < req->xe && xe != kMax32) xe = xs + 1;
    uint32_t first = RDScaleFloor(req->row, den, num);
    uint32_t last = RDScaleFloor(end, den, num);
    uint32_t rows = last - first;
    if (rows == 0 && req->rows > 0) rows = 1;
    req->xs = xs;
    req->xe = xe;
    req->row = first;
    req->rows = rows;
}

void RDScaleTRectF(TRect* req, uint32_t den, uint32_t num) {
    if (den == 0) return;
    if (den < num) {
        RDScaleTRect(req, den, num);
        return;
    }
    const uint64_t end = uint64_t{req->row} + req->rows;
    uint32_t first = RDScaleCeil(req->row, den, num);
    req->rows = RDScaleCeil(end, den, num) - first;
    req->row = first;
    req->xs = RDScaleCeil(req->xs, den, num);
    req->xe = RDScaleCeil(req->xe, den, num);
}

void RDScaleTLines(TLine* line, uint32_t den, uint32_t num) {
    line->x1 = RDScaleFloor(line->x1, den, num);
    line->y1 = RDScaleFloor(line->y1, den, num);
    line->x2 = RDScaleFloor(line->x2, den, num);
    line->y2 = RDScaleFloor(line->y2, den, num);
}

void RDScaleRectF(RDRect* box, uint32_t den, uint32_t num) {
    box->left = RDScaleCeil(box->left, den, num);
    box->top = RDScaleCeil(box->top, den, num);
    box->right = RDScaleCeil(box->right, den, num);
    box->bottom = RDScaleCeil(box->bottom, den, num);
}
