#include "support/answer_script.h"

#include <optional>
#include <sstream>

#include "sys/environment.h"
#include "sys/files.h"

namespace zebl_test {
namespace {

constexpr char16_t kScriptName[] = u"answers.txt";
constexpr char16_t kLogName[] = u"questions.log";

bool WriteTextFile(const sys::WString& path, const std::string& text) {
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

// "caption=...\ttext=...\tstyle=0x...\tanswer=..." for a message box,
// "question=...\tdetail=...\tanswer=..." for a named question.
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
        else if (name == "answer") question.answer = Unescape(value);
        else if (name == "question") question.name = Unescape(value);
        else if (name == "detail") question.detail = Unescape(value);
    }
    return question;
}

void Restore(const char16_t* name, bool had, const sys::WString& value) {
    sys::SetEnvironmentVariable(name, had ? std::optional<sys::WString>(value) : std::nullopt);
}

void Save(const char16_t* name, bool* had, sys::WString* value) {
    const std::optional<sys::WString> current = sys::GetEnvironmentVariable(name);
    *had = current.has_value();
    if (current) *value = *current;
}

}  // namespace

AnswerScript::AnswerScript(const std::string& rules) {
    Save(u"ZSYS_ANSWER_SCRIPT", &hadScript_, &savedScript_);
    Save(u"ZSYS_ANSWER_LOG", &hadLog_, &savedLog_);
    const sys::WString script = folder_.Join(kScriptName);
    EXPECT_TRUE(WriteTextFile(script, rules));
    sys::SetEnvironmentVariable(u"ZSYS_ANSWER_SCRIPT", script);
    sys::SetEnvironmentVariable(u"ZSYS_ANSWER_LOG", folder_.Join(kLogName));
}

AnswerScript::~AnswerScript() {
    Restore(u"ZSYS_ANSWER_SCRIPT", hadScript_, savedScript_);
    Restore(u"ZSYS_ANSWER_LOG", hadLog_, savedLog_);
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
