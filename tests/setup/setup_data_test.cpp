// MyGetInstallInfo and the routines under it on discs built per test: the
// defaults of SETUP.DAT, the setup directory from the command line, the
// component slots, the messages the user sees, and values too long for the
// record. Both builds; the version code is set in the record, and the disc's
// language is English whatever the system's is.
#include "data/setup_data.h"

#include <gtest/gtest.h>

#include <string>

#include "data/fixed_text.h"
#include "data/windows_version.h"
#include "setup/test_disc.h"
#include "support/answer_script.h"
#include "sys/current_directory.h"
#include "sys/modules.h"
#include "sys/paths.h"

namespace {

using namespace setup;
using zebl_test::Section;

const std::string kEnglish =
    Section("ERROR_MSG", {"ERR_MSG1=A file is missing.", "ERR_MSG4=Cannot install here.\\nSorry."});

// SETUP.DAT of a test: its own START lines first (the first key of a name
// counts), then those every test disc has.
std::string Start(const std::vector<std::string>& own) {
    std::string start = "[START]\r\n";
    for (const std::string& line : own) start += line + "\r\n";
    start +=
        "MANUFACTURE=Maker Inc\r\nPRINTER_MODEL_NAME=Model 1\r\nPRINTER_MDL_VALUE=MDL 1\r\n"
        "DEFAULT_LANGUAGE=EN\r\nWINDOWS_XP=WINXP\r\nWINDOWS_98=WIN98\r\n";
    return start + Section("LANGUAGE_DIRECTORY", {"EN=English", "GR=German"});
}

class InstallInfoTest : public zebl_test::SetupDataTest {
protected:
    void SetUp() override {
        savedDirectory_ = sys::GetCurrentDirectory();
        disc_.WriteLanguage("EN", kEnglish);
    }
    void TearDown() override {
        sys::SetCurrentDirectory(savedDirectory_);
        SetupDataTest::TearDown();
    }
    CSetupData Read(int* result, const sys::WString& commandLine = {}) const {
        CSetupData data(commandLine.empty() ? disc_.CommandLine() : commandLine, u"Setup");
        data.m_InstallInfo.nOSVersion = kWindowsXp;
        *result = data.MyGetInstallInfo();
        return data;
    }
    static std::vector<std::string> Texts(const InstallInfoText* slots) {
        std::vector<std::string> texts;
        for (size_t i = 0; i < kInstallInfoSlots && slots[i][0] != '\0'; ++i) texts.push_back(slots[i]);
        return texts;
    }
    sys::WString savedDirectory_;
};

// One component that every test disc installs unless it says otherwise.
const std::string kDriverComponent[] = {"ROOT_COMPONENT_0=Driver", "ROOT_COMPONENT_0_INSTALLFILE=Setup.exe",
                                        "ROOT_COMPONENT_0_DIRECTORY=Driver"};

struct DefaultsCase {
    const char* name;
    const char* lines;  // extra START lines
    const char16_t* port;
    const char16_t* localName;
    const char16_t* product;
};

class StartDefaults : public InstallInfoTest, public ::testing::WithParamInterface<DefaultsCase> {};

TEST_P(StartDefaults, MissingValuesTakeTheirDefaults) {
    const DefaultsCase& c = GetParam();
    disc_.WriteSetupData(Start({kDriverComponent[0], kDriverComponent[1], kDriverComponent[2], c.lines}));
    disc_.Write(u"Driver\\English\\WINXP\\Setup.exe", "MZ");
    int result = 0;
    const CSetupData data = Read(&result);
    ASSERT_EQ(result, 1);
    const InstallInfo& info = data.m_InstallInfo;
    EXPECT_EQ(LoadText(info.szDefaultPort), c.port);
    EXPECT_EQ(data.m_strLocalDirectory, c.localName);
    EXPECT_EQ(LoadText(info.szProductName), c.product);
    const sys::WString windows(sys::FolderOf(sys::GetSystemDirectory()));
    EXPECT_EQ(LoadText(info.szLocalDirectory), windows + u"\\Maker Inc\\" + c.localName);
    EXPECT_EQ(LoadText(info.szPnpId), u"Maker_IncMDL_1");
    EXPECT_EQ(LoadText(info.szOSDirectory), u"WINXP");
    EXPECT_EQ(LoadText(info.szModelName), u"Model 1");
    EXPECT_EQ(LoadText(info.szDataDirectory), disc_.Join(u"DATA"));
    EXPECT_STREQ(info.szExeName, "SETUP.EXE");
}

INSTANTIATE_TEST_SUITE_P(
    SetupData, StartDefaults,
    ::testing::Values(DefaultsCase{"Missing", "", u"FILE:", u"MDL 1", u"Model 1"},
                      DefaultsCase{"Empty", "DEFAULT_PORT=\r\nLOCAL_DIRECTORY=\r\nPRODUCT_NAME=", u"FILE:",
                                   u"MDL 1", u"Model 1"},
                      DefaultsCase{"Given",
                                   "DEFAULT_PORT=USB001\r\nLOCAL_DIRECTORY=Printer\r\nPRODUCT_NAME=Model One",
                                   u"USB001", u"Printer", u"Model One"}),
    [](const ::testing::TestParamInfo<DefaultsCase>& param) { return std::string(param.param.name); });

struct CommandLineCase {
    const char* name;
    const char16_t* before;   // before the disc's folder
    const char16_t* program;  // after it
    bool fromCommandLine;     // else the current directory
};

class SetupDirectory : public InstallInfoTest, public ::testing::WithParamInterface<CommandLineCase> {};

TEST_P(SetupDirectory, IsFoundFromQuotedAndUnquotedCommandLines) {
    const CommandLineCase& c = GetParam();
    disc_.WriteSetupData(Start({}));
    ASSERT_TRUE(sys::SetCurrentDirectory(temp_.Path()));
    int result = 0;
    const sys::WString commandLine =
        c.before == nullptr ? sys::WString(c.program) : c.before + disc_.Root() + c.program;
    const CSetupData data = Read(&result, commandLine.empty() ? u" " : commandLine);
    const sys::WString expected = c.fromCommandLine ? disc_.Root() : temp_.Path();
    EXPECT_TRUE(sys::EqualsIgnoreCase(LoadText(data.m_InstallInfo.szSetupDirectory), expected))
        << sys::Narrow(LoadText(data.m_InstallInfo.szSetupDirectory));
    EXPECT_TRUE(sys::EqualsIgnoreCase(data.m_strSetupDataFile, expected + u"\\SETUP.DAT"));
    EXPECT_TRUE(sys::EqualsIgnoreCase(sys::GetCurrentDirectory(), expected));
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, SetupDirectory,
    ::testing::Values(CommandLineCase{"Quoted", u"\"", u"\\Setup.exe\"", true},
                      CommandLineCase{"QuotedWithSwitch", u"\"", u"\\setup.exe\" /U", true},
                      CommandLineCase{"Unquoted", u"", u"\\SETUP.EXE", true},
                      CommandLineCase{"UnquotedWithSwitch", u"", u"\\Setup.Exe -u", true},
                      CommandLineCase{"BareName", nullptr, u"Setup.exe /u", false},
                      CommandLineCase{"Blank", nullptr, u"", false},
                      CommandLineCase{"AnotherProgram", u"", u"\\Install.exe", false},
                      CommandLineCase{"ANameThatEndsLikeIt", u"", u"\\MySetup.exe", false}),
    [](const ::testing::TestParamInfo<CommandLineCase>& param) { return std::string(param.param.name); });

TEST_F(InstallInfoTest, ComponentsDroppedHereGiveTheirSlotsToTheNext) {
    disc_.WriteSetupData(
        Start({// Dropped by its VLOS.DAT on XP.
               "ROOT_COMPONENT_0=Driver", "ROOT_COMPONENT_0_INSTALLFILE=Setup.exe",
               "ROOT_COMPONENT_0_DIRECTORY=Driver", "ROOT_COMPONENT_0_AUTO_INSTALL=1",
               // Slot 0: one folder for every language.
               "ROOT_COMPONENT_1=Monitor", "ROOT_COMPONENT_1_INSTALLFILE=Inst.EXE",
               "ROOT_COMPONENT_1_DIRECTORY=Monitor", "ROOT_COMPONENT_1_SUPPORT_MULTI_LANGUAGE=1",
               "ROOT_COMPONENT_1_AUTO_INSTALL=1",
               // Its installer is missing.
               "ROOT_COMPONENT_2=Manual", "ROOT_COMPONENT_2_INSTALLFILE=Manual.exe",
               "ROOT_COMPONENT_2_DIRECTORY=Manual",
               // Slot 1: one for every Windows, German whatever the language, and
               // not a program, so its VLOS.DAT does not count.
               "ROOT_COMPONENT_3=Fonts", "ROOT_COMPONENT_3_INSTALLFILE=Fonts.inf",
               "ROOT_COMPONENT_3_DIRECTORY=Fonts", "ROOT_COMPONENT_3_INDEPENDENT_OS_VERSION=1",
               "ROOT_COMPONENT_3_CUSTOM_LANG=1",
               // Slot 2: both flags.
               "ROOT_COMPONENT_4=Tool", "ROOT_COMPONENT_4_INSTALLFILE=tool.exe",
               "ROOT_COMPONENT_4_DIRECTORY=Tool", "ROOT_COMPONENT_4_SUPPORT_MULTI_LANGUAGE=1",
               "ROOT_COMPONENT_4_INDEPENDENT_OS_VERSION=1", "ROOT_COMPONENT_4_AUTO_INSTALL=2",
               // The end of the list, and one after it that is never read.
               "ROOT_COMPONENT_5=Nothing", "ROOT_COMPONENT_6=After", "ROOT_COMPONENT_6_INSTALLFILE=after.exe",
               "ROOT_COMPONENT_6_DIRECTORY=After"}) +
        Section("ROOT_COMPONENT_3_CUSTOM_LANG", {"EN=GR"}));
    disc_.Write(u"Driver\\English\\WINXP\\Setup.exe", "MZ");
    disc_.Write(u"Driver\\English\\WINXP\\VLOS.DAT", Section("SUPPORT_OS", {"WINDOWS_98=1", "WINDOWS_XP=0"}));
    disc_.Write(u"Monitor\\WINXP\\Inst.EXE", "MZ");
    disc_.Write(u"Monitor\\WINXP\\VLOS.DAT", Section("SUPPORT_OS", {"WINDOWS_XP=1"}));
    disc_.Write(u"Fonts\\German\\Fonts.inf", "[Version]");
    disc_.Write(u"Fonts\\German\\VLOS.DAT", Section("SUPPORT_OS", {"WINDOWS_XP=0"}));
    disc_.Write(u"Tool\\tool.exe", "MZ");
    disc_.Write(u"After\\English\\WINXP\\after.exe", "MZ");

    int result = 0;
    const CSetupData data = Read(&result);
    ASSERT_EQ(result, 1);
    const InstallInfo& info = data.m_InstallInfo;
    EXPECT_EQ(Texts(info.pCompnet), (std::vector<std::string>{"Monitor", "Fonts", "Tool"}));
    EXPECT_EQ(Texts(info.pComponentInstallFile),
              (std::vector<std::string>{"Inst.EXE", "Fonts.inf", "tool.exe"}));
    EXPECT_EQ(Texts(info.pComponentDirectory),
              (std::vector<std::string>{"Monitor\\WINXP", "Fonts\\German", "Tool"}));
    EXPECT_EQ(Texts(info.pComponentLanguage), (std::vector<std::string>{"EN", "GR", "EN"}));
    EXPECT_STREQ(info.pComponentLangSection[0], "");
    EXPECT_STREQ(info.pComponentLangSection[1], "ROOT_COMPONENT_3_CUSTOM_LANG");
    EXPECT_EQ(Texts(info.pSelectionComponent), (std::vector<std::string>{"Monitor", "Tool"}));
    EXPECT_EQ((std::vector<int32_t>{info.bMultiLanguage[0], info.bMultiLanguage[1], info.bMultiLanguage[2]}),
              (std::vector<int32_t>{1, 0, 1}));
    EXPECT_EQ((std::vector<int32_t>{info.bIndependentOS[0], info.bIndependentOS[1], info.bIndependentOS[2]}),
              (std::vector<int32_t>{0, 1, 1}));
    EXPECT_STREQ(info.pCompnet[3], "");
}

TEST_F(InstallInfoTest, TheSameDiscOnWindows98KeepsTheDriver) {
    disc_.WriteSetupData(Start({kDriverComponent[0], kDriverComponent[1], kDriverComponent[2]}));
    disc_.Write(u"Driver\\English\\WIN98\\Setup.exe", "MZ");
    disc_.Write(u"Driver\\English\\WIN98\\VLOS.DAT", Section("SUPPORT_OS", {"WINDOWS_98=1", "WINDOWS_XP=0"}));
    CSetupData data(disc_.CommandLine(), u"Setup");
    data.m_InstallInfo.nOSVersion = kWindows98;
    ASSERT_EQ(data.MyGetInstallInfo(), 1);
    EXPECT_STREQ(data.m_InstallInfo.pCompnet[0], "Driver");
    EXPECT_STREQ(data.m_InstallInfo.pComponentDirectory[0], "Driver\\English\\WIN98");
    ASSERT_TRUE(data.MyCheckComponentCount());
    // The only component is chosen whatever AUTO_INSTALL says.
    EXPECT_EQ(Texts(data.m_InstallInfo.pSelectionComponent), std::vector<std::string>{"Driver"});
}

struct RefusalCase {
    const char* name;
    bool installersExist;  // else missing
};

class NothingInstallable : public InstallInfoTest, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(NothingInstallable, TwentyListedComponentsEndSetup) {
    zebl_test::AnswerScript answers;
    std::vector<std::string> components;
    for (int n = 0; n < 20; ++n) {
        const std::string key = "ROOT_COMPONENT_" + std::to_string(n);
        components.push_back(key + "=Part " + std::to_string(n));
        components.push_back(key + "_INSTALLFILE=Part.exe");
        components.push_back(key + "_DIRECTORY=Part" + std::to_string(n));
        if (GetParam().installersExist) {
            const sys::WString folder = u"Part" + sys::Widen(std::to_string(n)) + u"\\English\\WINXP\\";
            disc_.Write(folder + u"Part.exe", "MZ");
            disc_.Write(folder + u"VLOS.DAT", Section("SUPPORT_OS", {"WINDOWS_XP=0", "WINDOWS_2K=1"}));
        }
    }
    disc_.WriteSetupData(Start(components));
    int result = 1;
    const CSetupData data = Read(&result);
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(Texts(data.m_InstallInfo.pCompnet).empty());
    const auto questions = answers.Questions();
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(questions[0].text, "Non Install component. Setup is terminated");
}

INSTANTIATE_TEST_SUITE_P(Discs, NothingInstallable,
                         ::testing::Values(RefusalCase{"InstallersMissing", false},
                                           RefusalCase{"RefusedByVlosDat", true}),
                         [](const ::testing::TestParamInfo<RefusalCase>& param) {
                             return std::string(param.param.name);
                         });

TEST_F(InstallInfoTest, AVersionWithoutItsFolderShowsTheLanguagesMessage) {
    zebl_test::AnswerScript answers;
    disc_.WriteSetupData(Start({kDriverComponent[0], kDriverComponent[1], kDriverComponent[2]}));
    CSetupData data(disc_.CommandLine(), u"Setup");
    data.m_InstallInfo.nOSVersion = kWindows2000;  // no WINDOWS_2K key
    EXPECT_EQ(data.MyGetInstallInfo(), 0);
    data.m_InstallInfo.nOSVersion = kWindowsUnknown;
    EXPECT_EQ(data.MyCheckOSDirecoryName(), 0);
    EXPECT_FALSE(data.MyCheckComponentCount());
    const auto questions = answers.Questions();
    ASSERT_EQ(questions.size(), 3u);
    EXPECT_EQ(questions[0].text, "Cannot install here.\nSorry.");
    EXPECT_EQ(questions[0].caption, "");
    EXPECT_EQ(questions[1].text, "Not Windows Version");
    EXPECT_EQ(questions[2].text, "Cannot install here.\nSorry.");
}

TEST_F(InstallInfoTest, ProfileStringsBreakLinesAndNameTheLanguage) {
    disc_.Write(u"texts.ini", Section("T", {"TWO=one\\ntwo\\n", "LANG=%LANG_ABBR%\\%LANG_ABBR%.pdf",
                                            "LONG=" + std::string(300, 'x')}));
    CSetupData data(disc_.CommandLine(), u"Setup");
    const sys::WString file = disc_.Join(u"texts.ini");
    EXPECT_EQ(data.MyGetProfileString(u"T", u"TWO", file), u"one\ntwo\n");
    EXPECT_EQ(data.MyGetProfileString(u"T", u"LANG", file), u"%LANG_ABBR%\\%LANG_ABBR%.pdf");
    EXPECT_EQ(data.MyGetProfileString(u"T", u"LONG", file), sys::WString(255, u'x'));
    StoreText(data.m_InstallInfo.szLanguage, u"JP");
    EXPECT_EQ(data.MyGetProfileString(u"T", u"LANG", file), u"JP\\JP.pdf");
    EXPECT_EQ(data.MyGetProfileString(u"T", u"MISSING", file), u"");
}

// A Japanese language file reads the same on any system: in its own code
// page, with the backslash byte inside "表" left alone.
TEST_F(InstallInfoTest, LanguageFilesAreReadInTheirLanguagesCodePage) {
    disc_.WriteLanguage("JP", "[ERROR_MSG]\r\nERR_MSG4=\x93\xFA\x96\x7B\x8C\xEA\\n\x95\x5Cn\r\n");
    disc_.WriteLanguage("CT", "[ERROR_MSG]\r\nERR_MSG4=\xA4\xA4\xA4\xE5\r\n");
    disc_.WriteLanguage("GR", "[ERROR_MSG]\r\nERR_MSG4=Gr\xFC\xDF\r\n");
    CSetupData data(disc_.CommandLine(), u"Setup");
    EXPECT_EQ(data.MyGetProfileString(u"ERROR_MSG", u"ERR_MSG4", disc_.Join(u"DATA\\Lang_JP.Dat")),
              u"日本語\n表n");
    EXPECT_EQ(data.MyGetProfileString(u"ERROR_MSG", u"ERR_MSG4", disc_.Join(u"DATA\\lang_ct.dat")), u"中文");
    EXPECT_EQ(data.MyGetProfileString(u"ERROR_MSG", u"ERR_MSG4", disc_.Join(u"DATA\\Lang_GR.Dat")), u"Grüß");
}

// Values longer than their arrays are cut there; the fields after them keep
// their own values.
TEST_F(InstallInfoTest, LongValuesAreCutToTheirArrays) {
    const std::string longName(1000, 'M');
    disc_.WriteSetupData(Start({"MANUFACTURE=" + longName, "PRODUCT_NAME=" + longName, kDriverComponent[0],
                                kDriverComponent[1], "ROOT_COMPONENT_0_DIRECTORY=" + std::string(400, 'D')}));
    int result = 1;
    const CSetupData data = Read(&result);
    const InstallInfo& info = data.m_InstallInfo;
    // The component's folder is cut, so its installer is not found; the
    // list still ends well (the component count tells the user).
    EXPECT_EQ(result, 1);
    EXPECT_STREQ(info.pCompnet[0], "");
    EXPECT_EQ(std::string(info.szManufacture), std::string(255, 'M'));
    EXPECT_EQ(std::string(info.szModelName), "Model 1");
    EXPECT_EQ(std::string(info.szPnpId), std::string(255, 'M'));
    EXPECT_EQ(info.szLocalDirectory[255], '\0');
    EXPECT_EQ(std::string(info.szDefaultPort), "FILE:");
}

TEST_F(InstallInfoTest, ALongSetupFolderIsCut) {
    const sys::WString deepFolder = disc_.Join(sys::WString(150, u'a') + u"\\" + sys::WString(150, u'b'));
    int result = 1;
    const CSetupData data = Read(&result, u"\"" + deepFolder + u"\\Setup.exe\" /x");
    const InstallInfo& info = data.m_InstallInfo;
    EXPECT_EQ(result, 0);  // no SETUP.DAT there
    EXPECT_EQ(LoadText(info.szSetupDirectory), deepFolder.substr(0, 255));
    EXPECT_EQ(info.szSetupDataFile[255], '\0');
    EXPECT_EQ(info.szDataDirectory[255], '\0');
}

}  // namespace
