#include "open_files.h"

#include <pthread.h>

#include <map>
#include <utility>

namespace sys::posix {
namespace {

struct OpenCounts {
    int handles = 0;
    int unshared = 0;  // handles opened with Share::None
};

using Key = std::pair<dev_t, ino_t>;

pthread_mutex_t g_lock = PTHREAD_MUTEX_INITIALIZER;

std::map<Key, OpenCounts>& Table() {
    static std::map<Key, OpenCounts> table;
    return table;
}

class Locked {
public:
    Locked() { pthread_mutex_lock(&g_lock); }
    ~Locked() { pthread_mutex_unlock(&g_lock); }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;
};

}  // namespace

bool RegisterOpenFile(FileIdentity id, Share share) {
    Locked lock;
    OpenCounts& counts = Table()[{id.device, id.inode}];
    const bool conflict = counts.unshared > 0 || (share == Share::None && counts.handles > 0);
    if (conflict) {
        if (counts.handles == 0) Table().erase({id.device, id.inode});
        return false;
    }
    ++counts.handles;
    if (share == Share::None) ++counts.unshared;
    return true;
}

void UnregisterOpenFile(FileIdentity id, Share share) {
    Locked lock;
    auto it = Table().find({id.device, id.inode});
    if (it == Table().end()) return;
    --it->second.handles;
    if (share == Share::None) --it->second.unshared;
    if (it->second.handles <= 0) Table().erase(it);
}

bool IsFileOpen(FileIdentity id) {
    Locked lock;
    return Table().count({id.device, id.inode}) != 0;
}

}  // namespace sys::posix
