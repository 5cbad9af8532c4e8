// The program built for the process and shell tests (child_program.cpp).
#pragma once

#include "sys/text.h"

namespace zebl_test {

// Its path, beside the running test program; quoted when used in a command line.
sys::WString ChildProgram();

}  // namespace zebl_test
