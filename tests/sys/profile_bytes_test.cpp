// GetPrivateProfileStringA's bytes, in both builds: a file in a code page
// other than the system's comes back byte for byte, cut in bytes as the A
// function cuts.
#include "sys/profile_bytes.h"

#include <gtest/gtest.h>

#include <string>

#include "support/file_bytes.h"
#include "support/temp_folder.h"

namespace {

// A Shift-JIS language file: "表" ends in the byte of a backslash, and the
// section name is plain ASCII as in every data file.
const std::string kJapaneseFile =
    "[ERROR_MSG]\r\n"
    "ERR_MSG4=\x93\xFA\x96\x7B\x8C\xEA\r\n"
    "TABLE=\x95\x5Cn\r\n"
    "QUOTED=\"\x93\xFA\"\r\n"
    "LONG=0123456789\r\n";

class ProfileBytes : public zebl_test::TempFolderTest {
protected:
    void SetUp() override {
        ASSERT_FALSE(temp_.Path().empty());
        path_ = temp_.Join(u"Lang_JP.Dat");
        ASSERT_TRUE(zebl_test::WriteFileBytes(path_, kJapaneseFile.data(), kJapaneseFile.size()));
    }
    std::string Read(const char* key, uint32_t size, const char* fallback = "") const {
        std::string buffer(size + 4, '\x7F');
        const uint32_t length =
            sys::GetPrivateProfileStringBytes("ERROR_MSG", key, fallback, buffer.data(), size, path_);
        EXPECT_EQ(buffer[length], '\0');
        EXPECT_EQ(buffer[size], '\x7F') << "written past the buffer";
        return buffer.substr(0, length);
    }
    sys::WString path_;
};

TEST_F(ProfileBytes, ValuesComeBackAsTheFileHoldsThem) {
    EXPECT_EQ(Read("ERR_MSG4", 256), "\x93\xFA\x96\x7B\x8C\xEA");
    EXPECT_EQ(Read("table", 256), "\x95\x5Cn");
    EXPECT_EQ(Read("QUOTED", 256), "\x93\xFA");
}

TEST_F(ProfileBytes, LongValuesAreCutInBytes) {
    EXPECT_EQ(Read("LONG", 5), "0123");
    EXPECT_EQ(Read("ERR_MSG4", 4), "\x93\xFA\x96");
}

TEST_F(ProfileBytes, MissingKeysFilesAndSectionsGiveTheFallback) {
    EXPECT_EQ(Read("NOKEY", 256, "none"), "none");
    std::string buffer(16, '\0');
    EXPECT_EQ(sys::GetPrivateProfileStringBytes("START", "ERR_MSG4", "", buffer.data(), 16, path_), 0u);
    EXPECT_EQ(sys::GetPrivateProfileStringBytes("ERROR_MSG", "ERR_MSG4", "x", buffer.data(), 16,
                                                temp_.Join(u"missing.dat")),
              1u);
    EXPECT_EQ(sys::GetPrivateProfileStringBytes("ERROR_MSG", "ERR_MSG4", "x", buffer.data(), 0, path_), 0u);
}

}  // namespace
