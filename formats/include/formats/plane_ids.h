// Plane ids of the printer stream's band records: one per ink. Colour pages
// send cyan, magenta, yellow and black planes in that order; a grey page
// sends its one plane as black.
#pragma once

#include <cstdint>

enum StreamPlaneId : uint8_t {
    kPlaneCyan = 1,
    kPlaneMagenta = 2,
    kPlaneYellow = 3,
    kPlaneBlack = 4,
};
