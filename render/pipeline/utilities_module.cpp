#include "pipeline/utilities_module.h"

#include "pipeline/module_error_box.h"
#include "pipeline/own_module.h"
#include "sys/last_error.h"

namespace {

constexpr char kErrorCaption[] = "BRISKUI Utilties Gateway-32 error";
constexpr char16_t kDriverDataSection[] = u"Driver Data";
constexpr uint32_t kResultUnits = 260;

}  // namespace

int VLUTDLL_LoadLibraryEx(VLUtilitiesModule* module, sys::WStringView ownLibraryPath,
                          sys::WStringView ownSuffix, sys::WStringView moduleSuffix) {
    *module = VLUtilitiesModule{};
    sys::WString modulePath;
    if (!DeriveModulePath(ownLibraryPath, ownSuffix, moduleSuffix, &modulePath)) {
        sys::SetLastError(0);  // no system error behind this one
        ShowModuleError(kErrorCaption, "iPSh_FindFile: invalid BRISKUI library name");
        return 0;
    }
    module->handle = sys::LoadLibrary(modulePath);
    if (module->handle == nullptr) {
        ShowModuleError(kErrorCaption, "Can't load BRISKUI-Utilities library");
        return 0;
    }
    module->iniPData =
        reinterpret_cast<VLGEIniPDataRoutine>(sys::GetProcAddress(module->handle, "VLGE_IniP_Data"));
    if (module->iniPData == nullptr) {
        ShowModuleError(kErrorCaption, "Can't find a function in BRISK Utilities library");
        VLUTDLL_ReleaseLibrary(module);
        return 0;
    }
    return 1;
}

int VLUTDLL_LoadLibrary(VLUtilitiesModule* module) {
    return VLUTDLL_LoadLibraryEx(module, fbOwnModulePath(), u"UM.DLL", u"SU.DLL");
}

void VLUTDLL_ReleaseLibrary(VLUtilitiesModule* module) {
    if (module->handle != nullptr) sys::FreeLibrary(module->handle);
    *module = VLUtilitiesModule{};
}

int VLUTDLL_GetDriverData(const VLUtilitiesModule& module, sys::WStringView key, sys::WStringView defaultText,
                          sys::WString* out) {
    if (module.iniPData == nullptr) return 0;
    const sys::WString terminatedKey(key);
    const sys::WString terminatedDefault(defaultText);
    char16_t result[kResultUnits] = {};
    VLIniPRequest request;
    request.kind = kVLIniPReadString;
    request.key = terminatedKey.c_str();
    request.defaultText = terminatedDefault.c_str();
    request.result = result;
    request.resultUnits = kResultUnits;
    if (module.iniPData(0, kDriverDataSection, 1, &request) == 0) return 0;
    result[kResultUnits - 1] = 0;  // whatever the module did, the text ends here
    *out = result;
    return 1;
}
