// The debugger output lines written during a test, by this program and by
// the modules it loaded (posix build only; under Wine the lines go to the
// debugger and tests that read them skip).
#pragma once

#include <string>
#include <vector>

namespace zebl_test {

class DebugCapture {
public:
    DebugCapture();  // forgets the lines written before
    static bool Available();
    std::vector<std::string> Lines() const;
    int Count(const std::string& line) const;
    bool AnyContains(const std::string& text) const;
};

}  // namespace zebl_test
