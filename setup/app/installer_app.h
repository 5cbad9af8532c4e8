// The setup program's application object. All of Setup's work happens in
// InitInstance: it finds the Windows version and the disc's setup data,
// refuses to run twice, loads the dialog libraries, decides between
// install and maintenance mode and runs that procedure; then it returns
// false, so the run goes straight on to ExitInstance without a message
// loop.
#pragma once

#include <string>

#include "data/setup_data.h"
#include "sys/modules.h"
#include "sys/text.h"
#include "ui/app.h"
#include "ui/window.h"

namespace setup {

// The window class of Setup's hidden frame window, also its title: a second
// copy finds the first by it.
inline constexpr char16_t kInstallerClassName[] = u"VLComInstClass";

class CInstallerApp : public ui::CWinApp {
public:
    // `commandLine` is the whole command line, the program's path first.
    explicit CInstallerApp(sys::WString commandLine);
    ~CInstallerApp() override;

    bool InitInstance() override;
    int ExitInstance() override;
    void OnPower() override;

    // Registers the frame window's class; false when that fails.
    bool MyRegisterClass();
    // Reads the uninstall switch from the command line; always 0.
    int MyParseParameter();

    int m_bRunPnpThread = 0;
    void* m_pPnpThread = nullptr;
    int m_bReboot = 0;
    int m_bForceUninstall = 0;
    sys::WString m_strErrMsg;
    int m_bPreVersionInstalled = 0;
    int m_bDeviceConnected = 0;
    sys::WString m_strClassName;
    // The setup data: the record, the Windows version code, the paths of
    // SETUP.DAT and the local folder.
    CSetupData m_data;
    int m_bMaintenance = 0;

    InstallInfo& Info() { return m_data.m_InstallInfo; }

private:
    bool BringFirstCopyForward();
    bool CreateFrameWindow();
    bool LoadDialogLibraries();
    void StartBackground();
    void StorePlugAndPlayRoutines();
    void StartPreventingPlugAndPlay();
    void EndPreventingPlugAndPlay();
    void InstallUsbDriverWhenAsked();
    void UpdateBackground();

    sys::WString commandLine_;
    ui::FrameWindow frame_;
};

}  // namespace setup
