// Windows paths on a POSIX host. The machine's drives live under one folder,
// the machine root: "C:\Dir\File.txt" is <root>/c/Dir/File.txt. Names match
// without regard to case, as on Windows: an existing entry whose name differs
// only in case is used, otherwise the name as given (for creation).
#pragma once

#include <string>
#include <string_view>

#include "sys/text.h"

namespace sys::posix {

// ZSYS_MACHINE_ROOT, or "zsys-machine" under $TMPDIR (or /tmp); created on
// demand. Empty when it cannot be created.
std::string MachineRoot();

// mkdir -p of a host folder; true when the folder exists afterwards.
bool MakeFolders(const std::string& path);

struct HostPath {
    std::string path;           // the host path
    bool parentExists = false;  // the folder that holds the last name exists
};

// Maps a Windows path ("X:\a\b", "\a\b" on drive C, "a\b" relative to the
// current folder) or a host path (starting with '/') to a host path.
// Backslashes and forward slashes both separate; "." and ".." are resolved
// by name, trailing dots and spaces of a name are dropped, as Windows does.
// False and the last error (3 path not found, 53 network path, 123 invalid
// name, 206 name too long) when the path cannot name a file.
bool ToHostPath(WStringView path, HostPath* out);

// Splits "folder\pattern" at the last separator. A bare "X:name" keeps the
// drive as the folder; a bare name gets the current folder ".".
void SplitFolderAndName(WStringView path, WString* folder, WString* name);

// sys::EqualsIgnoreCase for two UTF-8 names of the host's directories.
bool NamesEqualIgnoringCase(std::string_view a, std::string_view b);

}  // namespace sys::posix
