// ExitWindowsEx, after enabling the shutdown privilege on the NT family. The
// token functions are looked up at run time: Windows 95 to Me have them
// only as stubs, and a program that must start there cannot import them.
#include "sys/restart.h"

#include "restart_question.h"
#include "sys/diagnostics.h"
#include "windows_api.h"

namespace sys {
namespace {

using OpenProcessTokenFunction = BOOL(WINAPI*)(HANDLE, DWORD, HANDLE*);
using LookupPrivilegeValueFunction = BOOL(WINAPI*)(const char*, const char*, LUID*);
using AdjustTokenPrivilegesFunction = BOOL(WINAPI*)(HANDLE, BOOL, TOKEN_PRIVILEGES*, DWORD, TOKEN_PRIVILEGES*,
                                                    DWORD*);

template <typename Function>
Function Lookup(HMODULE module, const char* name) {
    return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name)))
                  : nullptr;
}

bool IsNtFamily() {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    return ::GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

// Failures are reported to the debugger and do not stop the restart.
void EnableShutdownPrivilege() {
    const HMODULE advapi = ::LoadLibraryA("ADVAPI32.DLL");
    const auto openToken = Lookup<OpenProcessTokenFunction>(advapi, "OpenProcessToken");
    const auto lookup = Lookup<LookupPrivilegeValueFunction>(advapi, "LookupPrivilegeValueA");
    const auto adjust = Lookup<AdjustTokenPrivilegesFunction>(advapi, "AdjustTokenPrivileges");
    HANDLE token = nullptr;
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (!openToken || !lookup || !adjust) {
        DebugPrintf("[sys] restart: no token functions\n");
    } else if (!openToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) {
        DebugPrintf("[sys] restart: OpenProcessToken failed, error %lu\n", ::GetLastError());
    } else {
        if (!lookup(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid))
            DebugPrintf("[sys] restart: LookupPrivilegeValue failed, error %lu\n", ::GetLastError());
        else if (!adjust(token, FALSE, &privileges, 0, nullptr, nullptr))
            DebugPrintf("[sys] restart: AdjustTokenPrivileges failed, error %lu\n", ::GetLastError());
        ::CloseHandle(token);
    }
    if (advapi) ::FreeLibrary(advapi);
}

}  // namespace

bool RestartWindows() {
    if (const auto scripted = ScriptedRestart()) return *scripted;
    if (IsNtFamily()) EnableShutdownPrivilege();
    return ::ExitWindowsEx(EWX_REBOOT, 0) != FALSE;
}

}  // namespace sys
