// The shell's special folders, short paths and free disk space through
// functions that Windows 95 has: the A forms, and the special folders
// through an item id list (SHGetSpecialFolderPath came only with the shell
// update of Internet Explorer 4). The Windows and system folders are in
// windows_folders.cpp, apart from the shell.
#include "sys/folders.h"

#include "windows_api.h"

namespace sys {
namespace {

// Frees an item id list with the shell's allocator.
void FreeItemIdList(LPITEMIDLIST list) {
    IMalloc* allocator = nullptr;
    if (list != nullptr && SUCCEEDED(::SHGetMalloc(&allocator)) && allocator != nullptr) {
        allocator->Free(list);
        allocator->Release();
    }
}

}  // namespace

WString GetSpecialFolderPath(SpecialFolder folder) {
    LPITEMIDLIST list = nullptr;
    const HRESULT result = ::SHGetSpecialFolderLocation(nullptr, static_cast<int>(folder), &list);
    if (FAILED(result) || list == nullptr) {
        ::SetLastError(ERROR_FILE_NOT_FOUND);
        return WString();
    }
    char path[MAX_PATH + 1] = {};
    const bool found = ::SHGetPathFromIDListA(list, path) != FALSE;
    FreeItemIdList(list);
    if (!found) {
        ::SetLastError(ERROR_FILE_NOT_FOUND);
        return WString();
    }
    return FromCodePage(path);
}

WString GetShortPathName(WStringView path) {
    const std::string longPath = ToCodePage(path);
    std::string shortPath(MAX_PATH + 1, '\0');
    for (;;) {
        const DWORD length =
            ::GetShortPathNameA(longPath.c_str(), shortPath.data(), static_cast<DWORD>(shortPath.size()));
        if (length == 0) return WString();
        if (length < shortPath.size()) return FromCodePage(std::string_view(shortPath.data(), length));
        shortPath.assign(length, '\0');  // the size asked for, its NUL included
    }
}

bool GetDiskFreeSpace(WStringView path, uint64_t* freeBytes) {
    // GetDiskFreeSpaceA wants the root: "C:\" of "C:\dir\x", "\\server\share\" of a share.
    WString root(path);
    if (root.size() >= 2 && root[1] == u':') {
        root = root.substr(0, 2) + u"\\";
    } else if (root.size() >= 2 && root[0] == u'\\' && root[1] == u'\\') {
        const size_t server = root.find(u'\\', 2);
        const size_t share = server == WString::npos ? WString::npos : root.find(u'\\', server + 1);
        root = (share == WString::npos ? root : root.substr(0, share)) + u"\\";
    }
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
    if (!::GetDiskFreeSpaceA(ToCodePage(root).c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters,
                             &totalClusters))
        return false;
    *freeBytes = uint64_t{sectorsPerCluster} * bytesPerSector * freeClusters;
    return true;
}

}  // namespace sys
