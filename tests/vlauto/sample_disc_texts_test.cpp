// The menu in every language of the sample disc: each language file gives
// every text the two dialogs show (none left empty), decoded in its code
// page, and the disc's manuals lead to the manual dialog.
#include <gtest/gtest.h>

#include "dialog_templates.h"
#include "ini_value.h"
#include "results.h"
#include "support/library_paths.h"
#include "sys/paths.h"
#include "vlauto/autorun_fixture.h"

namespace {

using namespace vlauto;

struct LanguageCase {
    const char* name;  // the abbreviation
    int32_t buttonWeight;
    const char16_t* heading;  // checked when given
};

class SampleDiscLanguage : public zebl_test::AutoRunTest, public ::testing::WithParamInterface<LanguageCase> {
protected:
    void SetUp() override {
        AutoRunTest::SetUp();
        const sys::WString disc = zebl_test::HostPath(ZEBL_DISC_DIR);
        const sys::WString setupData = sys::JoinPath(disc, u"SETUP.DAT");
        const sys::WString language = sys::Widen(GetParam().name);
        SetText(info_.szSetupDirectory, sys::ToCodePage(disc));
        SetText(info_.szSetupDataFile, sys::ToCodePage(setupData));
        SetText(info_.szLanguageFile,
                sys::ToCodePage(sys::JoinPath(disc, u"DATA\\Lang_" + language + u".Dat")));
        SetText(info_.szSystemLanguageFile, sys::ToCodePage(sys::JoinPath(disc, u"DATA\\Lang_EN.Dat")));
        SetText(info_.szLanguage, GetParam().name);
        SetText(info_.szLanguageDirectory,
                sys::ToCodePage(MyGetIniValue(u"LANGUAGE_DIRECTORY", language, setupData)));
        SetText(info_.szProductName, sys::ToCodePage(MyGetIniValue(u"START", u"PRODUCT_NAME", setupData)));
        SetText(info_.szModelName,
                sys::ToCodePage(MyGetIniValue(u"START", u"PRINTER_MODEL_NAME", setupData)));
        ASSERT_NE('\0', info_.szLanguageDirectory[0]) << "build the sample_disc target";
    }
};

TEST_P(SampleDiscLanguage, EveryTextOfBothDialogsIsThere) {
    const std::string rules =
        "question CWelcomeDlg = hover 1014; click 1017\n"
        "question CManualDlg = hover 102; command 9\n";
    EXPECT_EQ(kResultLeave, Run(0, rules));  // no VLEtc: Cancel leaves
    const ui::HeadlessDialogView& welcome = Welcome();
    for (int id : {kIdHeading, kIdButton1, kIdButton2, kIdButton3, kIdButton4, kIdVersion, kIdCancelButton,
                   kIdDescriptionGroup, kIdDescription}) {
        EXPECT_FALSE(Control(welcome, id).text.empty()) << id;
        EXPECT_EQ(sys::WString::npos, Control(welcome, id).text.find(u'\uFFFD')) << id;
    }
    EXPECT_NE(sys::WString::npos, Control(welcome, kIdHeading).text.find(u"Zebl LP-2400 Series"));
    EXPECT_EQ(GetParam().buttonWeight, Control(welcome, kIdButton1).FontWeight());
    if (GetParam().heading != nullptr) {
        EXPECT_EQ(GetParam().heading, Control(welcome, kIdHeading).text);
    }

    const auto manuals = Shown(kManualTemplateId);
    ASSERT_EQ(1u, manuals.size());
    for (int id : {kIdHeading, kIdDriverManual, kIdDockwaveManual, kIdCancelButton, kIdBackButton,
                   kIdDescriptionGroup, kIdDescription}) {
        EXPECT_FALSE(Control(*manuals[0], id).text.empty()) << id;
    }
    EXPECT_NE(sys::WString::npos, Control(*manuals[0], kIdDriverManual).text.find(u"Zebl LP-2400"));
}

INSTANTIATE_TEST_SUITE_P(
    Languages, SampleDiscLanguage,
    ::testing::Values(LanguageCase{"EN", 700, u"Welcome to the Zebl LP-2400 Series setup."},
                      LanguageCase{"GR", 700, nullptr},
                      LanguageCase{"JP", 700, u"Zebl LP-2400 Series のセットアップへようこそ。"},
                      LanguageCase{"PT", 700, nullptr}, LanguageCase{"BP", 700, nullptr},
                      LanguageCase{"CT", 400, u"歡迎使用 Zebl LP-2400 Series 安裝程式。"},
                      LanguageCase{"CP", 400, nullptr}),
    zebl_test::CaseName());

}  // namespace
