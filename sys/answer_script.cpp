// The answer script and its question log (sys/answer_script.h), the same in
// both builds: the file access goes through sys/text_files.h.
#include "sys/answer_script.h"

#include <cstdio>
#include <map>
#include <optional>
#include <vector>

#include "sys/diagnostics.h"
#include "sys/environment.h"
#include "sys/mutex.h"
#include "sys/text_files.h"

namespace sys {
namespace {

enum class Where { Question, Caption, Text, Any, Default };

struct Rule {
    Where where = Where::Any;
    bool once = false;
    std::string subject;  // a question's name, or the text a box must contain
    std::string answer;   // as written
};

struct Script {
    std::vector<Rule> rules;
    std::vector<bool> spent;  // once-rules that have answered
};

constexpr struct {
    const char* word;
    int button;
} kButtonWords[] = {
    {"Ok", 1}, {"Cancel", 2}, {"Abort", 3}, {"Retry", 4}, {"Ignore", 5}, {"Yes", 6}, {"No", 7},
};

int ButtonFromWord(std::string_view word) {
    for (const auto& entry : kButtonWords)
        if (word == entry.word) return entry.button;
    return 0;
}

const char* ButtonWord(int button) {
    for (const auto& entry : kButtonWords)
        if (button == entry.button) return entry.word;
    return "?";
}

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

bool Offers(const ButtonSet& set, int button) {
    for (int offered : set.buttons)
        if (offered == button) return true;
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
// are not rules.
bool ParseRule(const std::string& raw, Rule* rule) {
    const std::string line = Trim(raw);
    if (line.empty() || line[0] == '#') return false;
    const size_t equals = line.rfind('=');
    if (equals == std::string::npos) return false;
    rule->answer = Trim(std::string_view(line).substr(equals + 1));
    std::string head = Trim(std::string_view(line).substr(0, equals));
    rule->once = TakeWord(&head, "once");
    if (TakeWord(&head, "question")) rule->where = Where::Question;
    else if (TakeWord(&head, "caption")) rule->where = Where::Caption;
    else if (TakeWord(&head, "text")) rule->where = Where::Text;
    else if (TakeWord(&head, "any")) rule->where = Where::Any;
    else if (TakeWord(&head, "default") && head.empty()) rule->where = Where::Default;
    else return false;
    rule->subject = rule->where == Where::Question ? head : UnescapeLineBreaks(head);
    if (rule->answer.empty()) return false;
    // A box rule must answer with a button.
    return rule->where == Where::Question || ButtonFromWord(rule->answer) != 0;
}

Script ParseScript(const std::string& scriptName, const std::string& text) {
    Script script;
    size_t start = 0;
    int number = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(start, end - start);
        start = end + 1;
        ++number;
        Rule rule;
        if (ParseRule(line, &rule)) {
            script.rules.push_back(rule);
        } else if (const std::string trimmed = Trim(line); !trimmed.empty() && trimmed[0] != '#') {
            DebugPrintf("answer script %s:%d: not a rule: %s\n", scriptName.c_str(), number, trimmed.c_str());
        }
    }
    script.spent.assign(script.rules.size(), false);
    return script;
}

std::optional<WString> Variable(const char16_t* name) {
    std::optional<WString> value = GetEnvironmentVariable(name);
    if (value && value->empty()) value.reset();
    return value;
}

Mutex g_scriptsLock;

// The scripts read so far, by path and contents, so that once-rules stay
// spent for the rest of the process.
std::map<std::string, Script>& Scripts() {
    static std::map<std::string, Script> scripts;
    return scripts;
}

// Runs `choose` over the rules of the script named in the environment, under
// the lock; false when no script is set.
template <typename Choose>
bool WithScript(Choose choose) {
    const std::optional<WString> path = Variable(u"ZSYS_ANSWER_SCRIPT");
    if (!path) return false;
    std::string text;
    ReadTextFile(*path, &text);  // a script that cannot be read has no rules
    MutexLock lock(g_scriptsLock);
    const std::string key = Narrow(*path) + '\n' + text;
    auto found = Scripts().find(key);
    if (found == Scripts().end()) found = Scripts().emplace(key, ParseScript(Narrow(*path), text)).first;
    choose(found->second);
    return true;
}

bool BoxRuleMatches(const Rule& rule, std::string_view caption, std::string_view text) {
    switch (rule.where) {
        case Where::Caption: return caption.find(rule.subject) != std::string_view::npos;
        case Where::Text: return text.find(rule.subject) != std::string_view::npos;
        case Where::Any:
            return caption.find(rule.subject) != std::string_view::npos ||
                   text.find(rule.subject) != std::string_view::npos;
        case Where::Question:
        case Where::Default: return false;
    }
    return false;
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

void Log(const std::string& line) {
    std::optional<WString> log = Variable(u"ZSYS_ANSWER_LOG");
    if (!log) {
        const std::optional<WString> script = Variable(u"ZSYS_ANSWER_SCRIPT");
        if (!script) return;
        log = *script + u".log";
    }
    AppendTextLine(*log, line + "\n");
}

}  // namespace

bool AnswerScriptActive() { return Variable(u"ZSYS_ANSWER_SCRIPT").has_value(); }

std::string AskQuestion(std::string_view name, std::string_view detail, std::string_view fallback) {
    std::string answer(fallback);
    WithScript([&](Script& script) {
        for (size_t i = 0; i < script.rules.size(); ++i) {
            const Rule& rule = script.rules[i];
            if (script.spent[i] || rule.where != Where::Question || rule.subject != name) continue;
            answer = rule.answer;
            script.spent[i] = rule.once;
            return;
        }
    });
    Log("question=" + EscapeLogField(name) + "\tdetail=" + EscapeLogField(detail) +
        "\tanswer=" + EscapeLogField(answer));
    return answer;
}

int AnswerMessageBox(std::string_view caption, std::string_view text, uint32_t style) {
    ButtonSet buttons;
    if (!ButtonsOf(style, &buttons)) return 0;
    int answer = 0;
    int fallback = 0;
    WithScript([&](Script& script) {
        for (size_t i = 0; i < script.rules.size() && answer == 0; ++i) {
            const Rule& rule = script.rules[i];
            const int button = ButtonFromWord(rule.answer);
            if (script.spent[i] || !Offers(buttons, button)) continue;
            if (rule.where == Where::Default) {
                if (fallback == 0) fallback = button;
            } else if (BoxRuleMatches(rule, caption, text)) {
                answer = button;
                script.spent[i] = rule.once;
            }
        }
    });
    if (answer == 0) answer = fallback != 0 ? fallback : buttons.wayOut;
    char styleText[16];
    std::snprintf(styleText, sizeof styleText, "0x%08X", style);
    Log("caption=" + EscapeLogField(caption) + "\ttext=" + EscapeLogField(text) + "\tstyle=" + styleText +
        "\tanswer=" + ButtonWord(answer));
    return answer;
}

}  // namespace sys
