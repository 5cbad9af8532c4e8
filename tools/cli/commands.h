// The subcommands of the zebl tool. Each takes the whole command line
// (argv[1] is the subcommand) and returns the exit code: 0 success, 1 a
// failure of the work, 2 a wrong command line.
#pragma once

#include <cstdio>

int ComposeCommand(int argc, char** argv);
// `standardOutput` receives the document of "-o -" (and, otherwise, the
// summary); stdout for the tool, a file for tests.
int PrintCommand(int argc, char** argv, std::FILE* standardOutput = stdout);
int DecodeCommand(int argc, char** argv);

// The usage lines: each subcommand's own, and all of them.
extern const char kComposeUsage[];
extern const char kPrintUsage[];
extern const char kDecodeUsage[];
extern const char kZeblUsage[];
