// A disc for the setup data tests, built in a test's temporary folder: the
// setup data file, the language files in DATA and the component folders,
// with exactly the bytes a test gives. Also the pretended Windows of the
// posix build, put back after each test.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "data/setup_data.h"
#include "support/temp_folder.h"
#include "sys/testing/system_identity.h"

namespace zebl_test {

class TestDisc {
public:
    explicit TestDisc(const TempFolder& temp);

    // The disc's root, where Setup.exe and SETUP.DAT are.
    const sys::WString& Root() const { return root_; }
    sys::WString Join(sys::WStringView relative) const;

    // Writes a file below the root, making its folders.
    void Write(sys::WStringView relative, std::string_view bytes) const;
    void WriteSetupData(std::string_view text) const { Write(u"SETUP.DAT", text); }
    void WriteLanguage(std::string_view abbreviation, std::string_view bytes) const;

    // The command line of the disc's Setup.exe, quoted.
    sys::WString CommandLine() const { return u"\"" + root_ + u"\\Setup.exe\""; }

private:
    sys::WString root_;
};

// A test with a disc and the posix build's Windows put back afterwards.
class SetupDataTest : public TempFolderTest {
protected:
    SetupDataTest() : disc_(temp_) {}
    void TearDown() override { sys::testing::ResetWindowsIdentity(); }

    // Pretends this Windows in the posix build; false (the test skips) under
    // a real Windows, which answers for itself.
    static bool Pretend(const char* release, uint16_t languageId = 0x0409);
    // The language abbreviation of the system (real or pretended).
    static std::string SystemLanguage();

    TestDisc disc_;
};

// "key=value" lines of a section, for building data files.
std::string Section(std::string_view name, std::initializer_list<std::string_view> lines);

}  // namespace zebl_test
