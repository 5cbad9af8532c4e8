#include "sys/object_tokens.h"

#include <algorithm>
#include <cstdint>
#include <mutex>
#include <vector>

namespace sys {

#if UINTPTR_MAX == 0xFFFFFFFFu

uint32_t TokenOf(const void* object) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(object)); }
void* ObjectOf(uint32_t token) { return reinterpret_cast<void*>(static_cast<uintptr_t>(token)); }

#else

namespace {
// Token n stands for entry n - 1. Any thread may ask.
std::mutex g_lock;
std::vector<const void*>& Objects() {
    static std::vector<const void*> objects;
    return objects;
}
}  // namespace

uint32_t TokenOf(const void* object) {
    if (object == nullptr) return 0;
    std::lock_guard lock(g_lock);
    auto& objects = Objects();
    const auto found = std::find(objects.begin(), objects.end(), object);
    if (found != objects.end()) return static_cast<uint32_t>(found - objects.begin() + 1);
    objects.push_back(object);
    return static_cast<uint32_t>(objects.size());
}

void* ObjectOf(uint32_t token) {
    std::lock_guard lock(g_lock);
    const auto& objects = Objects();
    if (token == 0 || token > objects.size()) return nullptr;
    return const_cast<void*>(objects[token - 1]);
}

#endif

}  // namespace sys
