// Processes through CreateProcessA and the thread's message queue through
// PeekMessageA, both on Windows 95.
#include "sys/process.h"

#include <string>

#include "windows_api.h"

namespace sys {

void Process::Close() {
    if (handle_ != nullptr) ::CloseHandle(static_cast<HANDLE>(handle_));
    handle_ = nullptr;
}

Process Process::Create(WStringView commandLine, int show, WStringView directory) {
    // CreateProcess may write into the command line: a copy of our own.
    std::string line = ToCodePage(commandLine);
    const std::string folder = ToCodePage(directory);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (show != kSwShowNormal) {
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = static_cast<WORD>(show);
    }
    PROCESS_INFORMATION info{};
    if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, NORMAL_PRIORITY_CLASS, nullptr,
                          folder.empty() ? nullptr : folder.c_str(), &startup, &info))
        return Process();
    ::CloseHandle(info.hThread);
    return Process(info.hProcess);
}

uint32_t Process::Wait(uint32_t milliseconds) {
    if (handle_ == nullptr) {
        ::SetLastError(ERROR_INVALID_HANDLE);
        return kWaitFailed;
    }
    return ::WaitForSingleObject(static_cast<HANDLE>(handle_), milliseconds);
}

bool Process::GetExitCode(uint32_t* code) {
    if (handle_ == nullptr) {
        ::SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    DWORD exitCode = 0;
    if (!::GetExitCodeProcess(static_cast<HANDLE>(handle_), &exitCode)) return false;
    *code = exitCode;
    return true;
}

void PumpWaitingMessages() {
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
}

WString GetCommandLine() { return FromCodePage(::GetCommandLineA()); }

}  // namespace sys
