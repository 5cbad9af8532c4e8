#include "profile_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "error_codes.h"
#include "file_attributes.h"
#include "host_paths.h"
#include "open_files.h"
#include "sys/folders.h"
#include "sys/last_error.h"
#include "sys/paths.h"

namespace sys::posix {
namespace {

constexpr off_t kMaxProfileBytes = off_t{16} << 20;

// What Windows reads an INI file as: a UTF-16LE or UTF-8 byte-order mark
// says so, anything else is text in the code page (UTF-8 on this layer).
enum class ProfileEncoding { kCodePage, kUtf8WithMark, kUtf16Le };

constexpr char kUtf8Mark[] = "\xEF\xBB\xBF";
constexpr char kUtf16LeMark[] = "\xFF\xFE";

// A file name without a folder ("win.ini", "Wininit.ini") names a file in
// the Windows folder, as for the Windows profile functions.
WString ProfilePath(WStringView path) {
    if (path.find_first_of(u"\\/") != WStringView::npos) return WString(path);
    const WString windows = GetWindowsDirectory();
    return windows.empty() ? WString(path) : JoinPath(windows, path);
}

// An open file descriptor that closes (and so unlocks) itself. It takes
// part in the process's share modes as the Windows profile functions do
// (they open with read and write sharing): a file some handle holds without
// sharing cannot be read or written.
class LockedFile {
public:
    LockedFile() = default;
    ~LockedFile() {
        if (registered_) UnregisterOpenFile(id_, Share::ReadWrite);
        if (fd_ >= 0) ::close(fd_);
    }
    LockedFile(const LockedFile&) = delete;
    LockedFile& operator=(const LockedFile&) = delete;

    // False and the last error when it cannot be opened; *missing tells a
    // file that is not there (when not created) from other failures.
    bool Open(WStringView path, bool forEdit, bool create, bool* missing) {
        *missing = false;
        HostPath host;
        if (!ToHostPath(ProfilePath(path), &host)) return false;
        host_ = host.path;
        const int flags = (forEdit ? O_RDWR : O_RDONLY) | (create ? O_CREAT : 0) | O_CLOEXEC;
        fd_ = ::open(host_.c_str(), flags, 0666);
        if (fd_ < 0) {
            *missing = errno == ENOENT;
            return FailFromErrno(host.parentExists);
        }
        struct stat st;
        if (::fstat(fd_, &st) != 0) return FailFromErrno();
        if (forEdit && IsReadOnly(st)) return Fail(kErrorAccessDenied);
        id_ = FileIdentity{st.st_dev, st.st_ino};
        registered_ = RegisterOpenFile(id_, Share::ReadWrite);
        if (!registered_) return Fail(kErrorSharingViolation);
        if (::flock(fd_, forEdit ? LOCK_EX : LOCK_SH) != 0) return FailFromErrno();
        return true;
    }

    // Whether the path still names the locked file: an edit that held the
    // lock before may have replaced it.
    bool StillAtItsPath() const {
        struct stat st;
        return ::stat(host_.c_str(), &st) == 0 && st.st_dev == id_.device && st.st_ino == id_.inode;
    }

    bool ReadAll(std::string* bytes) const {
        struct stat st;
        if (::fstat(fd_, &st) != 0) return FailFromErrno();
        if (!S_ISREG(st.st_mode)) return Fail(kErrorAccessDenied);
        if (st.st_size > kMaxProfileBytes) return Fail(kErrorNotEnoughMemory);
        bytes->assign(static_cast<size_t>(st.st_size), '\0');
        size_t done = 0;
        while (done < bytes->size()) {
            const ssize_t got =
                ::pread(fd_, bytes->data() + done, bytes->size() - done, static_cast<off_t>(done));
            if (got < 0 && errno == EINTR) continue;
            if (got < 0) return FailFromErrno();
            if (got == 0) break;
            done += static_cast<size_t>(got);
        }
        bytes->resize(done);
        return true;
    }

