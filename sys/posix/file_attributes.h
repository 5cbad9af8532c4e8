// Windows file attributes of host files. Read-only is the owner's write
// permission bit (the layer checks it itself, so it holds even for root);
// hidden, system and archive are kept in the extended attribute
// "user.zsys.attributes". A file that never had attributes set is "archive",
// as a newly written Windows file is.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <string>

namespace sys::posix {

uint32_t AttributesOf(const std::string& hostPath, const struct stat& info);
bool IsReadOnly(const struct stat& info);
// Stores the attributes; false with the last error when the file is missing.
bool StoreAttributes(const std::string& hostPath, const struct stat& info, uint32_t attributes);

}  // namespace sys::posix
