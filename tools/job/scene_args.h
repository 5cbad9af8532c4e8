// The words of one scene line and their readers: numbers (decimal or 0x
// hex), lengths with units, on/off switches, hex byte strings and quoted
// text. Every reader reports what it expected, for the line's error message.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Splits a line into words at blanks; "quoted text" is one word (a backslash
// escapes a quote or a backslash inside it), '#' outside quotes starts a
// comment. False and a message for an unterminated quote.
bool SplitSceneLine(std::string_view line, std::vector<std::string>* words, std::string* error);

class SceneArgs {
public:
    SceneArgs(std::string command, std::vector<std::string> words, uint32_t resolution)
        : command_(std::move(command)), words_(std::move(words)), resolution_(resolution) {}

    const std::string& Command() const { return command_; }
    size_t Count() const { return words_.size(); }
    size_t Left() const { return words_.size() - next_; }
    bool Done() const { return next_ == words_.size(); }
    // The next word without taking it, or empty at the end.
    std::string_view Peek() const;
    // Takes the next word when it equals `keyword`.
    bool TakeKeyword(std::string_view keyword);

    bool Word(std::string* value, const char* what);
    bool UInt(uint32_t* value, const char* what, uint32_t min = 0, uint32_t max = UINT32_MAX);
    bool Int(int32_t* value, const char* what, int32_t min = INT32_MIN, int32_t max = INT32_MAX);
    // Dots, or a length with a unit: mm, cm, in, pt (1/72 inch), at the
    // document's rendering resolution, rounded to the nearest dot.
    bool Length(uint32_t* dots, const char* what);
    bool Switch(bool* on, const char* what);  // on/off, yes/no, true/false, 1/0
    // The rest of the line as hex digits (blanks between bytes allowed).
    bool HexRest(std::vector<uint8_t>* bytes, const char* what);
    // One of the choices; *index is its position.
    bool Choice(const std::vector<std::string_view>& choices, size_t* index, const char* what);
    // Fails unless every word was used.
    bool End();

    const std::string& Error() const { return error_; }
    bool Fail(const std::string& message);

private:
    std::string command_;
    std::vector<std::string> words_;
    uint32_t resolution_;
    size_t next_ = 0;
    std::string error_;
};

// "x,y" as two signed numbers.
bool ParsePoint(std::string_view word, int32_t* x, int32_t* y);
std::optional<uint64_t> ParseUnsigned(std::string_view word);
