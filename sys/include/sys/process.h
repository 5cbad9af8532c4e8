// Programs started by command line, waiting for them, and the calling
// thread's message queue. The win32 layer calls CreateProcessA (Windows 95).
//
// The posix layer starts host programs: the command line's program is a
// Windows path under the machine root (or a host path) naming a host
// executable; a name without a folder is searched for in the folder of the
// running program, the current folder, the system and the Windows folder,
// and a name without an extension is tried with ".exe" too. The rest of the
// command line becomes the arguments by the rules of the C runtime on
// Windows (blanks separate, double quotes group, backslashes escape quotes),
// and the child's GetCommandLine gives the whole command line unchanged.
#pragma once

#include <cstdint>
#include <utility>

#include "sys/text.h"

namespace sys {

enum : uint32_t {
    kWaitObject0 = 0,    // the process has ended
    kWaitTimeout = 258,  // still running when the time was up
    kWaitFailed = 0xFFFFFFFF,
    kInfinite = 0xFFFFFFFF,  // wait without a time limit
    kStillActive = 259,      // the exit code of a process still running
};

// ShowWindow states for the new program's first window.
enum : int { kSwHide = 0, kSwShowNormal = 1 };

// A started program. Move-only; closing the object does not stop the program.
class Process {
public:
    Process() = default;
    ~Process() { Close(); }
    Process(Process&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    Process& operator=(Process&& other) noexcept {
        if (this != &other) {
            Close();
            handle_ = std::exchange(other.handle_, nullptr);
        }
        return *this;
    }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    // CreateProcessA with the command line alone (no separate program name),
    // default security, handles inherited, normal priority, the caller's
    // environment; `directory` empty means the caller's current folder.
    // A closed object and the last error when the program cannot start.
    static Process Create(WStringView commandLine, int show = kSwShowNormal, WStringView directory = {});

    bool IsValid() const { return handle_ != nullptr; }
    // WaitForSingleObject: kWaitObject0, kWaitTimeout or kWaitFailed.
    uint32_t Wait(uint32_t milliseconds);
    // GetExitCodeProcess: kStillActive while it runs.
    bool GetExitCode(uint32_t* code);

private:
    explicit Process(void* handle) : handle_(handle) {}
    void Close();
    void* handle_ = nullptr;
};

// Removes, translates and dispatches every message waiting in the calling
// thread's queue (PeekMessage with PM_REMOVE). The posix layer has no
// message queues: nothing waits there.
void PumpWaitingMessages();

// GetCommandLineA: the running program's command line as it was started.
WString GetCommandLine();

}  // namespace sys
