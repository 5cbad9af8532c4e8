// The install-information record of the setup program. The setup program
// fills it from the disc's data files before any dialog shows, and hands it
// whole to the dialog libraries and to the autorun library: by value (the
// callee gets its own copy of all 40,176 bytes on the stack) or by address
// when the dialog may change it. Its layout is therefore an interface that
// every build keeps exactly:
//
// - little-endian 32-bit integers, texts NUL-terminated in fixed char arrays
//   in the system's code page (the outside libraries open the paths with the
//   A functions), arrays of twenty entries indexed by component slot;
// - handles, window objects and function addresses are 32-bit values. The
//   Windows build (32-bit) stores the real ones; a 64-bit native build stores
//   32-bit tokens that its system layer maps to the real objects, so the
//   record is the same size there.
//
// It starts zeroed; fields that nothing fills stay zero.
#pragma once

#include <cstddef>
#include <cstdint>

enum : uint32_t {
    kInstallInfoSlots = 20,        // component slots
    kInstallInfoText = 256,        // one text: at most 255 bytes and a NUL
    kInstallInfoExeNameText = 20,  // szExeName: at most 19 bytes
};

// nSetupMode: what FileCopyAndSystempUpdate is asked to do.
enum : int32_t {
    kSetupModeRepair = 9,
    kSetupModeRemove = 10,
    kSetupModeInstall = 12,
};

using InstallInfoText = char[kInstallInfoText];
using InstallInfoToken = uint32_t;  // a handle, window object or function address

struct InstallInfo {
    InstallInfoToken pBackgroundWnd;  // background window object from SdBackGourndImage
    InstallInfoToken hResDll;         // module handles of the dialog libraries
    InstallInfoToken hUtilDll;
    InstallInfoToken hEtcDll;
    InstallInfoToken hFcsDll;
    InstallInfoToken hTestPageDll;
    InstallInfoToken hAutoDll;  // 0 when the autorun library is absent
    int32_t nSetupMode;
    int32_t nOSVersion;                         // the Windows version code (setup/data/windows_version.h)
    int32_t bOnlyLPT;                           // 1: the printer was found on a parallel port only
    int32_t bMultiLanguage[kInstallInfoSlots];  // the component carries every language itself
    int32_t bIndependentOS[kInstallInfoSlots];  // the component is one for every Windows
    InstallInfoText szManufacture;
    InstallInfoText szProductName;
    InstallInfoText szModelName;
    InstallInfoText szMdlValue;
    InstallInfoText szVidPidValue;
    InstallInfoText szPnpId;  // szManufacture + szMdlValue, blanks as '_'
    InstallInfoText szDefaultPort;
    InstallInfoText szLanguage;  // the language abbreviation ("EN", "JP" ...)
    InstallInfoText pComponentLanguage[kInstallInfoSlots];
    InstallInfoText pComponentLangSection[kInstallInfoSlots];
    InstallInfoText szLanguageDirectory;
    InstallInfoText szSetupDataFile;
    InstallInfoText szLanguageFile;
    InstallInfoText szSystemLanguageFile;
    InstallInfoText szDataDirectory;
    InstallInfoText szLocalDirectory;
    InstallInfoText szSetupDirectory;
    InstallInfoText szOSDirectory;
    InstallInfoText pCompnet[kInstallInfoSlots];  // component names
    InstallInfoText pComponentInstallFile[kInstallInfoSlots];
    InstallInfoText pSelectionComponent[kInstallInfoSlots];  // chosen names, packed from slot 0
    InstallInfoText pComponentDirectory[kInstallInfoSlots];  // relative to the setup directory
    char szExeName[kInstallInfoExeNameText];                 // the program's name + ".EXE", upper case
    InstallInfoText pUsbInfFile[kInstallInfoSlots];
    InstallInfoToken pfnGetDevicePort;  // addresses of VLUtil's functions
    InstallInfoToken pfnStartPreventPnP;
    InstallInfoToken pfnEndPreventPnP;
    InstallInfoToken pfnSystemRefresh;
    InstallInfoToken pfnRemoveHardwareWizardDialog;
};

static_assert(sizeof(InstallInfo) == 40176);
static_assert(alignof(InstallInfo) == 4);
static_assert(offsetof(InstallInfo, nSetupMode) == 28);
static_assert(offsetof(InstallInfo, bMultiLanguage) == 40);
static_assert(offsetof(InstallInfo, bIndependentOS) == 120);
static_assert(offsetof(InstallInfo, szManufacture) == 200);
static_assert(offsetof(InstallInfo, szDefaultPort) == 1736);
static_assert(offsetof(InstallInfo, pComponentLanguage) == 2248);
static_assert(offsetof(InstallInfo, pComponentLangSection) == 7368);
static_assert(offsetof(InstallInfo, szLanguageDirectory) == 12488);
static_assert(offsetof(InstallInfo, szOSDirectory) == 14280);
static_assert(offsetof(InstallInfo, pCompnet) == 14536);
static_assert(offsetof(InstallInfo, pSelectionComponent) == 24776);
static_assert(offsetof(InstallInfo, szExeName) == 35016);
static_assert(offsetof(InstallInfo, pUsbInfFile) == 35036);
static_assert(offsetof(InstallInfo, pfnGetDevicePort) == 40156);
static_assert(offsetof(InstallInfo, pfnRemoveHardwareWizardDialog) == 40172);
