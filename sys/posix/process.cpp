// Host programs started for Windows command lines (sys/process.h says how
// the command line is read). The whole command line reaches the child in
// ZSYS_COMMAND_LINE, tagged with the parent's process id so that a
// grandchild started some other way does not take it for its own.
#include "sys/process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "error_codes.h"
#include "host_paths.h"
#include "sys/last_error.h"
#include "sys/modules.h"
#include "sys/paths.h"

extern char** environ;

namespace sys {
namespace {

constexpr char kCommandLineVariable[] = "ZSYS_COMMAND_LINE";

struct Child {
    pid_t pid = 0;
    bool ended = false;
    uint32_t exitCode = kStillActive;
};

Child* ChildOf(void* handle) { return static_cast<Child*>(handle); }

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

// The program part of a command line: a quoted path, or up to the first blank.
WStringView ProgramPart(WStringView line, WStringView* rest) {
    size_t at = 0;
    while (at < line.size() && IsBlank(line[at])) ++at;
    size_t end;
    WStringView program;
    if (at < line.size() && line[at] == u'"') {
        end = line.find(u'"', at + 1);
        if (end == WStringView::npos) end = line.size();
        program = line.substr(at + 1, end - at - 1);
        if (end < line.size()) ++end;
    } else {
        end = at;
        while (end < line.size() && !IsBlank(line[end])) ++end;
        program = line.substr(at, end - at);
    }
    *rest = line.substr(end);
    return program;
}

// The C runtime's rules: 2n backslashes and a quote give n backslashes and
// open or close a quoted part; 2n+1 give n and a literal quote; backslashes
// before anything else stay as they are.
std::vector<std::string> SplitArguments(WStringView text) {
    std::vector<std::string> arguments;
    const std::string line = Narrow(text);
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        if (i >= line.size()) break;
        std::string argument;
        bool quoted = false;
        while (i < line.size() && (quoted || (line[i] != ' ' && line[i] != '\t'))) {
            size_t backslashes = 0;
            while (i < line.size() && line[i] == '\\') {
                ++backslashes;
                ++i;
            }
            if (i < line.size() && line[i] == '"') {
                argument.append(backslashes / 2, '\\');
                if (backslashes % 2 == 1) {
                    argument += '"';
                } else if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
                    argument += '"';  // "" inside quotes is a quote
                    ++i;
                } else {
                    quoted = !quoted;
                }
                ++i;
            } else {
                argument.append(backslashes, '\\');
                if (i < line.size() && (quoted || (line[i] != ' ' && line[i] != '\t'))) argument += line[i++];
            }
        }
        arguments.push_back(std::move(argument));
    }
    return arguments;
}

std::string RunningProgramFolder() {
    char buffer[4096];
    const ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (length <= 0) return std::string();
    const std::string program(buffer, static_cast<size_t>(length));
    return program.substr(0, program.find_last_of('/'));
}