    // Writes a new file beside it and renames it into place, so that a
    // reader never sees half a file, whatever lock it takes, and a failed
    // write leaves the old file.
    bool Replace(const std::string& bytes) const {
        const std::string temp = host_ + ".new." + std::to_string(::getpid());
        const int out = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (out < 0) return FailFromErrno();
        size_t done = 0;
        bool ok = true;
        while (ok && done < bytes.size()) {
            const ssize_t put = ::write(out, bytes.data() + done, bytes.size() - done);
            if (put < 0 && errno == EINTR) continue;
            ok = put > 0;
            if (ok) done += static_cast<size_t>(put);
        }
        ok = ::close(out) == 0 && ok;
        if (ok && ::rename(temp.c_str(), host_.c_str()) == 0) return true;
        const uint32_t error = errno == 0 ? kErrorWriteFault : WindowsError(errno);
        ::unlink(temp.c_str());
        return Fail(error);
    }

private:
    std::string host_;
    int fd_ = -1;
    FileIdentity id_;
    bool registered_ = false;
};

WString DecodeUtf16Le(std::string_view bytes) {
    WString text;
    text.reserve(bytes.size() / 2);
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        text.push_back(
            static_cast<char16_t>(static_cast<uint8_t>(bytes[i]) | static_cast<uint8_t>(bytes[i + 1]) << 8));
    return text;
}

std::string EncodeUtf16Le(WStringView text) {
    std::string bytes;
    bytes.reserve(text.size() * 2);
    for (char16_t unit : text) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    return bytes;
}

WString Decode(std::string_view bytes, ProfileEncoding* encoding) {
    if (bytes.starts_with(kUtf16LeMark)) {
        *encoding = ProfileEncoding::kUtf16Le;
        return DecodeUtf16Le(bytes.substr(2));
    }
    if (bytes.starts_with(kUtf8Mark)) {
        *encoding = ProfileEncoding::kUtf8WithMark;
        return Widen(bytes.substr(3));
    }
    *encoding = ProfileEncoding::kCodePage;
    return FromCodePage(bytes);
}

std::string Encode(WStringView text, ProfileEncoding encoding) {
    switch (encoding) {
        case ProfileEncoding::kUtf16Le: return kUtf16LeMark + EncodeUtf16Le(text);
        case ProfileEncoding::kUtf8WithMark: return kUtf8Mark + Narrow(text);
        case ProfileEncoding::kCodePage: break;
    }
    return ToCodePage(text);
}

}  // namespace

bool ReadProfileBytes(WStringView path, std::string* bytes) {
    LockedFile file;
    bool missing = false;
    if (!file.Open(path, false, false, &missing)) {
        if (!missing) return false;
        bytes->clear();
        return true;
    }
    return file.ReadAll(bytes);
}

bool ReadProfile(WStringView path, IniDocument* document) {
    std::string bytes;
    if (!ReadProfileBytes(path, &bytes)) return false;
    ProfileEncoding encoding;
    *document = IniDocument::Parse(Decode(bytes, &encoding));
    return true;
}

bool EditProfile(WStringView path, bool create, const std::function<bool(IniDocument&)>& edit) {
    for (;;) {
        LockedFile file;
        bool missing = false;
        if (!file.Open(path, true, create, &missing)) {
            if (missing && !create) {
                SetLastError(kErrorSuccess);
                return true;
            }
            return false;
        }
        if (!file.StillAtItsPath()) continue;  // replaced while we waited: lock the new one
        std::string bytes;
        if (!file.ReadAll(&bytes)) return false;
        ProfileEncoding encoding;
        IniDocument document = IniDocument::Parse(Decode(bytes, &encoding));
        if (!edit(document)) return true;
        return file.Replace(Encode(document.Serialize(), encoding));
    }
}

}  // namespace sys::posix
