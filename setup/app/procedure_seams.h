// The steps of Setup around its start-up that are not built yet: the
// procedures, the wizard-suppression thread, the USB and virtual port
// drivers, earlier installations by another installer and the package's
// pre-install hook. Each is called at its place in the start-up and exit;
// until it is built it writes its name to the trace and does nothing else.
// This is the one place that says so.
//
// What is built: CheckPreInstalledComponent reads the package's own keys
// (an installed package means maintenance mode); the Uninst.Dat records of
// earlier versions are not read yet. The procedures record which one ran
// (ChosenProcedure) and show their first dialog: the setup type (the
// autorun menu in mode 0, else VLEtc's SdSetupType) with the custom
// branch's component and language dialog, or the maintenance choice (the
// autorun menu in mode 1, else SdMaintenance); the disk space and device
// checks before it and everything after it are still to come.
#pragma once

#include <optional>

namespace setup {

class CInstallerApp;

enum class Procedure { kInstall, kMaintenance };

// Virtual port driver on the NT family.
void MyInstallVCP(CInstallerApp& app);
// USB printing files on Windows 98 and Me.
void MyInstallUSBDriver(CInstallerApp& app);
// The thread that keeps the found-new-hardware wizard closed.
void MyBeginRemoveDlg(CInstallerApp& app);
void MyEndRemoveDlg(CInstallerApp& app);
// The package's pre-install hook (Preinst.dll).
void MyPreInstall(CInstallerApp& app);

// 1 when the package is installed already: maintenance mode.
int CheckPreInstalledComponent(CInstallerApp& app, const char* modelName);

// The procedures; each records itself.
void InstallProcedure(CInstallerApp& app);
void MaintProcedure(CInstallerApp& app);
// The procedure this process ran; none before one did.
std::optional<Procedure> ChosenProcedure();

// Exit: frees the libraries (built), then a removal's clean-up (not yet).
void MyExiitInstance(CInstallerApp& app);
// Restarts Windows.
void MyRebootPC(CInstallerApp& app);

}  // namespace setup
