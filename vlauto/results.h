// The numbers the autorun's dialogs end with and SdAutoRunDlg returns.
#pragma once

namespace vlauto {

enum : int {
    kResultCannotCreate = -1,  // the dialog could not be made
    kResultBack = 1,           // manual dialog: Back, show a new welcome dialog
    kResultLeave = 3,          // leave setup: Cancel confirmed, a program or manual started
    kResultAutomatic = 6,      // automatic installation
    kResultCustom = 7,         // custom installation
    kResultRepair = 9,
    kResultRemove = 10,
    kResultManualDialog = 14,  // welcome dialog: the manual folder holds several files
};

// SdCancel of VLEtc.Dll: this answer confirms leaving; any other stays.
inline constexpr int kSdCancelLeave = 4;

// MyOpenManual: done (opened, or the failure was reported), or the reader
// installation was declined or is not on the disc.
enum : int {
    kManualDone = 3,
    kManualReaderDeclined = 7,
};

}  // namespace vlauto
