// The shell's ShellExecute: a document, a program or an address opened with a
// verb ("open"), the way a double click opens it. The win32 layer calls
// ShellExecuteA (Windows 95).
//
// While an answer script is set (sys/answer_script.h) every call is the named
// question "ShellExecute", its detail "<verb> <file> <parameters> <folder>":
// a rule's number is returned without opening anything (so a test can have
// "no program for this file", 31), and without a rule the call goes on.
//
// A file that is not there is kSeErrFileNotFound, whether its folder is
// there or not (Wine's answer; kSeErrPathNotFound is never given by it).
//
// The posix layer opens nothing on screen: a program (a host executable) is
// started as sys::Process does, an address ("scheme:...") and a document
// with a program registered for its extension (HKEY_CLASSES_ROOT\.ext names a
// class whose shell\<verb>\command has a value) count as opened.
#pragma once

#include <cstdint>

#include "sys/text.h"

namespace sys {

// ShellExecute's results up to 32 are failures (the Windows values).
enum : uint32_t {
    kSeErrFileNotFound = 2,
    kSeErrPathNotFound = 3,
    kSeErrAccessDenied = 5,
    kSeErrNoAssociation = 31,
    kShellExecuteOk = 33,  // the first value that means success
};

// The system's number: above 32 when it opened. `directory` is the working
// folder and, for a file without a folder, where it is looked for; `show`
// as for sys::Process (kSwShowNormal).
uint32_t ShellExecute(WStringView verb, WStringView file, WStringView parameters, WStringView directory,
                      int show);

}  // namespace sys
