#include "common/run_process.h"

#include "common/trace.h"
#include "sys/process.h"

uint32_t MyRunProcessAndWait(const char* commandLine) {
    MyTrace("\n\nCreate process command line is => \n %s\n\n", commandLine ? commandLine : "");
    sys::Process process = sys::Process::Create(sys::FromCodePage(commandLine ? commandLine : ""));
    if (!process.IsValid()) return 0;
    constexpr uint32_t kPumpInterval = 100;
    while (process.Wait(kPumpInterval) == sys::kWaitTimeout) sys::PumpWaitingMessages();
    uint32_t exitCode = 0;
    process.GetExitCode(&exitCode);
    return exitCode;
}
