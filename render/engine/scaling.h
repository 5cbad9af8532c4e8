// Coordinate scaling of display-list objects by scaleNum / scaleDen
// (DL_SET_SCALE): the page printer enlarges or reduces whole pages this way.
//
// Products are taken in 64 bits and results saturate at 2^32 - 1, so a huge
// numerator moves an object off the page instead of wrapping it back onto
// it. A zero denominator leaves everything unscaled (the interpreter never
// stores one).
#pragma once

#include <cstdint>

#include "render_state.h"

// floor(num * v / den) and ceil(num * v / den), saturated to 32 bits.
uint32_t RDScaleFloor(uint64_t v, uint32_t den, uint32_t num);
uint32_t RDScaleCeil(uint64_t v, uint32_t den, uint32_t num);

// Boxes: truncating; an object that had width or height keeps at least one
// pixel of it.
void RDScaleTRect(TRect* req, uint32_t den, uint32_t num);

// Spans, glyphs and bitmaps: as RDScaleTRect when enlarging; when reducing,
// every edge rounds up, so that adjacent spans neither overlap nor leave gaps.
void RDScaleTRectF(TRect* req, uint32_t den, uint32_t num);

// Line end points: truncating.
void RDScaleTLines(TLine* line, uint32_t den, uint32_t num);

// Path bounding boxes: every side rounds up.
void RDScaleRectF(RDRect* box, uint32_t den, uint32_t num);
