#include "common/printer_driver.h"

#include <cstring>
#include <vector>

#include "common/trace.h"
#include "sys/last_error.h"
#include "sys/printer_drivers.h"

namespace {

constexpr size_t kMaxDriverName = 260;  // the name buffer, its NUL included

}  // namespace

int MyIsPrinterDriverInstalled(const char* driverName) {
    if (driverName == nullptr || std::strlen(driverName) >= kMaxDriverName) return 0;
    std::vector<sys::WString> drivers;
    if (!sys::EnumPrinterDriverNames(&drivers)) {
        MyTraceLastError(sys::GetLastError(), "EnumPrinterDrivers");
        return 0;
    }
    const sys::WString wanted = sys::FromCodePage(driverName);
    for (const sys::WString& driver : drivers)
        if (sys::EqualsIgnoreCase(driver, wanted)) return 1;
    return 0;
}
