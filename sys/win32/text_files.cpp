// Text files through CreateFileA, which Windows 95 has.
#include "sys/text_files.h"

#include "windows_api.h"

namespace sys {
namespace {

constexpr DWORD kMaxTextFileBytes = DWORD{16} << 20;

class Handle {
public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    ~Handle() {
        if (IsOpen()) ::CloseHandle(handle_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle_; }

private:
    HANDLE handle_;
};

}  // namespace

bool ReadTextFile(WStringView path, std::string* bytes) {
    const Handle file(::CreateFileA(ToCodePage(path).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsOpen()) return false;
    const DWORD size = ::GetFileSize(file.Get(), nullptr);
    if (size == INVALID_FILE_SIZE || size > kMaxTextFileBytes) {
        ::SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    bytes->assign(size, '\0');
    DWORD done = 0;
    while (done < size) {
        DWORD got = 0;
        if (!::ReadFile(file.Get(), bytes->data() + done, size - done, &got, nullptr)) return false;
        if (got == 0) break;
        done += got;
    }
    bytes->resize(done);
    return true;
}

bool AppendTextLine(WStringView path, std::string_view line) {
    const Handle file(::CreateFileA(ToCodePage(path).c_str(), GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsOpen()) return false;
    // Another writer may append between the seek and the write; a lock on
    // the end of the file (LockFile has been there since Windows 95) keeps
    // the two together.
    const DWORD lockFrom = 0xFFFFFFF0u;
    bool locked = false;
    for (int tries = 0; tries < 1000 && !locked; ++tries) {
        locked = ::LockFile(file.Get(), lockFrom, 0, 1, 0) != FALSE;
        if (!locked) ::Sleep(1);
    }
    bool ok = ::SetFilePointer(file.Get(), 0, nullptr, FILE_END) != INVALID_SET_FILE_POINTER;
    DWORD written = 0;
    ok = ok && ::WriteFile(file.Get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr) &&
         written == line.size();
    if (locked) ::UnlockFile(file.Get(), lockFrom, 0, 1, 0);
    return ok;
}

}  // namespace sys
