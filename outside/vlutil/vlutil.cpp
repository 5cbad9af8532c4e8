// VLUtil.Dll, the stand-in of the device and system helpers. Each routine is
// a named question of the answer script (setup_calls/call_answer.h), so a
// test decides which ports the printer is found on, whether a port monitor
// registers and how much room the disk has. RemoveHardwareWizardDialog is
// called once a second from the setup program's second thread while dialogs
// run on the first; the answer script serialises its questions itself.
#include <cstring>
#include <string>
#include <vector>

#include "../export.h"
#include "../setup_calls/call_answer.h"
#include "../setup_calls/record_text.h"
#include "formats/setup_libraries.h"
#include "sys/folders.h"

namespace {

using outside::AskCallNumber;
using outside::QuotedArgument;

std::vector<std::string> SplitPorts(const std::string& answer) {
    std::vector<std::string> ports;
    size_t start = 0;
    while (start <= answer.size()) {
        size_t end = answer.find(',', start);
        if (end == std::string::npos) end = answer.size();
        if (end > start) ports.push_back(answer.substr(start, end - start));
        start = end + 1;
    }
    return ports;
}

// The port names one after another, each NUL-terminated, then an empty name,
// within kDevicePortBufferBytes; a name that does not fit whole with the
// list's end ends the list. Returns how many were written.
int32_t WritePortList(const std::vector<std::string>& ports, char* buffer) {
    std::memset(buffer, 0, kDevicePortBufferBytes);
    size_t used = 0;
    int32_t written = 0;
    for (const std::string& port : ports) {
        if (used + port.size() + 2 > kDevicePortBufferBytes) break;
        port.copy(buffer + used, port.size());  // the zeroed buffer ends it
        used += port.size() + 1;
        ++written;
    }
    return written;
}

// Free megabytes of the disk that holds the Windows folder, where the
// package installs; at most what the result can hold.
uint32_t WindowsDiskFreeMegabytes() {
    uint64_t freeBytes = 0;
    if (!sys::GetDiskFreeSpace(sys::GetWindowsDirectory(), &freeBytes)) return 0;
    const uint64_t megabytes = freeBytes / (1024 * 1024);
    return megabytes > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(megabytes);
}

}  // namespace

ZEBL_EXPORT int ZEBL_STDCALL RemoveHardwareWizardDialog() {
    return AskCallNumber("RemoveHardwareWizardDialog", "", 1);
}

ZEBL_EXPORT int ZEBL_STDCALL StartPreventPnP(const char* pnpId) {
    return AskCallNumber("StartPreventPnP", "pnp=" + QuotedArgument(pnpId), 1);
}

ZEBL_EXPORT int ZEBL_STDCALL EndPreventPnP(const char* pnpId) {
    return AskCallNumber("EndPreventPnP", "pnp=" + QuotedArgument(pnpId), 1);
}

ZEBL_EXPORT int ZEBL_STDCALL GetDevicePort(const char* manufacture, const char* mdlValue,
                                           const char* vidPidValue, char* ports, int32_t* count) {
    const std::string arguments =
        "maker=" + QuotedArgument(manufacture) + " mdl=" + QuotedArgument(mdlValue) +
        " vidpid=" + QuotedArgument(vidPidValue) + " buffer=" + (ports != nullptr ? "yes" : "null") +
        " count=" + (count != nullptr ? "yes" : "null");
    const std::string answer = outside::AskCall("GetDevicePort", arguments, "");
    if (ports == nullptr || count == nullptr) return 0;
    int32_t noHost = 0;
    if (outside::ParseNumber(answer, &noHost) && noHost == kDevicePortsNoUsbHost) {
        std::memset(ports, 0, kDevicePortBufferBytes);
        *count = kDevicePortsNoUsbHost;
        return 1;
    }
    *count = WritePortList(SplitPorts(answer), ports);
    return 1;
}

ZEBL_EXPORT int ZEBL_STDCALL MyAddPortMonitor(const char* monitorName, const char* monitorFile) {
    return AskCallNumber("MyAddPortMonitor",
                         "monitor=" + QuotedArgument(monitorName) + " file=" + QuotedArgument(monitorFile),
                         1);
}

ZEBL_EXPORT int ZEBL_STDCALL SystemRefresh() { return AskCallNumber("SystemRefresh", "", 1); }

ZEBL_EXPORT uint32_t ZEBL_STDCALL GetDiskFreeSpaceVL(int32_t reserved) {
    const uint32_t real = WindowsDiskFreeMegabytes();
    const std::string answer =
        outside::AskCall("GetDiskFreeSpaceVL", "reserved=" + std::to_string(reserved), std::to_string(real));
    int32_t answered = 0;
    return outside::ParseNumber(answer, &answered) && answered >= 0 ? static_cast<uint32_t>(answered) : real;
}
