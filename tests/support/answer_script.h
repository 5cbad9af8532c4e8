// The answers that message boxes give during a test, and the questions that
// were asked (posix build: the system layer's answer script and question
// log; under Windows the real MessageBoxW runs and nothing is recorded).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "support/temp_folder.h"

namespace zebl_test {

struct AskedQuestion {
    std::string caption;
    std::string text;
    uint32_t style = 0;
    std::string answer;  // "Yes", "No", "Ok", "Cancel", ...
};

// Writes `rules` (the script format of the posix system layer, e.g.
// "caption Create Overlay = Yes\n") to a script of its own and makes the
// message boxes of this process use it and log to a log of its own until
// the object goes.
class AnswerScript {
public:
    explicit AnswerScript(const std::string& rules = std::string());
    ~AnswerScript();
    AnswerScript(const AnswerScript&) = delete;
    AnswerScript& operator=(const AnswerScript&) = delete;

    // Whether boxes are answered by script and recorded here.
    static bool Available();

    // Every question asked since the object was made, in order.
    std::vector<AskedQuestion> Questions() const;

private:
    TempFolder folder_;
    std::string savedScript_;
    std::string savedLog_;
    bool hadScript_ = false;
    bool hadLog_ = false;
};

}  // namespace zebl_test
