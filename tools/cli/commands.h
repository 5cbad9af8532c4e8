// The subcommands of the zebl tool. Each takes the whole command line
// (argv[1] is the subcommand) and returns the exit code: 0 success, 1 a
// failure of the work, 2 a wrong command line.
#pragma once

int ComposeCommand(int argc, char** argv);
int PrintCommand(int argc, char** argv);
int DecodeCommand(int argc, char** argv);

// The usage lines: each subcommand's own, and all of them.
extern const char kComposeUsage[];
extern const char kPrintUsage[];
extern const char kDecodeUsage[];
extern const char kZeblUsage[];
