#include "sys/clock.h"

#include "windows_api.h"

namespace sys {

void Sleep(uint32_t milliseconds) { ::Sleep(milliseconds); }
uint32_t GetTickCount() { return ::GetTickCount(); }

}  // namespace sys
