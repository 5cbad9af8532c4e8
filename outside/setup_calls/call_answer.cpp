#include "call_answer.h"

#include <charconv>
#include <string>

#include "sys/answer_script.h"

namespace outside {

std::string AskCall(std::string_view name, std::string_view arguments, std::string_view fallback) {
    return sys::AskQuestion(name, arguments, fallback);
}

bool ParseNumber(std::string_view text, int32_t* value) {
    const char* first = text.data();
    const char* last = text.data() + text.size();
    if (first != last && *first == '+') ++first;
    int32_t parsed = 0;
    const auto [end, error] = std::from_chars(first, last, parsed);
    if (error != std::errc() || end != last || first == last) return false;
    *value = parsed;
    return true;
}

int32_t AskCallNumber(std::string_view name, std::string_view arguments, int32_t fallback) {
    const std::string answer = AskCall(name, arguments, std::to_string(fallback));
    int32_t value = fallback;
    return ParseNumber(answer, &value) ? value : fallback;
}

}  // namespace outside
