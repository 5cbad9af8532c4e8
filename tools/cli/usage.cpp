// The usage lines of the subcommands.
#include "cli/commands.h"

#define ZEBL_COMPOSE_ARGS "zebl compose SCENE -o JOB.spl|OUT.ps [--postscript]\n"
#define ZEBL_PRINT_ARGS \
    "zebl print JOB.spl -o OUT.prn|- [--library PATH] [--printer NAME] [--trace] [--stats]\n"
#define ZEBL_DECODE_ARGS "zebl decode [--bands] [--png PREFIX [--scale N]] FILE.prn\n"

const char kComposeUsage[] = "usage: " ZEBL_COMPOSE_ARGS;
const char kPrintUsage[] = "usage: " ZEBL_PRINT_ARGS;
const char kDecodeUsage[] = "usage: " ZEBL_DECODE_ARGS;
const char kZeblUsage[] = "usage: " ZEBL_COMPOSE_ARGS "       " ZEBL_PRINT_ARGS "       " ZEBL_DECODE_ARGS;
