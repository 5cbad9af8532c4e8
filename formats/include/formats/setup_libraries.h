// The routines of the dialog and utility libraries on the disc, as the setup
// program and the autorun library call them after looking them up by name.
// Each takes the install-information record whole (a copy on the stack, by
// value) or its address when the dialog may change it, and answers with a
// number the caller tests. Texts are NUL-terminated in the system's code
// page. All use the Windows calling convention, so the exported names in
// the Windows build are the plain names listed here.
#pragma once

#include <cstdint>

#include "formats/calling_convention.h"
#include "formats/install_info.h"

// The rectangle handed to SdBackGourndScreenUpdateRect (a Windows RECT).
struct SetupRect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};
static_assert(sizeof(SetupRect) == 16);

// VLEtc.Dll: the dialogs. Numbers the procedures test: 3 leave setup (every
// dialog), 7 custom installation (setup type), 9 repair (maintenance), 1 back,
// 2 device connected and 5 go on (device connection), 15 restart and 4 open
// the registration page (finish), 4 leave setup (SdCancel).
using SdBackGourndImageFn = InstallInfoToken(ZEBL_STDCALL*)(InstallInfo record);
using SdBackGourndScreenUpdateRectFn = int(ZEBL_STDCALL*)(InstallInfo record, SetupRect rect, int32_t update);
using SdSetupTypeFn = int(ZEBL_STDCALL*)(InstallInfo record);
using SdMaintenanceFn = int(ZEBL_STDCALL*)(InstallInfo record);
using SdLanguageAndComponentFn = int(ZEBL_STDCALL*)(InstallInfo* record);
using SdDeviceConnectionFn = int(ZEBL_STDCALL*)(InstallInfo record, int32_t firstDisplay);
using SdMaintenanceComponentFn = int(ZEBL_STDCALL*)(InstallInfo* record, int32_t forcedUninstall);
using SdFinishFn = int(ZEBL_STDCALL*)(InstallInfo record);
using SdCancelFn = int(ZEBL_STDCALL*)(InstallInfo record);

// VLAuto.Dll: the autorun menu in place of SdSetupType (maintenance 0) or
// SdMaintenance (maintenance 1). 3 leave setup, 6 automatic and 7 custom
// installation, 9 repair, 10 remove, -1 no dialog could be made.
using SdAutoRunDlgFn = int(ZEBL_STDCALL*)(InstallInfo record, int32_t maintenance);

// VLFcs.Dll: installs, repairs or removes the chosen components after
// record.nSetupMode; 1 when everything was done, 0 otherwise. The second
// argument is the setup program's wizard-suppression thread object, or null.
using FileCopyAndSystempUpdateFn = int(ZEBL_STDCALL*)(InstallInfo record, void* wizardThread);

// VLTtp.Dll: the test page; 13 asks for the device connection dialog again.
using SdTeatPagePrintingFn = int(ZEBL_STDCALL*)(InstallInfo record, int32_t deviceConnected);

// VLUtil.Dll: device and system helpers, each optional for the caller.
enum : int32_t {
    kDevicePortsNoUsbHost = -1,  // GetDevicePort's count: no USB host controller
};
// The smaller of the two port buffers the setup program passes (the other
// holds 260 bytes); the module knows no size, so it never writes more.
enum : uint32_t { kDevicePortBufferBytes = 20 };
using RemoveHardwareWizardDialogFn = int(ZEBL_STDCALL*)();
using StartPreventPnPFn = int(ZEBL_STDCALL*)(const char* pnpId);
using EndPreventPnPFn = int(ZEBL_STDCALL*)(const char* pnpId);
// Fills `ports` with the device's port names, each NUL-terminated, the list
// ended by an empty name; *count is the number found, 0 or kDevicePortsNoUsbHost.
using GetDevicePortFn = int(ZEBL_STDCALL*)(const char* manufacture, const char* mdlValue,
                                           const char* vidPidValue, char* ports, int32_t* count);
using MyAddPortMonitorFn = int(ZEBL_STDCALL*)(const char* monitorName, const char* monitorFile);
using SystemRefreshFn = int(ZEBL_STDCALL*)();
// Free space of the disk the package installs to, in MB (the argument is 0).
using GetDiskFreeSpaceVLFn = uint32_t(ZEBL_STDCALL*)(int32_t reserved);

// Preinst.dll: the package's pre-install hook, given
// "/P <setup data file> /S <setup folder> /D <local folder> /R <maker>\<product>".
using PreinstallFn = int(ZEBL_STDCALL*)(const char* parameters);
