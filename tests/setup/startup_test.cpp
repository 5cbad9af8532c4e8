// Setup run from copies of the sample disc whose libraries are the test
// dialog library: the mode it decides, what its trace says, the boxes it
// shows and the routines it calls, in the native build over the posix
// layer and as Setup.exe under Wine.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "setup/setup_run_fixture.h"
#include "support/answer_script.h"
#include "support/library_paths.h"
#include "support/temp_folder.h"
#include "support/windows_version.h"
#include "sys/environment.h"
#include "sys/files.h"
#include "sys/paths.h"
#include "sys/process.h"
#include "sys/registry.h"
#include "ui/window.h"

namespace {

using zebl_test::kSetupUninstallKey;
constexpr char kModel[] = "Zebl LP-2400";

sys::WString Disc(const char* name) {
    return zebl_test::HostPath(std::string(ZEBL_STARTUP_DISCS) + "/" + name);
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class SetupStartup : public zebl_test::SetupRunTest {
protected:
    void SetUp() override {
        SetupRunTest::SetUp();
        ASSERT_EQ(sys::GetPathKind(sys::JoinPath(Disc("complete"), u"SETUP.DAT")), sys::PathKind::File)
            << "build the startup_discs target";
    }

    static void MarkInstalled() {
        sys::RegistryKey key = sys::RegistryKey::Create(sys::RegistryRoot::kLocalMachine, kSetupUninstallKey,
                                                        sys::kKeyAllAccess);
        ASSERT_TRUE(key.IsOpen());
    }

    // Runs Setup with this command line and returns its trace.
    std::string Run(const sys::WString& commandLine) {
        sys::Process setup = sys::Process::Create(commandLine, sys::kSwHide);
        EXPECT_TRUE(setup.IsValid()) << sys::Narrow(commandLine);
        if (!setup.IsValid()) return {};
        EXPECT_EQ(sys::kWaitObject0, setup.Wait(120000));
        uint32_t code = 1;
        EXPECT_TRUE(setup.GetExitCode(&code));
        EXPECT_EQ(0u, code);
        return Trace();
    }
    std::string RunFrom(const char* disc, const char16_t* arguments = u"") {
        return Run(u"\"" + sys::JoinPath(Disc(disc), u"Setup.exe") + u"\"" + arguments);
    }
};

std::vector<zebl_test::AskedQuestion> Named(const zebl_test::AnswerScript& script, const std::string& name) {
    std::vector<zebl_test::AskedQuestion> found;
    for (const auto& question : script.Questions())
        if (question.name == name) found.push_back(question);
    return found;
}

std::vector<zebl_test::AskedQuestion> Boxes(const zebl_test::AnswerScript& script) {
    return Named(script, "");
}

// What Setup decides by the Windows it runs on, as the sample disc's
// START section and the start-up order say.
struct WindowsCase {
    const char* version;  // Wine's name; empty: the Windows as it is
    int code;             // MyGetOSVersion's code
    const char* osDirectory;
    bool vcp;          // the NT family's VCP step runs
    bool usb;          // the USB step of 98 and Me runs
    bool networkTool;  // the network tool's VLOS.DAT accepts this Windows
};

void PrintTo(const WindowsCase& windows, std::ostream* out) {
    *out << (*windows.version ? windows.version : "as is");
}

class SetupOnWindows : public SetupStartup, public ::testing::WithParamInterface<WindowsCase> {
protected:
    void SetUp() override {
        SetupStartup::SetUp();
        version_.emplace(u"Setup.exe", GetParam().version);
    }
    void TearDown() override {
        version_.reset();
        SetupStartup::TearDown();
    }

    std::optional<zebl_test::ProgramWindowsVersion> version_;
};

TEST_P(SetupOnWindows, ACleanMachineGetsTheInstallProcedure) {
    zebl_test::AnswerScript script;
    const std::string trace = RunFrom("complete");
    EXPECT_TRUE(Contains(trace, "        Setup Mode is Install mode")) << trace;
    EXPECT_TRUE(Contains(trace, "InstallProcedure Start")) << trace;
    EXPECT_FALSE(Contains(trace, "MaintProcedure")) << trace;
    EXPECT_TRUE(Boxes(script).empty());
    // The background got the record by value with the disc's model; the
    // Plug and Play of the printer was held off around the procedure.
    const auto background = Named(script, "SdBackGourndImage");
    ASSERT_EQ(1u, background.size());
    EXPECT_EQ(0u, background[0].detail.rfind(std::string(kModel) + "|", 0)) << background[0].detail;
    const auto start = Named(script, "StartPreventPnP");
    const auto end = Named(script, "EndPreventPnP");
    ASSERT_EQ(1u, start.size());
    ASSERT_EQ(1u, end.size());
    EXPECT_EQ(start[0].detail, end[0].detail);
    EXPECT_FALSE(start[0].detail.empty());
    // The setup type comes from the autorun menu, in install mode.
    const auto menu = Named(script, "SdAutoRunDlg");
    ASSERT_EQ(1u, menu.size());
    EXPECT_EQ(std::string(kModel) + "|maintenance=0", menu[0].detail);
}

TEST_P(SetupOnWindows, AnInstalledPackageGetsTheMaintenanceProcedure) {
    MarkInstalled();
    zebl_test::AnswerScript script;
    const std::string trace = RunFrom("complete");
    EXPECT_TRUE(Contains(trace, "       Setup Mode is Maintenance")) << trace;
    EXPECT_TRUE(Contains(trace, "MaintProcedure Start")) << trace;
    EXPECT_FALSE(Contains(trace, "InstallProcedure")) << trace;
    const auto menu = Named(script, "SdAutoRunDlg");
    ASSERT_EQ(1u, menu.size());
    EXPECT_EQ(std::string(kModel) + "|maintenance=1", menu[0].detail);
}

// Only the named versions: what the Windows as it is decides is its own.
class SetupDecidesByWindows : public SetupOnWindows {};

TEST_P(SetupDecidesByWindows, TheVersionDecidesTheFoldersAndTheDriverSteps) {
    const WindowsCase& windows = GetParam();
    zebl_test::AnswerScript script;
    const std::string trace = RunFrom("complete");
    EXPECT_TRUE(Contains(trace, "is code " + std::to_string(windows.code) + ";")) << trace;
    EXPECT_TRUE(Contains(trace, std::string("OS directory ") + windows.osDirectory + ";")) << trace;
    // The NT family: the VCP step and never the USB one; 98 and Me the
    // reverse (the sample disc asks for USB_INSTALL=1); 95 neither.
    EXPECT_EQ(windows.vcp, Contains(trace, "MyInstallVCP: not built yet")) << trace;
    EXPECT_EQ(windows.usb, Contains(trace, "USB_INSTALL=1")) << trace;
    EXPECT_EQ(windows.usb, Contains(trace, "MyInstallUSBDriver: not built yet")) << trace;
    // The network tool needs Winsock 2: its VLOS.DAT drops it on 95 and NT 4.
    EXPECT_EQ(windows.networkTool, Contains(trace, "Slot 2: Network Tool in NetTool\\")) << trace;
    EXPECT_EQ(!windows.networkTool, Contains(trace, "Network Tool is not for WINDOWS_")) << trace;
    EXPECT_TRUE(Contains(trace, "InstallProcedure Start")) << trace;
}

const WindowsCase kNamedWindows[] = {
    {"win95", 2, "WIN9X", false, false, false},    {"win98", 4, "WIN9X", false, true, true},
    {"winme", 6, "WIN9X", false, true, true},      {"nt40", 7, "WINNT4", true, false, false},
    {"win2k", 8, "WIN2K_XP", true, false, true},   {"winxp", 9, "WIN2K_XP", true, false, true},
    {"win2k3", 10, "WIN2K_XP", true, false, true},
};

std::string VersionName(const ::testing::TestParamInfo<WindowsCase>& windows) {
    return *windows.param.version ? windows.param.version : "AsItIs";
}

INSTANTIATE_TEST_SUITE_P(AsItIs, SetupOnWindows, ::testing::Values(WindowsCase{"", 0, "", true}),
                         VersionName);
INSTANTIATE_TEST_SUITE_P(Versions, SetupOnWindows, ::testing::ValuesIn(kNamedWindows), VersionName);
INSTANTIATE_TEST_SUITE_P(Versions, SetupDecidesByWindows, ::testing::ValuesIn(kNamedWindows), VersionName);

TEST_F(SetupStartup, TheUninstallSwitchIsReadAfterTheModeDecision) {
    zebl_test::AnswerScript script;
    const std::string trace = RunFrom("complete", u" /u");
    EXPECT_TRUE(Contains(trace, "Installation mode is forced unisntallation")) << trace;
    // It cannot turn a clean machine's install into maintenance.
    EXPECT_TRUE(Contains(trace, "InstallProcedure Start")) << trace;
    EXPECT_LT(trace.find("Setup Mode is"), trace.find("forced unisntallation"));
}

TEST_F(SetupStartup, TheSetupDirectoryIsFoundFromAPlainCommandLine) {
    zebl_test::AnswerScript script;
    const sys::WString disc = Disc("complete");
    ASSERT_EQ(sys::WString::npos, disc.find(u' ')) << "a plain command line needs a path without blanks";
    const std::string trace = Run(sys::JoinPath(disc, u"Setup.exe"));
    EXPECT_TRUE(Contains(trace, "       Setup directory " + sys::ToCodePage(disc) + "\n")) << trace;
    EXPECT_TRUE(Contains(trace, "InstallProcedure Start")) << trace;
}

TEST_F(SetupStartup, TheSetupDirectoryIsFoundFromAQuotedCommandLine) {
    zebl_test::AnswerScript script;
    const std::string trace = RunFrom("complete", u" /x");
    EXPECT_TRUE(Contains(trace, "       Setup directory " + sys::ToCodePage(Disc("complete")) + "\n"))
        << trace;
    EXPECT_TRUE(Contains(trace, "Invlide Parameter")) << trace;
    EXPECT_TRUE(Contains(trace, "InstallProcedure Start")) << trace;
}

TEST_F(SetupStartup, AMissingAutorunLibraryIsNoError) {
    zebl_test::AnswerScript script;
    const std::string trace = RunFrom("no_autorun");
    EXPECT_TRUE(Contains(trace, "VLAuto.Dll not loaded")) << trace;
    EXPECT_TRUE(Contains(trace, "InstallProcedure Start")) << trace;
    EXPECT_TRUE(Boxes(script).empty());
    // VLEtc's own setup-type dialog stands in for the menu.
    EXPECT_EQ(1u, Named(script, "SdSetupType").size());
    EXPECT_TRUE(Named(script, "SdAutoRunDlg").empty());
}

struct MissingLibrary {
    const char* disc;
    const char* caption;  // the first missing one in the order of the check
};

class SetupMissingLibrary : public SetupStartup, public ::testing::WithParamInterface<MissingLibrary> {};

TEST_P(SetupMissingLibrary, ShowsTheErrorBoxCaptionedWithItsNameAndStops) {
    zebl_test::AnswerScript script;
    const std::string trace = RunFrom(GetParam().disc);
    const auto boxes = Boxes(script);
    ASSERT_EQ(1u, boxes.size()) << trace;
    EXPECT_EQ(GetParam().caption, boxes[0].caption);
    EXPECT_FALSE(boxes[0].text.empty());  // the language file's ERR_MSG1
    EXPECT_EQ(0u, boxes[0].style);        // MB_OK
    EXPECT_FALSE(Contains(trace, "Procedure Start")) << trace;
    EXPECT_TRUE(Named(script, "SdBackGourndImage").empty());
}

INSTANTIATE_TEST_SUITE_P(Discs, SetupMissingLibrary,
                         ::testing::Values(MissingLibrary{"no_etc", "VLEtc.Dll"},
                                           MissingLibrary{"no_res_no_util", "VLRes.Dll"}));

// A first copy's frame window is there (a real one under Windows; the
// answer script's in the headless build, whose windows are its own
// process's): the second copy brings it forward and ends at once.
TEST_F(SetupStartup, ASecondCopyBringsTheFirstForwardAndEnds) {
    zebl_test::AnswerScript script("question FindWindow = normal\n");
    ui::WindowClass windowClass;
    windowClass.className = u"VLComInstClass";
    ui::RegisterWindowClass(windowClass);
    ui::FrameWindow first =
        ui::FrameWindow::Create(u"VLComInstClass", sys::Widen(kModel), ui::kWsOverlappedWindow);
    ASSERT_TRUE(first.IsValid());
    const std::string trace = RunFrom("complete");
    EXPECT_TRUE(Contains(trace, "Setup is running already")) << trace;
    EXPECT_FALSE(Contains(trace, "Procedure Start")) << trace;
    EXPECT_FALSE(Contains(trace, "VLRes.Dll")) << trace;  // no library loaded
#if !defined(_WIN32)
    const auto shown = Named(script, "ShowWindow");
    ASSERT_EQ(1u, shown.size());
    EXPECT_EQ("foreground", shown[0].detail);
#endif
}

}  // namespace
