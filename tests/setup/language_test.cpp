// The language table and the choice of the language files: every row from
// its language id (both builds) and, where the posix layer can pretend the
// system's language, through MyGetDefultLanguage on a disc.
#include "data/language_table.h"

#include <gtest/gtest.h>

#include "data/fixed_text.h"
#include "setup/test_disc.h"
#include "sys/registry.h"

namespace {

using namespace setup;
using zebl_test::Section;

// The row's id: its own sub-language, or for a row of any sub-language the
// first one that no more specific row of its language takes.
uint16_t LanguageId(const LanguageRow& row) {
    int sub = row.subLanguage;
    if (sub == kAnySubLanguage) {
        sub = 1;
        for (const LanguageRow& other : LanguageTable())
            if (other.primaryLanguage == row.primaryLanguage && other.subLanguage == sub) ++sub;
    }
    return static_cast<uint16_t>(sub << 10 | row.primaryLanguage);
}

std::string RowName(const ::testing::TestParamInfo<LanguageRow>& param) {
    return std::string(param.param.abbreviation) + "_" + std::to_string(param.param.primaryLanguage) + "_" +
           std::to_string(param.param.subLanguage < 0 ? 0 : param.param.subLanguage);
}

class LanguageRows : public zebl_test::SetupDataTest, public ::testing::WithParamInterface<LanguageRow> {
protected:
    // A disc with English and the row's language, each in its folder.
    void WriteDisc(const LanguageRow& row) {
        const std::string abbreviation(row.abbreviation);
        // The row's entries first: the first of a name counts, also when the row is English.
        disc_.WriteSetupData(
            Section("START", {"DEFAULT_LANGUAGE=EN"}) +
            Section("LANGUAGE_DIRECTORY", {abbreviation + "=Folder" + abbreviation, "EN=English"}));
        disc_.WriteLanguage("EN", Section("ERROR_MSG", {"ERR_MSG4=english"}));
        disc_.WriteLanguage(abbreviation, Section("ERROR_MSG", {"ERR_MSG4=" + abbreviation}));
    }
    CSetupData PickLanguage() {
        CSetupData data(disc_.CommandLine(), u"Setup");
        data.m_strSetupDataFile = disc_.Join(u"SETUP.DAT");
        StoreText(data.m_InstallInfo.szLanguage, u"EN");
        data.MyGetDefultLanguage(data.m_strSetupDataFile, disc_.Join(u"DATA"));
        return data;
    }
};

TEST_P(LanguageRows, TheLanguageIdGivesTheAbbreviation) {
    EXPECT_EQ(LanguageAbbreviation(LanguageId(GetParam())), GetParam().abbreviation);
}

TEST_P(LanguageRows, TheSystemsLanguagePicksItsFiles) {
    const LanguageRow& row = GetParam();
    if (!Pretend("winxp", LanguageId(row))) GTEST_SKIP() << "the system's own language answers here";
    WriteDisc(row);
    const CSetupData data = PickLanguage();
    const InstallInfo& info = data.m_InstallInfo;
    const sys::WString abbreviation = sys::Widen(row.abbreviation);
    EXPECT_EQ(LoadText(info.szLanguage), abbreviation);
    EXPECT_TRUE(sys::EqualsIgnoreCase(LoadText(info.szLanguageFile),
                                      disc_.Join(u"DATA\\Lang_" + abbreviation + u".Dat")));
    EXPECT_EQ(LoadText(info.szSystemLanguageFile), LoadText(info.szLanguageFile));
    EXPECT_EQ(LoadText(info.szLanguageDirectory), u"Folder" + abbreviation);
    EXPECT_EQ(data.MyGetProfileString(u"ERROR_MSG", u"ERR_MSG4", LoadText(info.szLanguageFile)),
              abbreviation);
}

INSTANTIATE_TEST_SUITE_P(EveryRow, LanguageRows,
                         ::testing::ValuesIn(LanguageTable().begin(), LanguageTable().end()), RowName);

TEST(LanguageTable, LanguagesItDoesNotNameAreEnglish) {
    EXPECT_EQ(LanguageAbbreviation(0x0C04), "EN");  // Chinese, Hong Kong
    EXPECT_EQ(LanguageAbbreviation(0x0439), "EN");  // Hindi
    EXPECT_EQ(LanguageAbbreviation(0x0417), "EN");  // 23, between Portuguese and Romanian
    EXPECT_EQ(LanguageAbbreviation(0x0428), "EN");  // 40, between Lithuanian and Farsi
    EXPECT_EQ(LanguageAbbreviation(0x0416), "BP");  // Portuguese, Brazil
    EXPECT_EQ(LanguageAbbreviation(0x0816), "PT");  // Portuguese, Portugal
    EXPECT_EQ(LanguageCodePage("jp"), 932u);
    EXPECT_EQ(LanguageCodePage("XX"), 0u);
}

struct SwitchCase {
    const char* name;
    uint16_t languageId;
    const char* filesOnDisc;  // abbreviations, blank-separated
    const char16_t* language;
    const char16_t* systemFile;
};

class LanguageChoice : public zebl_test::SetupDataTest, public ::testing::WithParamInterface<SwitchCase> {};

TEST_P(LanguageChoice, PicksTheFileTheDiscHas) {
    const SwitchCase& c = GetParam();
    if (!Pretend("winxp", c.languageId)) GTEST_SKIP() << "the system's own language answers here";
    disc_.WriteSetupData(Section("START", {"DEFAULT_LANGUAGE=GR"}) +
                         Section("LANGUAGE_DIRECTORY", {"GR=German"}));
    std::string files(c.filesOnDisc);
    for (size_t at = 0; at < files.size(); at += 3)
        disc_.WriteLanguage(files.substr(at, 2), "[ERROR_MSG]\r\n");
    CSetupData data(disc_.CommandLine(), u"Setup");
    data.m_strSetupDataFile = disc_.Join(u"SETUP.DAT");
    StoreText(data.m_InstallInfo.szLanguage, u"GR");
    data.MyGetDefultLanguage(data.m_strSetupDataFile, disc_.Join(u"DATA"));
    const InstallInfo& info = data.m_InstallInfo;
    EXPECT_EQ(LoadText(info.szLanguage), c.language);
    EXPECT_TRUE(sys::EqualsIgnoreCase(LoadText(info.szLanguageFile),
                                      disc_.Join(u"DATA\\Lang_" + sys::WString(c.language) + u".Dat")));
    EXPECT_TRUE(sys::EqualsIgnoreCase(LoadText(info.szSystemLanguageFile), disc_.Join(c.systemFile)));
}

INSTANTIATE_TEST_SUITE_P(
    Discs, LanguageChoice,
    ::testing::Values(
        // A Brazilian system and a disc with the Portugal files only, and the reverse.
        SwitchCase{"BrazilUsesPortugal", 0x0416, "PT GR", u"PT", u"DATA\\Lang_PT.Dat"},
        SwitchCase{"PortugalUsesBrazil", 0x0816, "BP GR", u"BP", u"DATA\\Lang_BP.Dat"},
        SwitchCase{"BrazilKeepsItsOwn", 0x0416, "BP PT GR", u"BP", u"DATA\\Lang_BP.Dat"},
        // No file of the system's language: the data file's default, for both files.
        SwitchCase{"NoFileGivesTheDefault", 0x0411, "GR EN", u"GR", u"DATA\\Lang_GR.Dat"},
        SwitchCase{"NeitherPortuguese", 0x0416, "GR", u"GR", u"DATA\\Lang_GR.Dat"}),
    [](const ::testing::TestParamInfo<SwitchCase>& param) { return std::string(param.param.name); });

class SystemLanguage : public zebl_test::SetupDataTest {};

TEST_F(SystemLanguage, ASystemWithoutLanguageLeavesTheFilesUnchosen) {
    if (!Pretend("winxp", 0)) GTEST_SKIP() << "the system's own language answers here";
    disc_.WriteLanguage("EN", "[ERROR_MSG]\r\n");
    setup::CSetupData data(disc_.CommandLine(), u"Setup");
    setup::StoreText(data.m_InstallInfo.szLanguage, u"EN");
    data.MyGetDefultLanguage(disc_.Join(u"SETUP.DAT"), disc_.Join(u"DATA"));
    EXPECT_TRUE(setup::IsEmptyText(data.m_InstallInfo.szLanguageFile));
    EXPECT_TRUE(setup::IsEmptyText(data.m_InstallInfo.szSystemLanguageFile));
}

}  // namespace

