#include "pipeline/booklet_order.h"

#include <cstddef>

std::vector<FBBookletSide> FBBookletSides(uint32_t pages) {
    std::vector<FBBookletSide> sides;
    if (pages == 0) return sides;
    // Pages beyond what a 32-bit page count allows cannot come; the rounding
    // is done in 64 bits all the same.
    const uint64_t total = (uint64_t{pages} + 3) / 4 * 4;  // T
    sides.reserve(static_cast<size_t>(total / 2));
    for (uint64_t i = 1; i <= total / 2; ++i) {
        const uint64_t partner = total + 1 - i;
        const bool oddSide = (i & 1) != 0;
        FBBookletSide side;
        side.page = {static_cast<uint32_t>(i), oddSide ? 1u : 0u, i > pages};
        side.partner = {static_cast<uint32_t>(partner), oddSide ? 0u : 1u, partner > pages};
        sides.push_back(side);
    }
    return sides;
}
