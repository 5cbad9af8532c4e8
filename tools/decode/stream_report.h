// The text report `zebl decode` prints for a decoded printer stream: the PJL
// settings, and per page its header fields, bands, planes per id, the
// compression mix, sizes and dot counts.
#pragma once

#include <string>

#include "decode/decoded_job.h"

struct ReportOptions {
    bool listBands = false;  // one line per band record and plane
};

std::string FormatStreamReport(const DecodedJob& job, const ReportOptions& options = {});
