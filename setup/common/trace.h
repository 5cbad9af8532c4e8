// The trace of Setup and VLAuto: every routine writes what it starts, reads
// and decides through MyTrace. It writes nothing unless a trace file is set:
//
// - the environment variable ZEBL_SETUP_TRACE, the path of the file, or else
// - the string value "TraceFile" of HKEY_LOCAL_MACHINE\Software\ZEBL\Setup
//   (read once per program),
//
// so that an administrator can see what an installation decided. Each call
// appends its text to the file (a line end added when the text has none).
#pragma once

#include <cstdint>

// printf-style; with no trace file set, the arguments are not even read.
void MyTrace(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

// "[tag]<the system's text for the error>".
void MyTraceLastError(uint32_t errorCode, const char* tag);
