// See procedure_seams.h: what is not built yet traces its name here and
// does nothing else.
#include "app/procedure_seams.h"

#include <string>

#include "app/dialog_libraries.h"
#include "app/installer_app.h"
#include "common/registry_keys.h"
#include "common/trace.h"
#include "sys/last_error.h"
#include "sys/registry.h"
#include "sys/restart.h"

namespace setup {
namespace {

std::optional<Procedure> g_chosenProcedure;

void NotBuiltYet(const char* routine) { MyTrace("%s: not built yet, nothing done", routine); }

std::string VendorKey(const InstallInfo& info) {
    return std::string("SOFTWARE\\") + info.szManufacture + "\\" + info.szModelName;
}

std::string UninstallKey(const char* modelName) {
    return std::string("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\") + modelName;
}

bool KeyOpens(const std::string& path) {
    return sys::RegistryKey::Open(sys::RegistryRoot::kLocalMachine, sys::FromCodePage(path), sys::kKeyRead)
        .IsOpen();
}

// A vendor key that an earlier removal left empty goes.
void DeleteEmptyVendorKey(const InstallInfo& info) {
    const std::string path = VendorKey(info);
    if (MyKeyHasSubKeys(path) || !KeyOpens(path)) return;
    const bool deleted = sys::RegDeleteKey(sys::RegistryRoot::kLocalMachine, sys::FromCodePage(path));
    MyTrace("       Empty key %s %s", path.c_str(), deleted ? "deleted" : "not deleted");
}

void Record(Procedure procedure, const char* routine) {
    g_chosenProcedure = procedure;
    MyTrace("%s Start", routine);
    NotBuiltYet(routine);
    MyTrace("%s End", routine);
}

}  // namespace

void MyInstallVCP(CInstallerApp&) { NotBuiltYet("MyInstallVCP"); }
void MyInstallUSBDriver(CInstallerApp&) { NotBuiltYet("MyInstallUSBDriver"); }
void MyBeginRemoveDlg(CInstallerApp&) { NotBuiltYet("MyBeginRemoveDlg"); }
void MyEndRemoveDlg(CInstallerApp&) { NotBuiltYet("MyEndRemoveDlg"); }
void MyPreInstall(CInstallerApp&) { NotBuiltYet("MyPreInstall"); }

int CheckPreInstalledComponent(CInstallerApp& app, const char* modelName) {
    MyTrace("CheckPreInstalledComponent Start");
    DeleteEmptyVendorKey(app.Info());
    int installed = 0;
    if (modelName[0] != '\0' && KeyOpens(UninstallKey(modelName))) {
        MyTrace("       Uninstall key of %s found", modelName);
        installed = 1;
    }
    if (installed == 0) NotBuiltYet("Earlier versions listed in Uninst.Dat");
    MyTrace("CheckPreInstalledComponent End");
    return installed;
}

void InstallProcedure(CInstallerApp&) { Record(Procedure::kInstall, "InstallProcedure"); }
void MaintProcedure(CInstallerApp&) { Record(Procedure::kMaintenance, "MaintProcedure"); }
std::optional<Procedure> ChosenProcedure() { return g_chosenProcedure; }

void MyExiitInstance(CInstallerApp& app) {
    MyTrace("MyExiitInstance Start");
    if (app.m_bPreVersionInstalled == 1) NotBuiltYet("MyDeleteNotCommoInstallerReg");
    FreeDialogLibraries(app.Info());
    if (app.Info().nSetupMode == kSetupModeRemove) NotBuiltYet("Removal clean-up");
    MyTrace("MyExiitInstance End");
}

void MyRebootPC(CInstallerApp&) {
    MyTrace("MyRebootPC Start");
    if (!sys::RestartWindows()) MyTraceLastError(sys::GetLastError(), "MyRebootPC");
    MyTrace("MyRebootPC End");
}

}  // namespace setup
