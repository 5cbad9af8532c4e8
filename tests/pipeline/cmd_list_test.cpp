#include "pipeline/cmd_list.h"

#include <gtest/gtest.h>

#include <cstring>

#include "pipeline/cmd_list_test_support.h"
#include "pipeline/job_spool.h"
#include "support/temp_folder.h"

namespace {

using namespace cmdlist_test;
using zebl_test::TempFolderTest;

std::vector<uint32_t> UsedCounts(const FBCmdList& list) {
    std::vector<uint32_t> used;
    for (const FBCmdBuffer& b : list.buffers) used.push_back(b.used);
    return used;
}

TEST(CmdList, PiecesGoBackToBackAndLengthTagHeadersAreLittleEndian) {
    FBCmdList plain;
    ASSERT_EQ(FBCmdListInit(&plain, kCmdPlain), 1);
    ASSERT_EQ(FBCmdListAddData(&plain, Bytes{0x60, 0x01}.data(), 2, 0x11223344), 1);
    ASSERT_EQ(FBCmdListAddData(&plain, Bytes{0x62}.data(), 1, 5), 1);
    EXPECT_EQ(ListBytes(plain), (Bytes{0x60, 0x01, 0x62}));

    FBCmdList headed;
    ASSERT_EQ(FBCmdListInit(&headed, kCmdWithHeaders), 1);
    ASSERT_EQ(FBCmdListAddData(&headed, Bytes{0x60, 0x01}.data(), 2, 0x11223344), 1);
    ASSERT_EQ(FBCmdListAddData(&headed, nullptr, 0, 0x0102), 1);
    EXPECT_EQ(ListBytes(headed),
              (Bytes{2, 0, 0, 0, 0x44, 0x33, 0x22, 0x11, 0x60, 0x01, 0, 0, 0, 0, 0x02, 0x01, 0, 0}));
    EXPECT_EQ(FBCmdListByteCount(&headed), 18u);
    EXPECT_EQ(Pieces(headed), (std::vector<Piece>{{Bytes{0x60, 0x01}, 0x11223344}, {Bytes{}, 0x0102}}));
}

TEST(CmdList, UnknownFormatIsRefusedAndNullArgumentsFail) {
    FBCmdList list;
    EXPECT_EQ(FBCmdListInit(&list, 2), 0);
    EXPECT_EQ(list.format, kCmdPlain);
    EXPECT_EQ(FBCmdListInit(nullptr, kCmdPlain), 0);
    EXPECT_EQ(FBCmdListAddData(nullptr, "x", 1, 0), 0);
    EXPECT_EQ(FBCmdListAddData(&list, nullptr, 1, 0), 0);
    EXPECT_TRUE(list.buffers.empty());
}

TEST(CmdList, PieceThatWouldFillTheBufferExactlyStartsANewBuffer) {
    FBCmdList plain;
    FBCmdListInit(&plain, kCmdPlain);
    const Bytes first = Pattern(100, 1);
    ASSERT_EQ(FBCmdListAddData(&plain, first.data(), 100, 0), 1);
    // Needed size 4194303: still fits the first buffer.
    const Bytes almost = Pattern(kFBCmdBufferSize - 101, 2);
    ASSERT_EQ(FBCmdListAddData(&plain, almost.data(), static_cast<uint32_t>(almost.size()), 0), 1);
    EXPECT_EQ(UsedCounts(plain), (std::vector<uint32_t>{kFBCmdBufferSize - 1}));
    // One more byte: needed size 4194304 reaches the end, so a new buffer.
    ASSERT_EQ(FBCmdListAddData(&plain, first.data(), 1, 0), 1);
    EXPECT_EQ(UsedCounts(plain), (std::vector<uint32_t>{kFBCmdBufferSize - 1, 1}));

    FBCmdList headed;
    FBCmdListInit(&headed, kCmdWithHeaders);
    ASSERT_EQ(FBCmdListAddData(&headed, first.data(), 100, 7), 1);
    // 108 used + 8 header + length = 4194304.
    const Bytes rest = Pattern(kFBCmdBufferSize - 108 - 8, 3);
    ASSERT_EQ(FBCmdListAddData(&headed, rest.data(), static_cast<uint32_t>(rest.size()), 9), 1);
    EXPECT_EQ(UsedCounts(headed), (std::vector<uint32_t>{108, kFBCmdBufferSize - 108}));
    EXPECT_EQ(Pieces(headed), (std::vector<Piece>{{first, 7}, {rest, 9}}));
}

TEST(CmdList, PieceLargerThanABufferIsStoredWholeInItsOwnBuffer) {
    for (uint32_t format : {uint32_t{kCmdPlain}, uint32_t{kCmdWithHeaders}}) {
        SCOPED_TRACE(format);
        FBCmdList list;
        FBCmdListInit(&list, format);
        const Bytes small = Pattern(10, 4), big = Pattern(5u << 20, 5), after = Pattern(3, 6);
        ASSERT_EQ(FBCmdListAddData(&list, small.data(), 10, 1), 1);
        ASSERT_EQ(FBCmdListAddData(&list, big.data(), static_cast<uint32_t>(big.size()), 2), 1);
        ASSERT_EQ(FBCmdListAddData(&list, after.data(), 3, 3), 1);
        ASSERT_EQ(list.buffers.size(), 3u);

        const std::vector<DLChunk> chunks = FBCmdListChunks(&list);
        ASSERT_EQ(chunks.size(), 3u);
        ASSERT_EQ(chunks[1].size, big.size());
        EXPECT_EQ(Bytes(chunks[1].data, chunks[1].data + chunks[1].size), big);
        EXPECT_EQ(Bytes(chunks[2].data, chunks[2].data + chunks[2].size), after);
        const uint64_t headers = format == kCmdWithHeaders ? 3 * kFBCmdHeaderSize : 0;
        EXPECT_EQ(FBCmdListByteCount(&list), 10 + big.size() + 3 + headers);
    }
}

TEST(CmdList, BigPieceAfterAnExplicitEmptyBufferLeavesNoEmptyBufferBehind) {
    FBCmdList list;
    FBCmdListInit(&list, kCmdPlain);
    ASSERT_EQ(FBCmdBufferAdd(&list), 1);
    ASSERT_EQ(list.buffers.size(), 1u);
    EXPECT_EQ(list.buffers.front().capacity, kFBCmdBufferSize);
    const Bytes big = Pattern(kFBCmdBufferSize + 1, 8);
    ASSERT_EQ(FBCmdListAddData(&list, big.data(), static_cast<uint32_t>(big.size()), 0), 1);
    EXPECT_EQ(UsedCounts(list), (std::vector<uint32_t>{kFBCmdBufferSize + 1}));
    EXPECT_EQ(ListBytes(list), big);
}

TEST(CmdList, MergePutsTheSourceBytesFirstAndEmptiesTheSource) {
    FBCmdList page, overlay;
    FBCmdListInit(&page, kCmdPlain);
    FBCmdListInit(&overlay, kCmdPlain);
    const Bytes pageBytes = Pattern(50, 1), overlayBytes = Pattern(kFBCmdBufferSize - 10, 2);
    FBCmdListAddData(&page, pageBytes.data(), 50, 0);
    FBCmdListAddData(&overlay, overlayBytes.data(), static_cast<uint32_t>(overlayBytes.size()), 0);
    FBCmdListAddData(&overlay, pageBytes.data(), 20, 0);  // a second overlay buffer
    ASSERT_EQ(overlay.buffers.size(), 2u);

    ASSERT_EQ(FBCmdBufferMerge(&page, &overlay), 1);
    EXPECT_TRUE(overlay.buffers.empty());
    EXPECT_EQ(page.buffers.size(), 3u);
    const Bytes firstOfPage(pageBytes.begin(), pageBytes.begin() + 20);
    EXPECT_EQ(ListBytes(page), Join({overlayBytes, firstOfPage, pageBytes}));
    // New pieces still go after the page's own bytes.
    FBCmdListAddData(&page, "z", 1, 0);
    EXPECT_EQ(ListBytes(page).back(), 'z');
}

TEST(CmdList, MergeRefusesListsWithHeaders) {
    FBCmdList plain, headed;
    FBCmdListInit(&plain, kCmdPlain);
    FBCmdListInit(&headed, kCmdWithHeaders);
    FBCmdListAddData(&plain, "p", 1, 0);
    FBCmdListAddData(&headed, "h", 1, 0);
    EXPECT_EQ(FBCmdBufferMerge(&plain, &headed), 0);
    EXPECT_EQ(FBCmdBufferMerge(&headed, &plain), 0);
    EXPECT_EQ(ListBytes(plain), Bytes{'p'});
    EXPECT_EQ(Pieces(headed), (std::vector<Piece>{{Bytes{'h'}, 0}}));
}

TEST(CmdList, CopyTurnsRecordsIntoPlainBytesAndRefusesOtherFormats) {
    FBCmdList headed, plain;
    FBCmdListInit(&headed, kCmdWithHeaders);
    FBCmdListInit(&plain, kCmdPlain);
    const Bytes a = Pattern(30, 1), b = Pattern(kFBCmdBufferSize - 60, 2), c = Pattern(40, 3);
    FBCmdListAddData(&headed, a.data(), 30, 1);
    FBCmdListAddData(&headed, nullptr, 0, 2);
    FBCmdListAddData(&headed, b.data(), static_cast<uint32_t>(b.size()), 3);
    FBCmdListAddData(&headed, c.data(), 40, 4);
    ASSERT_EQ(headed.buffers.size(), 2u);
    FBCmdListAddData(&plain, "x", 1, 0);

    ASSERT_EQ(FBCmdListCopy(&plain, &headed), 1);
    EXPECT_EQ(ListBytes(plain), Join({Bytes{'x'}, a, b, c}));
    EXPECT_EQ(Pieces(headed).size(), 4u);  // the source is left as it was

    FBCmdList otherPlain, otherHeaded;
    FBCmdListInit(&otherPlain, kCmdPlain);
    FBCmdListInit(&otherHeaded, kCmdWithHeaders);
    EXPECT_EQ(FBCmdListCopy(&otherPlain, &plain), 0);
    EXPECT_EQ(FBCmdListCopy(&otherHeaded, &headed), 0);
    EXPECT_EQ(FBCmdListCopy(&otherHeaded, &plain), 0);
    EXPECT_TRUE(otherPlain.buffers.empty());
    EXPECT_TRUE(otherHeaded.buffers.empty());
}

using RecordedFile = TempFolderTest;

TEST_F(RecordedFile, RecordsReadBackAsPiecesWithTheirTags) {
    const sys::WString path = temp_.Join(u"rec.bin");
    const Bytes a = {0x68, 1, 2, 3, 4}, b = Pattern(300, 9);
    ASSERT_TRUE(WriteWholeFile(path, Join({Record(a, 0), Record({}, 0xABCD0001), Record(b, 77)})));

    FBCmdList headed;
    FBCmdListInit(&headed, kCmdWithHeaders);
    ASSERT_EQ(FBCmdBufferAddDataFromFile(&headed, path), 1);
    EXPECT_EQ(Pieces(headed), (std::vector<Piece>{{a, 0}, {Bytes{}, 0xABCD0001}, {b, 77}}));

    FBCmdList plain;
    FBCmdListInit(&plain, kCmdPlain);
    FBCmdListAddData(&plain, "q", 1, 0);
    ASSERT_EQ(FBCmdBufferAddDataFromFile(&plain, path), 1);
    EXPECT_EQ(ListBytes(plain), Join({Bytes{'q'}, a, b}));
}

TEST_F(RecordedFile, RecordOfLengthZeroAddsAnEmptyPieceWithItsTag) {
    const sys::WString path = temp_.Join(u"zero.bin");
    ASSERT_TRUE(WriteWholeFile(path, Bytes{0, 0, 0, 0, 0x2A, 0, 0, 0}));
    FBCmdList list;
    FBCmdListInit(&list, kCmdWithHeaders);
    ASSERT_EQ(FBCmdBufferAddDataFromFile(&list, path), 1);
    EXPECT_EQ(ListBytes(list), (Bytes{0, 0, 0, 0, 0x2A, 0, 0, 0}));
    EXPECT_EQ(Pieces(list), (std::vector<Piece>{{Bytes{}, 42}}));
}

TEST_F(RecordedFile, EmptyFileAddsNothingAndMissingFileFails) {
    const sys::WString path = temp_.Join(u"empty.bin");
    ASSERT_TRUE(WriteWholeFile(path, {}));
    FBCmdList list;
    FBCmdListInit(&list, kCmdWithHeaders);
    EXPECT_EQ(FBCmdBufferAddDataFromFile(&list, path), 1);
    EXPECT_EQ(FBCmdBufferAddDataFromFile(&list, temp_.Join(u"missing.bin")), 0);
    EXPECT_TRUE(list.buffers.empty());
}

TEST_F(RecordedFile, RecordLargerThanTheReadBufferIsReadWhole) {
    const sys::WString path = temp_.Join(u"big.bin");
    const Bytes big = Pattern(kFBCmdBufferSize + 4096, 3);
    ASSERT_TRUE(WriteWholeFile(path, Join({Record(big, 5), Record({1, 2}, 6)})));
    FBCmdList list;
    FBCmdListInit(&list, kCmdWithHeaders);
    ASSERT_EQ(FBCmdBufferAddDataFromFile(&list, path), 1);
    EXPECT_EQ(Pieces(list), (std::vector<Piece>{{big, 5}, {Bytes{1, 2}, 6}}));
}

TEST_F(RecordedFile, DamagedFilesKeepTheWholeRecordsBeforeTheDamageAndFail) {
    const Bytes good = Record({0x90, 0x91}, 3);
    struct Case {
        const char* what;
        Bytes tail;
        size_t goodRecords;
    } cases[] = {
        {"header cut short", Bytes{5, 0, 0}, 1},
        {"length one past the end", Join({Bytes{5, 0, 0, 0, 1, 0, 0, 0}, Bytes(4, 0xEE)}), 1},
        {"huge length", Join({Bytes{0xFF, 0xFF, 0xFF, 0xFF, 1, 0, 0, 0}, Bytes(64, 0xEE)}), 1},
        {"header cut short after two good records", Join({good, Bytes{1, 0, 0, 0, 2}}), 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const sys::WString path = temp_.Join(u"bad.bin");
        ASSERT_TRUE(WriteWholeFile(path, Join({good, c.tail})));
        for (uint32_t format : {uint32_t{kCmdPlain}, uint32_t{kCmdWithHeaders}}) {
            FBCmdList list;
            FBCmdListInit(&list, format);
            EXPECT_EQ(FBCmdBufferAddDataFromFile(&list, path), 0);
            const size_t goodRecords = c.goodRecords;
            if (format == kCmdWithHeaders) {
                EXPECT_EQ(Pieces(list), std::vector<Piece>(goodRecords, Piece{Bytes{0x90, 0x91}, 3}));
            } else {
                EXPECT_EQ(ListBytes(list).size(), 2 * goodRecords);
                EXPECT_EQ(ListBytes(list)[0], 0x90);
            }
        }
    }
}

TEST_F(RecordedFile, LengthExactlyToTheEndOfTheFileIsWhole) {
    const sys::WString path = temp_.Join(u"exact.bin");
    ASSERT_TRUE(WriteWholeFile(path, Record(Pattern(4, 1), 1)));
    FBCmdList list;
    FBCmdListInit(&list, kCmdWithHeaders);
    EXPECT_EQ(FBCmdBufferAddDataFromFile(&list, path), 1);
    EXPECT_EQ(Pieces(list), (std::vector<Piece>{{Pattern(4, 1), 1}}));
}

}  // namespace
