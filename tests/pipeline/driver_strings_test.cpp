// Driver strings through the stand-in utilities module, which reads them
// from the INI file beside it; the defaults when the module or key is
// missing; the module's handling of bad requests.
#include <gtest/gtest.h>

#include <string>

#include "pipeline/driver_strings.h"
#include "pipeline/own_module.h"
#include "pipeline/utilities_module.h"
#include "support/answer_script.h"
#include "support/file_bytes.h"
#include "support/library_paths.h"
#include "support/temp_folder.h"
#include "sys/text.h"

namespace {

using zebl_test::AnswerScript;
using zebl_test::StandInFolder;

constexpr char kCaption[] = "BRISKUI Utilties Gateway-32 error";

// A library folder of the test's own: the library's name, the utilities
// module beside it and, when given, its INI file.
class DriverStringsTest : public ::testing::Test {
protected:
    void InstallModule(const char16_t* moduleName = u"Tzqr4SU.DLL", const char16_t* source = u"Tzqr4SU.DLL") {
        ASSERT_TRUE(zebl_test::CopyFileBytes(StandInFolder() + u"\\" + source, folder_.Join(moduleName)));
    }
    // `text` is UTF-8 here; the file gets it in the system code page, as a
    // text editor would save it (the module reads it through the profile
    // functions, which take a file without a byte-order mark so).
    void WriteIni(const std::string& text, const char16_t* name = u"Tzqr4SU.INI") {
        const std::string bytes = sys::ToCodePage(sys::Widen(text));
        ASSERT_TRUE(zebl_test::WriteFileBytes(folder_.Join(name), bytes.data(), bytes.size()));
    }
    void SetUp() override { fbOverrideOwnModulePath(folder_.Join(u"Tzqr4um.dll")); }
    void TearDown() override { fbOverrideOwnModulePath(u""); }

