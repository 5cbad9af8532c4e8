#include "app/record_tokens.h"

#include <algorithm>
#include <cstdint>
#include <mutex>
#include <vector>

namespace setup {

#if UINTPTR_MAX == 0xFFFFFFFFu

InstallInfoToken TokenOf(const void* object) {
    return static_cast<InstallInfoToken>(reinterpret_cast<uintptr_t>(object));
}
void* ObjectOf(InstallInfoToken token) { return reinterpret_cast<void*>(static_cast<uintptr_t>(token)); }

#else

namespace {
// Token n stands for entry n - 1. The wizard thread reads it too.
std::mutex g_lock;
std::vector<const void*>& Objects() {
    static std::vector<const void*> objects;
    return objects;
}
}  // namespace

InstallInfoToken TokenOf(const void* object) {
    if (object == nullptr) return 0;
    std::lock_guard lock(g_lock);
    auto& objects = Objects();
    const auto found = std::find(objects.begin(), objects.end(), object);
    if (found != objects.end()) return static_cast<InstallInfoToken>(found - objects.begin() + 1);
    objects.push_back(object);
    return static_cast<InstallInfoToken>(objects.size());
}

void* ObjectOf(InstallInfoToken token) {
    std::lock_guard lock(g_lock);
    const auto& objects = Objects();
    if (token == 0 || token > objects.size()) return nullptr;
    return const_cast<void*>(objects[token - 1]);
}

#endif

}  // namespace setup
