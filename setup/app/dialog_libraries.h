// The five dialog and utility libraries and the autorun library, loaded by
// name from the disc into the record's module fields, and freed at exit.
#pragma once

#include "formats/install_info.h"
#include "sys/text.h"

namespace setup {

// Loads VLUtil.Dll from the data folder, VLRes, VLEtc, VLFcs, VLTtp and
// VLAuto.Dll from the setup folder, in that order. Returns the name of the
// first of the five required libraries missing, checked in the order
// VLRes, VLUtil, VLEtc, VLFcs, VLTtp (the caption of the box that says so);
// empty when all five loaded. A missing VLAuto is no error.
sys::WString LoadDialogLibraries(InstallInfo& info);

// The exported routine of a loaded library; null when the library or the
// routine is missing.
void* LibraryExport(InstallInfoToken module, const char* name);

// Frees the libraries, VLEtc only when no background window of its own
// may still live, and clears their fields.
void FreeDialogLibraries(InstallInfo& info);

}  // namespace setup
