// VLFcs.Dll's FileCopyAndSystempUpdate on a small disc in a test folder:
// install, repair and remove of its components under a local folder in the
// Windows folder, with the package's registry keys.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formats/setup_libraries.h"
#include "outside/setup_stand_ins.h"
#include "support/file_bytes.h"
#include "support/temp_folder.h"
#include "sys/files.h"
#include "sys/folders.h"
#include "sys/paths.h"
#include "sys/registry.h"
#include "sys/text_files.h"

namespace {

using zebl_test::AnswerScript;
using zebl_test::AskedQuestion;
using zebl_test::QuestionsNamed;
using zebl_test::SetText;
using zebl_test::StandInLibrary;

constexpr char16_t kUninstallRoot[] = u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

bool WriteText(const sys::WString& path, const std::string& text) {
    return zebl_test::WriteFileBytes(path, text.data(), text.size());
}

std::string ReadText(const sys::WString& path) {
    std::string text;
    return sys::ReadTextFile(path, &text) ? text : "<missing>";
}

bool Exists(const sys::WString& path) { return sys::GetPathKind(path) != sys::PathKind::Missing; }

bool KeyOpens(const sys::WString& path) {
    return sys::RegistryKey::Open(sys::RegistryRoot::kLocalMachine, path, sys::kKeyRead).IsOpen();
}

std::string StringValue(const sys::WString& path, const char16_t* name) {
    const sys::RegistryKey key =
        sys::RegistryKey::Open(sys::RegistryRoot::kLocalMachine, path, sys::kKeyRead);
    sys::WString value;
    return key.QueryString(name, &value) ? sys::ToCodePage(value) : "<missing>";
}

// A disc with two components, "Driver" (in Driver\EN\WINXP, with a
// sub-folder) and "Manual" (in Manual\EN), and a record that chooses both
// for a local folder <Windows>\<maker>\Local. The maker's folder also holds
// a folder of another product, which nothing may touch.
class FileCopyTest : public zebl_test::TempFolderTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(library_.Loaded());
        copy_ = library_.Find<FileCopyAndSystempUpdateFn>("FileCopyAndSystempUpdate");
        ASSERT_NE(nullptr, copy_);
        maker_ = u"ZeblTest" + temp_.UniqueTag();
        model_ = u"VL-1200 " + temp_.UniqueTag();
        makerFolder_ = sys::JoinPath(sys::GetWindowsDirectory(), maker_);
        local_ = sys::JoinPath(makerFolder_, u"Local");

        const sys::WString driver = temp_.Join(u"Driver");
        for (const sys::WString& folder :
             {driver, driver + u"\\EN", driver + u"\\EN\\WINXP", driver + u"\\EN\\WINXP\\Help",
              temp_.Join(u"Manual"), temp_.Join(u"Manual\\EN"), makerFolder_, makerFolder_ + u"\\Other"})
            ASSERT_TRUE(sys::CreateDirectory(folder)) << sys::Narrow(folder);
        ASSERT_TRUE(WriteText(temp_.Join(u"Driver\\EN\\WINXP\\DrvSetup.exe"), "installer"));
        ASSERT_TRUE(WriteText(temp_.Join(u"Driver\\EN\\WINXP\\zdriver.dll"), "driver v2"));
        ASSERT_TRUE(WriteText(temp_.Join(u"Driver\\EN\\WINXP\\Help\\readme.txt"), "read me"));
        ASSERT_TRUE(WriteText(temp_.Join(u"Manual\\EN\\manual.txt"), "manual"));
        ASSERT_TRUE(WriteText(makerFolder_ + u"\\Other\\keep.txt", "another product"));

