#include "command_line.h"

namespace outside {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::string_view ArgumentsOf(std::string_view commandLine) {
    size_t end = 0;
    if (!commandLine.empty() && commandLine[0] == '"') {
        end = commandLine.find('"', 1);
        end = end == std::string_view::npos ? commandLine.size() : end + 1;
    } else {
        while (end < commandLine.size() && !IsBlank(commandLine[end])) ++end;
    }
    while (end < commandLine.size() && IsBlank(commandLine[end])) ++end;
    return commandLine.substr(end);
}

std::vector<std::string> WordsOf(std::string_view arguments) {
    std::vector<std::string> words;
    size_t i = 0;
    while (i < arguments.size()) {
        while (i < arguments.size() && IsBlank(arguments[i])) ++i;
        const size_t start = i;
        while (i < arguments.size() && !IsBlank(arguments[i])) ++i;
        if (i > start) words.emplace_back(arguments.substr(start, i - start));
    }
    return words;
}

bool IsPlainName(std::string_view name) {
    if (name.empty() || name == "." || name == "..") return false;
    for (char c : name)
        if (c == '\\' || c == '/' || c == ':' || c == '*' || c == '?' || c == '"' || c == '<' || c == '>' ||
            c == '|' || static_cast<unsigned char>(c) < 0x20)
            return false;
    return true;
}

}  // namespace outside
