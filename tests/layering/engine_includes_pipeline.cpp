// Compiled as an engine source (the engine's include roots and options): a
// pipeline header must not be found. The layering test expects this file to
// fail to compile with "pipeline/output_writer.h" not found.
#include "band_output.h"
#include "pipeline/output_writer.h"

int LayeringProbePipeline() { return static_cast<int>(sizeof(FBOut)); }
