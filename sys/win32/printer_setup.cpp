// Adds a real spooler printer. Any DLL will do as the driver here: the spooler
// only loads the driver for rendering through GDI, and these printers only
// receive raw documents. The system's local spooler DLL is always present.
#include "sys/printer_setup.h"

#include "sys/last_error.h"
#include "windows_api.h"

namespace sys {
namespace {

constexpr char16_t kDriverName[] = u"ZEBL Test Raw Driver";

bool RegisterDriver(WStringView driverName) {
    wchar_t system[MAX_PATH] = {};
    const UINT length = ::GetSystemDirectoryW(system, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return false;
    WString driverPath = win32::FromWide(system) + u"\\localspl.dll";
    WString name(driverName), raw = u"RAW";
    DRIVER_INFO_3W driver{};
    driver.cVersion = 3;
    driver.pName = win32::MutableWide(name);
    driver.pDriverPath = driver.pDataFile = driver.pConfigFile = win32::MutableWide(driverPath);
    driver.pDefaultDataType = win32::MutableWide(raw);
    return ::AddPrinterDriverExW(nullptr, 3, reinterpret_cast<BYTE*>(&driver), APD_COPY_NEW_FILES);
}

bool AsksForFaults(const PrinterSetup& setup) {
    return !setup.output.empty() || !setup.callLog.empty() || setup.failError != 0 ||
           setup.failStartDoc != 0 || setup.failStartPage != 0 || setup.failEndPage != 0 ||
           setup.failEndDoc != 0;
}

}  // namespace

bool PrinterSetupSupportsFaults() { return false; }

bool AddPrinter(const PrinterSetup& setup) {
    if (AsksForFaults(setup)) {
        SetLastError(kErrorNotSupported);
        return false;
    }
    if (!RegisterDriver(kDriverName)) return false;
    DeletePrinter(setup.name);  // replace one of the same name
    WString name = setup.name, port = setup.port, driver = kDriverName;
    WString processor = u"WinPrint", raw = u"RAW";
    PRINTER_INFO_2W info{};
    info.pPrinterName = win32::MutableWide(name);
    info.pPortName = win32::MutableWide(port);
    info.pDriverName = win32::MutableWide(driver);
    info.pPrintProcessor = win32::MutableWide(processor);
    info.pDatatype = win32::MutableWide(raw);
    HANDLE added = ::AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&info));
    if (added == nullptr) return false;
    ::ClosePrinter(added);
    return true;
}

bool DeletePrinter(WStringView name) {
    WString terminated = win32::Terminated(name);
    PRINTER_DEFAULTSW defaults{nullptr, nullptr, PRINTER_ALL_ACCESS};
    HANDLE printer = nullptr;
    if (!::OpenPrinterW(win32::MutableWide(terminated), &printer, &defaults)) return false;
    const BOOL deleted = ::DeletePrinter(printer);
    const DWORD error = ::GetLastError();
    ::ClosePrinter(printer);
    ::SetLastError(error);
    return deleted != FALSE;
}

bool AddPrinterDriver(WStringView name) { return RegisterDriver(name); }

bool DeletePrinterDriver(WStringView name) {
    WString driver(name);
    return ::DeletePrinterDriverW(nullptr, nullptr, win32::MutableWide(driver)) != FALSE;
}

}  // namespace sys
