#include "support/debug_capture.h"

#include "sys/testing/debug_capture.h"

namespace zebl_test {

DebugCapture::DebugCapture() { sys::testing::ClearCapturedDebugLines(); }

bool DebugCapture::Available() { return sys::testing::DebugCaptureAvailable(); }

std::vector<std::string> DebugCapture::Lines() const { return sys::testing::CapturedDebugLines(); }

int DebugCapture::Count(const std::string& line) const {
    int count = 0;
    for (const std::string& captured : Lines()) count += captured == line;
    return count;
}

bool DebugCapture::AnyContains(const std::string& text) const {
    for (const std::string& captured : Lines())
        if (captured.find(text) != std::string::npos) return true;
    return false;
}

}  // namespace zebl_test
