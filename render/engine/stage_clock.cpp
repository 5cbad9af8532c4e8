#include "stage_clock.h"

#include <array>
#include <atomic>

namespace {

constexpr size_t kStages = static_cast<size_t>(RDStage::Count);

std::atomic<RDStageClockSource> g_stageClock{nullptr};
std::array<std::atomic<uint64_t>, kStages> g_stageNanoseconds{};

constexpr const char* kStageNames[kStages] = {"playback", "colour_conversion", "screening", "compression",
                                              "writing"};

}  // namespace

void RDStageClockEnable(RDStageClockSource clock) { g_stageClock.store(clock, std::memory_order_relaxed); }

RDStageClockSource RDStageClock() { return g_stageClock.load(std::memory_order_relaxed); }

void RDStageClockReset() {
    for (auto& total : g_stageNanoseconds) total.store(0, std::memory_order_relaxed);
}

uint64_t RDStageNanoseconds(RDStage stage) {
    const auto index = static_cast<size_t>(stage);
    return index < kStages ? g_stageNanoseconds[index].load(std::memory_order_relaxed) : 0;
}

const char* RDStageName(RDStage stage) {
    const auto index = static_cast<size_t>(stage);
    return index < kStages ? kStageNames[index] : "";
}

RDStageTimer::RDStageTimer(RDStage stage) : stage_(stage), clock_(RDStageClock()) {
    if (clock_) start_ = clock_();
}

RDStageTimer::~RDStageTimer() {
    if (clock_ == nullptr) return;
    g_stageNanoseconds[static_cast<size_t>(stage_)].fetch_add(clock_() - start_, std::memory_order_relaxed);
}
