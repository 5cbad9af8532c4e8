#include "sys/printer_drivers.h"

#include "printer_drivers_key.h"
#include "sys/last_error.h"
#include "sys/registry.h"

namespace sys {

bool EnumPrinterDriverNames(std::vector<WString>* names) {
    names->clear();
    const RegistryKey drivers =
        RegistryKey::Open(RegistryRoot::kLocalMachine, posix::kPrinterDriversKey, kKeyRead);
    // No key: no driver was ever installed.
    if (!drivers.IsOpen()) return GetLastError() == kErrorFileNotFound;
    WString name;
    for (uint32_t index = 0; drivers.EnumSubKey(index, &name); ++index) names->push_back(name);
    return GetLastError() == kErrorNoMoreItems;
}

}  // namespace sys
