#include "sys/mutex.h"

#include <new>

#include "windows_api.h"

namespace sys {

static_assert(sizeof(CRITICAL_SECTION) <= 64);

namespace {
CRITICAL_SECTION* Section(unsigned char* storage) {
    return std::launder(reinterpret_cast<CRITICAL_SECTION*>(storage));
}
}  // namespace

Mutex::Mutex() { ::InitializeCriticalSection(new (storage_) CRITICAL_SECTION); }
Mutex::~Mutex() { ::DeleteCriticalSection(Section(storage_)); }
void Mutex::Lock() { ::EnterCriticalSection(Section(storage_)); }
void Mutex::Unlock() { ::LeaveCriticalSection(Section(storage_)); }

}  // namespace sys
