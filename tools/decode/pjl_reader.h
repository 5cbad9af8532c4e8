// The job header of a printer stream: the universal exit sequence, PJL lines
// ending in LF (CR before it allowed), up to "@PJL ENTER LANGUAGE = ...".
#pragma once

#include <string>

#include "decode/byte_cursor.h"
#include "decode/decoded_job.h"

// Longest PJL line accepted, without its line end.
constexpr size_t kMaxPjlLine = 256;

// Reads the job header from the cursor's position into job->pjl,
// job->otherPjlLines and job->language; the cursor then stands on the first
// byte after the ENTER LANGUAGE line. Refuses a language other than ZEBL. On
// failure says where in *error.
bool ReadPjlHeader(ByteCursor* cursor, DecodedJob* job, std::string* error);
