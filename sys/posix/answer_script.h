// The answers that message boxes get on a host without a user. A test names a
// script in the environment variable ZSYS_ANSWER_SCRIPT (a host path or a
// Windows path under the machine root), a UTF-8 text file of rules:
//
//     # a comment
//     caption Create Overlay = Yes       the caption contains "Create Overlay"
//     text do you want = No              the text contains "do you want"
//     any overlay = Yes                  the caption or the text contains it
//     once caption Create Overlay = No   answers one question only, then is spent
//     default = Cancel                   for questions that no rule answers
//
// Rules are tried from the top and the first that matches answers. The match
// is a plain, case-sensitive substring search; "\n" in a rule stands for a
// line break. An answer is one of Ok, Cancel, Abort, Retry, Ignore, Yes, No;
// a rule whose answer is not a button of the box does not match it. A
// question that no rule answers gets the "default" answer when that is a
// button of the box, else the box's way out: Ok for an Ok box, No for Yes/No,
// Cancel where there is a Cancel button, Abort for Abort/Retry/Ignore.
//
// Every question is appended to a log, ZSYS_ANSWER_LOG or else the script's
// name + ".log" (no log when neither is set), one line per question:
//
//     caption=<caption>\ttext=<text>\tstyle=0x<8 hex digits>\tanswer=<answer>
//
// with backslash, tab, carriage return and line break in the caption and text
// written as \\, \t, \r and \n.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace sys::posix {

// The button a box of this style answers with; 0 for a style with an unknown
// button set (MessageBoxW fails such a box too).
int AnswerQuestion(std::string_view caption, std::string_view text, uint32_t style);

// The answer words and their button numbers.
int AnswerFromWord(std::string_view word);  // 0 when not an answer word
const char* AnswerWord(int answer);         // "?" for an unknown number

// Backslash escapes of the log.
std::string EscapeLogField(std::string_view text);

}  // namespace sys::posix
