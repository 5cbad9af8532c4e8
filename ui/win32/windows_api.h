// The Windows headers for ui/win32. The Windows headers make names that ui
// and sys share with Windows into macros (MessageBox, GetCommandLine ...),
// which would rename our declarations in some files and not in others:
// files here include <windows.h> only through this header, which undoes
// every such macro that our headers declare, and call the A functions by
// their full names (Setup runs on Windows 95).
#pragma once

#include <windows.h>

#undef CreateWindow
#undef FindWindow
#undef GetCommandLine
#undef GetModuleFileName
#undef GetSystemDirectory
#undef LoadLibrary
#undef MessageBox
#undef RegisterClass
