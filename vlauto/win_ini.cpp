#include "win_ini.h"

#include "autorun_dialog.h"
#include "common/trace.h"
#include "ini_value.h"
#include "sys/profile.h"

namespace vlauto {
namespace {

constexpr char16_t kWinIni[] = u"Win.ini";
constexpr char16_t kSettings[] = u"Settings";
constexpr const char16_t* kCopiedKeys[] = {u"SmartMedia", u"EMail", u"Fax"};

}  // namespace

void MyWriteWinIni(const InstallInfo& info) {
    MyTrace("MyWriteWinIni Start");
    sys::WritePrivateProfileString(kSettings, u"ModelName", RecordText(info.szProductName), kWinIni);
    const sys::WString setupData = RecordText(info.szSetupDataFile);
    for (const char16_t* key : kCopiedKeys) {
        const sys::WString value = MyGetIniValue(u"DOCKWAVE", key, setupData);
        if (value.empty()) sys::DeletePrivateProfileKey(kSettings, key, kWinIni);
        else sys::WritePrivateProfileString(kSettings, key, value, kWinIni);
    }
    MyTrace("MyWriteWinIni End");
}

}  // namespace vlauto
