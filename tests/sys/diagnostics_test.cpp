#include "sys/diagnostics.h"

#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <thread>

#include "support/debug_capture.h"
#include "sys/clock.h"
#include "sys/last_error.h"

namespace {

TEST(ErrorText, GivesOneLineOfSystemTextPerCode) {
    const uint32_t codes[] = {2, 3, 5, 6, 8, 29, 32, 87, 122, 1801};
    std::set<std::string> texts;
    for (uint32_t code : codes) {
        const std::string text = sys::ErrorText(code);
        ASSERT_FALSE(text.empty()) << code;
        EXPECT_EQ(text.find_first_of("\r\n"), std::string::npos) << code;
        EXPECT_NE(text.back(), ' ') << code;
        EXPECT_EQ(text.find("Unknown error"), std::string::npos) << code;
        EXPECT_TRUE(texts.insert(text).second) << "same text twice: " << text;
    }
}

TEST(ErrorText, UnknownCodesSaySo) {
    EXPECT_EQ(sys::ErrorText(12345), "Unknown error 12345");
    EXPECT_EQ(sys::ErrorText(0x2FFFFFFF), "Unknown error 805306367");
}

TEST(DebugOutput, KeepsFormattedLinesInOrder) {
    zebl_test::DebugCapture capture;
    if (!capture.Available()) GTEST_SKIP() << "debugger output is not kept in this build";
    sys::OutputDebugString("[FB]first");
    sys::DebugPrintf("[FB]write failed %d", 87);
    sys::OutputDebugString("two\nlines\n");
    EXPECT_EQ(capture.Lines(),
              (std::vector<std::string>{"[FB]first", "[FB]write failed 87", "two", "lines"}));
}

TEST(DebugOutput, KeepsOnlyTheLast256Lines) {
    zebl_test::DebugCapture capture;
    if (!capture.Available()) GTEST_SKIP() << "debugger output is not kept in this build";
    for (int i = 0; i < 300; ++i) sys::DebugPrintf("line %d", i);
    const std::vector<std::string> lines = capture.Lines();
    ASSERT_EQ(lines.size(), 256u);
    EXPECT_EQ(lines.front(), "line 44");
    EXPECT_EQ(lines.back(), "line 299");
}

TEST(LastError, IsKeptPerThread) {
    // Both threads set and read their own value while the other one holds a
    // different value; starting and joining threads may change it, so the
    // reads happen in between, with plain spinning and no system calls.
    std::atomic<int> step{0};
    uint32_t seenByOther = 0;
    std::thread other([&] {
        sys::SetLastError(77);
        step = 1;
        while (step != 2) {
        }
        seenByOther = sys::GetLastError();
        step = 3;
    });
    while (step != 1) {
    }
    sys::SetLastError(1234);
    step = 2;
    while (step != 3) {
    }
    const uint32_t seenHere = sys::GetLastError();
    other.join();
    EXPECT_EQ(seenByOther, 77u);
    EXPECT_EQ(seenHere, 1234u);
}

TEST(Clock, SleepWaitsAndTheTickCountAdvances) {
    const uint32_t before = sys::GetTickCount();
    sys::Sleep(120);
    const uint32_t elapsed = sys::GetTickCount() - before;  // wraps like the Windows count
    EXPECT_GE(elapsed, 100u);
    EXPECT_LT(elapsed, 5000u);
}

}  // namespace
