#include "pipeline/job_spool.h"

#include <gtest/gtest.h>

#include <cstring>

#include "pipeline/cmd_list_test_support.h"
#include "pipeline/cmd_writer.h"
#include "support/temp_folder.h"
#include "sys/temp_files.h"

namespace {

using namespace cmdlist_test;

FBPage PageRecord(uint32_t number) {
    FBPage page;
    page.pageNumber = number;
    page.pageWidth = 4960 + number;
    page.orientation = number & 1;
    page.copies = 1;
    return page;
}

class JobSpool : public zebl_test::TempFolderTest {
protected:
    ~JobSpool() override { FBJobSpoolDelete(&spool_); }
    sys::WString SpoolParent() const { return temp_.Join(u"VLSPLDIR"); }
    sys::WString Numbered(const char16_t* digits) const { return SpoolParent() + u"\\" + digits; }

    FBJobSpool spool_;
};

TEST_F(JobSpool, DirectoryLayoutAndNames) {
    ASSERT_EQ(FBJobSpoolInitInFolder(&spool_, temp_.Path() + u"\\"), 1);
    EXPECT_EQ(spool_.mode, kSpoolDirectory);
    EXPECT_EQ(spool_.directoryIndex, 0u);
    EXPECT_EQ(spool_.directory, Numbered(u"00000000"));
    sys::WString name;
    ASSERT_EQ(FBJobSpoolGetJobFileName(&spool_, &name), 1);
    EXPECT_EQ(name, Numbered(u"00000000") + u"\\job.vlj");
    EXPECT_TRUE(Exists(name));
    ASSERT_EQ(FBJobSpoolGetPageFileName(&spool_, &name, 12), 1);
    EXPECT_EQ(name, Numbered(u"00000000") + u"\\00000012.vlp");
    ASSERT_EQ(FBJobSpoolGetPageFileName(&spool_, &name, 123456789), 1);
    EXPECT_EQ(name, Numbered(u"00000000") + u"\\123456789.vlp");

    // A second job beside the first takes the next directory.
    FBJobSpool second;
    ASSERT_EQ(FBJobSpoolInitInFolder(&second, temp_.Path()), 1);
    EXPECT_EQ(second.directoryIndex, 1u);
    EXPECT_EQ(second.directory, Numbered(u"00000001"));
    EXPECT_EQ(FBJobSpoolDelete(&second), 1);
    EXPECT_FALSE(Exists(Numbered(u"00000001")));
    EXPECT_TRUE(Exists(Numbered(u"00000000")));
}

TEST_F(JobSpool, PagesGetTheirOwnFilesAndRecordsInTheOrderTheyEnded) {
    ASSERT_EQ(FBJobSpoolInitInFolder(&spool_, temp_.Path()), 1);
    FBCmdList list;
    FBCmdListInit(&list, kCmdWithHeaders);
    const Bytes third = Pattern(40, 3), first = Pattern(kFBCmdBufferSize, 1);

    const FBPage page3 = PageRecord(3), page1 = PageRecord(1);
    ASSERT_EQ(FBJobSpoolNewPage(&spool_, &page3), 1);
    EXPECT_EQ(FBJobSpoolNewPage(&spool_, &page1), 0);  // page 3 is still open
    FBCmdListAddData(&list, third.data(), 40, 6);
    FBCmdWriteBasePos(&list, 7, 8);
    ASSERT_EQ(FBJobSpoolAddDataFromCmdBuffer(&spool_, &list), 1);
    ASSERT_EQ(FBJobSpoolClosePage(&spool_), 1);
    EXPECT_EQ(FBJobSpoolAddDataFromCmdBuffer(&spool_, &list), 0);  // no page open

    FBCmdListDelete(&list);
    ASSERT_EQ(FBJobSpoolNewPage(&spool_, &page1), 1);
    FBCmdListAddData(&list, "a", 1, 1);
    FBCmdListAddData(&list, first.data(), kFBCmdBufferSize, 2);  // a buffer of its own
    ASSERT_EQ(FBJobSpoolAddDataFromCmdBuffer(&spool_, &list), 1);
    FBJobSpoolClosePage(&spool_);

    sys::WString name;
    FBJobSpoolGetPageFileName(&spool_, &name, 3);
    EXPECT_EQ(ReadWholeFile(name), Join({Record(third, 6), Record({0x68, 7, 0, 0, 0, 0x69, 8, 0, 0, 0}, 0)}));
    FBJobSpoolGetPageFileName(&spool_, &name, 1);
    FBCmdList back;
    FBCmdListInit(&back, kCmdWithHeaders);
    ASSERT_EQ(FBCmdBufferAddDataFromFile(&back, name), 1);
    EXPECT_EQ(Pieces(back), (std::vector<Piece>{{Bytes{'a'}, 1}, {first, 2}}));

    FBPage records[2];
    ASSERT_EQ(FBJobSpoolReadPageInfo(&spool_, records, 2), 1);
    EXPECT_EQ(std::memcmp(&records[0], &page3, sizeof(FBPage)), 0);
    EXPECT_EQ(std::memcmp(&records[1], &page1, sizeof(FBPage)), 0);

    // Reading does not disturb appending: after reading only the first
    // record, a later page still goes at the end.
    ASSERT_EQ(FBJobSpoolReadPageInfo(&spool_, records, 1), 1);
    const FBPage page2 = PageRecord(2);
    ASSERT_EQ(FBJobSpoolNewPage(&spool_, &page2), 1);
    FBPage three[4];
    EXPECT_EQ(FBJobSpoolReadPageInfo(&spool_, three, 4), 0);  // only three stored
    EXPECT_EQ(three[1].pageNumber, 1u);
    EXPECT_EQ(three[2].pageNumber, 2u);
    EXPECT_EQ(three[3].pageNumber, 0u);
    EXPECT_EQ(three[3].pageWidth, 0u);
}

TEST_F(JobSpool, DeleteRemovesTheSpoolFilesAndTheDirectoryButNotTheParent) {
    ASSERT_EQ(FBJobSpoolInitInFolder(&spool_, temp_.Path()), 1);
    const FBPage page = PageRecord(1);
    FBJobSpoolNewPage(&spool_, &page);  // left open: Delete closes it
    const sys::WString directory = spool_.directory;
    EXPECT_EQ(FBJobSpoolDelete(&spool_), 1);
    EXPECT_FALSE(Exists(directory));
    EXPECT_TRUE(Exists(SpoolParent()));
    EXPECT_TRUE(spool_.directory.empty());
    EXPECT_EQ(FBJobSpoolDelete(&spool_), 1);  // twice is harmless
}

TEST_F(JobSpool, NinthJobTakesOverDirectoryZeroAfterDeletingItsSpoolFiles) {
    ASSERT_TRUE(sys::CreateDirectory(SpoolParent()));
    const char16_t* names[] = {u"00000000", u"00000001", u"00000002", u"00000003",
                               u"00000004", u"00000005", u"00000006", u"00000007"};
    for (const char16_t* n : names) ASSERT_TRUE(sys::CreateDirectory(Numbered(n)));
    const sys::WString zero = Numbered(u"00000000");
    ASSERT_TRUE(WriteWholeFile(zero + u"\\00000001.vlp", Pattern(10, 1)));
    ASSERT_TRUE(WriteWholeFile(zero + u"\\JOB.VLJ", Pattern(92, 2)));
    ASSERT_TRUE(WriteWholeFile(Numbered(u"00000003") + u"\\00000001.vlp", Pattern(10, 1)));

    ASSERT_EQ(FBJobSpoolInitInFolder(&spool_, temp_.Path()), 1);
    EXPECT_EQ(spool_.directoryIndex, 0u);
    EXPECT_EQ(spool_.directory, zero);
    EXPECT_FALSE(Exists(zero + u"\\00000001.vlp"));
    // A new, empty page-info file: the old one's record is gone.
    EXPECT_TRUE(Exists(zero + u"\\job.vlj"));
    FBPage record;
    EXPECT_EQ(FBJobSpoolReadPageInfo(&spool_, &record, 1), 0);
    EXPECT_TRUE(Exists(Numbered(u"00000003") + u"\\00000001.vlp"));  // other jobs untouched
}

TEST_F(JobSpool, TakeOverKeepsForeignFilesAndStillWorks) {
    ASSERT_TRUE(sys::CreateDirectory(SpoolParent()));
    const char16_t* names[] = {u"00000000", u"00000001", u"00000002", u"00000003",
                               u"00000004", u"00000005", u"00000006", u"00000007"};
    for (const char16_t* n : names) ASSERT_TRUE(sys::CreateDirectory(Numbered(n)));
    ASSERT_TRUE(WriteWholeFile(Numbered(u"00000000") + u"\\notes.txt", Pattern(3, 1)));
    ASSERT_EQ(FBJobSpoolInitInFolder(&spool_, temp_.Path()), 1);
    EXPECT_EQ(spool_.directoryIndex, 0u);
    EXPECT_TRUE(Exists(Numbered(u"00000000") + u"\\notes.txt"));
    // Delete cannot remove a directory that holds a foreign file, and says so.
    EXPECT_EQ(FBJobSpoolDelete(&spool_), 0);
    EXPECT_TRUE(Exists(Numbered(u"00000000") + u"\\notes.txt"));
    EXPECT_FALSE(Exists(Numbered(u"00000000") + u"\\job.vlj"));
}

TEST_F(JobSpool, RemovalOnlyInsideAVlspldirParent) {
    // A directory that is not a numbered directory of VLSPLDIR is never removed.
    const sys::WString other = temp_.Join(u"OTHER");
    const sys::WString lookalike = temp_.Join(u"XVLSPLDIR");
    const sys::WString sameLength = temp_.Join(u"NOTSPOOL");
    for (const sys::WString& parent : {other, lookalike, sameLength}) {
        ASSERT_TRUE(sys::CreateDirectory(parent));
        const sys::WString directory = parent + u"\\00000001";
        ASSERT_TRUE(sys::CreateDirectory(directory));
        ASSERT_TRUE(WriteWholeFile(directory + u"\\00000001.vlp", Pattern(4, 1)));
        FBJobSpool spool;
        spool.directory = directory;
        EXPECT_EQ(FBJobSpoolDelete(&spool), 0);
        EXPECT_TRUE(Exists(directory + u"\\00000001.vlp")) << sys::Narrow(parent);
    }
    // The name of the parent is compared without regard to case.
    const sys::WString lower = temp_.Join(u"vlspldir");
    ASSERT_TRUE(sys::CreateDirectory(lower));
    ASSERT_TRUE(sys::CreateDirectory(lower + u"\\00000004"));
    ASSERT_TRUE(WriteWholeFile(lower + u"\\00000004\\00000002.vlp", Pattern(4, 1)));
    FBJobSpool spool;
    spool.directory = lower + u"\\00000004";
    EXPECT_EQ(FBJobSpoolDelete(&spool), 1);
    EXPECT_FALSE(Exists(lower + u"\\00000004"));
}

TEST_F(JobSpool, FilteredRemovalDeletesMatchingFilesOnly) {
    const sys::WString d = temp_.Join(u"d");
    ASSERT_TRUE(sys::CreateDirectory(d));
    ASSERT_TRUE(WriteWholeFile(d + u"\\1.vlp", {}));
    ASSERT_TRUE(WriteWholeFile(d + u"\\2.VLP", {}));
    ASSERT_TRUE(WriteWholeFile(d + u"\\3.vlj", {}));
    ASSERT_TRUE(sys::CreateDirectory(d + u"\\sub.vlp"));
    EXPECT_EQ(MyRemoveFilteredFiles(d, u"*.vlp"), 1);
    EXPECT_FALSE(Exists(d + u"\\1.vlp"));
    EXPECT_FALSE(Exists(d + u"\\2.VLP"));
    EXPECT_TRUE(Exists(d + u"\\3.vlj"));
    EXPECT_TRUE(Exists(d + u"\\sub.vlp"));                               // directories are skipped
    EXPECT_EQ(MyRemoveDirectory(d), 0);                                  // not empty
    EXPECT_EQ(MyRemoveFilteredFiles(temp_.Join(u"none"), u"*.vlp"), 1);  // nothing to delete
}

TEST_F(JobSpool, RecordingFileCollectsAllPagesAndReadsBackIntoAList) {
    const sys::WString file = temp_.Join(u"overlay.bin");
    ASSERT_TRUE(WriteWholeFile(file, Pattern(50, 1)));  // replaced, not appended to
    ASSERT_EQ(FBJobSpoolInit(&spool_, file), 1);
    EXPECT_EQ(spool_.mode, kSpoolSingleFile);
    EXPECT_TRUE(spool_.directory.empty());

    FBCmdList list;
    FBCmdListInit(&list, kCmdWithHeaders);
    const FBPage page = PageRecord(1);
    EXPECT_EQ(FBJobSpoolNewPage(&spool_, &page), 1);  // nothing to do in mode 1
    FBCmdWriteSetScale(&list, 100, 100, 0);
    FBCmdListAddData(&list, Bytes{0x60, 1, 0}.data(), 3, 0x1234);
    FBCmdListAddData(&list, nullptr, 0, 0x55);
    ASSERT_EQ(FBJobSpoolAddDataFromCmdBuffer(&spool_, &list), 1);
    FBJobSpoolClosePage(&spool_);  // the recording file stays open
    FBCmdListDelete(&list);
    FBCmdListAddData(&list, Bytes{0x62, 2, 0}.data(), 3, 0x1235);
    ASSERT_EQ(FBJobSpoolAddDataFromCmdBuffer(&spool_, &list), 1);
    ASSERT_EQ(FBJobSpoolDelete(&spool_), 1);  // closes the file, removes nothing
    ASSERT_TRUE(Exists(file));

    EXPECT_EQ(ReadWholeFile(file),
              Join({Record({0x82, 100, 0, 0, 0, 100, 0, 0, 0, 0x83, 0, 0, 0, 0}, 0),
                    Record({0x60, 1, 0}, 0x1234), Record({}, 0x55), Record({0x62, 2, 0}, 0x1235)}));
    FBCmdList back;
    FBCmdListInit(&back, kCmdWithHeaders);
    ASSERT_EQ(FBCmdBufferAddDataFromFile(&back, file), 1);
    EXPECT_EQ(Pieces(back).size(), 4u);
    EXPECT_EQ(Pieces(back)[2], (Piece{Bytes{}, 0x55}));
    EXPECT_EQ(ListBytes(back), ReadWholeFile(file));
}

TEST_F(JobSpool, ReadDataReportsEndWholeRecordsAndDamage) {
    const sys::WString path = temp_.Join(u"r.bin");
    ASSERT_TRUE(WriteWholeFile(path, Join({Record(Pattern(6, 1), 9), Bytes{200, 0, 0, 0, 1, 0, 0, 0, 1}})));
    sys::File file = sys::File::OpenExisting(path, false, sys::Share::ReadWrite);
    std::vector<uint8_t> buffer(4);
    uint32_t length = 0, tag = 0;
    ASSERT_EQ(FBJobSpoolReadData(&file, &buffer, 1000, &length, &tag), kSpoolReadRecord);
    EXPECT_EQ(length, 6u);
    EXPECT_EQ(tag, 9u);
    EXPECT_EQ(Bytes(buffer.begin(), buffer.begin() + 6), Pattern(6, 1));
    // 200 bytes announced: above the allowed length, so nothing is allocated for it.
    EXPECT_EQ(FBJobSpoolReadData(&file, &buffer, 100, &length, &tag), kSpoolReadDamaged);
    EXPECT_LT(buffer.size(), 200u);

    file.Close();
    ASSERT_TRUE(WriteWholeFile(path, Record({}, 3)));
    file = sys::File::OpenExisting(path, false, sys::Share::ReadWrite);
    ASSERT_EQ(FBJobSpoolReadData(&file, &buffer, 0, &length, &tag), kSpoolReadRecord);
    EXPECT_EQ(length, 0u);
    EXPECT_EQ(tag, 3u);
    EXPECT_EQ(FBJobSpoolReadData(&file, &buffer, 0, &length, &tag), kSpoolReadEnd);
}

TEST(JobSpoolTemp, SpoolDirectoryLivesInTheTemporaryFolder) {
    FBJobSpool spool;
    ASSERT_EQ(FBJobSpoolInit(&spool, u""), 1);
    const sys::WString temp = sys::GetTempPath();
    ASSERT_FALSE(temp.empty());
    EXPECT_EQ(spool.directory.substr(0, temp.size() + 9), temp + u"VLSPLDIR\\");
    EXPECT_EQ(spool.directory.size(), temp.size() + 9 + 8);
    const sys::WString directory = spool.directory;
    EXPECT_EQ(FBJobSpoolDelete(&spool), 1);
    EXPECT_FALSE(Exists(directory));
}

}  // namespace
