#include "pipeline/driver_strings.h"

#include "pipeline/utilities_module.h"

namespace {

int GetDriverString(sys::WStringView key, sys::WStringView defaultText, sys::WString* out) {
    *out = sys::WString(defaultText);
    VLUtilitiesModule module;
    if (!VLUTDLL_LoadLibrary(&module)) return 0;
    const int answered = VLUTDLL_GetDriverData(module, key, defaultText, out);
    VLUTDLL_ReleaseLibrary(&module);
    return answered;
}

}  // namespace

int DAT_GetOverlayCreateSTR(sys::WString* out) {
    return GetDriverString(u"OVERLAYCREATE_STR", u"Create Overlay", out);
}

int DAT_GetOverlayCreateSTR1(sys::WString* out) {
    return GetDriverString(u"OVERLAYCREATE_STR1", u"Do you want to create the following overlay ?", out);
}

int DAT_GetOverlayLoadSTR(sys::WString* out) {
    return GetDriverString(u"OVERLAYLOAD_STR", u"Download New Page Overlay", out);
}
