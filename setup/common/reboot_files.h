// Deleting and replacing files at the next start of Windows 95 to Me, which
// read the "Rename" section of Wininit.ini in the Windows folder before any
// program runs: "NUL=<path>" deletes the file, "<destination>=<source>"
// moves the source over the destination. Paths are written in their short
// form, as those systems read them, when the file exists.
//
// The section is read whole into a buffer of 16,384 characters. A section
// that does not fit there, or that would not fit with the new entries and
// its final NUL, is left as it is: the file is then not replaced.
#pragma once

// Both return 0, whatever happened (the callers expect nothing else).
int MyDeleteFileOnReboot(const char* path);
int MyRenameFileOnReboot(const char* source, const char* destination);
