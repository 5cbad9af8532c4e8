// Stretch tables: how an image's source pixels map onto destination pixels
// along one axis (columns or rows), by whole-pixel replication.
//
// Of n source pixels stretched to m destination pixels, source pixel i
// covers destination pixels floor(i*m/n) .. floor((i+1)*m/n) - 1. Whole
// factors replicate every pixel equally; other factors spread the remainder
// evenly; a reduction gives some source pixels no destination pixel at all.
//
// A table holds the counts only for the part of the destination that is
// visible (in the band), so that its size and the work done with it are
// bounded by the band and by n, never by m: under a scale, m may be any
// 32-bit value.
#pragma once

#include <cstdint>
#include <vector>

// floor(i * m / n): the first destination pixel of source pixel i (i <= n).
uint64_t StretchStart(uint32_t n, uint64_t m, uint64_t i);

// The source pixel whose destination pixels include destination pixel d
// (d < m): the largest i with floor(i*m/n) <= d.
uint32_t StretchSourceOf(uint32_t n, uint64_t m, uint64_t d);

// The counts of the source pixels that reach destination pixels
// visibleStart .. visibleEnd - 1 (offsets from the image's first pixel),
// each cut to that part: counts[k] is the number of visible destination
// pixels of source pixel first + k.
struct StretchTable {
    uint32_t first = 0;  // first source pixel that reaches the visible part
    uint32_t last = 0;   // last one (inclusive)
    uint64_t visibleStart = 0;
    uint64_t visibleEnd = 0;
    const uint32_t* counts = nullptr;  // last - first + 1 entries

    uint32_t Entries() const { return last - first + 1; }
};

// Builds the table of n source pixels stretched to m, visible from
// visibleStart to visibleEnd (0 <= visibleStart < visibleEnd <= m), with its
// counts in `storage` (grown as needed). False when the sizes are empty or
// the visible part is not inside the destination, or when there is no
// memory for the counts; the image is then not drawn.
bool GetStrchingTbl(uint32_t n, uint64_t m, uint64_t visibleStart, uint64_t visibleEnd,
                    std::vector<uint32_t>& storage, StretchTable* table);
