// Making and removing spooler printers, for the tools and the tests that print
// to a file. Not used by the shipped rendering library.
//
// The win32 layer registers a driver and adds a real spooler printer on the
// port; documents reach a file only through the output file of
// StartDocPrinter. The posix layer writes the printer's section of
// <machine root>/printers.ini, where it can also send documents without an
// output file to `output`, log every spooler call and inject failures.
#pragma once

#include <cstdint>

#include "sys/text.h"

namespace sys {

struct PrinterSetup {
    WString name;
    WString port = u"LPT1:";

    // posix only: where documents that name no output file go (appended).
    WString output;
    // posix only: a file that receives one line per spooler call on the
    // printer ("WritePrinter 4096 ok", "EndDocPrinter fail 5", ...).
    WString callLog;

    // posix only, failure injection. A WritePrinter call that would take the
    // document past failAfterBytes fails with failError; with error 87 it
    // fails failCount times and then goes through, with any other error it
    // keeps failing. The bracket calls fail with their error when non-zero.
    uint64_t failAfterBytes = UINT64_MAX;
    uint32_t failError = 0;
    uint32_t failCount = 3;
    uint32_t failStartDoc = 0;
    uint32_t failStartPage = 0;
    uint32_t failEndPage = 0;
    uint32_t failEndDoc = 0;
};

// Whether this layer honours the posix-only fields above.
bool PrinterSetupSupportsFaults();

// Adds the printer (replacing one of the same name); false and the last error
// on failure (kErrorNotSupported when a posix-only field is asked of win32).
bool AddPrinter(const PrinterSetup& setup);
bool DeletePrinter(WStringView name);

// Installs or removes a printer driver of this name (with no printer), as
// sys/printer_drivers.h lists them; the win32 layer registers the system's
// local spooler DLL under the name.
bool AddPrinterDriver(WStringView name);
bool DeletePrinterDriver(WStringView name);

}  // namespace sys