        record_.nOSVersion = 9;
        SetText(record_.szManufacture, sys::ToCodePage(maker_));
        SetText(record_.szModelName, sys::ToCodePage(model_));
        SetText(record_.szProductName, "Velora VL-1200");
        SetText(record_.szLanguage, "DT");
        SetText(record_.szSetupDirectory, sys::ToCodePage(temp_.Path()));
        SetText(record_.szLocalDirectory, sys::ToCodePage(local_));
        SetText(record_.szExeName, "SETUP.EXE");
        SetText(record_.pCompnet[0], "Driver");
        SetText(record_.pComponentDirectory[0], "Driver\\EN\\WINXP");
        SetText(record_.pComponentInstallFile[0], "DrvSetup.exe");
        SetText(record_.pCompnet[1], "Manual");
        SetText(record_.pComponentDirectory[1], "Manual\\EN");
        SetText(record_.pComponentInstallFile[1], "manual.txt");
        Choose({"Driver", "Manual"});
    }

    void TearDown() override {
        zebl_test::RemoveTree(makerFolder_);
        for (const sys::WString& key : {VendorKey() + u"\\Driver", VendorKey() + u"\\Manual", VendorKey(),
                                        u"SOFTWARE\\" + maker_, UninstallKey()})
            sys::RegDeleteKey(sys::RegistryRoot::kLocalMachine, key);
    }

    void Choose(const std::vector<std::string>& names) {
        for (uint32_t slot = 0; slot < kInstallInfoSlots; ++slot)
            SetText(record_.pSelectionComponent[slot], slot < names.size() ? names[slot] : "");
    }

    int Run(int32_t mode) {
        record_.nSetupMode = mode;
        return copy_(record_, nullptr);
    }

    sys::WString Installed(const char16_t* path) const { return sys::JoinPath(local_, path); }
    sys::WString VendorKey() const { return u"SOFTWARE\\" + maker_ + u"\\" + model_; }
    sys::WString UninstallKey() const { return kUninstallRoot + model_; }

    void ExpectNothingElseTouched() {
        EXPECT_EQ("another product", ReadText(makerFolder_ + u"\\Other\\keep.txt"));
        EXPECT_EQ("driver v2", ReadText(temp_.Join(u"Driver\\EN\\WINXP\\zdriver.dll")));  // the disc
        const std::vector<sys::DirEntry> makerEntries = sys::ListDirectory(makerFolder_ + u"\\*");
        for (const sys::DirEntry& entry : makerEntries)
            EXPECT_TRUE(entry.name == u"Local" || entry.name == u"Other") << sys::Narrow(entry.name);
    }

    StandInLibrary library_{"VLFcs.Dll"};
    FileCopyAndSystempUpdateFn copy_ = nullptr;
    InstallInfo record_{};
    sys::WString maker_, model_, makerFolder_, local_;
};

TEST_F(FileCopyTest, InstallRepairAndRemoveTheChosenComponents) {
    const AnswerScript script;
    ASSERT_EQ(1, Run(kSetupModeInstall));
    EXPECT_EQ("driver v2", ReadText(Installed(u"Driver\\zdriver.dll")));
    EXPECT_EQ("installer", ReadText(Installed(u"Driver\\DrvSetup.exe")));
    EXPECT_EQ("read me", ReadText(Installed(u"Driver\\Help\\readme.txt")));
    EXPECT_EQ("manual", ReadText(Installed(u"Manual\\manual.txt")));
    EXPECT_EQ("Velora VL-1200", StringValue(UninstallKey(), u"DisplayName"));
    EXPECT_EQ(sys::ToCodePage(local_), StringValue(UninstallKey(), u"InstallLocation"));
    EXPECT_EQ("DT", StringValue(VendorKey(), u"Language"));
    EXPECT_EQ(sys::ToCodePage(Installed(u"Driver")), StringValue(VendorKey() + u"\\Driver", u"Directory"));
    ExpectNothingElseTouched();

    // Repair puts back what was deleted or changed, read-only or not.
    ASSERT_TRUE(sys::DeleteFile(Installed(u"Driver\\Help\\readme.txt")));
    ASSERT_TRUE(WriteText(Installed(u"Manual\\manual.txt"), "damaged"));
    ASSERT_TRUE(sys::SetFileAttributes(Installed(u"Manual\\manual.txt"), sys::kAttrReadOnly));
    ASSERT_EQ(1, Run(kSetupModeRepair));
    EXPECT_EQ("read me", ReadText(Installed(u"Driver\\Help\\readme.txt")));
    EXPECT_EQ("manual", ReadText(Installed(u"Manual\\manual.txt")));

    // Removing one component leaves the package installed.
    Choose({"Manual"});
    ASSERT_EQ(1, Run(kSetupModeRemove));
    EXPECT_FALSE(Exists(Installed(u"Manual")));
    EXPECT_EQ("driver v2", ReadText(Installed(u"Driver\\zdriver.dll")));
    EXPECT_FALSE(KeyOpens(VendorKey() + u"\\Manual"));
    EXPECT_TRUE(KeyOpens(VendorKey()));
    EXPECT_TRUE(KeyOpens(UninstallKey()));

    // The last one takes the package's keys with it.
    Choose({"Driver"});
    ASSERT_EQ(1, Run(kSetupModeRemove));
    EXPECT_FALSE(Exists(Installed(u"Driver")));
    EXPECT_FALSE(KeyOpens(VendorKey()));
    EXPECT_FALSE(KeyOpens(UninstallKey()));
    EXPECT_FALSE(KeyOpens(u"SOFTWARE\\" + maker_));
    ExpectNothingElseTouched();

    // Every call and each component's installer was asked, with its mode.
    const std::vector<AskedQuestion> calls = QuestionsNamed(script, "FileCopyAndSystempUpdate");
    ASSERT_EQ(4u, calls.size());
    EXPECT_NE(std::string::npos, calls[0].detail.find("mode=12")) << calls[0].detail;
    EXPECT_NE(std::string::npos, calls[0].detail.find("thread=null")) << calls[0].detail;
    EXPECT_NE(std::string::npos, calls[3].detail.find("selection=\"Driver\"")) << calls[3].detail;
    const std::vector<AskedQuestion> installers =
        QuestionsNamed(script, "FileCopyAndSystempUpdate.Installer");
    ASSERT_EQ(4u, installers.size());  // two components, installed and repaired
    EXPECT_NE(std::string::npos, installers[0].detail.find("DrvSetup.exe\" mode=12")) << installers[0].detail;
    EXPECT_NE(std::string::npos, installers[3].detail.find("component=\"Manual\"")) << installers[3].detail;
}

