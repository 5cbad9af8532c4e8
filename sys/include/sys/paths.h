// Splitting and joining Windows paths as text ("C:\dir\name.ext"). Both
// '\' and '/' separate, as Windows accepts; nothing here looks at the disk.
#pragma once

#include "sys/text.h"

namespace sys {

bool IsPathSeparator(char16_t c);

// "C:\dir\name.ext" -> "C:\dir"; empty when the path has no separator.
WStringView FolderOf(WStringView path);
// "C:\dir\name.ext" -> "name.ext"; a drive's colon ends the folder too
// ("C:name" -> "name").
WStringView FileNameOf(WStringView path);
// "C:\dir\name.ext" -> "C:\dir\name"; a dot in a folder name is no extension.
WStringView WithoutExtension(WStringView path);
// folder + '\' + name; no second separator when the folder ends with one,
// and the name alone when the folder is empty.
WString JoinPath(WStringView folder, WStringView name);

}  // namespace sys
