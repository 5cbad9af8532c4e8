// The library's diagnostics: text for the debugger, and the last error shown
// to a developer.
#pragma once

// printf-style formatting of at most 1023 characters (longer text is cut)
// written to the debugger output.
void OutputDebugPrintf(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

// The system text of the last error as the line "[FB] <text>" in the
// debugger output.
void fbOutputDebugDisplayLastError();

// The same text in a message box with an empty caption.
void fbMessageBoxDisplayLastError();
