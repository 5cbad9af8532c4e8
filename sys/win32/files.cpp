#include "sys/files.h"

#include "sys/last_error.h"
#include "windows_api.h"

namespace sys {
namespace {

using win32::Terminated;
using win32::Wide;

DWORD ShareFlags(Share share) { return share == Share::None ? 0 : FILE_SHARE_READ | FILE_SHARE_WRITE; }

void* Open(WStringView path, DWORD access, DWORD disposition, Share share) {
    const WString name = Terminated(path);
    HANDLE handle = ::CreateFileW(Wide(name), access, ShareFlags(share), nullptr, disposition,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
    return handle == INVALID_HANDLE_VALUE ? nullptr : handle;
}

}  // namespace

File File::CreateAlways(WStringView path, Share share) {
    return File(Open(path, GENERIC_READ | GENERIC_WRITE, CREATE_ALWAYS, share));
}

File File::OpenExisting(WStringView path, bool writable, Share share) {
    const DWORD access = GENERIC_READ | (writable ? GENERIC_WRITE : 0);
    return File(Open(path, access, OPEN_EXISTING, share));
}

bool File::Read(void* data, uint32_t length, uint32_t* got) {
    DWORD done = 0;
    const BOOL ok = handle_ ? ::ReadFile(handle_, data, length, &done, nullptr) : FALSE;
    if (!handle_) ::SetLastError(ERROR_INVALID_HANDLE);
    *got = done;
    return ok != FALSE;
}

bool File::Write(const void* data, uint32_t length, uint32_t* written) {
    DWORD done = 0;
    const BOOL ok = handle_ ? ::WriteFile(handle_, data, length, &done, nullptr) : FALSE;
    if (!handle_) ::SetLastError(ERROR_INVALID_HANDLE);
    *written = done;
    return ok != FALSE;
}

bool File::Seek(int64_t offset, SeekOrigin origin, uint64_t* position) {
    if (!handle_) {
        ::SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    const DWORD method = origin == SeekOrigin::Begin     ? FILE_BEGIN
                         : origin == SeekOrigin::Current ? FILE_CURRENT
                                                         : FILE_END;
    LONG high = static_cast<LONG>(offset >> 32);
    ::SetLastError(NO_ERROR);
    const DWORD low = ::SetFilePointer(handle_, static_cast<LONG>(offset & 0xFFFFFFFF), &high, method);
    if (low == INVALID_SET_FILE_POINTER && ::GetLastError() != NO_ERROR) return false;
    if (position) *position = (static_cast<uint64_t>(static_cast<DWORD>(high)) << 32) | low;
    return true;
}

void File::Close() {
    if (handle_) ::CloseHandle(handle_);
    handle_ = nullptr;
}

bool DeleteFile(WStringView path) { return ::DeleteFileW(Wide(Terminated(path))) != FALSE; }

uint32_t GetFileAttributes(WStringView path) { return ::GetFileAttributesW(Wide(Terminated(path))); }

bool SetFileAttributes(WStringView path, uint32_t attributes) {
    return ::SetFileAttributesW(Wide(Terminated(path)), attributes) != FALSE;
}

bool CreateDirectory(WStringView path) {
    return ::CreateDirectoryW(Wide(Terminated(path)), nullptr) != FALSE;
}

bool RemoveDirectory(WStringView path) { return ::RemoveDirectoryW(Wide(Terminated(path))) != FALSE; }

std::vector<DirEntry> ListDirectory(WStringView pattern) {
    std::vector<DirEntry> entries;
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW(Wide(Terminated(pattern)), &found);
    if (search == INVALID_HANDLE_VALUE) return entries;
    do {
        const WString name = win32::FromWide(found.cFileName);
        if (name == u"." || name == u"..") continue;
        DirEntry entry;
        entry.name = name;
        entry.attributes = found.dwFileAttributes;
        entry.size = (static_cast<uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
        entries.push_back(std::move(entry));
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    if (entries.empty()) ::SetLastError(ERROR_FILE_NOT_FOUND);
    return entries;
}

}  // namespace sys
