// Parses a whole printer stream as the printer reads it: the PJL job header,
// then pages (page header, band records with their planes and checksums,
// page trailer) and the job trailer. Every plane is decompressed and placed
// into its page plane. Any malformed byte stops the parse with a message
// that names the byte offset and the page, band and plane it belongs to.
//
// The decoder is independent of the library on purpose: it is the project's
// eye on the output. It keeps its own reading of the stream format (record
// bytes, header layouts, plane ids, coders) and uses neither the library's
// stream-record writers and coders nor formats/, so a mistake in those cannot
// make it agree with itself by construction. Keep it that way.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "decode/decoded_job.h"

// True when the stream is well formed; `job` then holds it. Never reads
// outside [data, data + size).
bool DecodeStream(const uint8_t* data, size_t size, const DecodeOptions& options, DecodedJob* job,
                  std::string* error);

inline bool DecodeStream(const uint8_t* data, size_t size, DecodedJob* job, std::string* error) {
    return DecodeStream(data, size, DecodeOptions{}, job, error);
}
