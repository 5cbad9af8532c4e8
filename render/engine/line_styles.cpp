#include "line_styles.h"

namespace {

// The table proves itself: each period is the sum of its style's runs.
constexpr bool PeriodsMatchRuns() {
    for (uint32_t style = 0; style < kLineStyles; ++style) {
        if (awStyleSize[style] == 0) continue;
        const uint32_t at = abStyleLookUp[style];
        uint32_t sum = 0;
        for (uint32_t i = 0; i < adwWinStyles[at]; ++i) sum += adwWinStyles[at + 1 + i];
        if (sum != awStyleSize[style]) return false;
    }
    return true;
}
static_assert(PeriodsMatchRuns());

}  // namespace

LineStylePattern::LineStylePattern(uint8_t style, uint64_t position) {
    if (style >= kLineStyles) style = kLineStyleSolid;
    const uint32_t at = abStyleLookUp[style];
    count_ = adwWinStyles[at];
    runs_ = &adwWinStyles[at + 1];
    const uint32_t period = awStyleSize[style];
    uint64_t offset = period ? position % period : 0;
    run_ = 0;
    // Skip the runs that lie wholly before the position (and empty runs).
    while (runs_[run_] <= offset) {
        offset -= runs_[run_];
        run_ = (run_ + 1) % count_;
    }
    left_ = static_cast<uint32_t>(runs_[run_] - offset);
}

void LineStylePattern::NextRun() {
    do {
        run_ = (run_ + 1) % count_;
    } while (runs_[run_] == 0);
    left_ = runs_[run_];
}
