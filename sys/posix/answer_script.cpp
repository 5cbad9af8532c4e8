#include "answer_script.h"

#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <vector>

#include "host_paths.h"

namespace sys::posix {
namespace {

enum class Where { Caption, Text, Any, Default };

struct Rule {
    Where where = Where::Any;
    bool once = false;
    std::string substring;
    int answer = 0;
};

struct Script {
    std::vector<Rule> rules;
    std::vector<bool> spent;  // once-rules that have answered
};

constexpr struct {
    const char* word;
    int answer;
} kAnswerWords[] = {
    {"Ok", 1}, {"Cancel", 2}, {"Abort", 3}, {"Retry", 4}, {"Ignore", 5}, {"Yes", 6}, {"No", 7},
};

// The buttons of each MB_ type (the low four bits of the style) and the
// answer of a box that is closed without a choice.
struct ButtonSet {
    std::vector<int> buttons;
    int wayOut;
};

bool ButtonsOf(uint32_t style, ButtonSet* set) {
    switch (style & 0xF) {
        case 0: *set = {{1}, 1}; return true;        // MB_OK
        case 1: *set = {{1, 2}, 2}; return true;     // MB_OKCANCEL
        case 2: *set = {{3, 4, 5}, 3}; return true;  // MB_ABORTRETRYIGNORE
        case 3: *set = {{6, 7, 2}, 2}; return true;  // MB_YESNOCANCEL
        case 4: *set = {{6, 7}, 7}; return true;     // MB_YESNO
        case 5: *set = {{4, 2}, 2}; return true;     // MB_RETRYCANCEL
        default: return false;
    }
}

bool Offers(const ButtonSet& set, int answer) {
    for (int button : set.buttons)
        if (button == answer) return true;
    return false;
}

std::string Trim(std::string_view text) {
    size_t first = 0;
    size_t last = text.size();
    while (first < last && (text[first] == ' ' || text[first] == '\t' || text[first] == '\r')) ++first;
    while (last > first && (text[last - 1] == ' ' || text[last - 1] == '\t' || text[last - 1] == '\r'))
        --last;
    return std::string(text.substr(first, last - first));
}

std::string UnescapeLineBreaks(std::string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'n') {
            out += '\n';
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

bool TakeWord(std::string* line, std::string_view word) {
    if (line->compare(0, word.size(), word) != 0) return false;
    if (line->size() > word.size() && (*line)[word.size()] != ' ' && (*line)[word.size()] != '=')
        return false;
    *line = Trim(std::string_view(*line).substr(word.size()));
    return true;
}

// One line of the script; false for blank lines, comments and lines that
// are not rules (those are reported once on standard error).
bool ParseRule(const std::string& raw, Rule* rule) {
    std::string line = Trim(raw);
    if (line.empty() || line[0] == '#') return false;
    const size_t equals = line.rfind('=');
    if (equals == std::string::npos) return false;
    rule->answer = AnswerFromWord(Trim(std::string_view(line).substr(equals + 1)));
    std::string head = Trim(std::string_view(line).substr(0, equals));
    rule->once = TakeWord(&head, "once");
    if (TakeWord(&head, "caption")) rule->where = Where::Caption;
    else if (TakeWord(&head, "text")) rule->where = Where::Text;
    else if (TakeWord(&head, "any")) rule->where = Where::Any;
    else if (TakeWord(&head, "default") && head.empty()) rule->where = Where::Default;
    else return false;
    rule->substring = UnescapeLineBreaks(head);
    return rule->answer != 0;
}

Script ReadScript(const std::string& hostPath) {
    Script script;
    std::ifstream in(hostPath);
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        Rule rule;
        if (ParseRule(line, &rule)) {
            script.rules.push_back(rule);
        } else {
            const std::string trimmed = Trim(line);
            if (!trimmed.empty() && trimmed[0] != '#')
                std::fprintf(stderr, "answer script %s:%d: not a rule: %s\n", hostPath.c_str(), number,
                             trimmed.c_str());
        }
    }
    script.spent.assign(script.rules.size(), false);
    return script;
}

std::string HostPathOf(const char* configured) {
    if (configured == nullptr || *configured == '\0') return std::string();
    HostPath host;
    return ToHostPath(Widen(configured), &host) ? host.path : std::string();
}

pthread_mutex_t g_scriptsLock = PTHREAD_MUTEX_INITIALIZER;

// The scripts read so far, by path and contents, so that once-rules stay
// spent for the rest of the process.
std::map<std::string, Script>& Scripts() {
    static std::map<std::string, Script> scripts;
    return scripts;
}

std::string FileContents(const std::string& hostPath) {
    std::ifstream in(hostPath, std::ios::binary);
    std::ostringstream contents;
    contents << in.rdbuf();
    return contents.str();
}

bool Matches(const Rule& rule, std::string_view caption, std::string_view text) {
    switch (rule.where) {
        case Where::Caption: return caption.find(rule.substring) != std::string_view::npos;
        case Where::Text: return text.find(rule.substring) != std::string_view::npos;
        case Where::Any:
            return caption.find(rule.substring) != std::string_view::npos ||
                   text.find(rule.substring) != std::string_view::npos;
        case Where::Default: return false;
    }
    return false;
}

int ScriptedAnswer(const std::string& scriptPath, std::string_view caption, std::string_view text,
                   const ButtonSet& buttons) {
    pthread_mutex_lock(&g_scriptsLock);
    const std::string key = scriptPath + '\n' + FileContents(scriptPath);
    auto found = Scripts().find(key);
    if (found == Scripts().end()) found = Scripts().emplace(key, ReadScript(scriptPath)).first;
    Script& script = found->second;
    int answer = 0;
    int fallback = 0;
    for (size_t i = 0; i < script.rules.size() && answer == 0; ++i) {
        const Rule& rule = script.rules[i];
        if (script.spent[i] || !Offers(buttons, rule.answer)) continue;
        if (rule.where == Where::Default) {
            if (fallback == 0) fallback = rule.answer;
        } else if (Matches(rule, caption, text)) {
            answer = rule.answer;
            script.spent[i] = rule.once;
        }
    }
    pthread_mutex_unlock(&g_scriptsLock);
    return answer != 0 ? answer : fallback;
}

void AppendToLog(const std::string& logPath, std::string_view caption, std::string_view text, uint32_t style,
                 int answer) {
    char styleText[16];
    std::snprintf(styleText, sizeof styleText, "0x%08X", style);
    const std::string line = "caption=" + EscapeLogField(caption) + "\ttext=" + EscapeLogField(text) +
                             "\tstyle=" + styleText + "\tanswer=" + AnswerWord(answer) + "\n";
    const int fd = ::open(logPath.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0666);
    if (fd < 0) return;
    // One write per line, so that lines of concurrent writers stay whole.
    const ssize_t written = ::write(fd, line.data(), line.size());
    (void)written;
    ::close(fd);
}

}  // namespace

int AnswerFromWord(std::string_view word) {
    for (const auto& entry : kAnswerWords)
        if (word == entry.word) return entry.answer;
    return 0;
}

const char* AnswerWord(int answer) {
    for (const auto& entry : kAnswerWords)
        if (answer == entry.answer) return entry.word;
    return "?";
}

std::string EscapeLogField(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '\\': out += "\\\\"; break;
            case '\t': out += "\\t"; break;
            case '\r': out += "\\r"; break;
            case '\n': out += "\\n"; break;
            default: out += c; break;
        }
    }
    return out;
}

int AnswerQuestion(std::string_view caption, std::string_view text, uint32_t style) {
    ButtonSet buttons;
    if (!ButtonsOf(style, &buttons)) return 0;
    const std::string scriptPath = HostPathOf(std::getenv("ZSYS_ANSWER_SCRIPT"));
    int answer = scriptPath.empty() ? 0 : ScriptedAnswer(scriptPath, caption, text, buttons);
    if (answer == 0) answer = buttons.wayOut;

    std::string logPath = HostPathOf(std::getenv("ZSYS_ANSWER_LOG"));
    if (logPath.empty() && !scriptPath.empty()) logPath = scriptPath + ".log";
    if (!logPath.empty()) AppendToLog(logPath, caption, text, style, answer);
    return answer;
}

}  // namespace sys::posix
