// Whether a printer driver of a name is installed.
#pragma once

// 1 when the spooler lists a driver of that name (without regard to case),
// else 0; a name of 260 characters or more is never found.
int MyIsPrinterDriverInstalled(const char* driverName);
