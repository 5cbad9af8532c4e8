// The calling convention of exported Windows entry points and of the routines
// the library looks up in other modules (the colour and utilities modules).
#pragma once

#if defined(_WIN32)
#define ZEBL_STDCALL __stdcall
#else
#define ZEBL_STDCALL
#endif
