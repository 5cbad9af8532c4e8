// The last error is per thread, as on Windows.
#include "sys/last_error.h"

namespace sys {
namespace {
thread_local uint32_t t_lastError = kErrorSuccess;
}

uint32_t GetLastError() { return t_lastError; }
void SetLastError(uint32_t code) { t_lastError = code; }

}  // namespace sys