    zebl_test::TempFolder folder_;
};

TEST_F(DriverStringsTest, StringsComeFromTheIniBesideTheModule) {
    InstallModule();
    WriteIni(
        "; driver strings\n"
        "[Other]\n"
        "OVERLAYCREATE_STR=wrong section\n"
        "[ driver data ]\r\n"
        "  overlaycreate_str =  \"\xC3\x9C"
        "berlagerung anlegen\"  \r\n"
        "OVERLAYLOAD_STR=Neue Seiten\xC3\xBC"
        "berlagerung laden\n"
        "OVERLAYLOAD_STR=second one loses\n");
    sys::WString text;
    EXPECT_EQ(1, DAT_GetOverlayCreateSTR(&text));
    EXPECT_EQ(u"\u00dcberlagerung anlegen", text);
    EXPECT_EQ(1, DAT_GetOverlayLoadSTR(&text));
    EXPECT_EQ(u"Neue Seiten\u00fcberlagerung laden", text);
    EXPECT_EQ(1, DAT_GetOverlayCreateSTR1(&text)) << "the module answers with the default";
    EXPECT_EQ(u"Do you want to create the following overlay ?", text);
}

TEST_F(DriverStringsTest, Utf16IniFilesAreReadToo) {
    InstallModule();
    // Text the ANSI code page also has: on Windows the profile functions
    // hand the module the code page's text, whatever the file holds.
    const std::u16string ini = u"\uFEFF[Driver Data]\r\nOVERLAYLOAD_STR=\u00DCberlagerung laden\r\n";
    ASSERT_TRUE(zebl_test::WriteFileBytes(folder_.Join(u"Tzqr4SU.INI"), ini.data(), ini.size() * 2));
    sys::WString text;
    EXPECT_EQ(1, DAT_GetOverlayLoadSTR(&text));
    EXPECT_EQ(u"\u00DCberlagerung laden", text);
}

TEST_F(DriverStringsTest, WithoutAnIniEveryStringIsItsDefault) {
    InstallModule();
    sys::WString text;
    EXPECT_EQ(1, DAT_GetOverlayCreateSTR(&text));
    EXPECT_EQ(u"Create Overlay", text);
    EXPECT_EQ(1, DAT_GetOverlayCreateSTR1(&text));
    EXPECT_EQ(u"Do you want to create the following overlay ?", text);
    EXPECT_EQ(1, DAT_GetOverlayLoadSTR(&text));
    EXPECT_EQ(u"Download New Page Overlay", text);
}

TEST_F(DriverStringsTest, LongValuesAreCutToTheResultBuffer) {
    InstallModule();
    WriteIni("[Driver Data]\nOVERLAYLOAD_STR=" + std::string(1000, 'x') + "\n");
    sys::WString text;
    EXPECT_EQ(1, DAT_GetOverlayLoadSTR(&text));
    EXPECT_EQ(sys::WString(259, u'x'), text);
}

TEST_F(DriverStringsTest, MissingModuleLeavesTheDefaultsAndSaysSo) {
    AnswerScript answers;
    sys::WString text;
    EXPECT_EQ(0, DAT_GetOverlayCreateSTR(&text));
    EXPECT_EQ(u"Create Overlay", text);
    const auto questions = answers.Questions();
    ASSERT_EQ(1u, questions.size());
    EXPECT_EQ(kCaption, questions[0].caption);
    EXPECT_EQ("Can't load BRISKUI-Utilities library (code 126)", questions[0].text.substr(0, 47));
    EXPECT_EQ(0x1010u, questions[0].style);
}

TEST_F(DriverStringsTest, LibraryNameWithoutTheSuffixIsRefused) {
    AnswerScript answers;
    fbOverrideOwnModulePath(folder_.Join(u"zebl.exe"));
    sys::WString text;
    EXPECT_EQ(0, DAT_GetOverlayLoadSTR(&text));
    EXPECT_EQ(u"Download New Page Overlay", text);
    const auto questions = answers.Questions();
    ASSERT_EQ(1u, questions.size());
    EXPECT_EQ(kCaption, questions[0].caption);
    EXPECT_EQ("iPSh_FindFile: invalid BRISKUI library name", questions[0].text);
}

TEST_F(DriverStringsTest, ModuleWithoutTheRoutineIsRefused) {
    AnswerScript answers;
    InstallModule(u"Tzqr4SU.DLL", u"Tzqr4CM.DLL");  // a module, but the colour one
    WriteIni("[Driver Data]\nOVERLAYCREATE_STR=never read\n");
    sys::WString text;
    EXPECT_EQ(0, DAT_GetOverlayCreateSTR1(&text));
    EXPECT_EQ(u"Do you want to create the following overlay ?", text);
    const auto questions = answers.Questions();
    ASSERT_EQ(1u, questions.size());
    EXPECT_EQ("Can't find a function in BRISK Utilities library (code 127)", questions[0].text.substr(0, 59));
}

TEST_F(DriverStringsTest, ModuleRefusesBadRequestsWithoutWriting) {
    InstallModule();
    WriteIni("[Driver Data]\nKEY=value\n");
    VLUtilitiesModule module;
    ASSERT_EQ(1, VLUTDLL_LoadLibrary(&module));
    char16_t result[8] = u"unset";
    VLIniPRequest request;
    request.key = u"KEY";
    request.defaultText = u"dflt";
    request.result = result;
    request.resultUnits = 8;
    VLIniPRequest many[kVLIniPMaxRecords + 1];
    for (VLIniPRequest& each : many) each = request;

    EXPECT_EQ(0, module.iniPData(0, u"Driver Data", 0, &request));
    EXPECT_EQ(0, module.iniPData(0, u"Driver Data", -1, &request));
    EXPECT_EQ(0, module.iniPData(0, u"Driver Data", kVLIniPMaxRecords + 1, many));
    EXPECT_EQ(0, module.iniPData(0, nullptr, 1, &request));
    EXPECT_EQ(0, module.iniPData(0, u"Driver Data", 1, nullptr));
    EXPECT_EQ(0, module.iniPData(1, u"Driver Data", 1, &request));
    VLIniPRequest bad = request;
    bad.kind = 2;
    EXPECT_EQ(0, module.iniPData(0, u"Driver Data", 1, &bad));
    bad = request;
    bad.resultUnits = 0;
    EXPECT_EQ(0, module.iniPData(0, u"Driver Data", 1, &bad));
    bad = request;
    bad.key = nullptr;
    EXPECT_EQ(0, module.iniPData(0, u"Driver Data", 1, &bad));
    EXPECT_EQ(sys::WString(u"unset"), sys::WString(result));

    EXPECT_EQ(1, module.iniPData(0, u"Driver Data", 1, &request));
    EXPECT_EQ(sys::WString(u"value"), sys::WString(result));
    request.resultUnits = 3;
    EXPECT_EQ(1, module.iniPData(0, u"Driver Data", 1, &request));
    EXPECT_EQ(sys::WString(u"va"), sys::WString(result));
    request.resultUnits = 1;
    EXPECT_EQ(1, module.iniPData(0, u"Driver Data", 1, &request));
    EXPECT_EQ(sys::WString(u""), sys::WString(result));
    request.key = u"MISSING";
    request.resultUnits = 8;
    EXPECT_EQ(1, module.iniPData(0, u"Driver Data", 1, &request));
    EXPECT_EQ(sys::WString(u"dflt"), sys::WString(result));
    VLUTDLL_ReleaseLibrary(&module);
    EXPECT_EQ(nullptr, module.handle);
}

}  // namespace
