// VLRemove.exe, the stand-in of the program that a finished removal leaves
// to run at the next start of Windows: "VLRemove.exe /M<maker> /F<folder>".
// By then the setup program has emptied the local folder, the Windows
// folder's <maker>\<folder>; the stand-in removes that folder and the maker's
// folder when they are empty, and nothing else. The start is a named question
// of the answer script (setup_calls/call_answer.h) whose answer is the exit
// code.
#include <string>
#include <string_view>

#include "../setup_calls/call_answer.h"
#include "../setup_calls/command_line.h"
#include "sys/files.h"
#include "sys/folders.h"
#include "sys/paths.h"
#include "sys/process.h"

namespace {

struct RemovalArguments {
    std::string maker;   // after /M
    std::string folder;  // after /F
};

RemovalArguments ParseArguments(std::string_view arguments) {
    RemovalArguments parsed;
    for (const std::string& word : outside::WordsOf(arguments)) {
        if (word.size() < 2 || (word[0] != '/' && word[0] != '-')) continue;
        const char option = word[1];
        if (option == 'M' || option == 'm') parsed.maker = word.substr(2);
        if (option == 'F' || option == 'f') parsed.folder = word.substr(2);
    }
    return parsed;
}

// Removes <Windows>\maker\folder and then <Windows>\maker, each only when
// empty (RemoveDirectory refuses others).
void RemoveEmptyFolders(const RemovalArguments& removal) {
    if (!outside::IsPlainName(removal.maker)) return;
    const sys::WString makerFolder =
        sys::JoinPath(sys::GetWindowsDirectory(), sys::FromCodePage(removal.maker));
    if (outside::IsPlainName(removal.folder))
        sys::RemoveDirectory(sys::JoinPath(makerFolder, sys::FromCodePage(removal.folder)));
    sys::RemoveDirectory(makerFolder);
}

}  // namespace

int main() {
    const std::string commandLine = sys::ToCodePage(sys::GetCommandLine());
    const std::string_view arguments = outside::ArgumentsOf(commandLine);
    const int exitCode = outside::AskCallNumber("VLRemove", arguments, 0);
    RemoveEmptyFolders(ParseArguments(arguments));
    return exitCode;
}