namespace {

// The language an earlier installation kept in the registry, under the
// maker's and the model's key: it wins over the system's language when the
// disc has its file, and gives way to the data file's default when not.
class EarlierLanguage : public zebl_test::SetupDataTest {
protected:
    void SetUp() override {
        model_ = "Model " + sys::Narrow(temp_.UniqueTag());
        keyPath_ = u"SOFTWARE\\Zebl Test Maker\\" + sys::Widen(model_);
        disc_.WriteSetupData(
            Section("START",
                    {"MANUFACTURE=Zebl Test Maker", "PRINTER_MODEL_NAME=" + model_, "DEFAULT_LANGUAGE=GR"}) +
            Section("LANGUAGE_DIRECTORY", {"GR=German", "JP=Japanese", SystemLanguage() + "=System"}));
        disc_.WriteLanguage("GR", "[ERROR_MSG]\r\n");
        disc_.WriteLanguage(SystemLanguage(), "[ERROR_MSG]\r\n");
    }
    void TearDown() override {
        sys::RegDeleteKey(sys::RegistryRoot::kLocalMachine, keyPath_);
        sys::RegDeleteKey(sys::RegistryRoot::kLocalMachine, u"SOFTWARE\\Zebl Test Maker");
        SetupDataTest::TearDown();
    }
    void Remember(const char16_t* language) {
        sys::RegistryKey key =
            sys::RegistryKey::Create(sys::RegistryRoot::kLocalMachine, keyPath_, sys::kKeyAllAccess);
        ASSERT_TRUE(key.IsOpen());
        ASSERT_TRUE(key.SetString(u"Language", language));
    }
    CSetupData PickLanguage() const {
        CSetupData data(disc_.CommandLine(), u"Setup");
        data.m_strSetupDataFile = disc_.Join(u"SETUP.DAT");
        StoreText(data.m_InstallInfo.szManufacture, u"Zebl Test Maker");
        StoreText(data.m_InstallInfo.szModelName, sys::Widen(model_));
        StoreText(data.m_InstallInfo.szLanguage, u"GR");
        data.MyGetDefultLanguage(data.m_strSetupDataFile, disc_.Join(u"DATA"));
        return data;
    }
    std::string model_;
    sys::WString keyPath_;
};

TEST_F(EarlierLanguage, WithItsFileItIsTheLanguage) {
    disc_.WriteLanguage("JP", "[ERROR_MSG]\r\n");
    Remember(u"JP");
    const CSetupData data = PickLanguage();
    const InstallInfo& info = data.m_InstallInfo;
    EXPECT_STREQ(info.szLanguage, "JP");
    EXPECT_TRUE(sys::EqualsIgnoreCase(LoadText(info.szLanguageFile), disc_.Join(u"DATA\\Lang_JP.Dat")));
    EXPECT_STREQ(info.szLanguageDirectory, "Japanese");
    // The system's own file stays the system language file.
    EXPECT_TRUE(sys::EqualsIgnoreCase(LoadText(info.szSystemLanguageFile),
                                      disc_.Join(u"DATA\\Lang_" + sys::Widen(SystemLanguage()) + u".Dat")));
}

TEST_F(EarlierLanguage, WithoutItsFileTheDefaultIsTheLanguage) {
    Remember(u"KR");
    const CSetupData data = PickLanguage();
    const InstallInfo& info = data.m_InstallInfo;
    EXPECT_STREQ(info.szLanguage, "GR");
    EXPECT_TRUE(sys::EqualsIgnoreCase(LoadText(info.szLanguageFile), disc_.Join(u"DATA\\Lang_GR.Dat")));
    EXPECT_STREQ(info.szLanguageDirectory, "German");
}

TEST_F(EarlierLanguage, WithoutAnEarlierInstallationTheSystemsLanguageIsTheLanguage) {
    const CSetupData data = PickLanguage();
    EXPECT_EQ(std::string(data.m_InstallInfo.szLanguage), SystemLanguage());
    EXPECT_STREQ(data.m_InstallInfo.szLanguageDirectory, "System");
}

}  // namespace
