#include "support/answer_script.h"

#include <cstdlib>
#include <sstream>

#include "sys/files.h"

namespace zebl_test {
namespace {

constexpr char16_t kScriptName[] = u"answers.txt";
constexpr char16_t kLogName[] = u"questions.log";

[[maybe_unused]] bool WriteTextFile(const sys::WString& path, const std::string& text) {
    sys::File file = sys::File::CreateAlways(path);
    uint32_t written = 0;
    return file.IsOpen() && file.Write(text.data(), static_cast<uint32_t>(text.size()), &written) &&
           written == text.size();
}

std::string ReadTextFile(const sys::WString& path) {
    sys::File file = sys::File::OpenExisting(path, false, sys::Share::ReadWrite);
    std::string text;
    char chunk[4096];
    uint32_t got = 0;
    while (file.IsOpen() && file.Read(chunk, sizeof chunk, &got) && got > 0) text.append(chunk, got);
    return text;
}

std::string Unescape(const std::string& field) {
    std::string out;
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] != '\\' || i + 1 == field.size()) {
            out += field[i];
            continue;
        }
        switch (field[++i]) {
            case 'n': out += '\n'; break;
            case 't': out += '\t'; break;
            case 'r': out += '\r'; break;
            default: out += field[i]; break;
        }
    }
    return out;
}

// "caption=...\ttext=...\tstyle=0x...\tanswer=..."
AskedQuestion ParseLogLine(const std::string& line) {
    AskedQuestion question;
    std::istringstream fields(line);
    std::string field;
    while (std::getline(fields, field, '\t')) {
        const size_t equals = field.find('=');
        if (equals == std::string::npos) continue;
        const std::string name = field.substr(0, equals);
        const std::string value = field.substr(equals + 1);
        if (name == "caption") question.caption = Unescape(value);
        else if (name == "text") question.text = Unescape(value);
        else if (name == "style") question.style = static_cast<uint32_t>(std::stoul(value, nullptr, 16));
        else if (name == "answer") question.answer = value;
    }
    return question;
}

#if !defined(_WIN32)
void Restore(const char* name, bool had, const std::string& value) {
    if (had) ::setenv(name, value.c_str(), 1);
    else ::unsetenv(name);
}

void Save(const char* name, bool* had, std::string* value) {
    const char* current = std::getenv(name);
    *had = current != nullptr;
    if (current) *value = current;
}
#endif

}  // namespace

bool AnswerScript::Available() {
#if defined(_WIN32)
    return false;
#else
    return true;
#endif
}

AnswerScript::AnswerScript(const std::string& rules) {
#if !defined(_WIN32)
    Save("ZSYS_ANSWER_SCRIPT", &hadScript_, &savedScript_);
    Save("ZSYS_ANSWER_LOG", &hadLog_, &savedLog_);
    const sys::WString script = folder_.Join(kScriptName);
    EXPECT_TRUE(WriteTextFile(script, rules));
    ::setenv("ZSYS_ANSWER_SCRIPT", sys::Narrow(script).c_str(), 1);
    ::setenv("ZSYS_ANSWER_LOG", sys::Narrow(folder_.Join(kLogName)).c_str(), 1);
#else
    (void)rules;
#endif
}

AnswerScript::~AnswerScript() {
#if !defined(_WIN32)
    Restore("ZSYS_ANSWER_SCRIPT", hadScript_, savedScript_);
    Restore("ZSYS_ANSWER_LOG", hadLog_, savedLog_);
#endif
}

std::vector<AskedQuestion> AnswerScript::Questions() const {
    std::vector<AskedQuestion> questions;
    std::istringstream lines(ReadTextFile(folder_.Join(kLogName)));
    std::string line;
    while (std::getline(lines, line))
        if (!line.empty()) questions.push_back(ParseLogLine(line));
    return questions;
}

}  // namespace zebl_test
