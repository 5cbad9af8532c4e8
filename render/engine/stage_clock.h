// Where a page's time goes: the time spent in each stage of band printing,
// summed over every band of every page since the last reset. Off unless a
// benchmark turns it on with a clock of its choice (the CPU time of the
// thread, say, on a busy machine); when off, a timer costs one relaxed load
// per band.
#pragma once

#include <cstdint>

enum class RDStage : uint32_t {
    Playback,          // clearing the band and replaying the display list into it
    ColourConversion,  // the colour module turning RGB into inks
    Screening,         // bands of pixels into 1-bit planes
    Compression,       // the planes' coders
    Writing,           // band records through the output writer to the spooler
    Count,
};

// A clock in nanoseconds; null turns the stage clock off.
using RDStageClockSource = uint64_t (*)();
void RDStageClockEnable(RDStageClockSource clock);
RDStageClockSource RDStageClock();
void RDStageClockReset();
uint64_t RDStageNanoseconds(RDStage stage);
const char* RDStageName(RDStage stage);

// Adds the time from its construction to its destruction to the stage.
class RDStageTimer {
public:
    explicit RDStageTimer(RDStage stage);
    ~RDStageTimer();
    RDStageTimer(const RDStageTimer&) = delete;
    RDStageTimer& operator=(const RDStageTimer&) = delete;

private:
    RDStage stage_;
    RDStageClockSource clock_;
    uint64_t start_ = 0;
};
