// The printer drivers installed on this machine, as the spooler lists them
// (EnumPrinterDriversA at level 2 on Windows 95 too). The posix layer keeps
// them where Windows NT does: one key per driver below HKEY_LOCAL_MACHINE
// SYSTEM\CurrentControlSet\Control\Print\Environments\Windows NT x86
// \Drivers\Version-3 of its registry.
#pragma once

#include <vector>

#include "sys/text.h"

namespace sys {

// The names of the installed drivers; false and the last error when the
// spooler cannot list them.
bool EnumPrinterDriverNames(std::vector<WString>* names);

}  // namespace sys
