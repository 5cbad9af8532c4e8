#include "sys/current_directory.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace {

class CurrentDirectory : public zebl_test::TempFolderTest {
protected:
    void SetUp() override { saved_ = sys::GetCurrentDirectory(); }
    void TearDown() override { sys::SetCurrentDirectory(saved_); }
    sys::WString saved_;
};

TEST_F(CurrentDirectory, FollowsTheFoldersItIsSetTo) {
    ASSERT_FALSE(saved_.empty());
    ASSERT_TRUE(sys::SetCurrentDirectory(temp_.Path() + u"\\"));
    EXPECT_TRUE(sys::EqualsIgnoreCase(sys::GetCurrentDirectory(), temp_.Path()));
}

TEST_F(CurrentDirectory, StaysWhereItIsWhenTheFolderIsMissing) {
    ASSERT_TRUE(sys::SetCurrentDirectory(temp_.Path()));
    EXPECT_FALSE(sys::SetCurrentDirectory(temp_.Join(u"missing")));
    EXPECT_TRUE(sys::EqualsIgnoreCase(sys::GetCurrentDirectory(), temp_.Path()));
}

}  // namespace
