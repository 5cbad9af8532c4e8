// What the system keeps for the whole process is the same for every module
// in it: a file this program holds open without sharing is locked for a
// module it loaded, and the last error the module's failing call left is the
// one this program reads. Under Windows that is kernel32's doing; the posix
// layer has to be one copy shared by all modules to behave the same.
#include <gtest/gtest.h>

#include <string>

#include "formats/utilities_request.h"
#include "support/file_bytes.h"
#include "support/library_paths.h"
#include "support/temp_folder.h"
#include "sys/files.h"
#include "sys/last_error.h"
#include "sys/modules.h"

namespace {

// A copy of the stand-in utilities module in a folder of the test's own,
// with the INI file it reads its strings from.
class ModuleInFolder : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(zebl_test::CopyFileBytes(zebl_test::StandInFolder() + u"\\Tzqr4SU.DLL",
                                             folder_.Join(u"Tzqr4SU.DLL")));
        const std::string ini = "[Driver Data]\nGREETING=from the file\n";
        ASSERT_TRUE(zebl_test::WriteFileBytes(IniPath(), ini.data(), ini.size()));
        module_ = sys::LoadLibrary(folder_.Join(u"Tzqr4SU.DLL"));
        ASSERT_NE(module_, nullptr) << "error " << sys::GetLastError();
        readStrings_ = reinterpret_cast<VLGEIniPDataRoutine>(sys::GetProcAddress(module_, "VLGE_IniP_Data"));
        ASSERT_NE(readStrings_, nullptr);
    }
    void TearDown() override {
        if (module_) sys::FreeLibrary(module_);
    }

    sys::WString IniPath() const { return folder_.Join(u"Tzqr4SU.INI"); }

    // The module's answer for GREETING, "default" when it could not read it.
    sys::WString Greeting() {
        char16_t result[64] = {};
        VLIniPRequest request;
        request.key = u"GREETING";
        request.defaultText = u"default";
        request.result = result;
        request.resultUnits = 64;
        EXPECT_EQ(readStrings_(0, u"Driver Data", 1, &request), 1);
        return result;
    }

    zebl_test::TempFolder folder_;
    sys::ModuleHandle module_ = nullptr;
    VLGEIniPDataRoutine readStrings_ = nullptr;
};

TEST_F(ModuleInFolder, FileHeldWithoutSharingHereIsLockedForTheModule) {
    EXPECT_EQ(Greeting(), u"from the file");
    {
        sys::File held = sys::File::OpenExisting(IniPath(), false, sys::Share::None);
        ASSERT_TRUE(held.IsOpen());
        sys::SetLastError(0);
        EXPECT_EQ(Greeting(), u"default");
        // The module's failed open left its error for this program to read.
        EXPECT_EQ(sys::GetLastError(), sys::kErrorSharingViolation);
    }
    EXPECT_EQ(Greeting(), u"from the file");
}

TEST_F(ModuleInFolder, FileTheModuleLeftClosedCanBeTakenWithoutSharing) {
    // The module's reads end with the file closed for the whole process: an
    // open without sharing and a deletion then succeed here.
    EXPECT_EQ(Greeting(), u"from the file");
    EXPECT_TRUE(sys::File::OpenExisting(IniPath(), true, sys::Share::None).IsOpen());
    EXPECT_TRUE(sys::DeleteFile(IniPath()));
    sys::SetLastError(0);
    EXPECT_EQ(Greeting(), u"default");
    EXPECT_EQ(sys::GetLastError(), sys::kErrorFileNotFound);
}

}  // namespace
