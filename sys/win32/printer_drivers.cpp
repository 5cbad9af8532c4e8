#include "sys/printer_drivers.h"

#include <string>

#include "windows_api.h"

namespace sys {

bool EnumPrinterDriverNames(std::vector<WString>* names) {
    // The size of the list, then the list (which may grow in between).
    for (;;) {
        DWORD needed = 0;
        DWORD count = 0;
        ::EnumPrinterDriversA(nullptr, nullptr, 2, nullptr, 0, &needed, &count);
        if (needed == 0) {
            const DWORD error = ::GetLastError();
            if (error != ERROR_SUCCESS && error != ERROR_INSUFFICIENT_BUFFER) return false;
        }
        std::string block(needed, '\0');
        auto* data = reinterpret_cast<BYTE*>(block.data());
        if (!::EnumPrinterDriversA(nullptr, nullptr, 2, data, needed, &needed, &count)) {
            if (::GetLastError() == ERROR_INSUFFICIENT_BUFFER) continue;
            return false;
        }
        names->clear();
        const auto* drivers = reinterpret_cast<const DRIVER_INFO_2A*>(data);
        for (DWORD i = 0; i < count; ++i)
            if (drivers[i].pName) names->push_back(FromCodePage(drivers[i].pName));
        return true;
    }
}

}  // namespace sys
