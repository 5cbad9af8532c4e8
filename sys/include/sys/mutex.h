// A lock for state that several spooler threads share (a print server
// renders documents on as many threads as it has printers).
//
// The shipped Windows binaries are built without the C++ thread library
// (its runtime imports functions Windows 95 to 2000 lack), so the lock is
// the system's own: a critical section on Windows, a pthread mutex on POSIX.
#pragma once

namespace sys {

class Mutex {
public:
    Mutex();
    ~Mutex();
    Mutex(const Mutex&) = delete;
    Mutex& operator=(const Mutex&) = delete;

    void Lock();
    void Unlock();

private:
    // Room for a CRITICAL_SECTION (24 bytes on 32-bit Windows, 40 on
    // 64-bit) or a pthread_mutex_t (40 bytes on 64-bit Linux).
    alignas(8) unsigned char storage_[64];
};

// Holds the mutex for its lifetime.
class MutexLock {
public:
    explicit MutexLock(Mutex& mutex) : mutex_(mutex) { mutex_.Lock(); }
    ~MutexLock() { mutex_.Unlock(); }
    MutexLock(const MutexLock&) = delete;
    MutexLock& operator=(const MutexLock&) = delete;

private:
    Mutex& mutex_;
};

}  // namespace sys
