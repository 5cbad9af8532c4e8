// The sample disc of the build, read by the setup data as the setup program
// reads it: every text of every language file comes out as its readable
// source in package/languages says, whatever the system's code page; the
// system's language picks its files; every Windows version finds its
// folders.
#include <gtest/gtest.h>

#include <iostream>
#include <string>

#include "data/fixed_text.h"
#include "data/language_table.h"
#include "data/setup_data.h"
#include "data/windows_version.h"
#include "setup/test_disc.h"
#include "support/library_paths.h"
#include "sys/current_directory.h"
#include "sys/files.h"
#include "sys/ini_document.h"
#include "sys/os_version.h"

namespace {

using namespace setup;

sys::WString Disc() { return zebl_test::HostPath(ZEBL_DISC_DIR); }

std::string ReadSource(const std::string& path) {
    sys::File file = sys::File::OpenExisting(zebl_test::HostPath(path), false, sys::Share::ReadWrite);
    std::string bytes;
    char chunk[4096];
    uint32_t got = 0;
    while (file.IsOpen() && file.Read(chunk, sizeof chunk, &got) && got > 0) bytes.append(chunk, got);
    return bytes;
}

sys::WString WithLineBreaks(sys::WString text) {
    for (size_t at = text.find(u"\\n"); at != sys::WString::npos; at = text.find(u"\\n", at + 1))
        text.replace(at, 2, u"\n");
    return text;
}

struct DiscLanguage {
    const char* abbreviation;
    uint16_t languageId;
    const char16_t* folder;
};

constexpr DiscLanguage kLanguages[] = {
    {"EN", 0x0409, u"English"},    {"GR", 0x0407, u"German"},    {"JP", 0x0411, u"Japanese"},
    {"PT", 0x0816, u"Portuguese"}, {"BP", 0x0416, u"Brazilian"}, {"CT", 0x0404, u"ChineseT"},
    {"CP", 0x0804, u"ChineseS"},
};

class SampleDisc : public zebl_test::SetupDataTest, public ::testing::WithParamInterface<DiscLanguage> {
protected:
    void SetUp() override {
        savedDirectory_ = sys::GetCurrentDirectory();
        ASSERT_EQ(sys::GetPathKind(Disc() + u"\\SETUP.DAT"), sys::PathKind::File)
            << "build the sample_disc target";
    }
    void TearDown() override {
        sys::SetCurrentDirectory(savedDirectory_);
        SetupDataTest::TearDown();
    }
    sys::WString savedDirectory_;
};

TEST_P(SampleDisc, EveryTextOfTheLanguageFileReadsAsItsSource) {
    const std::string abbreviation = GetParam().abbreviation;
    const sys::IniDocument source = sys::IniDocument::Parse(
        sys::Widen(ReadSource(ZEBL_PACKAGE_DIR "/languages/" + abbreviation + ".txt")));
    const sys::WString file = Disc() + u"\\DATA\\Lang_" + sys::Widen(abbreviation) + u".Dat";
    CSetupData data(Disc() + u"\\Setup.exe", u"Setup");
    size_t checked = 0;
    for (const sys::IniSection& section : source.Sections()) {
        for (const sys::IniEntry& entry : section.entries) {
            ASSERT_TRUE(entry.value);
            EXPECT_EQ(data.MyGetProfileString(section.name, entry.key, file), WithLineBreaks(*entry.value))
                << sys::Narrow(section.name) << "/" << sys::Narrow(entry.key);
            ++checked;
        }
    }
    EXPECT_GE(checked, 30u);
}

TEST_P(SampleDisc, TheSystemsLanguagePicksItsFilesAndComponents) {
    if (!Pretend("winxp", GetParam().languageId)) GTEST_SKIP() << "the system's own language answers here";
    CSetupData data(u"\"" + Disc() + u"\\Setup.exe\"", u"Setup");
    data.m_InstallInfo.nOSVersion = kWindowsXp;
    ASSERT_EQ(data.MyGetInstallInfo(), 1);
    ASSERT_TRUE(data.MyCheckComponentCount());
    const InstallInfo& info = data.m_InstallInfo;
    EXPECT_EQ(std::string(info.szLanguage), GetParam().abbreviation);
    EXPECT_EQ(LoadText(info.szLanguageDirectory), GetParam().folder);
    EXPECT_EQ(std::string(info.szProductName), "Zebl LP-2400 Series");
    EXPECT_EQ(std::string(info.szPnpId), "Zebl_PrintingLP-2400");
    EXPECT_EQ(std::string(info.szDefaultPort), "LPT1:");
    EXPECT_EQ(std::string(info.pCompnet[0]), "Printer Driver");
    EXPECT_EQ(LoadText(info.pComponentDirectory[0]),
              sys::WString(u"Driver\\") + GetParam().folder + u"\\WIN2K_XP");
    EXPECT_EQ(std::string(info.pCompnet[1]), "Status Monitor");
    EXPECT_EQ(std::string(info.pComponentDirectory[1]), "Monitor\\WIN2K_XP");
    EXPECT_EQ(std::string(info.pSelectionComponent[0]), "Printer Driver");
    EXPECT_EQ(std::string(info.pSelectionComponent[1]), "Status Monitor");
}

INSTANTIATE_TEST_SUITE_P(Languages, SampleDisc, ::testing::ValuesIn(kLanguages),
                         [](const ::testing::TestParamInfo<DiscLanguage>& param) {
                             return std::string(param.param.abbreviation);
                         });

// The system's own language, pretended or real (under Wine, its LANG): its
// files when the disc has them, else the data file's English.
class SampleDiscHere : public SampleDisc {};

TEST_F(SampleDiscHere, TheSystemsLanguageOrTheDefaultIsChosen) {
    const std::string system(LanguageAbbreviation(sys::GetSystemDefaultLangID()));
    std::cout << "system language " << system << " (0x" << std::hex << sys::GetSystemDefaultLangID()
              << std::dec << ")\n";
    bool onDisc = false;
    for (const DiscLanguage& language : kLanguages) onDisc = onDisc || system == language.abbreviation;
    CSetupData data(u"\"" + Disc() + u"\\Setup.exe\"", u"Setup");
    data.m_InstallInfo.nOSVersion = kWindowsXp;
    ASSERT_EQ(data.MyGetInstallInfo(), 1);
    EXPECT_EQ(std::string(data.m_InstallInfo.szLanguage), onDisc ? system : "EN");
    const sys::WString message =
        data.MyGetProfileString(u"ERROR_MSG", u"ERR_MSG4", LoadText(data.m_InstallInfo.szLanguageFile));
    EXPECT_NE(message.find(u"Windows"), sys::WString::npos) << sys::Narrow(message);
}

class SampleDiscWindows : public SampleDisc {};

TEST_F(SampleDiscWindows, EveryWindowsVersionFindsItsDriverFolder) {
    const std::pair<int, const char*> expected[] = {
        {kWindows95, "WIN9X"},      {kWindows95Osr2, "WIN9X"}, {kWindows98, "WIN9X"},
        {kWindows98Se, "WIN9X"},    {kWindowsMe, "WIN9X"},     {kWindowsNt, "WINNT4"},
        {kWindows2000, "WIN2K_XP"}, {kWindowsXp, "WIN2K_XP"},  {kWindows2003, "WIN2K_XP"},
    };
    for (const auto& [code, folder] : expected) {
        CSetupData data(Disc() + u"\\SETUP.EXE", u"Setup");
        data.m_InstallInfo.nOSVersion = code;
        ASSERT_EQ(data.MyGetInstallInfo(), 1) << code;
        EXPECT_EQ(std::string(data.m_InstallInfo.szOSDirectory), folder);
        EXPECT_TRUE(std::string(data.m_InstallInfo.pComponentDirectory[0]).ends_with(folder));
    }
}

}  // namespace
