#include "sys/printer_setup.h"

#include "printers_ini.h"
#include "sys/last_error.h"

namespace sys {

bool PrinterSetupSupportsFaults() { return true; }

bool AddPrinter(const PrinterSetup& setup) { return posix::WritePrinterSection(setup); }

bool DeletePrinter(WStringView name) {
    PrinterSetup existing;
    if (!posix::FindPrinterSection(name, &existing)) {
        SetLastError(kErrorInvalidPrinterName);
        return false;
    }
    return posix::RemovePrinterSection(name);
}

}  // namespace sys
