// zebl: the command-line tool around spooled jobs and the printer stream.
//
//   zebl compose SCENE -o JOB.spl      a spool file from a scene description
//   zebl print JOB.spl -o OUT.prn      play a spool file through Tzqr4um.dll
//   zebl decode FILE.prn               parse and check a printer stream
//
// Exit code 0 on success, 1 when the work fails (malformed input, a failed
// call), 2 for a wrong command line.
#include <cstdio>
#include <cstring>

#include "cli/commands.h"

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], "compose") == 0) return ComposeCommand(argc, argv);
    if (argc >= 2 && std::strcmp(argv[1], "print") == 0) return PrintCommand(argc, argv);
    if (argc >= 2 && std::strcmp(argv[1], "decode") == 0) return DecodeCommand(argc, argv);
    std::fputs(kZeblUsage, stderr);
    return 2;
}
