#include "app/installer_app.h"

#include <utility>

#include "app/command_line.h"
#include "app/dialog_libraries.h"
#include "app/procedure_seams.h"
#include "app/record_tokens.h"
#include "common/pnp_wait.h"
#include "common/trace.h"
#include "data/windows_version.h"
#include "formats/setup_libraries.h"
#include "sys/last_error.h"
#include "ui/message_box.h"

namespace setup {
namespace {

// The program's icon and cursor resources, used by its window class.
constexpr int kIconResource = 128;
constexpr int kCursorResource = 131;

template <typename Fn>
Fn Export(InstallInfoToken module, const char* name) {
    return reinterpret_cast<Fn>(LibraryExport(module, name));
}

bool IsNtFamily(int osVersion) { return osVersion < 1 || osVersion > 6; }
bool IsWindows98OrMe(int osVersion) { return osVersion >= 4 && osVersion <= 6; }

// The number a profile value starts with, as the system's profile-integer
// read takes it: blanks, then decimal digits; 0 when there are none.
long LeadingNumber(sys::WStringView text) {
    size_t at = 0;
    while (at < text.size() && (text[at] == u' ' || text[at] == u'\t')) ++at;
    long number = 0;
    for (; at < text.size() && text[at] >= u'0' && text[at] <= u'9' && number < 100000; ++at)
        number = number * 10 + (text[at] - u'0');
    return number;
}

}  // namespace

CInstallerApp::CInstallerApp(sys::WString commandLine)
    : m_data(commandLine, u"Setup"), commandLine_(std::move(commandLine)) {}

CInstallerApp::~CInstallerApp() = default;

// Controls need no container or 3-D support of ours: the dialog libraries
// draw their own. Every path returns false: the run goes on to
// ExitInstance without a message loop.
bool CInstallerApp::InitInstance() {
    MyTrace("InitInstance Start");
    m_bReboot = 0;
    if (m_data.MyGetOSVersion() == 0) return false;

    m_bMaintenance = 0;
    m_bDeviceConnected = 0;
    m_bPreVersionInstalled = 0;
    Info().bOnlyLPT = 0;
    Info().hUtilDll = Info().hResDll = Info().hEtcDll = Info().hFcsDll = Info().hTestPageDll =
        Info().hAutoDll = 0;
    Info().nOSVersion = m_data.m_nOSVersion;

    if (m_data.MyGetInstallInfo() == 0) return false;
    if (!m_data.MyCheckComponentCount()) return false;
    if (BringFirstCopyForward()) return false;
    if (!CreateFrameWindow()) return false;
    if (IsNtFamily(m_data.m_nOSVersion)) MyInstallVCP(*this);
    if (!LoadDialogLibraries()) return false;

    MyWaitNoPendingInstall();
    StartBackground();
    StorePlugAndPlayRoutines();
    StartPreventingPlugAndPlay();
    MyBeginRemoveDlg(*this);

    m_bMaintenance = CheckPreInstalledComponent(*this, Info().szModelName);
    MyTrace(m_bMaintenance == 1 ? "       Setup Mode is Maintenance" : "        Setup Mode is Install mode");
    InstallUsbDriverWhenAsked();
    UpdateBackground();

    // Only now: the switch cannot turn install mode into maintenance.
    MyParseParameter();
    MyPreInstall(*this);
    if (m_bMaintenance == 1) MaintProcedure(*this);
    else InstallProcedure(*this);

    EndPreventingPlugAndPlay();
    MyEndRemoveDlg(*this);
    MyTrace("InitInstance End");
    return false;
}

int CInstallerApp::ExitInstance() {
    MyTrace("ExitInstance Start");
    MyExiitInstance(*this);
    if (m_bReboot == 1) MyRebootPC(*this);
    frame_ = {};
    MyTrace("ExitInstance End");
    return ui::CWinApp::ExitInstance();
}

void CInstallerApp::OnPower() { ui::MessageBox(u"OnPower", u"", sys::kMbOk); }

bool CInstallerApp::MyRegisterClass() {
    ui::WindowClass windowClass;
    windowClass.style = ui::kCsVRedraw | ui::kCsHRedraw | ui::kCsDblClks;
    windowClass.iconResource = kIconResource;
    windowClass.cursorResource = kCursorResource;
    windowClass.backgroundBrush = ui::kColorWindowBrush;
    windowClass.className = m_strClassName;
    return ui::RegisterWindowClass(windowClass);
}

int CInstallerApp::MyParseParameter() {
    MyTrace("MyParseParameter Start");
    m_bForceUninstall = ForcesUninstall(ArgumentsOf(commandLine_));
    MyTrace("MyParseParameter End");
    return 0;
}

// A copy of Setup already runs when its frame window exists: its window
// titled with the model (the dialog the user sees) comes forward.
bool CInstallerApp::BringFirstCopyForward() {
    m_strClassName = kInstallerClassName;
    if (ui::FindTopLevelWindow(m_strClassName) == nullptr) return false;
    MyTrace("       Setup is running already");
    if (ui::WindowHandle first =
            ui::FindTopLevelWindow(m_strClassName, sys::FromCodePage(Info().szModelName))) {
        if (ui::IsMinimized(first)) ui::RestoreWindow(first);
        else ui::BringToForeground(first);
    }
    return true;
}

// The hidden frame window that tells a second copy this one runs. Without
// the class, Setup goes on without a window.
bool CInstallerApp::CreateFrameWindow() {
    if (!MyRegisterClass()) {
        MyTrace("       Fail Register class");
        return true;
    }
    frame_ = ui::FrameWindow::Create(m_strClassName, m_strClassName, ui::kWsOverlappedWindow);
    if (frame_.IsValid()) return true;
    MyTraceLastError(sys::GetLastError(), "CreateWindow");
    return false;
}

bool CInstallerApp::LoadDialogLibraries() {
    const sys::WString missing = setup::LoadDialogLibraries(Info());
    m_strErrMsg =
        m_data.MyGetProfileString(u"ERROR_MSG", u"ERR_MSG1", sys::FromCodePage(Info().szLanguageFile));
    if (missing.empty()) return true;
    MyTrace("       %s is missing", sys::ToCodePage(missing).c_str());
    ui::MessageBox(m_strErrMsg, missing, sys::kMbOk);
    return false;
}

void CInstallerApp::StartBackground() {
    if (auto show = Export<SdBackGourndImageFn>(Info().hEtcDll, "SdBackGourndImage"))
        Info().pBackgroundWnd = show(Info());
}

void CInstallerApp::StorePlugAndPlayRoutines() {
    InstallInfo& info = Info();
    info.pfnRemoveHardwareWizardDialog = TokenOf(LibraryExport(info.hUtilDll, "RemoveHardwareWizardDialog"));
    info.pfnStartPreventPnP = TokenOf(LibraryExport(info.hUtilDll, "StartPreventPnP"));
    info.pfnGetDevicePort = TokenOf(LibraryExport(info.hUtilDll, "GetDevicePort"));
    info.pfnEndPreventPnP = TokenOf(LibraryExport(info.hUtilDll, "EndPreventPnP"));
    info.pfnSystemRefresh = TokenOf(LibraryExport(info.hUtilDll, "SystemRefresh"));
}

void CInstallerApp::StartPreventingPlugAndPlay() {
    if (auto close =
            reinterpret_cast<RemoveHardwareWizardDialogFn>(ObjectOf(Info().pfnRemoveHardwareWizardDialog)))
        close();
    if (auto start = reinterpret_cast<StartPreventPnPFn>(ObjectOf(Info().pfnStartPreventPnP)))
        start(Info().szPnpId);
}

void CInstallerApp::EndPreventingPlugAndPlay() {
    if (auto close =
            reinterpret_cast<RemoveHardwareWizardDialogFn>(ObjectOf(Info().pfnRemoveHardwareWizardDialog)))
        close();
    if (auto end = reinterpret_cast<EndPreventPnPFn>(ObjectOf(Info().pfnEndPreventPnP))) end(Info().szPnpId);
}

void CInstallerApp::InstallUsbDriverWhenAsked() {
    if (!IsWindows98OrMe(m_data.m_nOSVersion)) return;
    const sys::WString usb =
        m_data.MyGetProfileString(u"INSTALL_USB", u"USB_INSTALL", m_data.m_strSetupDataFile);
    MyTrace("       USB_INSTALL=%s", sys::ToCodePage(usb).c_str());
    if (LeadingNumber(usb) == 1) MyInstallUSBDriver(*this);
}

void CInstallerApp::UpdateBackground() {
    if (auto update = Export<SdBackGourndScreenUpdateRectFn>(Info().hEtcDll, "SdBackGourndScreenUpdateRect"))
        update(Info(), SetupRect{}, 1);
}

}  // namespace setup
