// Routines the stand-in modules export by name. On Windows the .def file of
// each module lists them under their plain names; on POSIX they are the only
// symbols the shared object shows.
#pragma once

#if defined(_WIN32)
#define ZEBL_EXPORT extern "C"
#else
#define ZEBL_EXPORT extern "C" __attribute__((visibility("default")))
#endif
