// The order of a booklet's sheet sides: pages imposed two per side so that
// the stack, printed duplex on the short edge and folded in the middle,
// reads 1, 2, 3, ... .
//
// With N pages rounded up to T, a multiple of 4, side i (1 .. T/2) carries
// page i and its partner T + 1 - i; pages above N are blank positions. On
// odd sides page i takes cell 1 and its partner cell 0, on even sides the
// other way round, so that front and back of each sheet mirror.
#pragma once

#include <cstdint>
#include <vector>

struct FBBookletPosition {
    uint32_t pageNumber = 0;  // 1-based
    uint32_t cell = 0;        // 0 or 1: the two halves of the side
    bool blank = false;       // past the document's last page
};

struct FBBookletSide {
    FBBookletPosition page;     // page i
    FBBookletPosition partner;  // page T + 1 - i
};

// The sides for a document of `pages` pages; none for 0 pages.
std::vector<FBBookletSide> FBBookletSides(uint32_t pages);
