#include "sys/files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/temp_folder.h"
#include "sys/last_error.h"
#include "sys/os_version.h"

namespace {

using zebl_test::TempFolderTest;

bool WriteText(const sys::WString& path, const std::string& text) {
    sys::File file = sys::File::CreateAlways(path);
    uint32_t written = 0;
    return file.IsOpen() && file.Write(text.data(), static_cast<uint32_t>(text.size()), &written) &&
           written == text.size();
}

std::string ReadText(const sys::WString& path) {
    sys::File file = sys::File::OpenExisting(path, false, sys::Share::ReadWrite);
    std::string text(1024, '\0');
    uint32_t got = 0;
    if (!file.IsOpen() || !file.Read(text.data(), 1024, &got)) return "<unreadable>";
    text.resize(got);
    return text;
}

std::vector<std::string> Names(const std::vector<sys::DirEntry>& entries) {
    std::vector<std::string> names;
    names.reserve(entries.size());
    for (const sys::DirEntry& entry : entries) names.push_back(sys::Narrow(entry.name));
    std::sort(names.begin(), names.end());
    return names;
}

using Files = TempFolderTest;

TEST_F(Files, CreateAlwaysTruncatesAnExistingFile) {
    const sys::WString path = temp_.Join(u"data.bin");
    ASSERT_TRUE(WriteText(path, "a longer first content"));
    ASSERT_TRUE(WriteText(path, "short"));
    EXPECT_EQ(ReadText(path), "short");
}

TEST_F(Files, WriteSeekReadRoundTrip) {
    sys::File file = sys::File::CreateAlways(temp_.Join(u"seek.bin"));
    ASSERT_TRUE(file.IsOpen());
    std::vector<uint8_t> bytes(10000);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 7 + (i >> 8));
    uint32_t done = 0;
    ASSERT_TRUE(file.Write(bytes.data(), 10000, &done));
    EXPECT_EQ(done, 10000u);

    uint64_t position = 0;
    ASSERT_TRUE(file.Seek(0, sys::SeekOrigin::Begin, &position));
    EXPECT_EQ(position, 0u);
    std::vector<uint8_t> back(10000);
    ASSERT_TRUE(file.Read(back.data(), 10000, &done));
    EXPECT_EQ(done, 10000u);
    EXPECT_EQ(back, bytes);

    // At the end a read succeeds with nothing.
    ASSERT_TRUE(file.Read(back.data(), 10, &done));
    EXPECT_EQ(done, 0u);

    ASSERT_TRUE(file.Seek(-100, sys::SeekOrigin::End, &position));
    EXPECT_EQ(position, 9900u);
    ASSERT_TRUE(file.Seek(-50, sys::SeekOrigin::Current, &position));
    EXPECT_EQ(position, 9850u);
    uint8_t one = 0;
    ASSERT_TRUE(file.Read(&one, 1, &done));
    EXPECT_EQ(one, bytes[9850]);

    // Before the start is refused and the position stays.
    EXPECT_FALSE(file.Seek(-1, sys::SeekOrigin::Begin));
    EXPECT_EQ(sys::GetLastError(), sys::kErrorNegativeSeek);
    ASSERT_TRUE(file.Seek(0, sys::SeekOrigin::Current, &position));
    EXPECT_EQ(position, 9851u);
}

TEST_F(Files, ClosedOrEmptyFileFailsWithInvalidHandle) {
    sys::File file;
    uint32_t done = 7;
    char byte = 0;
    EXPECT_FALSE(file.IsOpen());
    EXPECT_FALSE(file.Read(&byte, 1, &done));
    EXPECT_EQ(done, 0u);
    EXPECT_FALSE(file.Write(&byte, 1, &done));
    EXPECT_EQ(sys::GetLastError(), sys::kErrorInvalidHandle);
}

TEST_F(Files, UnsharedFileRefusesOtherOpensUntilClosed) {
    const sys::WString path = temp_.Join(u"locked.tmp");
    sys::File first = sys::File::CreateAlways(path, sys::Share::None);
    ASSERT_TRUE(first.IsOpen());

    sys::File second = sys::File::OpenExisting(path, false, sys::Share::ReadWrite);
    EXPECT_FALSE(second.IsOpen());
    EXPECT_EQ(sys::GetLastError(), sys::kErrorSharingViolation);
    EXPECT_FALSE(sys::File::CreateAlways(path, sys::Share::ReadWrite).IsOpen());
    EXPECT_EQ(sys::GetLastError(), sys::kErrorSharingViolation);
    EXPECT_FALSE(sys::DeleteFile(path));
    EXPECT_EQ(sys::GetLastError(), sys::kErrorSharingViolation);

    first.Close();
    EXPECT_TRUE(sys::File::OpenExisting(path, true, sys::Share::None).IsOpen());
}

