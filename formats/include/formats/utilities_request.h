// The request record of the utilities module's "VLGE_IniP_Data", with which
// the library reads its driver strings:
//
//     VLGE_IniP_Data(0, u"Driver Data", 1, &request)
//
// The first argument selects the driver's own data (0 is the only value the
// library passes), the second names the section, the third counts the
// records that the fourth points to. A record of kind 1 asks for the text of
// `key`: the module writes it, or `defaultText` when the key is missing,
// NUL-terminated into `result`, cut to resultUnits - 1 units. All texts are
// UTF-16. The routine returns 1 when it answered every record, 0 when the
// arguments are unusable (and then writes nothing).
#pragma once

#include <cstdint>

#include "formats/calling_convention.h"

enum : uint32_t {
    kVLIniPReadString = 1,
    kVLIniPMaxRecords = 64,  // more records in one call are refused
};

struct VLIniPRequest {
    uint32_t kind = kVLIniPReadString;
    const char16_t* key = nullptr;
    const char16_t* defaultText = nullptr;
    char16_t* result = nullptr;
    uint32_t resultUnits = 0;  // the size of `result` in UTF-16 units, NUL included
};

using VLGEIniPDataRoutine = int(ZEBL_STDCALL*)(int32_t data, const char16_t* section, int32_t recordCount,
                                               VLIniPRequest* records);
