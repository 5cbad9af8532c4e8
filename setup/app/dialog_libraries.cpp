#include "app/dialog_libraries.h"

#include <array>
#include <cstdio>
#include <string>

#include "app/record_tokens.h"
#include "common/trace.h"
#include "sys/modules.h"

namespace setup {
namespace {

struct Library {
    const char16_t* name;
    bool inDataDirectory;
    InstallInfoToken InstallInfo::*field;
};

// Load order.
constexpr std::array<Library, 6> kLibraries{{
    {u"VLUtil.Dll", true, &InstallInfo::hUtilDll},
    {u"VLRes.Dll", false, &InstallInfo::hResDll},
    {u"VLEtc.Dll", false, &InstallInfo::hEtcDll},
    {u"VLFcs.Dll", false, &InstallInfo::hFcsDll},
    {u"VLTtp.Dll", false, &InstallInfo::hTestPageDll},
    {u"VLAuto.Dll", false, &InstallInfo::hAutoDll},
}};

// The order in which a missing required library is reported.
constexpr std::array<Library, 5> kRequired{{
    {u"VLRes.Dll", false, &InstallInfo::hResDll},
    {u"VLUtil.Dll", true, &InstallInfo::hUtilDll},
    {u"VLEtc.Dll", false, &InstallInfo::hEtcDll},
    {u"VLFcs.Dll", false, &InstallInfo::hFcsDll},
    {u"VLTtp.Dll", false, &InstallInfo::hTestPageDll},
}};

sys::WString PathOf(const InstallInfo& info, const Library& library) {
    const char* folder = library.inDataDirectory ? info.szDataDirectory : info.szSetupDirectory;
    return sys::FromCodePage(folder) + u"\\" + library.name;
}

void Free(InstallInfo& info, InstallInfoToken InstallInfo::*field) {
    if (void* module = ObjectOf(info.*field)) sys::FreeLibrary(module);
    info.*field = 0;
}

}  // namespace

sys::WString LoadDialogLibraries(InstallInfo& info) {
    for (const Library& library : kLibraries) {
        const sys::WString path = PathOf(info, library);
        info.*library.field = TokenOf(sys::LoadLibrary(path));
        MyTrace("       %s %s", sys::ToCodePage(path).c_str(),
                info.*library.field != 0 ? "loaded" : "not loaded");
    }
    for (const Library& library : kRequired)
        if (info.*library.field == 0) return library.name;
    return {};
}

void* LibraryExport(InstallInfoToken module, const char* name) {
    void* handle = ObjectOf(module);
    return handle != nullptr ? sys::GetProcAddress(handle, name) : nullptr;
}

void FreeDialogLibraries(InstallInfo& info) {
    Free(info, &InstallInfo::hUtilDll);
    Free(info, &InstallInfo::hResDll);
    Free(info, &InstallInfo::hAutoDll);
    // The background window is VLEtc's own object: its code must stay
    // while the window may still be on the screen.
    if (info.pBackgroundWnd == 0) Free(info, &InstallInfo::hEtcDll);
    else MyTrace("       VLEtc.Dll stays loaded: its background window lives");
    Free(info, &InstallInfo::hFcsDll);
    Free(info, &InstallInfo::hTestPageDll);
}

}  // namespace setup
