// Where this library lives, and the names derived from its file name: the
// outside modules beside it, the model base and the watermark files in the
// system folder.
#pragma once

#include <cstdint>

#include "sys/text.h"

// The library's own file name (GetModuleFileNameW of its instance), or the
// path set with fbOverrideOwnModulePath.
sys::WString fbOwnModulePath();

// Makes fbOwnModulePath report `path` instead (empty: the real name again).
// For hosts that link the library's code into another program, such as the
// tests and tools, which still want the outside modules of an installed
// library folder.
void fbOverrideOwnModulePath(sys::WStringView path);

// Copies the library's file name into out[0 .. size-1], always terminated
// (cut when it does not fit); returns the number of characters copied.
uint32_t fbGetModuleFileName(char16_t* out, uint32_t size);

// The file name of an outside module: `ownPath` upper-cased (ASCII letters)
// with its suffix `ownSuffix` (upper case, e.g. "UM.DLL") replaced by
// `moduleSuffix` ("CM.DLL"). False when the upper-cased path does not end in
// `ownSuffix`.
bool DeriveModulePath(sys::WStringView ownPath, sys::WStringView ownSuffix, sys::WStringView moduleSuffix,
                      sys::WString* modulePath);

// The model base of a library file name: the five characters before the
// suffix "um.dll" (compared without regard to case), "Tzqr4" for
// "...\Tzqr4um.dll". Empty when the name does not end in "um.dll". Only the
// file name counts: a shorter name gives fewer characters, never a piece of
// the folder.
sys::WString ModelBaseOf(sys::WStringView libraryPath);

// The model base of this library; 1 when there is one, 0 when empty.
int fbStrGetModelBase(sys::WString* out);

// The system folder (at most 259 characters); 0 when unknown.
int fbStrGetSystemPath(sys::WString* out);

// The landscape (".wml") and portrait (".wmp") watermark files: system
// folder + "\" + model base + extension; 0 when the system folder is unknown.
int fbStrGetWMFileNameL(sys::WString* out);
int fbStrGetWMFileNameP(sys::WString* out);
