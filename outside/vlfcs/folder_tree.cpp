#include "folder_tree.h"

#include <vector>

#include "sys/files.h"
#include "sys/paths.h"

namespace outside {
namespace {

// By attributes, not sys::GetPathKind: that one's device test would bring
// functions into the module that the older Windows lack.
enum class Kind { Missing, Folder, File };

Kind KindOf(sys::WStringView path) {
    const uint32_t attributes = sys::GetFileAttributes(path);
    if (attributes == sys::kInvalidAttributes) return Kind::Missing;
    return (attributes & sys::kAttrDirectory) != 0 ? Kind::Folder : Kind::File;
}

constexpr int kMaxDepth = 16;
constexpr uint32_t kCopyChunk = 64 * 1024;

bool CopyFileReplacing(const sys::WString& from, const sys::WString& to) {
    sys::File source = sys::File::OpenExisting(from, false, sys::Share::ReadWrite);
    if (!source.IsOpen()) return false;
    // CREATE_ALWAYS refuses a read-only file: the copy replaces it as Windows
    // installers do.
    const uint32_t attributes = sys::GetFileAttributes(to);
    if (attributes != sys::kInvalidAttributes && (attributes & sys::kAttrReadOnly) != 0)
        sys::SetFileAttributes(to, sys::kAttrNormal);
    sys::File target = sys::File::CreateAlways(to);
    if (!target.IsOpen()) return false;
    std::vector<char> chunk(kCopyChunk);
    uint32_t got = 0;
    while (source.Read(chunk.data(), kCopyChunk, &got)) {
        if (got == 0) return true;
        uint32_t written = 0;
        if (!target.Write(chunk.data(), got, &written) || written != got) return false;
    }
    return false;
}

bool CopyTree(const sys::WString& from, const sys::WString& to, int depth) {
    if (depth > kMaxDepth) return false;
    if (KindOf(from) != Kind::Folder) return false;
    if (KindOf(to) != Kind::Folder && !sys::CreateDirectory(to)) return false;
    bool ok = true;
    for (const sys::DirEntry& entry : sys::ListDirectory(sys::JoinPath(from, u"*"))) {
        const sys::WString source = sys::JoinPath(from, entry.name);
        const sys::WString target = sys::JoinPath(to, entry.name);
        if ((entry.attributes & sys::kAttrDirectory) != 0) ok = CopyTree(source, target, depth + 1) && ok;
        else ok = CopyFileReplacing(source, target) && ok;
    }
    return ok;
}

bool DeleteTree(const sys::WString& folder, int depth) {
    if (depth > kMaxDepth) return false;
    bool ok = true;
    for (const sys::DirEntry& entry : sys::ListDirectory(sys::JoinPath(folder, u"*"))) {
        const sys::WString path = sys::JoinPath(folder, entry.name);
        if ((entry.attributes & sys::kAttrDirectory) != 0) {
            ok = DeleteTree(path, depth + 1) && ok;
        } else {
            sys::SetFileAttributes(path, sys::kAttrNormal);
            ok = sys::DeleteFile(path) && ok;
        }
    }
    return sys::RemoveDirectory(folder) && ok;
}

}  // namespace

bool CreateFolderPath(sys::WStringView folder) {
    switch (KindOf(folder)) {
        case Kind::Folder: return true;
        case Kind::Missing: break;
        case Kind::File: return false;
    }
    const sys::WStringView parent = sys::FolderOf(folder);
    if (!parent.empty() && parent.size() < folder.size() && !CreateFolderPath(parent)) return false;
    return sys::CreateDirectory(folder);
}

bool CopyFolderTree(const sys::WString& from, const sys::WString& to) { return CopyTree(from, to, 0); }

bool DeleteFolderTree(const sys::WString& folder) {
    const Kind kind = KindOf(folder);
    if (kind == Kind::Missing) return true;
    if (kind != Kind::Folder) return false;
    return DeleteTree(folder, 0);
}

}  // namespace outside
