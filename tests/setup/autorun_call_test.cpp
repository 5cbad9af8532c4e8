// Setup run from the sample disc as built, with the real autorun library:
// the install procedure's setup-type loop and the maintenance choice go
// through SdAutoRunDlg in the right mode and act on its answer, which the
// answer script gives as the user's clicks in the menu.
#include <gtest/gtest.h>

#include <ostream>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "setup/setup_run_fixture.h"
#include "support/answer_script.h"
#include "support/library_paths.h"
#include "support/temp_folder.h"
#include "sys/environment.h"
#include "sys/files.h"
#include "sys/paths.h"
#include "sys/process.h"
#include "sys/registry.h"

namespace {

// Cases print as their clicks in failure messages.
template <typename Case>
requires requires(const Case& c) { c.click; }
void PrintTo(const Case& c, std::ostream* os) { *os << c.click; }

using zebl_test::kSetupUninstallKey;

class SetupAutoRun : public zebl_test::SetupRunTest {
protected:
    void SetUp() override {
        SetupRunTest::SetUp();
        disc_ = zebl_test::HostPath(std::string(ZEBL_STARTUP_DISCS) + "/sample");
        ASSERT_EQ(sys::GetPathKind(sys::JoinPath(disc_, u"VLAuto.Dll")), sys::PathKind::File)
            << "build the startup_discs target";
    }

    // Runs the disc's Setup with these answers; its trace.
    // The menu is played by the script in both builds (under Windows a
    // dialog is a window unless the script takes it).
    std::string Run(const std::string& rules) {
        script_ = std::make_unique<zebl_test::AnswerScript>(rules + "question DialogView = headless\n");
        sys::Process setup =
            sys::Process::Create(u"\"" + sys::JoinPath(disc_, u"Setup.exe") + u"\"", sys::kSwHide);
        EXPECT_TRUE(setup.IsValid());
        if (!setup.IsValid()) return {};
        EXPECT_EQ(sys::kWaitObject0, setup.Wait(120000));
        return Trace();
    }

    std::vector<zebl_test::AskedQuestion> Asked(const std::string& name) const {
        std::vector<zebl_test::AskedQuestion> found;
        for (const auto& question : script_->Questions())
            if (question.name == name) found.push_back(question);
        return found;
    }

    static bool Contains(const std::string& text, const std::string& part) {
        return text.find(part) != std::string::npos;
    }

    sys::WString disc_;
    std::unique_ptr<zebl_test::AnswerScript> script_;
};

TEST_F(SetupAutoRun, CustomInstallationAndBackShowTheMenuAgainThenAutomaticGoesOn) {
    const std::string trace =
        Run("once question CWelcomeDlg = hover 1015; click 1015\n"
            "once question SdLanguageAndComponent = 1\n"
            "question CWelcomeDlg = click 1014\n");
    EXPECT_TRUE(Contains(trace, "Setup type dialog returned 7")) << trace;
    EXPECT_TRUE(Contains(trace, "SdLanguageAndComponent returned 1")) << trace;
    EXPECT_TRUE(Contains(trace, "Setup type dialog returned 6")) << trace;
    EXPECT_TRUE(Contains(trace, "MyRunAutoRun Start: maintenance 0")) << trace;
    EXPECT_TRUE(Contains(trace, "Installation after the setup type: not built yet")) << trace;
    const auto menus = Asked("CWelcomeDlg");
    ASSERT_EQ(2u, menus.size());
    EXPECT_EQ("template=129", menus[0].detail);
    EXPECT_EQ(1u, Asked("SdLanguageAndComponent").size());
}

TEST_F(SetupAutoRun, CancelConfirmedBySdCancelLeavesSetup) {
    const std::string trace = Run("question SdCancel = 4\nquestion CWelcomeDlg = command 9\n");
    EXPECT_TRUE(Contains(trace, "Setup type dialog returned 3")) << trace;
    EXPECT_FALSE(Contains(trace, "Installation after the setup type")) << trace;
    EXPECT_EQ(1u, Asked("SdCancel").size());
}

struct MaintenanceCase {
    const char* click;
    const char* returned;
    const char* next;
};

class SetupAutoRunMaintenance : public SetupAutoRun, public ::testing::WithParamInterface<MaintenanceCase> {};

TEST_P(SetupAutoRunMaintenance, TheMenuInMaintenanceModeChoosesTheProcedure) {
    {
        sys::RegistryKey key = sys::RegistryKey::Create(sys::RegistryRoot::kLocalMachine, kSetupUninstallKey,
                                                        sys::kKeyAllAccess);
        ASSERT_TRUE(key.IsOpen());
    }
    const std::string trace = Run(std::string("question CWelcomeDlg = ") + GetParam().click + "\n");
    EXPECT_TRUE(Contains(trace, "MyRunAutoRun Start: maintenance 1")) << trace;
    EXPECT_TRUE(Contains(trace, std::string("Maintenance dialog returned ") + GetParam().returned)) << trace;
    EXPECT_TRUE(Contains(trace, GetParam().next)) << trace;
}

INSTANTIATE_TEST_SUITE_P(
    Choices, SetupAutoRunMaintenance,
    ::testing::Values(MaintenanceCase{"click 1014", "9", "RepairProcedure: not built yet"},
                      MaintenanceCase{"click 1015", "10", "RemoveProcedure: not built yet"},
                      MaintenanceCase{"command 9", "3", "MaintProcedure End"}));

}  // namespace
