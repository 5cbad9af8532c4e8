#include "common/pnp_wait.h"

#include <cstdint>

#include "common/trace.h"
#include "formats/calling_convention.h"
#include "sys/modules.h"

namespace {

using WaitNoPendingInstallEvents = uint32_t(ZEBL_STDCALL*)(uint32_t timeout);

constexpr uint32_t kFirstWait = 2000;
constexpr uint32_t kWaitWithoutLimit = 0xFFFFFFFF;
constexpr uint32_t kWaitObject0 = 0;

}  // namespace

bool MyWaitNoPendingInstallFrom(const char* libraryName) {
    const sys::ModuleHandle library = sys::LoadLibrary(sys::FromCodePage(libraryName ? libraryName : ""));
    if (library == nullptr) return false;
    const auto wait = reinterpret_cast<WaitNoPendingInstallEvents>(
        sys::GetProcAddress(library, "CMP_WaitNoPendingInstallEvents"));
    if (wait == nullptr) {
        sys::FreeLibrary(library);
        return false;
    }
    if (wait(kFirstWait) != kWaitObject0) {
        MyTrace("\nStart Wait Inprogress\n");
        wait(kWaitWithoutLimit);
        MyTrace("\nEnd Wait Inprogress\n");
    } else {
        MyTrace("\nSkip wait InProgress because return value is WAIT_OBJECT_O\n");
    }
    sys::FreeLibrary(library);
    return true;
}

bool MyWaitNoPendingInstall() { return MyWaitNoPendingInstallFrom("Setupapi.dll"); }
