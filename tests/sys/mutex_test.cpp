#include "sys/mutex.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

// Four threads adding to one counter in small locked read-modify-write
// steps lose no update; without the lock they would.
TEST(Mutex, SerialisesReadModifyWriteAcrossThreads) {
    sys::Mutex mutex;
    long counter = 0;
    constexpr int kThreads = 4, kSteps = 5000;
    std::vector<std::thread> threads;
    threads.reserve(kThreads);
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < kSteps; ++i) {
                sys::MutexLock lock(mutex);
                const long seen = counter;
                std::this_thread::yield();
                counter = seen + 1;
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(counter, long{kThreads} * kSteps);
}

}  // namespace
