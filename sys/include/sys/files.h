// Files and directories. Paths are Windows paths ("C:\dir\name.ext"); on the
// posix layer they live under the machine root and match without regard to
// case, as on Windows.
#pragma once

#include <cstdint>
#include <vector>

#include "sys/text.h"

namespace sys {

enum : uint32_t {
    kAttrReadOnly = 0x01,
    kAttrHidden = 0x02,
    kAttrSystem = 0x04,
    kAttrDirectory = 0x10,
    kAttrArchive = 0x20,
    kAttrNormal = 0x80,
    kInvalidAttributes = 0xFFFFFFFFu,
};

enum class SeekOrigin { Begin, Current, End };

// Whether other openers may use the file while this handle is open.
enum class Share { None, ReadWrite };

// An open file. Move-only; closes itself.
class File {
public:
    File() = default;
    ~File();
    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    // CREATE_ALWAYS for reading and writing: an existing file is truncated.
    static File CreateAlways(WStringView path, Share share = Share::None);
    // OPEN_EXISTING for reading and writing, or reading only.
    static File OpenExisting(WStringView path, bool writable, Share share);

    bool IsOpen() const { return handle_ != nullptr; }
    // Read up to `length` bytes; *got is 0 at the end of the file.
    bool Read(void* data, uint32_t length, uint32_t* got);
    bool Write(const void* data, uint32_t length, uint32_t* written);
    bool Seek(int64_t offset, SeekOrigin origin, uint64_t* position = nullptr);
    void Close();

private:
    explicit File(void* handle) : handle_(handle) {}
    void* handle_ = nullptr;
};

// Deletes a file. Folders and devices (see PathKind) are refused with
// ERROR_ACCESS_DENIED: a device node is never removed.
bool DeleteFile(WStringView path);
uint32_t GetFileAttributes(WStringView path);  // kInvalidAttributes when missing
bool SetFileAttributes(WStringView path, uint32_t attributes);
bool CreateDirectory(WStringView path);
bool RemoveDirectory(WStringView path);  // only an empty one

// What a path names. A device is anything that is not stored as a file:
// NUL, CON, COMn, LPTn and \\.\ names on Windows; character and block
// devices, pipes and sockets on POSIX. Devices are written as they are:
// never created, truncated, replaced or deleted.
enum class PathKind { Missing, Folder, File, Device };
// Missing sets the last error: 2 when the folder that would hold it exists,
// 3 when it does not.
PathKind GetPathKind(WStringView path);

// MoveFileEx(from, to, MOVEFILE_REPLACE_EXISTING): renames a file within
// its volume, replacing `to` if it is a file. Windows 95 to Me lack
// MoveFileEx: there `to` is deleted first and then `from` renamed, which is
// not one step (for the tools; what must survive a crash on 9x needs more).
bool MoveFileReplacing(WStringView from, WStringView to);

struct DirEntry {
    WString name;  // file name only, no folder
    uint32_t attributes = 0;
    uint64_t size = 0;
};

// FindFirstFile/FindNextFile over a pattern such as "C:\dir\*.tmp" ('*' and
// '?' wildcards in the last component, matched without regard to case).
// "." and ".." are not listed. Empty when nothing matches.
std::vector<DirEntry> ListDirectory(WStringView pattern);

}  // namespace sys
