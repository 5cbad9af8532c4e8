// Where the test programs find the modules built beside them: the stand-in
// outside modules and the rendering library are built into "bin" next to
// the folder of the test programs, so a library told that it lives there
// finds the stand-ins beside itself, as an installed library does.
#pragma once

#include <string>

#include "sys/text.h"

namespace zebl_test {

// <build>/bin, from <build>/tests/<program>; empty when the program's path
// has no two folders to go up.
sys::WString StandInFolder();

// <build>/bin/Tzqr4um.dll: the library file the stand-in colour module is
// found beside (fbOverrideOwnModulePath), and the library loaded by name.
sys::WString LibraryBesideStandIns();

// A host path compiled into a test ("/src/tests/data"), as the program sees
// it: unchanged natively, "Z:\src\tests\data" under Wine, which maps the
// host's root to drive Z:.
sys::WString HostPath(const std::string& path);

}  // namespace zebl_test
