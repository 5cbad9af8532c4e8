// Starting a program and waiting for it while the caller's windows stay
// responsive.
#pragma once

#include <cstdint>

// Runs the command line (in the system code page), dispatching the calling
// thread's messages every 100 ms while the program runs. Its exit code, or
// 0 when it cannot start (so a program that ends with 0 looks the same).
uint32_t MyRunProcessAndWait(const char* commandLine);