TEST_F(Files, SharedFileAllowsSharedOpensButNotAnUnsharedOne) {
    const sys::WString path = temp_.Join(u"shared.tmp");
    ASSERT_TRUE(WriteText(path, "x"));
    sys::File first = sys::File::OpenExisting(path, true, sys::Share::ReadWrite);
    ASSERT_TRUE(first.IsOpen());
    EXPECT_TRUE(sys::File::OpenExisting(path, false, sys::Share::ReadWrite).IsOpen());
    EXPECT_FALSE(sys::File::OpenExisting(path, true, sys::Share::None).IsOpen());
    EXPECT_EQ(sys::GetLastError(), sys::kErrorSharingViolation);
    // Deleting needs delete sharing, which these handles never grant.
    EXPECT_FALSE(sys::DeleteFile(path));
    EXPECT_EQ(sys::GetLastError(), sys::kErrorSharingViolation);
}

TEST_F(Files, MovedFileKeepsItsHandleAndShareMode) {
    const sys::WString path = temp_.Join(u"moved.tmp");
    sys::File original = sys::File::CreateAlways(path, sys::Share::None);
    sys::File moved = std::move(original);
    EXPECT_FALSE(original.IsOpen());  // NOLINT(bugprone-use-after-move): what a move leaves
    ASSERT_TRUE(moved.IsOpen());
    EXPECT_FALSE(sys::File::OpenExisting(path, false, sys::Share::ReadWrite).IsOpen());
    moved = sys::File();  // closes
    EXPECT_TRUE(sys::File::OpenExisting(path, false, sys::Share::ReadWrite).IsOpen());
}

TEST_F(Files, MissingFileAndMissingFolderGiveDifferentErrors) {
    EXPECT_FALSE(sys::File::OpenExisting(temp_.Join(u"none.txt"), false, sys::Share::ReadWrite).IsOpen());
    EXPECT_EQ(sys::GetLastError(), sys::kErrorFileNotFound);
    EXPECT_FALSE(sys::File::OpenExisting(temp_.Join(u"no\\none.txt"), false, sys::Share::ReadWrite).IsOpen());
    EXPECT_EQ(sys::GetLastError(), sys::kErrorPathNotFound);
    EXPECT_FALSE(sys::File::CreateAlways(temp_.Join(u"no\\new.txt")).IsOpen());
    EXPECT_EQ(sys::GetLastError(), sys::kErrorPathNotFound);

    EXPECT_FALSE(sys::DeleteFile(temp_.Join(u"none.txt")));
    EXPECT_EQ(sys::GetLastError(), sys::kErrorFileNotFound);
    EXPECT_FALSE(sys::DeleteFile(temp_.Join(u"no\\none.txt")));
    EXPECT_EQ(sys::GetLastError(), sys::kErrorPathNotFound);
    EXPECT_EQ(sys::GetFileAttributes(temp_.Join(u"none.txt")), sys::kInvalidAttributes);
    EXPECT_EQ(sys::GetLastError(), sys::kErrorFileNotFound);
}

TEST_F(Files, PathKindsTellFilesFoldersDevicesAndMissingPaths) {
    const sys::WString file = temp_.Join(u"a.txt");
    ASSERT_TRUE(WriteText(file, "a"));
    EXPECT_EQ(sys::GetPathKind(file), sys::PathKind::File);
    EXPECT_EQ(sys::GetPathKind(temp_.Path()), sys::PathKind::Folder);
    EXPECT_EQ(sys::GetPathKind(temp_.Join(u"b.txt")), sys::PathKind::Missing);
    EXPECT_EQ(sys::GetLastError(), sys::kErrorFileNotFound);
    EXPECT_EQ(sys::GetPathKind(temp_.Join(u"no folder\\b.txt")), sys::PathKind::Missing);
    EXPECT_EQ(sys::GetLastError(), sys::kErrorPathNotFound);
#if defined(_WIN32)
    const sys::WString device = u"NUL";
#else
    const sys::WString device = u"/dev/null";  // only looked at
#endif
    EXPECT_EQ(sys::GetPathKind(device), sys::PathKind::Device);
}

TEST_F(Files, MoveReplacingRenamesOverAFileButNotAFolder) {
    const sys::WString from = temp_.Join(u"new.txt");
    const sys::WString to = temp_.Join(u"old.txt");
    ASSERT_TRUE(WriteText(from, "new"));
    ASSERT_TRUE(WriteText(to, "old and longer"));
    ASSERT_TRUE(sys::MoveFileReplacing(from, to)) << sys::GetLastError();
    EXPECT_EQ(ReadText(to), "new");
    EXPECT_EQ(sys::GetPathKind(from), sys::PathKind::Missing);
    ASSERT_TRUE(sys::CreateDirectory(temp_.Join(u"folder")));
    EXPECT_FALSE(sys::MoveFileReplacing(to, temp_.Join(u"folder")));
    EXPECT_EQ(ReadText(to), "new");
}