bool IsExecutableFile(const std::string& host) {
    struct stat st;
    return ::stat(host.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(host.c_str(), X_OK) == 0;
}

bool IsFile(const std::string& host) {
    struct stat st;
    return ::stat(host.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// The host file of the program; empty and the last error when none.
std::string FindProgram(WStringView program) {
    std::vector<WString> folders;
    const bool hasFolder = program.find_first_of(u"\\/:") != WStringView::npos;
    if (hasFolder) {
        folders.emplace_back();
    } else {
        folders = {Widen(RunningProgramFolder()), u".", u"C:\\WINDOWS\\SYSTEM32", u"C:\\WINDOWS"};
    }
    const bool hasExtension = FileNameOf(program).find(u'.') != WStringView::npos;
    bool foundButNotProgram = false;
    for (const WString& folder : folders) {
        const WString path = folder.empty() ? WString(program) : JoinPath(folder, program);
        for (const WString& candidate : {path, hasExtension ? WString() : path + u".exe"}) {
            posix::HostPath host;
            if (candidate.empty() || !posix::ToHostPath(candidate, &host)) continue;
            if (IsExecutableFile(host.path)) return host.path;
            foundButNotProgram = foundButNotProgram || IsFile(host.path);
        }
    }
    SetLastError(foundButNotProgram ? uint32_t{kErrorBadExeFormat} : uint32_t{kErrorFileNotFound});
    return std::string();
}

std::vector<std::string> ChildEnvironment(WStringView commandLine) {
    std::vector<std::string> variables;
    const std::string prefix = std::string(kCommandLineVariable) + "=";
    for (char** entry = environ; entry && *entry; ++entry)
        if (std::string_view(*entry).compare(0, prefix.size(), prefix) != 0) variables.emplace_back(*entry);
    variables.push_back(prefix + std::to_string(::getpid()) + " " + Narrow(commandLine));
    return variables;
}

std::vector<char*> Pointers(std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    pointers.reserve(strings.size() + 1);
    for (std::string& text : strings) pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

uint32_t ExitCodeOf(int status) {
    if (WIFEXITED(status)) return static_cast<uint32_t>(WEXITSTATUS(status));
    return 128u + static_cast<uint32_t>(WTERMSIG(status));  // killed by a signal, as shells report it
}

bool Reap(Child* child, bool block) {
    int status = 0;
    pid_t got;
    do {
        got = ::waitpid(child->pid, &status, block ? 0 : WNOHANG);
    } while (got < 0 && errno == EINTR);
    if (got == child->pid) {
        child->ended = true;
        child->exitCode = ExitCodeOf(status);
    }
    return got >= 0;
}

// The command line as the shell gave the arguments: each quoted when it
// holds a blank.
WString CommandLineFromArguments() {
    std::ifstream in("/proc/self/cmdline", std::ios::binary);
    const std::string raw((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string line;
    size_t start = 0;
    while (start < raw.size()) {
        size_t end = raw.find('\0', start);
        if (end == std::string::npos) end = raw.size();
        const std::string argument = raw.substr(start, end - start);
        start = end + 1;
        if (!line.empty()) line += ' ';
        const bool quote = argument.empty() || argument.find_first_of(" \t") != std::string::npos;
        line += quote ? '"' + argument + '"' : argument;
    }
    return Widen(line);
}

}  // namespace

void Process::Close() {
    Child* child = ChildOf(handle_);
    // A child that has ended is reaped now; one still running is left to run.
    if (child != nullptr && !child->ended) Reap(child, false);
    delete child;
    handle_ = nullptr;
}

Process Process::Create(WStringView commandLine, int /*show: no windows here*/, WStringView directory) {
    WStringView rest;
    const WStringView program = ProgramPart(commandLine, &rest);
    if (program.empty()) {
        SetLastError(kErrorFileNotFound);
        return Process();
    }
    const std::string file = FindProgram(program);
    if (file.empty()) return Process();
    std::vector<std::string> arguments = SplitArguments(rest);
    arguments.insert(arguments.begin(), file);
    std::vector<std::string> environment = ChildEnvironment(commandLine);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!directory.empty()) {
        posix::HostPath folder;
        if (!posix::ToHostPath(directory, &folder)) {
            posix_spawn_file_actions_destroy(&actions);
            return Process();
        }
        posix_spawn_file_actions_addchdir_np(&actions, folder.path.c_str());
    }
    pid_t pid = 0;
    const int result = ::posix_spawn(&pid, file.c_str(), &actions, nullptr, Pointers(arguments).data(),
                                     Pointers(environment).data());
    posix_spawn_file_actions_destroy(&actions);
    if (result != 0) {
        SetLastError(result == ENOEXEC ? uint32_t{kErrorBadExeFormat} : posix::WindowsError(result));
        return Process();
    }
    return Process(new Child{pid, false, kStillActive});
}

uint32_t Process::Wait(uint32_t milliseconds) {
    Child* child = ChildOf(handle_);
    if (child == nullptr) {
        SetLastError(kErrorInvalidHandle);
        return kWaitFailed;
    }
    if (child->ended) return kWaitObject0;
    if (milliseconds == kInfinite) return Reap(child, true) ? kWaitObject0 : kWaitFailed;
    // No wait with a time limit for a child: look every millisecond.
    for (uint32_t waited = 0;; ++waited) {
        if (!Reap(child, false)) return kWaitFailed;
        if (child->ended) return kWaitObject0;
        if (waited >= milliseconds) return kWaitTimeout;
        const timespec pause{0, 1000000};
        ::nanosleep(&pause, nullptr);
    }
}

bool Process::GetExitCode(uint32_t* code) {
    Child* child = ChildOf(handle_);
    if (child == nullptr) return posix::Fail(kErrorInvalidHandle);
    if (!child->ended) Reap(child, false);
    *code = child->exitCode;
    return true;
}

void PumpWaitingMessages() {}

WString GetCommandLine() {
    // "<parent pid> <command line>" from the parent that started us.
    if (const char* given = std::getenv(kCommandLineVariable)) {
        const std::string text = given;
        const size_t blank = text.find(' ');
        if (blank != std::string::npos && text.substr(0, blank) == std::to_string(::getppid()))
            return Widen(text.substr(blank + 1));
    }
    return CommandLineFromArguments();
}

}  // namespace sys
