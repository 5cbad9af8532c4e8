#include "cli/print_output.h"

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#include <stdlib.h>
#endif

#include <vector>

#include "sys/files.h"
#include "sys/last_error.h"
#include "sys/paths.h"
#include "sys/temp_files.h"

namespace {

constexpr char16_t kTemporaryPrefix[] = u"zbl";

std::string ErrorText() { return "error " + std::to_string(sys::GetLastError()); }

// The spooler of Windows needs an absolute output file.
sys::WString AbsolutePath(const std::string& path) {
    sys::WString wide = sys::Widen(path);
#if defined(_WIN32)
    wchar_t full[4096];
    if (_wfullpath(full, reinterpret_cast<const wchar_t*>(wide.c_str()), 4096))
        return sys::WString(reinterpret_cast<const char16_t*>(full));
#endif
    return wide;
}

// The folder that holds `path`: the root for "/name", "." for a bare name.
sys::WString FolderHolding(const sys::WString& path) {
    const sys::WStringView folder = sys::FolderOf(path);
    if (!folder.empty()) return sys::WString(folder);
    if (!path.empty() && sys::IsPathSeparator(path[0])) return path.substr(0, 1);
    return u".";
}

}  // namespace

PrintOutput::~PrintOutput() { RemoveTemporary(); }

void PrintOutput::RemoveTemporary() {
    if (temporary_) sys::DeleteFile(printerPath_);
    temporary_ = false;
}

bool PrintOutput::Prepare(const std::string& argument, std::string* error) {
    RemoveTemporary();
    argument_ = argument;
    sys::WString folder;
    if (argument == "-") {
        kind_ = Kind::StandardOutput;
        folder = sys::GetTempPath();
    } else {
        target_ = AbsolutePath(argument);
        switch (sys::GetPathKind(target_)) {
            case sys::PathKind::Folder:
                *error = argument + " is a folder; give a file, a device or - for standard output";
                return false;
            case sys::PathKind::Device:
                kind_ = Kind::Device;
                printerPath_ = target_;
                return true;
            case sys::PathKind::File:
                if (sys::GetFileAttributes(target_) & sys::kAttrReadOnly) {
                    *error = argument + " is read-only";
                    return false;
                }
                [[fallthrough]];
            case sys::PathKind::Missing:
                kind_ = Kind::File;
                folder = FolderHolding(target_);
                break;
        }
        if (sys::GetPathKind(folder) != sys::PathKind::Folder) {
            *error = "the folder of " + argument + " does not exist";
            return false;
        }
    }
    // The temporary file also proves that the folder can be written.
    printerPath_ = sys::GetTempFileName(folder, kTemporaryPrefix);
    if (printerPath_.empty()) {
        *error =
            "cannot write a file in " + sys::Narrow(folder) + " for " + argument + " (" + ErrorText() + ")";
        return false;
    }
    temporary_ = true;
    return true;
}

uint64_t PrintOutput::PrintedBytes() const {
    if (!temporary_) return 0;
    sys::File file = sys::File::OpenExisting(printerPath_, false, sys::Share::ReadWrite);
    uint64_t size = 0;
    if (!file.IsOpen() || !file.Seek(0, sys::SeekOrigin::End, &size)) return 0;
    return size;
}

bool PrintOutput::CopyToStandardOutput(std::FILE* out, std::string* error) const {
#if defined(_WIN32)
    std::fflush(out);
    _setmode(_fileno(out), _O_BINARY);  // a printer stream, not text
#endif
    sys::File file = sys::File::OpenExisting(printerPath_, false, sys::Share::ReadWrite);
    if (!file.IsOpen()) {
        *error = "cannot read the printed document back (" + ErrorText() + ")";
        return false;
    }
    std::vector<uint8_t> chunk(1 << 16);
    uint32_t got = 0;
    for (;;) {
        if (!file.Read(chunk.data(), static_cast<uint32_t>(chunk.size()), &got)) {
            *error = "cannot read the printed document back (" + ErrorText() + ")";
            return false;
        }
        if (got == 0 || std::fwrite(chunk.data(), 1, got, out) != got) break;
    }
    if (std::fflush(out) != 0 || std::ferror(out)) {
        *error = "cannot write the printed document to standard output";
        return false;
    }
    return true;
}

bool PrintOutput::Commit(std::FILE* standardOutput, std::string* error) {
    switch (kind_) {
        case Kind::Device: return true;
        case Kind::StandardOutput: {
            const bool copied = CopyToStandardOutput(standardOutput, error);
            RemoveTemporary();
            return copied;
        }
        case Kind::File: break;
    }
    if (!sys::MoveFileReplacing(printerPath_, target_)) {
        *error = "cannot replace " + argument_ + " (" + ErrorText() + ")";
        RemoveTemporary();
        return false;
    }
    temporary_ = false;
    return true;
}
