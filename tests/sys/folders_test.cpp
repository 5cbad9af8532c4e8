// The Windows folders, short paths and free disk space, in both builds.
#include "sys/folders.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"
#include "sys/files.h"
#include "sys/last_error.h"
#include "sys/modules.h"
#include "sys/paths.h"
#include "sys/profile.h"
#include "sys/text_files.h"

namespace {

TEST(Folders, TheSystemFolderIsInsideTheWindowsFolder) {
    const sys::WString windows = sys::GetWindowsDirectory();
    const sys::WString system = sys::GetSystemDirectory();
    ASSERT_FALSE(windows.empty());
    EXPECT_EQ(sys::PathKind::Folder, sys::GetPathKind(windows));
    EXPECT_EQ(sys::PathKind::Folder, sys::GetPathKind(system));
    EXPECT_NE(u'\\', windows.back());
    EXPECT_TRUE(sys::EqualsIgnoreCase(sys::FolderOf(system), windows)) << sys::Narrow(system);
}

TEST(Folders, TheUsersStartMenuProgramsFolderExists) {
    const sys::WString programs = sys::GetSpecialFolderPath(sys::SpecialFolder::kPrograms);
    ASSERT_FALSE(programs.empty()) << "error " << sys::GetLastError();
    EXPECT_EQ(sys::PathKind::Folder, sys::GetPathKind(programs));
    EXPECT_TRUE(sys::EndsWithIgnoreCase(programs, u"\\Programs")) << sys::Narrow(programs);
}

class ShortPathTest : public zebl_test::TempFolderTest {};

TEST_F(ShortPathTest, TheShortPathNamesTheSameFile) {
    const sys::WString folder = temp_.Join(u"A Long Folder Name");
    ASSERT_TRUE(sys::CreateDirectory(folder));
    const sys::WString file = folder + u"\\a long file name.text";
    ASSERT_TRUE(sys::AppendTextLine(file, "content"));
    const sys::WString shortPath = sys::GetShortPathName(file);
    ASSERT_FALSE(shortPath.empty()) << "error " << sys::GetLastError();
    std::string bytes;
    ASSERT_TRUE(sys::ReadTextFile(shortPath, &bytes)) << sys::Narrow(shortPath);
    EXPECT_EQ("content", bytes);
    // Each name is 8.3 or, on a volume without short names, the long one.
    const sys::WString name(sys::FileNameOf(shortPath));
    EXPECT_TRUE(name == u"a long file name.text" || name.size() <= 12) << sys::Narrow(name);
}

TEST_F(ShortPathTest, MissingFilesAndFoldersHaveNone) {
    EXPECT_TRUE(sys::GetShortPathName(temp_.Join(u"missing file.txt")).empty());
    EXPECT_EQ(sys::kErrorFileNotFound, sys::GetLastError());
    EXPECT_TRUE(sys::GetShortPathName(temp_.Join(u"missing folder\\x.txt")).empty());
    EXPECT_EQ(sys::kErrorFileNotFound, sys::GetLastError());
}

TEST_F(ShortPathTest, TheDiskHoldingTheTemporaryFolderHasRoomLeft) {
    uint64_t freeBytes = 0;
    ASSERT_TRUE(sys::GetDiskFreeSpace(temp_.Path(), &freeBytes)) << "error " << sys::GetLastError();
    EXPECT_GT(freeBytes, 0u);
}

TEST_F(ShortPathTest, AProfileNamedWithoutAFolderLivesInTheWindowsFolder) {
    const sys::WString name = u"zebl" + temp_.UniqueTag() + u".ini";
    ASSERT_TRUE(sys::WritePrivateProfileString(u"Settings", u"ModelName", u"Model 5", name));
    const sys::WString file = sys::JoinPath(sys::GetWindowsDirectory(), name);
    EXPECT_EQ(sys::PathKind::File, sys::GetPathKind(file));
    char16_t value[64] = {};
    EXPECT_EQ(7u, sys::GetPrivateProfileString(u"Settings", u"ModelName", u"", value, 64, file));
    EXPECT_TRUE(sys::DeleteFile(file));
}

}  // namespace
