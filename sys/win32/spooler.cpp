#include "sys/spooler.h"

#include <vector>

#include "windows_api.h"

namespace sys {

using win32::Terminated;

PrinterHandle OpenPrinter(WStringView printerName) {
    WString name = Terminated(printerName);
    HANDLE printer = nullptr;
    if (!::OpenPrinterW(win32::MutableWide(name), &printer, nullptr)) return nullptr;
    return printer;
}

bool ClosePrinter(PrinterHandle printer) { return ::ClosePrinter(printer) != FALSE; }

bool GetPrinterNames(PrinterHandle printer, PrinterNames* names) {
    // Size query first; anything but "buffer too small" means no information.
    DWORD needed = 0;
    if (::GetPrinterW(printer, 2, nullptr, 0, &needed) || ::GetLastError() != ERROR_INSUFFICIENT_BUFFER ||
        needed == 0)
        return false;
    std::vector<BYTE> buffer(needed);
    if (!::GetPrinterW(printer, 2, buffer.data(), needed, &needed)) return false;
    const auto* info = reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data());
    names->printerName = win32::FromWide(info->pPrinterName);
    names->portName = win32::FromWide(info->pPortName);
    return true;
}

uint32_t StartDocPrinter(PrinterHandle printer, WStringView docName, WStringView outputFile,
                         WStringView dataType) {
    WString doc = Terminated(docName), output = Terminated(outputFile), type = Terminated(dataType);
    DOC_INFO_1W info{};
    info.pDocName = win32::MutableWide(doc);
    info.pOutputFile = output.empty() ? nullptr : win32::MutableWide(output);
    info.pDatatype = type.empty() ? nullptr : win32::MutableWide(type);
    return ::StartDocPrinterW(printer, 1, reinterpret_cast<BYTE*>(&info));
}

bool EndDocPrinter(PrinterHandle printer) { return ::EndDocPrinter(printer) != FALSE; }
bool StartPagePrinter(PrinterHandle printer) { return ::StartPagePrinter(printer) != FALSE; }
bool EndPagePrinter(PrinterHandle printer) { return ::EndPagePrinter(printer) != FALSE; }

bool WritePrinter(PrinterHandle printer, const void* data, uint32_t length, uint32_t* written) {
    DWORD done = 0;
    const BOOL ok = ::WritePrinter(printer, const_cast<void*>(data), length, &done);
    if (written) *written = done;
    return ok != FALSE;
}

}  // namespace sys
