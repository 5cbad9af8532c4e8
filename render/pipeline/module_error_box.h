// The error box of the module bridges: system-modal, with the last error
// of the failed step.
#pragma once

#include <cstdint>

#include "sys/text.h"

// The box text for `message` and an error code: "%s" when the code is 0,
// "%s (code %d)\n%s" with the system's text of the code, "%s (code %d)" when
// the system has no text for it.
sys::WString ModuleErrorText(const char* message, uint32_t errorCode);

// Shows ModuleErrorText(message, last error) under `caption` and leaves the
// last error as it found it.
void ShowModuleError(const char* caption, const char* message);
