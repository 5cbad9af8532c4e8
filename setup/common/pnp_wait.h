// Waiting until Plug and Play has no device installation pending, through
// CMP_WaitNoPendingInstallEvents of Setupapi.dll, loaded by name (Windows 95
// and NT 4 have no such function).
#pragma once

// True when the wait function was found and called: first with a limit of
// two seconds and, when installations were still pending, once more
// without limit. False, without waiting, when the library or the function
// is missing.
bool MyWaitNoPendingInstall();

// The same with the library named (for tests of a library that lacks it).
bool MyWaitNoPendingInstallFrom(const char* libraryName);
