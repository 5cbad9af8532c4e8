#include "file_attributes.h"

#include <sys/xattr.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "error_codes.h"
#include "sys/files.h"

namespace sys::posix {
namespace {

constexpr char kAttributeName[] = "user.zsys.attributes";
constexpr uint32_t kStoredBits = kAttrHidden | kAttrSystem | kAttrArchive;

// The stored hidden/system/archive bits, or -1 when none were stored.
long StoredBits(const std::string& hostPath) {
    char text[16] = {};
    const ssize_t length = ::getxattr(hostPath.c_str(), kAttributeName, text, sizeof text - 1);
    if (length <= 0) return -1;
    return std::strtol(text, nullptr, 10) & kStoredBits;
}

}  // namespace

bool IsReadOnly(const struct stat& info) { return (info.st_mode & S_IWUSR) == 0; }

uint32_t AttributesOf(const std::string& hostPath, const struct stat& info) {
    const long stored = StoredBits(hostPath);
    uint32_t attributes = 0;
    if (S_ISDIR(info.st_mode)) {
        attributes = kAttrDirectory | (stored < 0 ? 0 : static_cast<uint32_t>(stored));
    } else {
        attributes = stored < 0 ? kAttrArchive : static_cast<uint32_t>(stored);
    }
    if (IsReadOnly(info)) attributes |= kAttrReadOnly;
    return attributes == 0 ? kAttrNormal : attributes;
}

bool StoreAttributes(const std::string& hostPath, const struct stat& info, uint32_t attributes) {
    const mode_t writable = info.st_mode | S_IWUSR;
    const mode_t readOnly = info.st_mode & ~static_cast<mode_t>(S_IWUSR | S_IWGRP | S_IWOTH);
    const mode_t mode = (attributes & kAttrReadOnly) ? readOnly : writable;
    if (::chmod(hostPath.c_str(), mode & 07777) != 0) return FailFromErrno();
    char text[16];
    std::snprintf(text, sizeof text, "%u", attributes & kStoredBits);
    // A file system without extended attributes keeps only read-only; the
    // package never depends on the other bits, so that is not an error.
    ::setxattr(hostPath.c_str(), kAttributeName, text, std::strlen(text), 0);
    return true;
}

}  // namespace sys::posix
