// The answers that message boxes and named questions get during a test, and
// the questions that were asked: the system layer's answer script and
// question log (sys/answer_script.h), in both builds.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "support/temp_folder.h"

namespace zebl_test {

struct AskedQuestion {
    std::string name;  // a named question's name; empty for a message box
    std::string detail;
    std::string caption;  // a message box's
    std::string text;
    uint32_t style = 0;
    std::string answer;  // "Yes", "No", "Ok", "Cancel", ... or a named question's value
};

// Writes `rules` (the script format of sys/answer_script.h, e.g.
// "caption Create Overlay = Yes\n") to a script of its own and makes the
// questions of this process (and of the programs it starts) use it and log
// to a log of its own until the object goes.
class AnswerScript {
public:
    explicit AnswerScript(const std::string& rules = std::string());
    ~AnswerScript();
    AnswerScript(const AnswerScript&) = delete;
    AnswerScript& operator=(const AnswerScript&) = delete;

    // Every question asked since the object was made, in order.
    std::vector<AskedQuestion> Questions() const;

private:
    TempFolder folder_;
    sys::WString savedScript_;
    sys::WString savedLog_;
    bool hadScript_ = false;
    bool hadLog_ = false;
};

}  // namespace zebl_test
