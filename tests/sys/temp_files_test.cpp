#include "sys/temp_files.h"

#include <gtest/gtest.h>

#include <set>

#include "support/temp_folder.h"
#include "sys/files.h"
#include "sys/last_error.h"

namespace {

using TempFiles = zebl_test::TempFolderTest;

bool IsHexDigit(char16_t c) {
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
}

TEST(TempPath, IsAnExistingFolderWithATrailingBackslash) {
    const sys::WString path = sys::GetTempPath();
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(path.back(), u'\\');
    const uint32_t attributes = sys::GetFileAttributes(path.substr(0, path.size() - 1));
    ASSERT_NE(attributes, sys::kInvalidAttributes);
    EXPECT_TRUE(attributes & sys::kAttrDirectory);
}

TEST_F(TempFiles, NamesHaveThreePrefixCharactersHexDigitsAndTmp) {
    const sys::WString name = sys::GetTempFileName(temp_.Path(), u"vlgspl");
    ASSERT_FALSE(name.empty()) << sys::GetLastError();
    const sys::WString expectedStart = temp_.Path() + u"\\vlg";
    ASSERT_EQ(name.compare(0, expectedStart.size(), expectedStart), 0) << sys::Narrow(name);
    ASSERT_GE(name.size(), expectedStart.size() + 5);
    const sys::WString digits = name.substr(expectedStart.size(), name.size() - expectedStart.size() - 4);
    EXPECT_GE(digits.size(), 1u);
    EXPECT_LE(digits.size(), 4u);
    for (char16_t c : digits) EXPECT_TRUE(IsHexDigit(c)) << sys::Narrow(name);
    EXPECT_EQ(name.substr(name.size() - 4), u".tmp");
}

TEST_F(TempFiles, EachNameIsNewAndItsFileIsCreatedEmpty) {
    std::set<sys::WString> names;
    for (int i = 0; i < 40; ++i) {
        const sys::WString name = sys::GetTempFileName(temp_.Path(), u"zz");
        ASSERT_FALSE(name.empty());
        EXPECT_TRUE(names.insert(name).second) << "repeated " << sys::Narrow(name);
        const std::vector<sys::DirEntry> found = sys::ListDirectory(name);
        ASSERT_EQ(found.size(), 1u);
        EXPECT_EQ(found[0].size, 0u);
    }
    EXPECT_EQ(sys::ListDirectory(temp_.Join(u"zz*.tmp")).size(), 40u);
}

TEST_F(TempFiles, AMissingFolderGivesNoName) {
    sys::SetLastError(0);
    EXPECT_TRUE(sys::GetTempFileName(temp_.Join(u"missing"), u"vlg").empty());
    EXPECT_NE(sys::GetLastError(), 0u);
    EXPECT_TRUE(sys::ListDirectory(temp_.Join(u"*")).empty());
}

}  // namespace
