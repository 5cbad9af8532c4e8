// Tzqr4SU.DLL, the stand-in utilities module: "VLGE_IniP_Data" answers the
// rendering library's requests for driver strings from an INI file beside
// the module, named like it with the extension ".INI" (Tzqr4SU.INI), in the
// section the caller names:
//
//     [Driver Data]
//     OVERLAYCREATE_STR=Create Overlay
//
// A missing file, section or key gives the caller's default text.
#include <algorithm>
#include <optional>

#include "../export.h"
#include "ini_file.h"
#include "formats/utilities_request.h"
#include "sys/modules.h"

namespace {

sys::WString IniPathBesideModule() {
    sys::WString path = sys::GetOwnModuleFileName();
    const size_t folderEnd = path.find_last_of(u"\\/");
    const size_t dot = path.find_last_of(u'.');
    if (dot != sys::WString::npos && (folderEnd == sys::WString::npos || dot > folderEnd))
        path.resize(dot);
    return path.empty() ? path : path + u".INI";
}

size_t Length(const char16_t* text) {
    size_t length = 0;
    while (text[length] != 0) ++length;
    return length;
}

bool Usable(const VLIniPRequest& request) {
    return request.kind == kVLIniPReadString && request.key != nullptr &&
           request.result != nullptr && request.resultUnits > 0;
}

void CopyCut(sys::WStringView text, char16_t* out, uint32_t units) {
    const size_t length = std::min<size_t>(text.size(), units - 1);
    std::copy_n(text.begin(), length, out);
    out[length] = 0;
}

}  // namespace

ZEBL_EXPORT int ZEBL_STDCALL VLGE_IniP_Data(int32_t data, const char16_t* section,
                                            int32_t recordCount, VLIniPRequest* records) {
    if (data != 0 || section == nullptr || records == nullptr || recordCount <= 0 ||
        recordCount > static_cast<int32_t>(kVLIniPMaxRecords))
        return 0;
    for (int32_t i = 0; i < recordCount; ++i)
        if (!Usable(records[i])) return 0;

    const sys::WString iniText = tzqr4su::ReadIniText(IniPathBesideModule());
    const sys::WStringView sectionName(section, Length(section));
    for (int32_t i = 0; i < recordCount; ++i) {
        VLIniPRequest& request = records[i];
        const std::optional<sys::WString> value = tzqr4su::FindIniValue(
            iniText, sectionName, sys::WStringView(request.key, Length(request.key)));
        const char16_t* fallback = request.defaultText ? request.defaultText : u"";
        if (value) CopyCut(*value, request.result, request.resultUnits);
        else CopyCut(sys::WStringView(fallback, Length(fallback)), request.result,
                     request.resultUnits);
    }
    return 1;
}
