// What a test leaves in the system's temporary folder: the names in it and,
// below its spool folder VLSPLDIR (which stays once made), every spool
// directory and file, taken when the test starts and compared when it ends.
// The tests' own temporary folders (TempFolder, of this test or of test
// programs running beside it) never count.
#pragma once

#include <set>
#include <string>

namespace zebl_test {

class TempWatch {
public:
    TempWatch() : before_(Snapshot()) {}

    // The names that are there now and were not at the start, one a line;
    // empty when nothing was left behind.
    std::string LeftBehind() const;

    // The temporary folder's names, and the spool folder's tree, as
    // "name" and "VLSPLDIR\dir\file" (lower case).
    static std::set<std::string> Snapshot();

private:
    std::set<std::string> before_;
};

}  // namespace zebl_test
