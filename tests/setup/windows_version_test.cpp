// The Windows version codes: from the version information (one table, both
// builds) and through MyGetOSVersion from every release the posix layer can
// pretend, with and without the extended version structure.
#include "data/windows_version.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "data/setup_data.h"
#include "setup/test_disc.h"
#include "sys/os_version.h"
#include "sys/registry.h"

namespace {

using namespace setup;

struct VersionCase {
    const char* name;
    uint32_t platform;
    uint32_t major;
    uint32_t minor;
    const char* servicePack;
    bool registrySaysMe;
    int code;
};

bool g_registrySaysMe = false;
int g_registryAsked = 0;
bool RegistrySaysMe() {
    ++g_registryAsked;
    return g_registrySaysMe;
}

class Classify : public ::testing::TestWithParam<VersionCase> {};

TEST_P(Classify, GivesTheVersionCode) {
    const VersionCase& c = GetParam();
    sys::OsVersion version;
    version.platformId = c.platform;
    version.majorVersion = c.major;
    version.minorVersion = c.minor;
    version.servicePack = c.servicePack;
    g_registrySaysMe = c.registrySaysMe;
    g_registryAsked = 0;
    EXPECT_EQ(ClassifyWindowsVersion(version, RegistrySaysMe), c.code);
    // Only a 9x minor version of 10 needs the registry.
    EXPECT_EQ(g_registryAsked, c.platform == sys::kPlatformWindows9x && c.minor == 10 ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    VersionInformation, Classify,
    ::testing::Values(VersionCase{"Win32s", sys::kPlatformWin32s, 3, 10, "", false, kWindows32s},
                      VersionCase{"Win95", sys::kPlatformWindows9x, 4, 0, "", false, kWindows95},
                      VersionCase{"Win95A", sys::kPlatformWindows9x, 4, 0, " A ", false, kWindows95},
                      VersionCase{"Win95B", sys::kPlatformWindows9x, 4, 0, " B", false, kWindows95Osr2},
                      VersionCase{"Win95C", sys::kPlatformWindows9x, 4, 0, "c", false, kWindows95Osr2},
                      VersionCase{"Win98", sys::kPlatformWindows9x, 4, 10, "", false, kWindows98},
                      VersionCase{"Win98SE", sys::kPlatformWindows9x, 4, 10, "a", false, kWindows98Se},
                      // Compared whole: the blanks make it plain 98.
                      VersionCase{"Win98SEWithBlanks", sys::kPlatformWindows9x, 4, 10, " A ", false,
                                  kWindows98},
                      VersionCase{"Win98RegistryMe", sys::kPlatformWindows9x, 4, 10, "A", true, kWindowsMe},
                      VersionCase{"WinMe", sys::kPlatformWindows9x, 4, 90, " ", false, kWindowsMe},
                      VersionCase{"Win9xOtherMinor", sys::kPlatformWindows9x, 4, 3, "", false, kWindows98},
                      VersionCase{"NT351", sys::kPlatformWindowsNt, 3, 51, "", false, kWindowsNt},
                      VersionCase{"NT4", sys::kPlatformWindowsNt, 4, 0, "Service Pack 6", false, kWindowsNt},
                      VersionCase{"Win2000", sys::kPlatformWindowsNt, 5, 0, "", false, kWindows2000},
                      VersionCase{"WinXP", sys::kPlatformWindowsNt, 5, 1, "", false, kWindowsXp},
                      VersionCase{"Win2003", sys::kPlatformWindowsNt, 5, 2, "", false, kWindows2003},
                      VersionCase{"Vista", sys::kPlatformWindowsNt, 6, 0, "", false, kWindows2000},
                      VersionCase{"Seven", sys::kPlatformWindowsNt, 6, 1, "", false, kWindowsXp},
                      VersionCase{"Ten", sys::kPlatformWindowsNt, 10, 0, "", false, kWindows2000},
                      VersionCase{"UnknownPlatform", 3, 10, 0, "", false, kWindowsUnknown}),
    [](const ::testing::TestParamInfo<VersionCase>& param) { return std::string(param.param.name); });

TEST(WindowsVersionKey, NamesEveryCodeAndNothingElse) {
    EXPECT_EQ(WindowsVersionKey(kWindowsUnknown), "");
    EXPECT_EQ(WindowsVersionKey(kWindows32s), "WINDOWS_32S");
    EXPECT_EQ(WindowsVersionKey(kWindows95Osr2), "WINDOWS_95OSR2");
    EXPECT_EQ(WindowsVersionKey(kWindows98Se), "WINDOWS_98SE");
    EXPECT_EQ(WindowsVersionKey(kWindowsNt), "WINDOWS_NT");
    EXPECT_EQ(WindowsVersionKey(kWindows2003), "WINDOWS_2003");
    EXPECT_EQ(WindowsVersionKey(11), "");
    EXPECT_EQ(WindowsVersionKey(-1), "");
}

struct ReleaseCase {
    const char* release;
    int code;
};

class GetOSVersion : public zebl_test::SetupDataTest, public ::testing::WithParamInterface<ReleaseCase> {};

// Every release through both structures: the extended one where the release
// has it, the basic one where it is refused or withheld.
TEST_P(GetOSVersion, ClassifiesEveryReleaseFromEitherStructure) {
    if (!Pretend(GetParam().release)) GTEST_SKIP() << "the real Windows answers here";
    for (const bool extended : {true, false}) {
        sys::testing::WindowsIdentity identity = sys::testing::GetWindowsIdentity();
        identity.acceptsExtended = extended;
        sys::testing::SetWindowsIdentity(identity);
        CSetupData data(u"Setup.exe", u"Setup");
        EXPECT_EQ(data.MyGetOSVersion(), GetParam().code == kWindows32s ? 0 : 1);
        EXPECT_EQ(data.m_nOSVersion, GetParam().code) << "extended structure " << extended;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Releases, GetOSVersion,
    ::testing::Values(ReleaseCase{"win32s", kWindows32s}, ReleaseCase{"win95", kWindows95},
                      ReleaseCase{"win95osr2", kWindows95Osr2}, ReleaseCase{"win98", kWindows98},
                      ReleaseCase{"win98se", kWindows98}, ReleaseCase{"winme", kWindowsMe},
                      ReleaseCase{"nt4", kWindowsNt}, ReleaseCase{"win2k", kWindows2000},
                      ReleaseCase{"winxp", kWindowsXp}, ReleaseCase{"win2k3", kWindows2003}));

class NoVersion : public zebl_test::SetupDataTest {};

TEST_F(NoVersion, GivesCodeZero) {
    if (!Pretend("winxp")) GTEST_SKIP() << "the real Windows answers here";
    sys::testing::WindowsIdentity identity = sys::testing::GetWindowsIdentity();
    identity.hasVersion = false;
    sys::testing::SetWindowsIdentity(identity);
    CSetupData data(u"Setup.exe", u"Setup");
    data.m_nOSVersion = kWindowsXp;
    EXPECT_EQ(data.MyGetOSVersion(), 0);
    EXPECT_EQ(data.m_nOSVersion, kWindowsUnknown);
}

// Under Wine the system's own answer goes the same way.
TEST(GetOSVersionOfThisSystem, AgreesWithItsVersionInformation) {
    sys::OsVersion version;
    ASSERT_TRUE(sys::GetVersionEx(sys::kOsVersionInfoSize, &version));
    CSetupData data(u"Setup.exe", u"Setup");
    EXPECT_EQ(data.MyGetOSVersion(), 1);
    EXPECT_EQ(data.m_nOSVersion,
              ClassifyWindowsVersion(version, [] { return CSetupData::MyGetOSVersionBugFix() == 1; }));
    EXPECT_GE(data.m_nOSVersion, kWindows95);
    // Under Wine, a run with the Windows version set for the program says
    // which code it must come to.
    if (const char* expected = std::getenv("ZEBL_EXPECT_WINDOWS_CODE"); expected != nullptr) {
        EXPECT_EQ(data.m_nOSVersion, std::strtol(expected, nullptr, 10))
            << version.majorVersion << "." << version.minorVersion << " \"" << version.servicePack << "\"";
    }
}

}  // namespace

namespace {

// The 9x family's version number in the registry, set for one test and put
// back afterwards.
class VersionNumber : public zebl_test::SetupDataTest {
protected:
    static constexpr char16_t kKey[] = u"Software\\Microsoft\\Windows\\CurrentVersion";
    void SetUp() override {
        key_ = sys::RegistryKey::Create(sys::RegistryRoot::kLocalMachine, kKey, sys::kKeyAllAccess);
        ASSERT_TRUE(key_.IsOpen());
        hadValue_ = key_.QueryValue(u"VersionNumber", &saved_);
    }
    void TearDown() override {
        if (hadValue_) {
            key_.SetValue(
                u"VersionNumber", saved_.type,
                std::span(reinterpret_cast<const uint8_t*>(saved_.data.data()), saved_.data.size()));
        } else {
            key_.DeleteValue(u"VersionNumber");
        }
        SetupDataTest::TearDown();
    }
    void Set(const char16_t* number) {
        if (number == nullptr) {
            key_.DeleteValue(u"VersionNumber");
        } else {
            ASSERT_TRUE(key_.SetString(u"VersionNumber", number));
        }
    }
    sys::RegistryKey key_;
    sys::RegistryValue saved_;
    bool hadValue_ = false;
};

TEST_F(VersionNumber, NamesWindowsMeByTheNumberBetweenItsFirstTwoDots) {
    const std::pair<const char16_t*, int> cases[] = {
        {u"4.90.3000", 1}, {u"4.10.2222", 0}, {u"4.90", 1}, {u"4.1090.1", 1},
        {u"4.10.90", 0},   {u"490", 0},       {u"", 0},     {nullptr, 0},
    };
    for (const auto& [number, me] : cases) {
        Set(number);
        EXPECT_EQ(CSetupData::MyGetOSVersionBugFix(), me) << (number ? sys::Narrow(number) : "missing");
    }
}

TEST_F(VersionNumber, TurnsWindows98IntoMe) {
    if (!Pretend("win98")) GTEST_SKIP() << "the real Windows answers here";
    Set(u"4.90.3000");
    CSetupData data(u"Setup.exe", u"Setup");
    EXPECT_EQ(data.MyGetOSVersion(), 1);
    EXPECT_EQ(data.m_nOSVersion, kWindowsMe);
    Set(u"4.10.2222");
    EXPECT_EQ(data.MyGetOSVersion(), 1);
    EXPECT_EQ(data.m_nOSVersion, kWindows98);
}

}  // namespace
