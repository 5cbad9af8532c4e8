#include "sys/last_error.h"

#include "windows_api.h"

namespace sys {

uint32_t GetLastError() { return ::GetLastError(); }
void SetLastError(uint32_t code) { ::SetLastError(code); }

}  // namespace sys
