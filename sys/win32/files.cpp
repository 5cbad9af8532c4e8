// Files and folders. Each service takes the W form where the system
// implements it and the A form elsewhere (wide_forms.h).
#include "sys/files.h"

#include "sys/last_error.h"
#include "wide_forms.h"

namespace sys {
namespace {

using win32::Ansi;
using win32::Terminated;
using win32::Wide;
using win32::WideForm;

DWORD ShareFlags(Share share) { return share == Share::None ? 0 : FILE_SHARE_READ | FILE_SHARE_WRITE; }

void* Open(WStringView path, DWORD access, DWORD disposition, Share share) {
    HANDLE handle = INVALID_HANDLE_VALUE;
    if (const auto createWide = WideForm<decltype(&::CreateFileW)>("CreateFileW"))
        handle = createWide(Wide(Terminated(path)), access, ShareFlags(share), nullptr, disposition,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
    else
        handle = ::CreateFileA(Ansi(path).c_str(), access, ShareFlags(share), nullptr, disposition,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    return handle == INVALID_HANDLE_VALUE ? nullptr : handle;
}

// Calls the W form `wideName` with the path where the system implements it,
// else the A form with the path in the ANSI code page.
template <typename WideFunction, typename Narrow, typename... Rest>
BOOL WithPath(const char* wideName, Narrow narrow, WStringView path, Rest... rest) {
    if (const auto wide = WideForm<WideFunction>(wideName))
        return wide(win32::Wide(Terminated(path)), rest...);
    return narrow(Ansi(path).c_str(), rest...);
}

// A found file's name from either form of the find data.
DirEntry EntryFrom(const WIN32_FIND_DATAW& found) {
    return {win32::FromWide(found.cFileName), found.dwFileAttributes,
            (static_cast<uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow};
}
DirEntry EntryFrom(const WIN32_FIND_DATAA& found) {
    return {FromCodePage(found.cFileName), found.dwFileAttributes,
            (static_cast<uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow};
}

// FindFirstFile and FindNextFile of one form over `pattern` (already in that
// form's text), "." and ".." left out. When nothing is listed the last error
// is FindFirstFile's, or ERROR_FILE_NOT_FOUND when it found "." and ".." only.
template <typename FindData, typename Text, typename First, typename Next>
std::vector<DirEntry> List(const Text& pattern, First first, Next next) {
    std::vector<DirEntry> entries;
    FindData found;
    HANDLE search = first(pattern, &found);
    if (search == INVALID_HANDLE_VALUE) return entries;
    do {
        DirEntry entry = EntryFrom(found);
        if (entry.name == u"." || entry.name == u"..") continue;
        entries.push_back(std::move(entry));
    } while (next(search, &found));
    ::FindClose(search);
    if (entries.empty()) ::SetLastError(ERROR_FILE_NOT_FOUND);
    return entries;
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

bool DeleteFile(WStringView path) {
    return WithPath<decltype(&::DeleteFileW)>("DeleteFileW", ::DeleteFileA, path) != FALSE;
}

uint32_t GetFileAttributes(WStringView path) {
    if (const auto wide = WideForm<decltype(&::GetFileAttributesW)>("GetFileAttributesW"))
        return wide(Wide(Terminated(path)));
    return ::GetFileAttributesA(Ansi(path).c_str());
}

bool SetFileAttributes(WStringView path, uint32_t attributes) {
    return WithPath<decltype(&::SetFileAttributesW)>("SetFileAttributesW", ::SetFileAttributesA, path,
                                                     DWORD{attributes}) != FALSE;
}

bool CreateDirectory(WStringView path) {
    return WithPath<decltype(&::CreateDirectoryW)>("CreateDirectoryW", ::CreateDirectoryA, path,
                                                   static_cast<SECURITY_ATTRIBUTES*>(nullptr)) != FALSE;
}

bool RemoveDirectory(WStringView path) {
    return WithPath<decltype(&::RemoveDirectoryW)>("RemoveDirectoryW", ::RemoveDirectoryA, path) != FALSE;
}

std::vector<DirEntry> ListDirectory(WStringView pattern) {
    const auto firstWide = WideForm<decltype(&::FindFirstFileW)>("FindFirstFileW");
    const auto nextWide = WideForm<decltype(&::FindNextFileW)>("FindNextFileW");
    if (firstWide && nextWide) {
        const WString terminated = Terminated(pattern);
        return List<WIN32_FIND_DATAW>(Wide(terminated), firstWide, nextWide);
    }
    return List<WIN32_FIND_DATAA>(Ansi(pattern).c_str(), ::FindFirstFileA, ::FindNextFileA);
}

}  // namespace sys
