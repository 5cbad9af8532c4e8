// Where the posix layer's registry lists the installed printer drivers.
#pragma once

namespace sys::posix {

inline constexpr char16_t kPrinterDriversKey[] =
    u"SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows NT x86\\Drivers\\Version-3";

}  // namespace sys::posix
