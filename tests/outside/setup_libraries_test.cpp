// The setup program's stand-in libraries, loaded by name as the setup
// program loads them: their exports, the record handed over by value and by
// address, and the answers and log of the answer script.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "formats/setup_libraries.h"
#include "outside/setup_stand_ins.h"

namespace {

using zebl_test::AnswerScript;
using zebl_test::AskedQuestion;
using zebl_test::QuestionsNamed;
using zebl_test::StandInLibrary;
using zebl_test::TelltaleDetails;
using zebl_test::TelltaleRecord;

struct LibraryExports {
    const char* file;
    std::vector<const char*> exports;
};

const LibraryExports kLibraries[] = {
    {"VLUtil.Dll",
     {"RemoveHardwareWizardDialog", "StartPreventPnP", "EndPreventPnP", "GetDevicePort", "MyAddPortMonitor",
      "SystemRefresh", "GetDiskFreeSpaceVL"}},
    {"VLRes.Dll", {}},
    {"VLEtc.Dll",
     {"SdBackGourndImage", "SdBackGourndScreenUpdateRect", "SdSetupType", "SdMaintenance",
      "SdLanguageAndComponent", "SdDeviceConnection", "SdMaintenanceComponent", "SdFinish", "SdCancel"}},
    {"VLFcs.Dll", {"FileCopyAndSystempUpdate"}},
    {"VLTtp.Dll", {"SdTeatPagePrinting"}},
    {"Preinst.dll", {"Preinstall"}},
};

class StandInExports : public ::testing::TestWithParam<LibraryExports> {};

TEST_P(StandInExports, LoadByNameAndExportEveryRoutineUnderItsPlainName) {
    const StandInLibrary library(GetParam().file);
    ASSERT_TRUE(library.Loaded()) << GetParam().file;
    // Under Windows a routine exported without its .def line would only
    // have its decorated standard-call name ("SdFinish@40176").
    for (const char* name : GetParam().exports) EXPECT_NE(nullptr, library.Find<void*>(name)) << name;
}

INSTANTIATE_TEST_SUITE_P(SetupLibraries, StandInExports, ::testing::ValuesIn(kLibraries),
                         [](const auto& param) {
                             std::string name = param.param.file;
                             return name.substr(0, name.find('.'));
                         });

// A dialog that takes the record by value: called, it shows the record's
// fields in the log as the caller wrote them and answers from the script.
struct ByValueDialog {
    const char* library;
    const char* name;
    int (*call)(const StandInLibrary&, const InstallInfo&);
    int unanswered;
    const char* extraDetail;
};

template <typename Function>
Function Lookup(const StandInLibrary& library, const char* name) {
    const Function function = library.Find<Function>(name);
    EXPECT_NE(nullptr, function) << name;
    return function;
}

const ByValueDialog kByValueDialogs[] = {
    {"VLEtc.Dll", "SdSetupType",
     [](const StandInLibrary& l, const InstallInfo& r) { return Lookup<SdSetupTypeFn>(l, "SdSetupType")(r); },
     6, ""},
    {"VLEtc.Dll", "SdMaintenance",
     [](const StandInLibrary& l, const InstallInfo& r) {
         return Lookup<SdMaintenanceFn>(l, "SdMaintenance")(r);
     },
     9, ""},
    {"VLEtc.Dll", "SdFinish",
     [](const StandInLibrary& l, const InstallInfo& r) { return Lookup<SdFinishFn>(l, "SdFinish")(r); }, 0,
     ""},
    {"VLEtc.Dll", "SdCancel",
     [](const StandInLibrary& l, const InstallInfo& r) { return Lookup<SdCancelFn>(l, "SdCancel")(r); }, 4,
     ""},
    {"VLEtc.Dll", "SdDeviceConnection",
     [](const StandInLibrary& l, const InstallInfo& r) {
         return Lookup<SdDeviceConnectionFn>(l, "SdDeviceConnection")(r, 0);
     },
     5, "first=0"},
    {"VLEtc.Dll", "SdBackGourndScreenUpdateRect",
     [](const StandInLibrary& l, const InstallInfo& r) {
         return Lookup<SdBackGourndScreenUpdateRectFn>(l, "SdBackGourndScreenUpdateRect")(
             r, SetupRect{1, 2, 3, 4}, 1);
     },
     1, "rect=1,2,3,4 update=1"},
    {"VLEtc.Dll", "SdBackGourndImage",
     [](const StandInLibrary& l, const InstallInfo& r) {
         return static_cast<int>(Lookup<SdBackGourndImageFn>(l, "SdBackGourndImage")(r));
     },
     0, ""},
    {"VLTtp.Dll", "SdTeatPagePrinting",
     [](const StandInLibrary& l, const InstallInfo& r) {
         return Lookup<SdTeatPagePrintingFn>(l, "SdTeatPagePrinting")(r, 1);
     },
     0, "connected=1"},
};

class ByValueDialogs : public ::testing::TestWithParam<ByValueDialog> {};

TEST_P(ByValueDialogs, ReadTheRecordTheCallerWroteAndAnswerFromTheScript) {
    const ByValueDialog& dialog = GetParam();
    const StandInLibrary library(dialog.library);
    ASSERT_TRUE(library.Loaded());
    const InstallInfo record = TelltaleRecord();
    {
        const AnswerScript script("question " + std::string(dialog.name) + " = 13\n");
        EXPECT_EQ(13, dialog.call(library, record));
        const std::vector<AskedQuestion> asked = QuestionsNamed(script, dialog.name);
        ASSERT_EQ(1u, asked.size());
        for (const std::string& piece : TelltaleDetails())
            EXPECT_NE(std::string::npos, asked[0].detail.find(piece)) << piece << " in " << asked[0].detail;
        EXPECT_NE(std::string::npos, asked[0].detail.find(dialog.extraDetail)) << asked[0].detail;
        EXPECT_EQ("13", asked[0].answer);
    }
    const AnswerScript unanswered("question SomethingElse = 13\n");
    EXPECT_EQ(dialog.unanswered, dialog.call(library, record));
}

INSTANTIATE_TEST_SUITE_P(SetupLibraries, ByValueDialogs, ::testing::ValuesIn(kByValueDialogs),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(SetupLibraries, AnAnswerThatIsNoNumberGivesTheDialogsOwnNumber) {
    const StandInLibrary etc("VLEtc.Dll");
    const AnswerScript script("question SdFinish = restart\nquestion SdCancel = 4x\n");
    EXPECT_EQ(0, Lookup<SdFinishFn>(etc, "SdFinish")(TelltaleRecord()));
    EXPECT_EQ(4, Lookup<SdCancelFn>(etc, "SdCancel")(TelltaleRecord()));
}

TEST(SetupLibraries, TheLanguageAndComponentDialogChangesTheRecordAtItsAddress) {
    const StandInLibrary etc("VLEtc.Dll");
    InstallInfo record = TelltaleRecord();
    const AnswerScript script(
        "question SdLanguageAndComponent.Language = DT\n"
        "question SdLanguageAndComponent.Selection = Manual|Unknown|Driver\n"
        "question SdLanguageAndComponent = 7\n");
    EXPECT_EQ(7, Lookup<SdLanguageAndComponentFn>(etc, "SdLanguageAndComponent")(&record));
    EXPECT_STREQ("DT", record.szLanguage);
    // Only listed components are taken, packed from the first slot.
    EXPECT_STREQ("Manual", record.pSelectionComponent[0]);
    EXPECT_STREQ("Driver", record.pSelectionComponent[1]);
    EXPECT_STREQ("", record.pSelectionComponent[2]);
    EXPECT_EQ(0xCAFEF00Du, record.pfnRemoveHardwareWizardDialog);  // the rest stays
}

TEST(SetupLibraries, TheMaintenanceComponentDialogKeepsTheSelectionUnlessAnswered) {
    const StandInLibrary etc("VLEtc.Dll");
    const InstallInfo original = TelltaleRecord();
    InstallInfo record = original;
    const auto dialog = Lookup<SdMaintenanceComponentFn>(etc, "SdMaintenanceComponent");
    {
        const AnswerScript script("question SdMaintenanceComponent = 1\n");
        EXPECT_EQ(1, dialog(&record, 1));
        EXPECT_EQ(0, std::memcmp(&record, &original, sizeof record));
        const std::vector<AskedQuestion> asked = QuestionsNamed(script, "SdMaintenanceComponent");
        ASSERT_EQ(1u, asked.size());
        EXPECT_NE(std::string::npos, asked[0].detail.find("forced=1")) << asked[0].detail;
    }
    const AnswerScript script("question SdMaintenanceComponent.Selection = Manual\n");
    EXPECT_EQ(0, dialog(&record, 0));
    EXPECT_STREQ("Manual", record.pSelectionComponent[0]);
    EXPECT_STREQ("", record.pSelectionComponent[1]);
}

TEST(SetupLibraries, AnOverlongLanguageAnswerIsCutToItsArray) {
    const StandInLibrary etc("VLEtc.Dll");
    InstallInfo record = TelltaleRecord();
    const AnswerScript script("question SdLanguageAndComponent.Language = " + std::string(300, 'L') + "\n");
    Lookup<SdLanguageAndComponentFn>(etc, "SdLanguageAndComponent")(&record);
    EXPECT_EQ(std::string(kInstallInfoText - 1, 'L'), record.szLanguage);
    EXPECT_STREQ("Velora", record.szManufacture);  // the next field untouched
}

struct PortCase {
    const char* answer;
    int32_t count;
    std::vector<std::string> ports;
};

class DevicePorts : public ::testing::TestWithParam<PortCase> {};

TEST_P(DevicePorts, FillTheCallersBufferWithinItsSmallerSize) {
    const StandInLibrary util("VLUtil.Dll");
    const auto getDevicePort = Lookup<GetDevicePortFn>(util, "GetDevicePort");
    const AnswerScript script(std::string("question GetDevicePort = ") + GetParam().answer + "\n");
    char buffer[260];
    std::memset(buffer, 'x', sizeof buffer);
    int32_t count = 99;
    EXPECT_EQ(1, getDevicePort("Velora", "VL1200", "VID_1234&PID_5678", buffer, &count));
    EXPECT_EQ(GetParam().count, count);
    size_t at = 0;
    for (const std::string& port : GetParam().ports) {
        EXPECT_STREQ(port.c_str(), buffer + at);
        at += port.size() + 1;
    }
    EXPECT_EQ(0, buffer[at]);                                                            // the list's end
    for (size_t i = 0; i < kDevicePortBufferBytes; ++i) EXPECT_NE('x', buffer[i]) << i;  // zeroed
    for (size_t i = kDevicePortBufferBytes; i < sizeof buffer; ++i) ASSERT_EQ('x', buffer[i]) << i;
    const std::vector<AskedQuestion> asked = QuestionsNamed(script, "GetDevicePort");
    ASSERT_EQ(1u, asked.size());
    EXPECT_EQ("maker=\"Velora\" mdl=\"VL1200\" vidpid=\"VID_1234&PID_5678\" buffer=yes count=yes",
              asked[0].detail);
}

INSTANTIATE_TEST_SUITE_P(SetupLibraries, DevicePorts,
                         ::testing::Values(PortCase{"USB001,LPT1:", 2, {"USB001", "LPT1:"}},
                                           PortCase{"-1", kDevicePortsNoUsbHost, {}}, PortCase{"", 0, {}},
                                           // 20 bytes: the third name would not fit with the end.
                                           PortCase{"USB001,USB002,USB003", 2, {"USB001", "USB002"}},
                                           PortCase{"ABCDEFGHIJKLMNOPQRSTUVWXYZ", 0, {}}));

TEST(SetupLibraries, UtilityRoutinesLogTheirArgumentsAndAnswerNumbers) {
    const StandInLibrary util("VLUtil.Dll");
    const StandInLibrary preinst("Preinst.dll");
    const AnswerScript script(
        "question MyAddPortMonitor = 0\nquestion GetDiskFreeSpaceVL = 400\nquestion StartPreventPnP = 7\n");
    EXPECT_EQ(
        0, Lookup<MyAddPortMonitorFn>(util, "MyAddPortMonitor")("Velora Network Printer Port", "Qmxmon.dll"));
    EXPECT_EQ(400u, Lookup<GetDiskFreeSpaceVLFn>(util, "GetDiskFreeSpaceVL")(0));
    EXPECT_EQ(7, Lookup<StartPreventPnPFn>(util, "StartPreventPnP")("Velora_VL1200"));
    EXPECT_EQ(1, Lookup<EndPreventPnPFn>(util, "EndPreventPnP")(nullptr));
    EXPECT_EQ(1, Lookup<RemoveHardwareWizardDialogFn>(util, "RemoveHardwareWizardDialog")());
    EXPECT_EQ(1, Lookup<SystemRefreshFn>(util, "SystemRefresh")());
    EXPECT_EQ(1, Lookup<PreinstallFn>(preinst, "Preinstall")("/P D:\\SETUP.DAT /S D:"));

    const std::vector<AskedQuestion> asked = script.Questions();
    ASSERT_EQ(7u, asked.size());
    EXPECT_EQ("monitor=\"Velora Network Printer Port\" file=\"Qmxmon.dll\"", asked[0].detail);
    EXPECT_EQ("reserved=0", asked[1].detail);
    EXPECT_EQ("pnp=\"Velora_VL1200\"", asked[2].detail);
    EXPECT_EQ("pnp=null", asked[3].detail);
    EXPECT_EQ("RemoveHardwareWizardDialog", asked[4].name);
    EXPECT_EQ("SystemRefresh", asked[5].name);
    EXPECT_EQ("parameters=\"/P D:\\SETUP.DAT /S D:\"", asked[6].detail);
}

}  // namespace
