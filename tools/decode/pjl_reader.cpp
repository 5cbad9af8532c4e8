#include "decode/pjl_reader.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string_view>

namespace {

constexpr std::string_view kUniversalExit{"\x1B%-12345X", 9};
constexpr std::string_view kPjlPrefix{"@PJL"};

bool Fail(std::string* error, size_t offset, const std::string& what) {
    *error = "byte offset " + std::to_string(offset) + " (job header): " + what;
    return false;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

std::string ByteText(uint8_t byte) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", byte);
    return text;
}

// Takes one line off the cursor, without its CR LF.
bool ReadLine(ByteCursor* cursor, std::string_view* line, std::string* error) {
    const size_t start = cursor->Offset();
    const uint8_t* text = cursor->Here();
    const size_t limit = std::min(cursor->Remaining(), kMaxPjlLine + 2);
    const void* lf = std::memchr(text, '\n', limit);
    if (!lf) {
        if (cursor->Remaining() <= limit) {
            return Fail(error, start, "the stream ends inside a PJL line");
        }
        return Fail(error, start, "PJL line longer than " + std::to_string(kMaxPjlLine) + " bytes");
    }
    size_t length = static_cast<size_t>(static_cast<const uint8_t*>(lf) - text);
    cursor->Skip(length + 1);
    if (length > 0 && text[length - 1] == '\r') --length;
    if (length > kMaxPjlLine) {
        return Fail(error, start, "PJL line longer than " + std::to_string(kMaxPjlLine) + " bytes");
    }
    for (size_t i = 0; i < length; ++i) {
        if (text[i] < 0x20 || text[i] > 0x7E) {
            return Fail(error, start + i, "byte " + ByteText(text[i]) + " inside a PJL line");
        }
    }
    *line = std::string_view(reinterpret_cast<const char*>(text), length);
    return true;
}

// "NAME = VALUE" or "NAME=VALUE".
bool SplitAssignment(std::string_view text, std::string_view* name, std::string_view* value) {
    const size_t equals = text.find('=');
    if (equals == std::string_view::npos) return false;
    *name = Trim(text.substr(0, equals));
    *value = Trim(text.substr(equals + 1));
    return !name->empty() && !value->empty();
}

// One line after "@PJL"; true when it was the language switch.
bool ReadCommand(std::string_view line, size_t offset, DecodedJob* job, bool* entered, std::string* error) {
    const std::string_view rest = Trim(line.substr(kPjlPrefix.size()));
    const size_t space = rest.find(' ');
    const std::string_view command = rest.substr(0, space);
    const std::string_view arguments = space == std::string_view::npos ? "" : rest.substr(space + 1);
    std::string_view name, value;
    if (command == "SET" || command == "DEFAULT") {
        if (!SplitAssignment(arguments, &name, &value)) {
            return Fail(
                error, offset,
                "PJL " + std::string(command) + " line without NAME = VALUE: \"" + std::string(line) + "\"");
        }
        job->pjl.push_back({std::string(command), std::string(name), std::string(value), offset});
        return true;
    }
    if (command == "ENTER") {
        if (!SplitAssignment(arguments, &name, &value) || name != "LANGUAGE") {
            return Fail(error, offset, "malformed ENTER line: \"" + std::string(line) + "\"");
        }
        if (value != "ZEBL") {
            return Fail(error, offset, "the job enters language \"" + std::string(value) + "\", not ZEBL");
        }
        job->language = std::string(value);
        *entered = true;
        return true;
    }
    job->otherPjlLines.emplace_back(line);
    return true;
}

}  // namespace

bool ReadPjlHeader(ByteCursor* cursor, DecodedJob* job, std::string* error) {
    const uint8_t* exit = nullptr;
    if (!cursor->Take(kUniversalExit.size(), &exit) ||
        std::memcmp(exit, kUniversalExit.data(), kUniversalExit.size()) != 0) {
        return Fail(error, 0, "the stream does not start with the universal exit sequence");
    }
    bool entered = false;
    while (!entered) {
        if (cursor->AtEnd()) {
            return Fail(error, cursor->Offset(), "the stream ends before @PJL ENTER LANGUAGE");
        }
        const size_t offset = cursor->Offset();
        std::string_view line;
        if (!ReadLine(cursor, &line, error)) return false;
        if (line.substr(0, kPjlPrefix.size()) != kPjlPrefix ||
            (line.size() > kPjlPrefix.size() && line[kPjlPrefix.size()] != ' ')) {
            return Fail(error, offset, "not a PJL line: \"" + std::string(line) + "\"");
        }
        if (!ReadCommand(line, offset, job, &entered, error)) return false;
    }
    return true;
}

namespace {

const std::string* Find(const std::vector<PjlVariable>& pjl, std::string_view command,
                        std::string_view name) {
    const std::string* found = nullptr;
    for (const PjlVariable& v : pjl) {
        if (v.command == command && v.name == name) found = &v.value;
    }
    return found;
}

}  // namespace

const std::string* DecodedJob::Set(std::string_view name) const { return Find(pjl, "SET", name); }

const std::string* DecodedJob::Default(std::string_view name) const { return Find(pjl, "DEFAULT", name); }
