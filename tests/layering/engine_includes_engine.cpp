// Compiled as an engine source (the engine's include roots and options): an
// engine header by its plain name must be found. The control of the layering
// test: the probe that includes a pipeline header fails for that reason
// alone, not because the probe's set-up is broken.
#include "band_output.h"
#include "raster_ops.h"

int LayeringProbeEngine() { return ChannelIDTbl[0]; }
