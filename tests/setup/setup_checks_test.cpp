// The checks and the launcher of the shared setup utilities, in both builds.
#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "common/pnp_wait.h"
#include "common/printer_driver.h"
#include "common/registry_keys.h"
#include "common/run_process.h"
#include "support/answer_script.h"
#include "support/child_program.h"
#include "support/library_paths.h"
#include "support/temp_folder.h"
#include "sys/printer_setup.h"
#include "sys/registry.h"

namespace {

// ---- Registry keys -------------------------------------------------------------

class SetupKeysTest : public zebl_test::TempFolderTest {
protected:
    SetupKeysTest() : base_("Software\\ZeblSetupTests\\" + sys::Narrow(temp_.UniqueTag())) {}
    ~SetupKeysTest() override {
        for (const char* below :
             {"\\Both\\Sub", "\\Both", "\\SubKeysOnly\\Sub", "\\SubKeysOnly", "\\ValuesOnly", "\\Empty", ""})
            sys::RegDeleteKey(sys::RegistryRoot::kLocalMachine, sys::Widen(base_ + below));
        sys::RegDeleteKey(sys::RegistryRoot::kLocalMachine, u"Software\\ZeblSetupTests");
    }
    sys::RegistryKey Create(const std::string& below) {
        sys::RegistryKey key = sys::RegistryKey::Create(sys::RegistryRoot::kLocalMachine,
                                                        sys::Widen(base_ + below), sys::kKeyAllAccess);
        EXPECT_TRUE(key.IsOpen());
        return key;
    }
    const std::string base_;
};

TEST_F(SetupKeysTest, ValuesAndSubKeysAreToldApart) {
    Create("\\SubKeysOnly\\Sub");
    Create("\\ValuesOnly").SetString(u"DisplayName", u"Model 5");
    Create("\\Both\\Sub");
    Create("\\Both").SetDword(u"n", 1);
    Create("\\Empty");
    const struct {
        const char* key;
        bool values;
        bool subKeys;
    } cases[] = {
        {"\\SubKeysOnly", false, true}, {"\\ValuesOnly", true, false}, {"\\Both", true, true},
        {"\\Empty", false, false},      {"\\Missing", false, false},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(test.values, MyKeyHasValues(base_ + test.key)) << test.key;
        EXPECT_EQ(test.subKeys, MyKeyHasSubKeys(base_ + test.key)) << test.key;
    }
}

// ---- Printer drivers -------------------------------------------------------------

TEST(SetupPrinterDriver, ANameIsFoundWithoutRegardToCaseAndOnlyWhole) {
    zebl_test::TempFolder unique;
    const std::string name = "ZEBL Setup Test Driver " + sys::Narrow(unique.UniqueTag());
    ASSERT_TRUE(sys::AddPrinterDriver(sys::Widen(name)));
    std::string otherCase = name;
    for (char& c : otherCase)
        c = static_cast<char>(std::islower(static_cast<unsigned char>(c)) ? std::toupper(c)
                                                                          : std::tolower(c));
    EXPECT_EQ(1, MyIsPrinterDriverInstalled(name.c_str()));
    EXPECT_EQ(1, MyIsPrinterDriverInstalled(otherCase.c_str()));
    EXPECT_EQ(0, MyIsPrinterDriverInstalled(name.substr(0, name.size() - 1).c_str()));
    EXPECT_EQ(0, MyIsPrinterDriverInstalled(std::string(260, 'Z').c_str()));
    EXPECT_EQ(0, MyIsPrinterDriverInstalled(nullptr));
    sys::DeletePrinterDriver(sys::Widen(name));
    EXPECT_EQ(0, MyIsPrinterDriverInstalled(name.c_str()));
}

// ---- Starting programs -------------------------------------------------------------

TEST(SetupRunProcess, TheExitCodeOfTheProgramComesBack) {
    const std::string program = "\"" + sys::ToCodePage(zebl_test::ChildProgram()) + "\"";
    EXPECT_EQ(42u, MyRunProcessAndWait((program + " --sleep 250 42").c_str()));  // waits over several pumps
    EXPECT_EQ(0u, MyRunProcessAndWait((program + " 0").c_str()));
}

TEST(SetupRunProcess, AProgramThatDoesNotExistGivesZeroAtOnce) {
    zebl_test::TempFolder temp;
    EXPECT_EQ(0u, MyRunProcessAndWait(("\"" + sys::ToCodePage(temp.Join(u"none.exe")) + "\" 5").c_str()));
}

// ---- Plug and Play wait -------------------------------------------------------------

TEST(SetupPnpWait, ALibraryWithoutTheWaitFunctionIsNoWait) {
    const std::string colourModule = sys::ToCodePage(zebl_test::StandInFolder()) +
#if defined(_WIN32)
                                     "\\Tzqr4CM.DLL";
#else
                                     "/Tzqr4CM.DLL";
#endif
    EXPECT_FALSE(MyWaitNoPendingInstallFrom(colourModule.c_str()));
    EXPECT_FALSE(MyWaitNoPendingInstallFrom("ZeblNoSuchLibrary.dll"));
}

// Under Wine the system's Setupapi.dll answers; natively the stand-in built
// beside the tests, which asks the answer script.
TEST(SetupPnpWait, PendingInstallationsAreWaitedForWithoutLimit) {
    zebl_test::AnswerScript script("once question CMP_WaitNoPendingInstallEvents = 258\n");
    EXPECT_TRUE(MyWaitNoPendingInstall());
#if !defined(_WIN32)
    const auto questions = script.Questions();
    ASSERT_EQ(2u, questions.size());
    EXPECT_EQ("2000", questions[0].detail);
    EXPECT_EQ("258", questions[0].answer);  // still pending after two seconds
    EXPECT_EQ("4294967295", questions[1].detail);
    EXPECT_EQ("0", questions[1].answer);
    EXPECT_TRUE(MyWaitNoPendingInstall());
    EXPECT_EQ(3u, script.Questions().size());  // nothing pending: one call
#endif
}

}  // namespace
