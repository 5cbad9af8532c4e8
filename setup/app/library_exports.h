// The routines that Setup looks up in the dialog and utility libraries at
// start-up, with their arguments (the Windows calling convention in the
// Windows build; the record travels whole, by value).
#pragma once

#include <cstdint>

#include "formats/calling_convention.h"
#include "formats/install_info.h"

namespace setup {

// A screen rectangle passed by value.
struct ScreenRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

// VLEtc.Dll: the background screen behind every dialog.
using SdBackGourndImageFn = InstallInfoToken(ZEBL_STDCALL*)(InstallInfo info);
using SdBackGourndScreenUpdateRectFn = void(ZEBL_STDCALL*)(InstallInfo info, ScreenRect rect, int32_t redraw);

// VLUtil.Dll: the found-new-hardware wizard and Plug and Play of the printer.
using RemoveHardwareWizardDialogFn = void(ZEBL_STDCALL*)();
using PreventPnPFn = void(ZEBL_STDCALL*)(char* pnpId);  // StartPreventPnP, EndPreventPnP

}  // namespace setup
