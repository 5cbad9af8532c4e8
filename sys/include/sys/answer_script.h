// The answers that questions get when nobody sits at the machine: tests and
// unattended runs. A question is a message box, or a named question such as
// a dialog of a stand-in module ("SdFinish") or a system action that a test
// observes instead of performing it ("RestartWindows").
//
// The script is named by the environment variable ZSYS_ANSWER_SCRIPT (a
// Windows path; the posix layer also takes a host path), a UTF-8 text file of
// rules, tried from the top, the first that matches answering:
//
//     # a comment
//     question SdFinish = 15             the question named SdFinish answers "15"
//     once question SdTeatPagePrinting = 13
//                                        answers one question only, then is spent
//     caption Create Overlay = Yes       a box whose caption contains "Create Overlay"
//     text do you want = No              a box whose text contains "do you want"
//     any overlay = Yes                  a box whose caption or text contains it
//     default = Cancel                   boxes that no rule answers
//
// Names of questions match exactly; box rules are a plain, case-sensitive
// substring search in which "\n" stands for a line break. A box's answer is
// one of Ok, Cancel, Abort, Retry, Ignore, Yes, No; a rule whose answer is no
// button of the box does not match it. A box that no rule answers gets the
// "default" answer when that is one of its buttons, else its way out: Ok for
// an Ok box, No for Yes/No, Cancel where there is a Cancel button, Abort for
// Abort/Retry/Ignore. A named question that no rule answers gets the
// fallback its asker gives.
//
// Every question is appended to a log, ZSYS_ANSWER_LOG or else the script's
// name + ".log", one line per question (no log when neither is set):
//
//     caption=<caption>\ttext=<text>\tstyle=0x<8 hex digits>\tanswer=<answer>
//     question=<name>\tdetail=<detail>\tanswer=<answer>
//
// with backslash, tab, carriage return and line break in the fields written
// as \\, \t, \r and \n.
//
// On Windows a message box is answered by the script only while a script is
// set; without one the real box shows. The posix layer has no user: there
// every box is answered, by its way out when no script says otherwise.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace sys {

// Whether ZSYS_ANSWER_SCRIPT names a script.
bool AnswerScriptActive();

// The script's answer to the named question, or `fallback`; logged either way.
std::string AskQuestion(std::string_view name, std::string_view detail, std::string_view fallback);

// The button that answers a box of this style (1 Ok ... 7 No); 0 for a style
// with an unknown button set, which MessageBox fails too. Logged.
int AnswerMessageBox(std::string_view caption, std::string_view text, uint32_t style);

}  // namespace sys
