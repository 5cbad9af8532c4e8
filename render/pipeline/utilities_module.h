// The bridge to the driver's utilities module (Tzqr4SU.DLL beside this
// library), which supplies the driver strings (driver_strings.h). It is
// loaded for each request and released after it.
#pragma once

#include "formats/utilities_request.h"
#include "sys/modules.h"
#include "sys/text.h"

struct VLUtilitiesModule {
    sys::ModuleHandle handle = nullptr;
    VLGEIniPDataRoutine iniPData = nullptr;
};

// Loads the module named by `ownLibraryPath` upper-cased with its suffix
// `ownSuffix` replaced by `moduleSuffix` and looks up "VLGE_IniP_Data". On
// failure an error box (caption "BRISKUI Utilties Gateway-32 error") says
// why, nothing stays loaded, and 0 is returned.
int VLUTDLL_LoadLibraryEx(VLUtilitiesModule* module, sys::WStringView ownLibraryPath,
                          sys::WStringView ownSuffix, sys::WStringView moduleSuffix);
// The module beside this library: fbOwnModulePath(), "UM.DLL", "SU.DLL".
int VLUTDLL_LoadLibrary(VLUtilitiesModule* module);
void VLUTDLL_ReleaseLibrary(VLUtilitiesModule* module);

// Asks a loaded module for the text of `key` in the section "Driver Data".
// 1 and the text (the module's default handling gives `defaultText` for a
// missing key); 0 when the module refuses the request, *out untouched.
int VLUTDLL_GetDriverData(const VLUtilitiesModule& module, sys::WStringView key, sys::WStringView defaultText,
                          sys::WString* out);