TEST_F(FileCopyTest, AFailingInstallerOrAMissingComponentFolderFailsTheCallButCopiesTheRest) {
    const AnswerScript script("question FileCopyAndSystempUpdate.Installer = 1603\n");
    SetText(record_.pComponentDirectory[1], "Manual\\FR");
    EXPECT_EQ(0, Run(kSetupModeInstall));
    EXPECT_EQ("driver v2", ReadText(Installed(u"Driver\\zdriver.dll")));
    EXPECT_FALSE(Exists(Installed(u"Manual")));
    EXPECT_TRUE(KeyOpens(UninstallKey()));
}

TEST_F(FileCopyTest, AnsweredZeroItDoesNothing) {
    const AnswerScript script("question FileCopyAndSystempUpdate = 0\n");
    EXPECT_EQ(0, Run(kSetupModeInstall));
    EXPECT_FALSE(Exists(local_));
    EXPECT_FALSE(KeyOpens(UninstallKey()));
}

// Records that would lead the copy out of the local folder, or out of the
// Windows folder: refused before anything is written.
struct UnsafeRecord {
    const char* what;
    void (*spoil)(InstallInfo*, const sys::WString& windows);
};

class FileCopyRefusal : public FileCopyTest, public ::testing::WithParamInterface<UnsafeRecord> {};

TEST_P(FileCopyRefusal, NothingIsWrittenOutsideTheLocalFolder) {
    GetParam().spoil(&record_, sys::GetWindowsDirectory());
    const AnswerScript script;
    EXPECT_EQ(0, Run(kSetupModeInstall));
    EXPECT_FALSE(Exists(local_));
    ExpectNothingElseTouched();
    EXPECT_FALSE(Exists(sys::JoinPath(sys::GetWindowsDirectory(), u"Driver")));
}

INSTANTIATE_TEST_SUITE_P(
    FileCopy, FileCopyRefusal,
    ::testing::Values(
        UnsafeRecord{"LocalOutsideWindows",
                     [](InstallInfo* r, const sys::WString& windows) {
                         // A folder beside the Windows folder whose name starts like it.
                         SetText(r->szLocalDirectory, sys::ToCodePage(windows) + "Local");
                     }},
        UnsafeRecord{"LocalClimbsOut",
                     [](InstallInfo* r, const sys::WString& windows) {
                         SetText(r->szLocalDirectory, sys::ToCodePage(windows) + "\\..\\Local");
                     }},
        UnsafeRecord{"LocalIsTheWindowsFolder",
                     [](InstallInfo* r, const sys::WString& windows) {
                         SetText(r->szLocalDirectory, sys::ToCodePage(windows));
                     }},
        UnsafeRecord{"ModelWithAFolder",
                     [](InstallInfo* r, const sys::WString&) { SetText(r->szModelName, "VL\\..\\Run"); }},
        UnsafeRecord{"NoMaker", [](InstallInfo* r, const sys::WString&) { SetText(r->szManufacture, ""); }},
        UnsafeRecord{"UnterminatedLocal",
                     [](InstallInfo* r, const sys::WString&) {
                         std::memset(r->szLocalDirectory, 'A', sizeof r->szLocalDirectory);
                     }}),
    [](const auto& param) { return std::string(param.param.what); });

TEST_F(FileCopyTest, AComponentNameThatIsNoFolderNameIsRefusedAndTheOthersInstalled) {
    SetText(record_.pCompnet[1], "..");
    Choose({"Driver", ".."});
    const AnswerScript script;
    EXPECT_EQ(0, Run(kSetupModeInstall));
    EXPECT_EQ("driver v2", ReadText(Installed(u"Driver\\zdriver.dll")));
    EXPECT_FALSE(Exists(makerFolder_ + u"\\manual.txt"));
    ExpectNothingElseTouched();
}

}  // namespace
