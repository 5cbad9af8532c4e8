// A Setupapi.dll for the native tests of the Plug and Play wait: the wait
// function answers the named question CMP_WaitNoPendingInstallEvents (0,
// nothing pending, when the script says nothing), its detail the time-out.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "sys/answer_script.h"

extern "C" __attribute__((visibility("default"))) uint32_t CMP_WaitNoPendingInstallEvents(uint32_t timeout) {
    const std::string answer =
        sys::AskQuestion("CMP_WaitNoPendingInstallEvents", std::to_string(timeout), "0");
    return static_cast<uint32_t>(std::strtoul(answer.c_str(), nullptr, 10));
}
