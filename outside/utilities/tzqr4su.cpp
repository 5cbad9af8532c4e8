// Tzqr4SU.DLL, the stand-in utilities module: "VLGE_IniP_Data" answers the
// rendering library's requests for driver strings from an INI file beside
// the module, named like it with the extension ".INI" (Tzqr4SU.INI), in the
// section the caller names:
//
//     [Driver Data]
//     OVERLAYCREATE_STR=Create Overlay
//
// The file is read with the profile functions, as Windows reads INI files:
// a missing file, section or key gives the caller's default text, a value
// too long for the result is cut, and the text is in the system code page
// unless the file starts with a UTF-8 or UTF-16LE byte-order mark.
#include "../export.h"
#include "formats/utilities_request.h"
#include "sys/modules.h"
#include "sys/paths.h"
#include "sys/profile.h"

namespace {

sys::WString IniPathBesideModule() {
    const sys::WString path = sys::GetOwnModuleFileName();
    return path.empty() ? path : sys::WString(sys::WithoutExtension(path)) + u".INI";
}

size_t Length(const char16_t* text) {
    size_t length = 0;
    while (text[length] != 0) ++length;
    return length;
}

bool Usable(const VLIniPRequest& request) {
    return request.kind == kVLIniPReadString && request.key != nullptr && request.result != nullptr &&
           request.resultUnits > 0;
}

}  // namespace

ZEBL_EXPORT int ZEBL_STDCALL VLGE_IniP_Data(int32_t data, const char16_t* section, int32_t recordCount,
                                            VLIniPRequest* records) {
    if (data != 0 || section == nullptr || records == nullptr || recordCount <= 0 ||
        recordCount > static_cast<int32_t>(kVLIniPMaxRecords))
        return 0;
    for (int32_t i = 0; i < recordCount; ++i)
        if (!Usable(records[i])) return 0;

    const sys::WString iniPath = IniPathBesideModule();
    const sys::WStringView sectionName(section, Length(section));
    for (int32_t i = 0; i < recordCount; ++i) {
        VLIniPRequest& request = records[i];
        const char16_t* fallback = request.defaultText ? request.defaultText : u"";
        sys::GetPrivateProfileString(sectionName, sys::WStringView(request.key, Length(request.key)),
                                     sys::WStringView(fallback, Length(fallback)), request.result,
                                     request.resultUnits, iniPath);
    }
    return 1;
}
