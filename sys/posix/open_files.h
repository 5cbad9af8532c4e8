// The files this process has open, by device and inode, so that share modes
// behave as on Windows: a file opened without sharing refuses every other
// open (and deletion) until it is closed, and a file that is open refuses an
// open without sharing. Only opens within this process are seen.
#pragma once

#include <sys/types.h>

#include "sys/files.h"

namespace sys::posix {

struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
};

// False (sharing violation) when the share modes conflict.
bool RegisterOpenFile(FileIdentity id, Share share);
void UnregisterOpenFile(FileIdentity id, Share share);
bool IsFileOpen(FileIdentity id);

}  // namespace sys::posix
