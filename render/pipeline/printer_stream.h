// Writing the printer stream: each structure of stream_records.h goes to the
// output writer with the stream number of its part of the job (job header,
// page data, job trailer), so that collated copies can replay the page part.
#pragma once

#include <cstdint>

#include "pipeline/fb_records.h"
#include "pipeline/output_writer.h"
#include "pipeline/stream_records.h"

// Each returns 1 when every byte was accepted by the writer, else 0.
int WriteJobHeader(FBOut* out, const FBPage& page, FBSettings* settings);
int WriteJobTrailer(FBOut* out);
int WritePageHeader(FBOut* out, const FBPage& page, const FBSettings& settings);
int WritePageTrailer(FBOut* out, const FBPage& page, const FBSettings& settings);
int WriteBandHeaderColor(FBOut* out, uint32_t bandNumber, uint8_t compression, uint32_t widthDots,
                         uint32_t lines, uint32_t dataLength, uint8_t planeId);
int WriteBandRepeatedHeaderColor(FBOut* out, uint8_t compression, uint32_t dataLength, uint8_t planeId);
int WriteBandBuffer(FBOut* out, const uint8_t* data, uint32_t length);
