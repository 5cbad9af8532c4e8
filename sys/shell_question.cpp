#include "shell_question.h"

#include <cstdlib>
#include <string>

#include "sys/answer_script.h"

namespace sys {

std::optional<uint32_t> ScriptedShellExecute(WStringView verb, WStringView file, WStringView parameters,
                                             WStringView directory) {
    if (!AnswerScriptActive()) return std::nullopt;
    const std::string detail =
        Narrow(verb) + " " + Narrow(file) + " " + Narrow(parameters) + " " + Narrow(directory);
    const std::string answer = AskQuestion("ShellExecute", detail, "");
    if (answer.empty()) return std::nullopt;
    return static_cast<uint32_t>(std::strtoul(answer.c_str(), nullptr, 10));
}

}  // namespace sys
