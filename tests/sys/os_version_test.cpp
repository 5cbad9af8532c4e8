// Version information and the system language. Under Wine the system answers
// (a Windows XP or later prefix); the posix layer reports the Windows it is
// set to, and every release it knows is checked against what that Windows
// reports.
#include "sys/os_version.h"

#include <gtest/gtest.h>

#include "sys/testing/system_identity.h"

namespace {

using sys::testing::WindowsIdentity;

TEST(OsVersion, TheBasicStructureAlwaysAnswersAndAgreesWithTheExtendedOne) {
    sys::OsVersion basic;
    ASSERT_TRUE(sys::GetVersionEx(sys::kOsVersionInfoSize, &basic));
    EXPECT_NE(basic.majorVersion, 0u);
    sys::OsVersion extended;
    if (sys::GetVersionEx(sys::kOsVersionInfoExSize, &extended)) {
        EXPECT_EQ(extended.majorVersion, basic.majorVersion);
        EXPECT_EQ(extended.minorVersion, basic.minorVersion);
        EXPECT_EQ(extended.platformId, basic.platformId);
        EXPECT_EQ(extended.servicePack, basic.servicePack);
    }
}

TEST(OsVersion, OtherStructureSizesAreRefused) {
    sys::OsVersion version;
    EXPECT_FALSE(sys::GetVersionEx(sys::kOsVersionInfoSize - 4, &version));
    EXPECT_FALSE(sys::GetVersionEx(sys::kOsVersionInfoExSize + 4, &version));
}

TEST(OsVersion, TheSystemHasALanguage) { EXPECT_NE(sys::GetSystemDefaultLangID(), 0); }

class PretendedWindows : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        if (!sys::testing::IdentityIsSettable()) GTEST_SKIP() << "the real Windows answers here";
    }
    void TearDown() override { sys::testing::ResetWindowsIdentity(); }
};

TEST_P(PretendedWindows, ReportsItsVersionThroughTheStructuresItHas) {
    const std::optional<WindowsIdentity> identity = sys::testing::WindowsVersionByName(GetParam());
    ASSERT_TRUE(identity);
    sys::testing::SetWindowsIdentity(*identity);
    sys::OsVersion version;
    ASSERT_TRUE(sys::GetVersionEx(sys::kOsVersionInfoSize, &version));
    EXPECT_EQ(version.platformId, identity->version.platformId);
    EXPECT_EQ(version.majorVersion, identity->version.majorVersion);
    EXPECT_EQ(version.minorVersion, identity->version.minorVersion);
    EXPECT_EQ(version.servicePack, identity->version.servicePack);
    EXPECT_EQ(sys::GetVersionEx(sys::kOsVersionInfoExSize, &version), identity->acceptsExtended);
    // The 9x family keeps its version in the build number's high word.
    if (version.platformId == sys::kPlatformWindows9x) {
        EXPECT_EQ(version.buildNumber >> 16, version.majorVersion << 8 | version.minorVersion);
    }
}

INSTANTIATE_TEST_SUITE_P(Releases, PretendedWindows,
                         ::testing::Values("win32s", "win95", "win95osr2", "win98", "win98se", "winme", "nt4",
                                           "win2k", "winxp", "win2k3"));

TEST_F(PretendedWindows, ANamelessReleaseOrAMissingVersionGivesNothing) {
    EXPECT_FALSE(sys::testing::WindowsVersionByName("win7sp9"));
    WindowsIdentity identity = *sys::testing::WindowsVersionByName("winxp");
    identity.hasVersion = false;
    identity.languageId = 0x0411;
    sys::testing::SetWindowsIdentity(identity);
    sys::OsVersion version;
    EXPECT_FALSE(sys::GetVersionEx(sys::kOsVersionInfoSize, &version));
    EXPECT_EQ(sys::GetSystemDefaultLangID(), 0x0411);
}

}  // namespace
