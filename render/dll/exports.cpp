// The entry points the library exports. Naming them here links their code
// out of the pipeline library into the shared library; the export list itself is
// Tzqr4um.def (Windows) or Tzqr4um.map (POSIX).
#include "pipeline/entry_points.h"

extern "C" {
extern void* const g_tzqr4umEntryPoints[];
void* const g_tzqr4umEntryPoints[] = {
    reinterpret_cast<void*>(&DrvSplStartDoc),  reinterpret_cast<void*>(&DrvSplWritePrinter),
    reinterpret_cast<void*>(&DrvSplStartPage), reinterpret_cast<void*>(&DrvSplEndPage),
    reinterpret_cast<void*>(&DrvSplEndDoc),    reinterpret_cast<void*>(&DrvSplAbort),
    reinterpret_cast<void*>(&DrvSplClose),
};
}
