// Small text files read whole and logs appended line by line, for the
// answer script, its question log and the setup trace. The win32 layer uses
// the A file functions, so that the programs that must start on Windows 95
// can use these (sys/files.h calls the W forms).
#pragma once

#include <string>
#include <string_view>

#include "sys/text.h"

namespace sys {

// The file's bytes; false and the last error when it cannot be read.
// Files larger than 16 MiB are refused (kErrorNotEnoughMemory).
bool ReadTextFile(WStringView path, std::string* bytes);

// Appends `line` (its bytes as given; add the line end yourself) with one
// write at the end of the file, creating the file when missing, so that
// lines of several writers, threads or processes never mix.
bool AppendTextLine(WStringView path, std::string_view line);

}  // namespace sys
