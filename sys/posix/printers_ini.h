// The printers of the posix layer: <machine root>/printers.ini, one section
// per printer name (matched without regard to case):
//
//   [Test Printer]
//   Port=LPT1:              port name reported by GetPrinter (default LPT1:)
//   Output=C:\out\doc.prn   documents without an output file are appended here
//   CallLog=/tmp/calls.txt  one line per spooler call on the printer
//   FailAfterBytes=8192     WritePrinter failure injection (see printer_setup.h)
//   FailError=87
//   FailCount=3
//   FailStartDoc=5          bracket calls that fail with the given error
//   FailStartPage=0
//   FailEndPage=0
//   FailEndDoc=0
//
// Paths are Windows paths or host paths. The file is read and written with
// the profile functions, which lock it for each edit, so concurrent test
// programs can add and remove their own printers.
#pragma once

#include "sys/printer_setup.h"

namespace sys::posix {

// False when no section has that name.
bool FindPrinterSection(WStringView name, PrinterSetup* setup);
bool WritePrinterSection(const PrinterSetup& setup);
bool RemovePrinterSection(WStringView name);

}  // namespace sys::posix
