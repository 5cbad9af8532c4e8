#include "job/scene_args.h"

#include <cmath>
#include <cstdlib>

bool SplitSceneLine(std::string_view line, std::vector<std::string>* words, std::string* error) {
    words->clear();
    size_t i = 0;
    while (i < line.size()) {
        const char c = line[i];
        if (c == ' ' || c == '\t' || c == '\r') {
            ++i;
        } else if (c == '#') {
            break;
        } else if (c == '"') {
            std::string word;
            ++i;
            bool closed = false;
            while (i < line.size()) {
                if (line[i] == '\\' && i + 1 < line.size() && (line[i + 1] == '"' || line[i + 1] == '\\')) {
                    word.push_back(line[i + 1]);
                    i += 2;
                } else if (line[i] == '"') {
                    closed = true;
                    ++i;
                    break;
                } else {
                    word.push_back(line[i++]);
                }
            }
            if (!closed) {
                *error = "unterminated quoted text";
                return false;
            }
            words->push_back(std::move(word));
        } else {
            const size_t start = i;
            while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r' && line[i] != '#')
                ++i;
            words->emplace_back(line.substr(start, i - start));
        }
    }
    return true;
}

std::optional<uint64_t> ParseUnsigned(std::string_view word) {
    int base = 10;
    if (word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X')) {
        base = 16;
        word.remove_prefix(2);
    }
    if (word.empty() || word.size() > 20) return std::nullopt;
    uint64_t value = 0;
    for (char c : word) {
        int digit = -1;
        if (c >= '0' && c <= '9') digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        if (digit < 0) return std::nullopt;
        if (value > (UINT64_MAX - digit) / base) return std::nullopt;
        value = value * base + digit;
    }
    return value;
}

namespace {

std::optional<int64_t> ParseSigned(std::string_view word) {
    bool negative = false;
    if (!word.empty() && (word[0] == '-' || word[0] == '+')) {
        negative = word[0] == '-';
        word.remove_prefix(1);
    }
    const auto magnitude = ParseUnsigned(word);
    if (!magnitude || *magnitude > uint64_t{INT64_MAX}) return std::nullopt;
    return negative ? -static_cast<int64_t>(*magnitude) : static_cast<int64_t>(*magnitude);
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

bool ParsePoint(std::string_view word, int32_t* x, int32_t* y) {
    const size_t comma = word.find(',');
    if (comma == std::string_view::npos) return false;
    const auto px = ParseSigned(word.substr(0, comma));
    const auto py = ParseSigned(word.substr(comma + 1));
    if (!px || !py || *px < INT32_MIN || *px > INT32_MAX || *py < INT32_MIN || *py > INT32_MAX) return false;
    *x = static_cast<int32_t>(*px);
    *y = static_cast<int32_t>(*py);
    return true;
}

bool SceneArgs::Fail(const std::string& message) {
    error_ = command_ + ": " + message;
    return false;
}

std::string_view SceneArgs::Peek() const { return Done() ? std::string_view() : words_[next_]; }

bool SceneArgs::TakeKeyword(std::string_view keyword) {
    if (Done() || words_[next_] != keyword) return false;
    ++next_;
    return true;
}

bool SceneArgs::Word(std::string* value, const char* what) {
    if (Done()) return Fail(std::string("missing ") + what);
    *value = words_[next_++];
    return true;
}

bool SceneArgs::UInt(uint32_t* value, const char* what, uint32_t min, uint32_t max) {
    if (Done()) return Fail(std::string("missing ") + what);
    const std::string& word = words_[next_];
    const auto v = ParseUnsigned(word);
    if (!v) return Fail(std::string(what) + " must be a number, not \"" + word + "\"");
    if (*v < min || *v > max)
        return Fail(std::string(what) + " " + word + " is outside " + std::to_string(min) + ".." +
                    std::to_string(max));
    *value = static_cast<uint32_t>(*v);
    ++next_;
    return true;
}

bool SceneArgs::Int(int32_t* value, const char* what, int32_t min, int32_t max) {
    if (Done()) return Fail(std::string("missing ") + what);
    const std::string& word = words_[next_];
    const auto v = ParseSigned(word);
    if (!v) return Fail(std::string(what) + " must be a number, not \"" + word + "\"");
    if (*v < min || *v > max)
        return Fail(std::string(what) + " " + word + " is outside " + std::to_string(min) + ".." +
                    std::to_string(max));
    *value = static_cast<int32_t>(*v);
    ++next_;
    return true;
}

bool SceneArgs::Length(uint32_t* dots, const char* what) {
    if (Done()) return Fail(std::string("missing ") + what);
    const std::string& word = words_[next_];
    struct Unit {
        const char* suffix;
        double perInch;
    };
    static const Unit kUnits[] = {{"mm", 25.4}, {"cm", 2.54}, {"in", 1.0}, {"pt", 72.0}};
    for (const Unit& unit : kUnits) {
        const std::string_view suffix(unit.suffix);
        if (word.size() <= suffix.size() ||
            word.compare(word.size() - suffix.size(), suffix.size(), suffix) != 0)
            continue;
        const std::string number = word.substr(0, word.size() - suffix.size());
        char* end = nullptr;
        const double value = std::strtod(number.c_str(), &end);
        if (end == number.c_str() || *end != '\0' || !(value >= 0) || value > 1e6)
            return Fail(std::string(what) + " must be a length, not \"" + word + "\"");
        const double d = std::round(value / unit.perInch * resolution_);
        if (d > UINT32_MAX) return Fail(std::string(what) + " " + word + " is too large");
        *dots = static_cast<uint32_t>(d);
        ++next_;
        return true;
    }
    return UInt(dots, what);
}

bool SceneArgs::Switch(bool* on, const char* what) {
    size_t index = 0;
    if (!Choice({"on", "off", "yes", "no", "true", "false", "1", "0"}, &index, what)) return false;
    *on = index % 2 == 0;
    return true;
}

bool SceneArgs::HexRest(std::vector<uint8_t>* bytes, const char* what) {
    std::string digits;
    while (!Done()) digits += words_[next_++];
    if (digits.empty()) return Fail(std::string("missing ") + what);
    if (digits.size() % 2 != 0) return Fail(std::string(what) + ": odd number of hex digits");
    bytes->clear();
    for (size_t i = 0; i < digits.size(); i += 2) {
        const int hi = HexDigit(digits[i]), lo = HexDigit(digits[i + 1]);
        if (hi < 0 || lo < 0) return Fail(std::string(what) + ": \"" + digits.substr(i, 2) + "\" is not hex");
        bytes->push_back(static_cast<uint8_t>(hi << 4 | lo));
    }
    return true;
}

bool SceneArgs::Choice(const std::vector<std::string_view>& choices, size_t* index, const char* what) {
    if (Done()) return Fail(std::string("missing ") + what);
    for (size_t i = 0; i < choices.size(); ++i) {
        if (words_[next_] == choices[i]) {
            *index = i;
            ++next_;
            return true;
        }
    }
    std::string list;
    for (size_t i = 0; i < choices.size(); ++i) list += (i ? ", " : "") + std::string(choices[i]);
    return Fail(std::string(what) + " \"" + words_[next_] + "\" is not one of " + list);
}

bool SceneArgs::End() {
    if (Done()) return true;
    return Fail("unexpected \"" + words_[next_] + "\"");
}