TEST_F(Files, DeleteRemovesTheFile) {
    const sys::WString path = temp_.Join(u"gone.txt");
    ASSERT_TRUE(WriteText(path, "bye"));
    ASSERT_TRUE(sys::DeleteFile(path));
    EXPECT_EQ(sys::GetFileAttributes(path), sys::kInvalidAttributes);
    EXPECT_FALSE(sys::DeleteFile(temp_.Path()));  // a folder is no file
    EXPECT_EQ(sys::GetLastError(), sys::kErrorAccessDenied);
}

TEST_F(Files, AttributesRoundTripAndReadOnlyBlocksDeletion) {
    const sys::WString path = temp_.Join(u"attr.txt");
    ASSERT_TRUE(WriteText(path, "a"));
    const uint32_t fresh = sys::GetFileAttributes(path);
    ASSERT_NE(fresh, sys::kInvalidAttributes);
    EXPECT_EQ(fresh & (sys::kAttrDirectory | sys::kAttrReadOnly | sys::kAttrHidden), 0u);

    ASSERT_TRUE(sys::SetFileAttributes(path, sys::kAttrReadOnly | sys::kAttrHidden));
    const uint32_t set = sys::GetFileAttributes(path);
    EXPECT_TRUE(set & sys::kAttrReadOnly);
    EXPECT_TRUE(set & sys::kAttrHidden);
    EXPECT_FALSE(sys::DeleteFile(path));
    EXPECT_EQ(sys::GetLastError(), sys::kErrorAccessDenied);

    ASSERT_TRUE(sys::SetFileAttributes(path, sys::kAttrNormal));
    EXPECT_EQ(sys::GetFileAttributes(path) & (sys::kAttrReadOnly | sys::kAttrHidden), 0u);
    EXPECT_TRUE(sys::DeleteFile(path));

    EXPECT_FALSE(sys::SetFileAttributes(temp_.Join(u"none"), sys::kAttrNormal));
    EXPECT_EQ(sys::GetLastError(), sys::kErrorFileNotFound);
    EXPECT_EQ(sys::GetFileAttributes(temp_.Path()) & sys::kAttrDirectory, sys::kAttrDirectory);
}

TEST_F(Files, FoldersAreCreatedOnceAndRemovedOnlyWhenEmpty) {
    const sys::WString folder = temp_.Join(u"Sub");
    ASSERT_TRUE(sys::CreateDirectory(folder));
    EXPECT_FALSE(sys::CreateDirectory(folder));
    EXPECT_EQ(sys::GetLastError(), sys::kErrorAlreadyExists);
    EXPECT_FALSE(sys::CreateDirectory(temp_.Join(u"a\\b")));
    EXPECT_EQ(sys::GetLastError(), sys::kErrorPathNotFound);

    ASSERT_TRUE(WriteText(folder + u"\\inner.txt", "x"));
    EXPECT_FALSE(sys::RemoveDirectory(folder));
    EXPECT_EQ(sys::GetLastError(), sys::kErrorDirNotEmpty);
    EXPECT_FALSE(sys::RemoveDirectory(folder + u"\\inner.txt"));
    EXPECT_EQ(sys::GetLastError(), sys::kErrorDirectory);
    ASSERT_TRUE(sys::DeleteFile(folder + u"\\inner.txt"));
    EXPECT_TRUE(sys::RemoveDirectory(folder));
    EXPECT_FALSE(sys::RemoveDirectory(folder));
    EXPECT_EQ(sys::GetLastError(), sys::kErrorFileNotFound);
}

TEST_F(Files, NamesMatchWithoutRegardToCase) {
    ASSERT_TRUE(sys::CreateDirectory(temp_.Join(u"MixedCase")));
    ASSERT_TRUE(WriteText(temp_.Join(u"MixedCase\\Report.Txt"), "content"));
    EXPECT_EQ(ReadText(temp_.Join(u"MIXEDCASE\\report.TXT")), "content");
    EXPECT_EQ(ReadText(temp_.Join(u"mixedcase/REPORT.txt")), "content");  // either separator

    // Writing through another spelling reaches the same file, and the
    // listing keeps the name as first created.
    ASSERT_TRUE(WriteText(temp_.Join(u"mixedcase\\REPORT.TXT"), "new"));
    EXPECT_EQ(ReadText(temp_.Join(u"MixedCase\\Report.Txt")), "new");
    EXPECT_EQ(Names(sys::ListDirectory(temp_.Join(u"MIXEDCASE\\*"))), std::vector<std::string>{"Report.Txt"});
    EXPECT_TRUE(sys::DeleteFile(temp_.Join(u"MIXEDCASE\\REPORT.TXT")));
    EXPECT_TRUE(sys::RemoveDirectory(temp_.Join(u"mixedCASE")));
}

