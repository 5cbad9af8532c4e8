// Deleting and replacing files at the next start of Windows 95 to Me: the
// "Rename" section of Wininit.ini in the Windows folder, with the
// 16,384-character limit of the section as the system reads it, in both
// builds. The test keeps the machine's Wininit.ini as it found it.
#include <gtest/gtest.h>

#include <string>

#include "common/reboot_files.h"
#include "support/temp_folder.h"
#include "sys/files.h"
#include "sys/folders.h"
#include "sys/paths.h"
#include "sys/profile.h"
#include "sys/text_files.h"

namespace {

class RebootFilesTest : public zebl_test::TempFolderTest {
protected:
    RebootFilesTest() : wininit_(sys::JoinPath(sys::GetWindowsDirectory(), u"Wininit.ini")) {
        hadFile_ = sys::ReadTextFile(wininit_, &saved_);
        sys::DeleteFile(wininit_);
    }
    ~RebootFilesTest() override {
        sys::DeleteFile(wininit_);
        if (hadFile_) sys::AppendTextLine(wininit_, saved_);
    }

    std::string Wininit() const {
        std::string text;
        sys::ReadTextFile(wininit_, &text);
        return text;
    }
    // A file of the test whose short path is the long one (8.3 names).
    std::string ShortFile(const char16_t* name) {
        const sys::WString path = temp_.Join(name);
        EXPECT_TRUE(sys::AppendTextLine(path, "x"));
        return sys::ToCodePage(sys::GetShortPathName(path));
    }
    // The section of `count` entries "K<n>=<value of `width` characters>".
    void FillRename(size_t count, size_t width) {
        std::string text = "[Rename]\r\n";
        for (size_t i = 0; i < count; ++i) {
            const std::string key = "K" + std::to_string(i);
            text += key + "=" + std::string(width - key.size() - 1, 'v') + "\r\n";
        }
        sys::DeleteFile(wininit_);
        ASSERT_TRUE(sys::AppendTextLine(wininit_, text));
    }

    const sys::WString wininit_;
    std::string saved_;
    bool hadFile_ = false;
};

TEST_F(RebootFilesTest, AnAbsentSectionHoldsExactlyTheNewEntries) {
    const std::string file = ShortFile(u"old.dll");
    EXPECT_EQ(0, MyDeleteFileOnReboot(file.c_str()));
    EXPECT_EQ("[Rename]\r\nNUL=" + file + "\r\n", Wininit());
}

TEST_F(RebootFilesTest, ARenameDeletesTheDestinationThenMovesTheSourceAfterTheEntriesBefore) {
    ASSERT_TRUE(sys::WritePrivateProfileString(u"Rename", u"NUL", u"C:\\EARLIER.DLL", wininit_));
    const std::string source = ShortFile(u"VLTMP1");
    const std::string destination = ShortFile(u"in use.dll");
    EXPECT_EQ(0, MyRenameFileOnReboot(source.c_str(), destination.c_str()));
    EXPECT_EQ("[Rename]\r\nNUL=C:\\EARLIER.DLL\r\nNUL=" + destination + "\r\n" + destination + "=" + source +
                  "\r\n",
              Wininit());
}

TEST_F(RebootFilesTest, ADestinationThatDoesNotExistKeepsItsLongPath) {
    const std::string source = ShortFile(u"VLTMP2");
    const std::string destination = sys::ToCodePage(temp_.Join(u"not there yet.dll"));
    MyRenameFileOnReboot(source.c_str(), destination.c_str());
    EXPECT_NE(std::string::npos, Wininit().find("NUL=" + destination + "\r\n" + destination + "=" + source))
        << Wininit();
}

TEST_F(RebootFilesTest, ASectionThatDoesNotFitTheBufferIsLeftAlone) {
    FillRename(200, 100);  // 20,000 characters
    const std::string before = Wininit();
    char16_t probe[16384];
    EXPECT_EQ(16382u, sys::GetPrivateProfileSection(u"Rename", probe, 16384, wininit_));
    MyDeleteFileOnReboot("C:\\X.DLL");
    MyRenameFileOnReboot("C:\\A.DLL", "C:\\B.DLL");
    EXPECT_EQ(before, Wininit());
}

// Sections of entries of 99 characters: each takes 100 units of the buffer
// with its NUL.
struct FitCase {
    const char* name;
    size_t entries;  // entries of 99 characters (100 with their NUL)
    bool appended;
};

class RebootFilesFit : public RebootFilesTest, public ::testing::WithParamInterface<FitCase> {};

TEST_P(RebootFilesFit, TheNewEntryIsAddedOnlyWhenItAndTheFinalNulFit) {
    FillRename(GetParam().entries, 99);
    const std::string before = Wininit();
    MyDeleteFileOnReboot("C:\\TWELVE.DLL");  // "NUL=C:\TWELVE.DLL": 17 characters and its NUL
    const bool appended = Wininit().find("NUL=C:\\TWELVE.DLL") != std::string::npos;
    EXPECT_EQ(GetParam().appended, appended);
    if (!appended) {
        EXPECT_EQ(before, Wininit());
    }
}

// 163 entries: 16,300 units, and the new entry (18) and the final NUL fit;
// 164 entries (16,400) do not fit the buffer at all.
INSTANTIATE_TEST_SUITE_P(Limits, RebootFilesFit,
                         ::testing::Values(FitCase{"WellInside", 100, true}, FitCase{"NearTheEnd", 163, true},
                                           FitCase{"PastTheEnd", 164, false}),
                         [](const auto& param) { return std::string(param.param.name); });

TEST_F(RebootFilesTest, AnEntryThatWouldEndPastTheBufferIsNotAdded) {
    // 163 entries of 100 units take 16,300, "Z=" and 63 letters with its NUL
    // bring 16,366: the section fits, but an entry of 18 units would end at
    // 16,384, leaving no room for the final NUL.
    FillRename(163, 99);
    ASSERT_TRUE(sys::WritePrivateProfileString(u"Rename", u"Z", std::u16string(63, u'z'), wininit_));
    char16_t probe[16384];
    ASSERT_EQ(16366u, sys::GetPrivateProfileSection(u"Rename", probe, 16384, wininit_));
    const std::string before = Wininit();
    MyDeleteFileOnReboot("C:\\TWELVE.DLL");
    EXPECT_EQ(before, Wininit());
    MyDeleteFileOnReboot("C:\\A.DLL");  // 13 units with its NUL: ends at 16,379, the final NUL at 16,380
    EXPECT_NE(std::string::npos, Wininit().find("NUL=C:\\A.DLL"));
}

}  // namespace
