#include "sys/mutex.h"

#include <pthread.h>

#include <new>

namespace sys {

static_assert(sizeof(pthread_mutex_t) <= 64);

namespace {
pthread_mutex_t* Handle(unsigned char* storage) {
    return std::launder(reinterpret_cast<pthread_mutex_t*>(storage));
}
}  // namespace

Mutex::Mutex() { pthread_mutex_init(new (storage_) pthread_mutex_t, nullptr); }
Mutex::~Mutex() { pthread_mutex_destroy(Handle(storage_)); }
void Mutex::Lock() { pthread_mutex_lock(Handle(storage_)); }
void Mutex::Unlock() { pthread_mutex_unlock(Handle(storage_)); }

}  // namespace sys