TEST_F(Files, ListingFollowsWildcardsWithoutRegardToCase) {
    for (const char16_t* name : {u"a.tmp", u"B.TMP", u"c.txt", u"noext", u"ab.tmp"})
        ASSERT_TRUE(WriteText(temp_.Join(name), "12345"));
    ASSERT_TRUE(sys::CreateDirectory(temp_.Join(u"dir.tmp")));

    EXPECT_EQ(Names(sys::ListDirectory(temp_.Join(u"*.tmp"))),
              (std::vector<std::string>{"B.TMP", "a.tmp", "ab.tmp", "dir.tmp"}));
    EXPECT_EQ(Names(sys::ListDirectory(temp_.Join(u"?.TMP"))), (std::vector<std::string>{"B.TMP", "a.tmp"}));
    EXPECT_EQ(Names(sys::ListDirectory(temp_.Join(u"A*"))), (std::vector<std::string>{"a.tmp", "ab.tmp"}));
    EXPECT_EQ(sys::ListDirectory(temp_.Join(u"*")).size(), 6u);
    EXPECT_EQ(sys::ListDirectory(temp_.Join(u"*.*")).size(), 6u);  // names without a dot too
    EXPECT_EQ(Names(sys::ListDirectory(temp_.Join(u"C.TXT"))), std::vector<std::string>{"c.txt"});

    for (const sys::DirEntry& entry : sys::ListDirectory(temp_.Join(u"*"))) {
        const bool isFolder = entry.name == u"dir.tmp";
        EXPECT_EQ((entry.attributes & sys::kAttrDirectory) != 0, isFolder) << sys::Narrow(entry.name);
        if (!isFolder) {
            EXPECT_EQ(entry.size, 5u) << sys::Narrow(entry.name);
        }
    }

    EXPECT_TRUE(sys::ListDirectory(temp_.Join(u"*.zzz")).empty());
    EXPECT_EQ(sys::GetLastError(), sys::kErrorFileNotFound);
    EXPECT_TRUE(sys::ListDirectory(temp_.Join(u"missing\\*")).empty());
    EXPECT_EQ(sys::GetLastError(), sys::kErrorPathNotFound);
}

TEST(TempFolderFixture, RemovesItsFolderWithEverythingInIt) {
    sys::WString path;
    {
        zebl_test::TempFolder temp;
        path = temp.Path();
        ASSERT_FALSE(path.empty());
        ASSERT_TRUE(sys::CreateDirectory(temp.Join(u"deep")));
        ASSERT_TRUE(WriteText(temp.Join(u"deep\\file.txt"), "x"));
        ASSERT_TRUE(sys::SetFileAttributes(temp.Join(u"deep\\file.txt"), sys::kAttrReadOnly));
        zebl_test::TempFolder other;
        EXPECT_NE(other.Path(), path);
    }
    EXPECT_EQ(sys::GetFileAttributes(path), sys::kInvalidAttributes);
}

// The NT family takes every name through the W functions; Windows 95 to Me
// only through the A ones, in the ANSI code page, where a character it
// lacks turns the name into an invalid one rather than another file's.
bool IsWindows9x() {
    sys::OsVersion version;
    return sys::GetVersionEx(sys::kOsVersionInfoSize, &version) &&
           version.platformId == sys::kPlatformWindows9x;
}

TEST_F(Files, ANameOutsideTheCodePageIsKeptOnNtAndRefusedOn9x) {
    // Tibetan, in no ANSI code page.
    const sys::WString name = temp_.Join(u"\u0F00\u0F01.txt");
    if (IsWindows9x()) {
        EXPECT_FALSE(WriteText(name, "text"));
        EXPECT_EQ(sys::GetLastError(), 123u);  // ERROR_INVALID_NAME
        EXPECT_TRUE(sys::ListDirectory(temp_.Join(u"*")).empty());
        return;
    }
    ASSERT_TRUE(WriteText(name, "text"));
    EXPECT_EQ(ReadText(name), "text");
    const std::vector<sys::DirEntry> listed = sys::ListDirectory(temp_.Join(u"*"));
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0].name, u"\u0F00\u0F01.txt");
    EXPECT_TRUE(sys::DeleteFile(name));
}

}  // namespace
