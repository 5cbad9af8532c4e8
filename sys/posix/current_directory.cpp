// The posix layer's current directory is a Windows path of the process's
// own, starting at the machine's C:\ drive. Windows keeps it the same way:
// per process, changed only to a folder that exists.
#include <mutex>

#include "sys/current_directory.h"
#include "sys/files.h"
#include "sys/last_error.h"

namespace sys {
namespace {

struct CurrentDirectory {
    std::mutex lock;
    WString path = u"C:\\";
};

CurrentDirectory& State() {
    static CurrentDirectory state;
    return state;
}

}  // namespace

WString GetCurrentDirectory() {
    std::lock_guard guard(State().lock);
    return State().path;
}

bool SetCurrentDirectory(WStringView path) {
    const PathKind kind = GetPathKind(path);
    if (kind != PathKind::Folder) {
        if (kind != PathKind::Missing) SetLastError(kErrorDirectory);
        return false;
    }
    WString folder(path);
    while (folder.size() > 3 && (folder.back() == u'\\' || folder.back() == u'/')) folder.pop_back();
    std::lock_guard guard(State().lock);
    State().path = std::move(folder);
    return true;
}

}  // namespace sys
