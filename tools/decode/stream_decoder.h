// Parses a whole printer stream as the printer reads it: the PJL job header,
// then pages (page header, band records with their planes and checksums,
// page trailer) and the job trailer. Every plane is decompressed and placed
// into its page plane. Any malformed byte stops the parse with a message
// that names the byte offset and the page, band and plane it belongs to.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "decode/decoded_job.h"

// True when the stream is well formed; `job` then holds it. Never reads
// outside [data, data + size).
bool DecodeStream(const uint8_t* data, size_t size, const DecodeOptions& options,
                  DecodedJob* job, std::string* error);

inline bool DecodeStream(const uint8_t* data, size_t size, DecodedJob* job, std::string* error) {
    return DecodeStream(data, size, DecodeOptions{}, job, error);
}
