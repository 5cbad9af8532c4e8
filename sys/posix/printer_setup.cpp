#include "sys/printer_setup.h"

#include "printer_drivers_key.h"
#include "sys/registry.h"

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

bool AddPrinterDriver(WStringView name) {
    return RegistryKey::Create(RegistryRoot::kLocalMachine,
                               WString(posix::kPrinterDriversKey) + u"\\" + WString(name), kKeyAllAccess)
        .IsOpen();
}

bool DeletePrinterDriver(WStringView name) {
    return RegDeleteKey(RegistryRoot::kLocalMachine,
                        WString(posix::kPrinterDriversKey) + u"\\" + WString(name));
}

}  // namespace sys
