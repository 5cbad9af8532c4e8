// See procedure_seams.h: what is not built yet traces its name here and
// does nothing else. The procedures show their first dialog and act on its
// answer; the steps after it are still to come.
#include "app/procedure_seams.h"

#include <functional>
#include <memory>
#include <string>

#include "app/dialog_libraries.h"
#include "app/installer_app.h"
#include "common/registry_keys.h"
#include "common/trace.h"
#include "formats/setup_libraries.h"
#include "sys/last_error.h"
#include "sys/registry.h"
#include "sys/restart.h"
#include "ui/message_box.h"

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

// Numbers of the setup-type and maintenance dialogs.
enum : int {
    kDialogBack = 1,
    kDialogLeave = 3,
    kDialogCustom = 7,
    kDialogRepair = 9,
    kDialogLeaveToo = 14,  // the autorun's hand-over to its manual dialog
};

// A routine that a dialog library must export, looked up by name; when it
// is missing, the ERR_MSG1 box captioned `caption` and null.
template <typename Routine>
Routine RequiredRoutine(CInstallerApp& app, InstallInfoToken library, const char* name,
                        const char16_t* caption) {
    auto routine = reinterpret_cast<Routine>(LibraryExport(library, name));
    if (routine == nullptr) ui::MessageBox(app.m_strErrMsg, caption, sys::kMbOk);
    return routine;
}

// The setup-type dialog: the autorun menu when VLAuto is loaded (mode 0),
// else VLEtc's own. Null (and the box shown) when it is missing.
std::function<int()> SetupTypeDialog(CInstallerApp& app) {
    InstallInfo& info = app.Info();
    if (info.hAutoDll != 0) {
        auto autoRun = RequiredRoutine<SdAutoRunDlgFn>(app, info.hAutoDll, "SdAutoRunDlg", u"SdAutoRunDlg");
        if (autoRun == nullptr) return nullptr;
        return [autoRun, &info] { return autoRun(info, 0); };
    }
    auto setupType = RequiredRoutine<SdSetupTypeFn>(app, info.hEtcDll, "SdSetupType", u"SdSetupType");
    if (setupType == nullptr) return nullptr;
    return [setupType, &info] { return setupType(info); };
}

// The maintenance dialog: the autorun menu (mode 1), else VLEtc's own.
std::function<int()> MaintenanceDialog(CInstallerApp& app) {
    InstallInfo& info = app.Info();
    if (auto autoRun = reinterpret_cast<SdAutoRunDlgFn>(LibraryExport(info.hAutoDll, "SdAutoRunDlg")))
        return [autoRun, &info] { return autoRun(info, 1); };
    auto maintenance = RequiredRoutine<SdMaintenanceFn>(app, info.hEtcDll, "SdMaintenance", u"SdMaintenance");
    if (maintenance == nullptr) return nullptr;
    return [maintenance, &info] { return maintenance(info); };
}

// The setup-type loop: false when the user left setup or a routine is
// missing. A custom installation shows the component and language dialog,
// whose Back undoes every choice made in it.
bool ChooseSetupType(CInstallerApp& app) {
    const std::function<int()> setupType = SetupTypeDialog(app);
    if (!setupType) return false;
    for (;;) {
        const int chosen = setupType();
        MyTrace("       Setup type dialog returned %d", chosen);
        if (chosen == kDialogLeave || chosen == kDialogLeaveToo) return false;
        if (chosen != kDialogCustom) return true;
        auto custom = RequiredRoutine<SdLanguageAndComponentFn>(
            app, app.Info().hEtcDll, "SdLanguageAndComponent", u"SdLanguageAndComponent");
        if (custom == nullptr) return false;
        const auto before = std::make_unique<InstallInfo>(app.Info());
        const int components = custom(&app.Info());
        MyTrace("       SdLanguageAndComponent returned %d", components);
        if (components == kDialogLeave) return false;
        if (components != kDialogBack) return true;
        app.Info() = *before;
    }
}

}  // namespace

void InstallProcedure(CInstallerApp& app) {
    g_chosenProcedure = Procedure::kInstall;
    MyTrace("InstallProcedure Start");
    app.Info().nSetupMode = kSetupModeInstall;
    NotBuiltYet("Disk space and device checks");
    if (ChooseSetupType(app)) NotBuiltYet("Installation after the setup type");
    MyTrace("InstallProcedure End");
}

void MaintProcedure(CInstallerApp& app) {
    g_chosenProcedure = Procedure::kMaintenance;
    MyTrace("MaintProcedure Start");
    const std::function<int()> maintenance = MaintenanceDialog(app);
    if (maintenance) {
        const int chosen = app.m_bForceUninstall == 1 ? kSetupModeRemove : maintenance();
        MyTrace("       Maintenance dialog returned %d", chosen);
        if (chosen == kDialogRepair) {
            app.Info().nSetupMode = kSetupModeRepair;
            NotBuiltYet("RepairProcedure");
        } else if (chosen != kDialogLeave) {
            app.Info().nSetupMode = kSetupModeRemove;
            NotBuiltYet("RemoveProcedure");
        }
    }
    MyTrace("MaintProcedure End");
}

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
