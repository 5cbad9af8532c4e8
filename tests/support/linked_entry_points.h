// The spooler entry points linked into the test program, as the job
// player's table: the same calls the player makes on Tzqr4um.dll loaded by
// name, made on the library's code directly.
#pragma once

#include "job/job_player.h"
#include "pipeline/entry_points.h"

namespace zebl_test {

inline DrvSplEntryPoints LinkedEntryPoints() {
    DrvSplEntryPoints entry;
    entry.startDoc = &DrvSplStartDoc;
    entry.writePrinter = &DrvSplWritePrinter;
    entry.startPage = &DrvSplStartPage;
    entry.endPage = &DrvSplEndPage;
    entry.endDoc = &DrvSplEndDoc;
    entry.abort = &DrvSplAbort;
    entry.close = &DrvSplClose;
    return entry;
}

}  // namespace zebl_test
