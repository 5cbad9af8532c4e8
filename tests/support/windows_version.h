// Another Windows for the programs a test starts: the pretended Windows of
// the posix layer (ZSYS_WINDOWS_VERSION, inherited by the programs started
// while it is set) and, under Wine, the version Wine reports to a program of
// that file name (HKCU\Software\Wine\AppDefaults\<program>, value Version).
// The names are Wine's, which the posix layer shares: "win98", "winme",
// "win2k", "winxp" ...
#pragma once

#include <optional>
#include <string>

#include "sys/text.h"

namespace zebl_test {

class ProgramWindowsVersion {
public:
    // `program` is a file name such as u"Setup.exe"; `version` empty leaves
    // the Windows as it is.
    ProgramWindowsVersion(sys::WStringView program, const std::string& version);
    ~ProgramWindowsVersion();
    ProgramWindowsVersion(const ProgramWindowsVersion&) = delete;
    ProgramWindowsVersion& operator=(const ProgramWindowsVersion&) = delete;

private:
    sys::WString program_;
    bool set_ = false;
    std::optional<sys::WString> savedEnvironment_;
};

}  // namespace zebl_test
