#include "app/command_line.h"

#include "common/trace.h"

namespace setup {
namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

sys::WStringView SkipBlanks(sys::WStringView text) {
    size_t at = 0;
    while (at < text.size() && IsBlank(text[at])) ++at;
    return text.substr(at);
}

}  // namespace

sys::WStringView ArgumentsOf(sys::WStringView commandLine) {
    commandLine = SkipBlanks(commandLine);
    size_t end = 0;
    if (!commandLine.empty() && commandLine.front() == u'"') {
        // A quoted path ends at the closing quote (or the line's end).
        end = commandLine.find(u'"', 1);
        end = end == sys::WStringView::npos ? commandLine.size() : end + 1;
    } else {
        while (end < commandLine.size() && !IsBlank(commandLine[end])) ++end;
    }
    return commandLine.substr(end);
}

int ForcesUninstall(sys::WStringView arguments) {
    arguments = SkipBlanks(arguments);
    if (arguments.empty() || (arguments.front() != u'-' && arguments.front() != u'/')) return 0;
    if (arguments.size() > 1 && (arguments[1] == u'U' || arguments[1] == u'u')) {
        MyTrace("       Installation mode is forced unisntallation");
        return 1;
    }
    MyTrace("       Invlide Parameter");
    return 0;
}

}  // namespace setup
