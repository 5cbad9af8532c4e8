// Calls every shared setup utility and every system service that Setup and
// VLAuto use, so that the win32 build checks, whatever the programs call
// today, that none of it imports a function that Windows 95 lacks. Built
// and checked only where the imports are checked; never shipped or run.
#include <vector>

#include "common/pnp_wait.h"
#include "common/printer_driver.h"
#include "common/reboot_files.h"
#include "common/registry_keys.h"
#include "common/run_process.h"
#include "common/trace.h"
#include "sys/answer_script.h"
#include "sys/environment.h"
#include "sys/files.h"
#include "sys/folders.h"
#include "sys/message_box.h"
#include "sys/modules.h"
#include "sys/process.h"
#include "sys/profile.h"
#include "sys/registry.h"
#include "sys/restart.h"
#include "sys/shell.h"
#include "sys/temp_files.h"

int main() {
    MyTrace("%d", 1);
    MyTraceLastError(5, "probe");
    MyRunProcessAndWait("probe.exe");
    MyDeleteFileOnReboot("C:\\probe");
    MyRenameFileOnReboot("C:\\a", "C:\\b");
    MyIsPrinterDriverInstalled("probe");
    MyKeyHasValues("Software");
    MyKeyHasSubKeys("Software");
    MyWaitNoPendingInstall();

    sys::RegistryKey key =
        sys::RegistryKey::Create(sys::RegistryRoot::kLocalMachine, u"Software\\Probe", sys::kKeyAllAccess);
    key.SetString(u"a", u"b");
    key.SetDword(u"n", 1);
    sys::WString text;
    key.QueryString(u"a", &text);
    uint32_t number = 0;
    key.QueryDword(u"n", &number);
    key.EnumValue(0, &text);
    key.EnumSubKey(0, &text);
    key.DeleteValue(u"a");
    sys::RegDeleteKey(sys::RegistryRoot::kLocalMachine, u"Software\\Probe");

    char16_t buffer[256];
    sys::GetPrivateProfileString(u"s", u"k", u"", buffer, 256, u"win.ini");
    sys::WritePrivateProfileString(u"Settings", u"ModelName", u"x", u"win.ini");
    sys::DeletePrivateProfileKey(u"Settings", u"Fax", u"win.ini");
    sys::ShellExecute(u"open", u"x.pdf", u"", u"", sys::kSwShowNormal);
    sys::Process::Create(u"x.exe /add_vecp", sys::kSwHide);
    sys::GetCommandLine();
    sys::GetSpecialFolderPath(sys::SpecialFolder::kCommonPrograms);
    sys::GetWindowsDirectory();
    sys::GetSystemDirectory();
    uint64_t free = 0;
    sys::GetDiskFreeSpace(u"C:\\", &free);
    sys::MessageBox(u"text", u"caption", sys::kMbOk);
    sys::AskQuestion("probe", "", "");
    sys::SetEnvironmentVariable(u"probe", std::nullopt);
    sys::File file = sys::File::CreateAlways(sys::GetTempFileName(sys::GetTempPath(), u"prb"));
    uint32_t written = 0;
    file.Write("x", 1, &written);
    file.Close();
    sys::ListDirectory(u"C:\\*");
    sys::GetPathKind(u"C:\\probe");
    sys::SetFileAttributes(u"C:\\probe", sys::GetFileAttributes(u"C:\\probe"));
    sys::CreateDirectory(u"C:\\probe.d");
    sys::RemoveDirectory(u"C:\\probe.d");
    sys::MoveFileReplacing(u"C:\\a", u"C:\\b");
    sys::DeleteFile(u"C:\\probe");
    sys::GetOwnModuleFileName();
    if (sys::ModuleHandle module = sys::LoadLibrary(u"probe.dll")) {
        sys::GetProcAddress(module, "probe");
        sys::FreeLibrary(module);
    }
    return sys::RestartWindows() ? 0 : 1;
}
