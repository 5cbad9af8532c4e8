// The spooler's printer interface, as the rendering library uses it.
#pragma once

#include <cstdint>

#include "sys/text.h"

namespace sys {

// An opaque spooler printer handle (a HANDLE on Windows).
using PrinterHandle = void*;

// OpenPrinterW with no defaults. Null and the last error on failure.
PrinterHandle OpenPrinter(WStringView printerName);
bool ClosePrinter(PrinterHandle printer);

// The printer and port names of GetPrinterW level 2.
struct PrinterNames {
    WString printerName;
    WString portName;
};
bool GetPrinterNames(PrinterHandle printer, PrinterNames* names);

// StartDocPrinterW level 1. `outputFile` empty means the printer's own port.
// Returns the job id, 0 on failure.
uint32_t StartDocPrinter(PrinterHandle printer, WStringView docName, WStringView outputFile,
                         WStringView dataType);
bool EndDocPrinter(PrinterHandle printer);
bool StartPagePrinter(PrinterHandle printer);
bool EndPagePrinter(PrinterHandle printer);
bool WritePrinter(PrinterHandle printer, const void* data, uint32_t length, uint32_t* written);

}  // namespace sys
