#include "sys/shell.h"

#include "shell_question.h"
#include "windows_api.h"

namespace sys {

uint32_t ShellExecute(WStringView verb, WStringView file, WStringView parameters, WStringView directory,
                      int show) {
    if (const auto scripted = ScriptedShellExecute(verb, file, parameters, directory)) return *scripted;
    const std::string verbText = ToCodePage(verb), fileText = ToCodePage(file);
    const std::string parametersText = ToCodePage(parameters), directoryText = ToCodePage(directory);
    const HINSTANCE result =
        ::ShellExecuteA(nullptr, verbText.empty() ? nullptr : verbText.c_str(), fileText.c_str(),
                        parametersText.empty() ? nullptr : parametersText.c_str(),
                        directoryText.empty() ? nullptr : directoryText.c_str(), show);
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(result));
}

}  // namespace sys
