// INI files of the posix layer's profile functions, read whole and replaced
// whole (a new file renamed into place) under an advisory lock on the file,
// shared for reading and exclusive for an edit, so that concurrent programs
// that edit one file never lose each other's changes and a reader never
// sees half a file.
#pragma once

#include <functional>
#include <string>

#include "sys/ini_document.h"

namespace sys::posix {

// The file's document; an empty one when the file does not exist. False and
// the last error when it exists but cannot be read, or is larger than any
// INI file this package reads (16 MiB).
bool ReadProfile(WStringView path, IniDocument* document);

// The file's bytes as they are stored, read under the same lock; empty when
// the file does not exist.
bool ReadProfileBytes(WStringView path, std::string* bytes);

// Runs `edit` on the file's document and writes the document back, in the
// file's encoding, when `edit` returns true. A missing file is created only
// when `create` is set; otherwise editing it succeeds without a change.
bool EditProfile(WStringView path, bool create, const std::function<bool(IniDocument&)>& edit);

}  // namespace sys::posix
