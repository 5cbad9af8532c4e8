// Setup run from copies of the sample disc whose libraries are the test
// dialog library: the mode it decides, what its trace says, the boxes it
// shows and the routines it calls, in the native build over the posix
// layer and as Setup.exe under Wine.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "support/answer_script.h"
#include "support/library_paths.h"
#include "support/temp_folder.h"
#include "sys/environment.h"
#include "sys/files.h"
#include "sys/paths.h"
#include "sys/process.h"
#include "sys/registry.h"
#include "ui/window.h"

namespace {

constexpr char16_t kUninstallKey[] = u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Zebl LP-2400";
constexpr char kModel[] = "Zebl LP-2400";

sys::WString Disc(const char* name) {
    return zebl_test::HostPath(std::string(ZEBL_STARTUP_DISCS) + "/" + name);
}

std::string ReadAll(sys::WStringView path) {
    sys::File file = sys::File::OpenExisting(path, false, sys::Share::ReadWrite);
    std::string bytes;
    char chunk[4096];
    uint32_t got = 0;
    while (file.IsOpen() && file.Read(chunk, sizeof chunk, &got) && got > 0) bytes.append(chunk, got);
    return bytes;
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class SetupStartup : public zebl_test::TempFolderTest {
protected:
    void SetUp() override {
        ASSERT_EQ(sys::GetPathKind(sys::JoinPath(Disc("complete"), u"SETUP.DAT")), sys::PathKind::File)
            << "build the startup_discs target";
        tracePath_ = temp_.Join(u"setup-trace.txt");
        savedTrace_ = sys::GetEnvironmentVariable(u"ZEBL_SETUP_TRACE");
        sys::SetEnvironmentVariable(u"ZEBL_SETUP_TRACE", tracePath_);
        sys::RegDeleteKey(sys::RegistryRoot::kLocalMachine, kUninstallKey);
    }
    void TearDown() override {
        sys::SetEnvironmentVariable(u"ZEBL_SETUP_TRACE", savedTrace_);
        sys::RegDeleteKey(sys::RegistryRoot::kLocalMachine, kUninstallKey);
    }

    static void MarkInstalled() {
        sys::RegistryKey key =
            sys::RegistryKey::Create(sys::RegistryRoot::kLocalMachine, kUninstallKey, sys::kKeyAllAccess);
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
        return ReadAll(tracePath_);
    }
    std::string RunFrom(const char* disc, const char16_t* arguments = u"") {
        return Run(u"\"" + sys::JoinPath(Disc(disc), u"Setup.exe") + u"\"" + arguments);
    }

    sys::WString tracePath_;
    std::optional<sys::WString> savedTrace_;
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

TEST_F(SetupStartup, ACleanMachineGetsTheInstallProcedure) {
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

TEST_F(SetupStartup, AnInstalledPackageGetsTheMaintenanceProcedure) {
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
