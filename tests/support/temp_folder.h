// A fresh, uniquely named folder under the system's temporary folder for one
// test, removed with everything in it afterwards. Paths are Windows paths
// through the system layer, so the same test runs natively and under Wine.
#pragma once

#include <gtest/gtest.h>

#include "sys/text.h"

namespace zebl_test {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder, without a trailing backslash; empty when it could not be made.
    const sys::WString& Path() const { return path_; }
    // Path() + "\" + name.
    sys::WString Join(sys::WStringView name) const;
    // A name unique to this folder, usable for printers and files.
    const sys::WString& UniqueTag() const { return tag_; }

private:
    sys::WString reserved_;  // the temporary file that keeps the name taken
    sys::WString path_;
    sys::WString tag_;
};

// Deletes a folder and everything below it (clearing read-only first).
bool RemoveTree(sys::WStringView folder);

// A test with its own temporary folder in temp_.
class TempFolderTest : public ::testing::Test {
protected:
    TempFolder temp_;
};

}  // namespace zebl_test
