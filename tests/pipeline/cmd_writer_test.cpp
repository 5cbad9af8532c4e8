#include "pipeline/cmd_writer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/playback_test_support.h"
#include "pipeline/cmd_list_test_support.h"
#include "support/temp_folder.h"

namespace {

using namespace cmdlist_test;
using zebl_test::TempFolderTest;

FBCmdList PlainList() {
    FBCmdList list;
    FBCmdListInit(&list, kCmdPlain);
    return list;
}

// Plays a plain list into a grey band 64 pixels wide, `rows` rows high,
// through the engine's interpreter, and returns the band as text rows
// ('#' drawn, '.' white).
std::vector<std::string> Draw(const FBCmdList& list, uint32_t rows = 24) {
    std::vector<Bytes> chunks;
    for (const DLChunk& c : FBCmdListChunks(&list)) chunks.emplace_back(c.data, c.data + c.size);
    playback_test::Band band(false, 64, rows);
    band.Play(chunks);
    EXPECT_TRUE(band.GuardsIntact());
    return band.Rows(64);
}

// The picture of black boxes {top, left, bottom, right} (inclusive) on a
// white band.
struct Box {
    uint32_t top, left, bottom, right;
};
std::vector<std::string> Picture(std::initializer_list<Box> boxes, uint32_t rows = 24) {
    std::vector<std::string> picture(rows, std::string(64, '.'));
    for (const Box& b : boxes)
        for (uint32_t r = b.top; r <= b.bottom; ++r)
            for (uint32_t c = b.left; c <= b.right; ++c) picture[r][c] = '#';
    return picture;
}

TEST(CmdWriter, CommandBytes) {
    FBCmdList list = PlainList();
    ASSERT_EQ(FBCmdWriteBasePos(&list, 0x01020304, 5), 1);
    EXPECT_EQ(ListBytes(list), (Bytes{0x68, 0x04, 0x03, 0x02, 0x01, 0x69, 0x05, 0, 0, 0}));

    list = PlainList();
    ASSERT_EQ(FBCmdWriteSetScale(&list, 100, 50, 1), 1);
    EXPECT_EQ(ListBytes(list), (Bytes{0x82, 100, 0, 0, 0, 50, 0, 0, 0, 0x83, 1, 0, 0, 0}));

    list = PlainList();
    ASSERT_EQ(FBCmdWriteDrawRect(&list, 10, 0x1234, 13, 0x1239), 1);
    EXPECT_EQ(ListBytes(list), (Bytes{0x75, 0xF0, 0x00, 0x00, 0x00, 0x81,  // copy, black
                                      0x60, 0x0A, 0x00,                    // row 10
                                      0x62, 0x34, 0x12,                    // column 0x1234
                                      0x54, 0x03, 0x00, 0x05, 0x00}));     // 3 rows, 5 columns
}

TEST(CmdWriter, RectangleDrawsItsRowsAndColumnsEndExclusive) {
    FBCmdList list = PlainList();
    FBCmdWriteDrawRect(&list, 2, 3, 5, 8);
    EXPECT_EQ(Draw(list), Picture({{2, 3, 4, 7}}));
}

TEST(CmdWriter, RectangleWithoutAreaWritesNothing) {
    FBCmdList list = PlainList();
    EXPECT_EQ(FBCmdWriteDrawRect(&list, 5, 3, 5, 8), 1);
    EXPECT_EQ(FBCmdWriteDrawRect(&list, 5, 3, 2, 8), 1);  // would wrap to 65533 rows
    EXPECT_EQ(FBCmdWriteDrawRect(&list, 2, 8, 5, 3), 1);
    EXPECT_TRUE(ListBytes(list).empty());
}

TEST(CmdWriter, BasePositionShiftsWhatFollows) {
    FBCmdList shifted = PlainList();
    FBCmdWriteBasePos(&shifted, 5, 8);
    FBCmdWriteDrawRect(&shifted, 1, 1, 3, 4);
    FBCmdWriteBasePos(&shifted, 0, 0);
    FBCmdWriteDrawRect(&shifted, 20, 0, 21, 1);
    FBCmdList plain = PlainList();
    FBCmdWriteDrawRect(&plain, 6, 9, 8, 12);
    FBCmdWriteDrawRect(&plain, 20, 0, 21, 1);
    EXPECT_EQ(Draw(shifted), Draw(plain));
    EXPECT_EQ(Draw(shifted), Picture({{6, 9, 7, 11}, {20, 0, 20, 0}}));
}

TEST(CmdWriter, ScaleOfTwoHundredPercentEqualsADoubledRectangle) {
    FBCmdList scaled = PlainList();
    FBCmdWriteSetScale(&scaled, 100, 200, 1);  // the orientation has no effect
    FBCmdWriteDrawRect(&scaled, 1, 2, 3, 5);
    FBCmdList doubled = PlainList();
    FBCmdWriteDrawRect(&doubled, 2, 4, 6, 10);
    EXPECT_EQ(Draw(scaled), Draw(doubled));
    EXPECT_EQ(Draw(scaled), Picture({{2, 4, 5, 9}}));
}

TEST(CmdWriter, BorderDrawsFourBarsOfTwiceTheThicknessPlusOne) {
    FBCmdList list = PlainList();
    ASSERT_EQ(FBCmdWriteDrawBorder(&list, 5, 10, 15, 40, 2), 1);
    // Bars centred on rows 5 and 15 and columns 10 and 40, 5 dots wide.
    EXPECT_EQ(Draw(list), Picture({{3, 8, 17, 12},      // left
                                   {3, 8, 7, 42},       // top
                                   {13, 8, 17, 42},     // bottom
                                   {3, 38, 17, 42}}));  // right
}

TEST(CmdWriter, BorderAtThePageEdgeIsPulledInsideThePage) {
    FBCmdList list = PlainList();
    FBCmdWriteDrawBorder(&list, 0, 1, 10, 20, 3);  // r0, c0 raised to 3
    EXPECT_EQ(Draw(list), Picture({{0, 0, 13, 6}, {0, 0, 6, 23}, {7, 0, 13, 23}, {0, 17, 13, 23}}));
}

using Recorded = TempFolderTest;

TEST_F(Recorded, WatermarkIsBracketedAndFollowsTheOrientation) {
    const sys::WString portrait = temp_.Join(u"x.wmp"), landscape = temp_.Join(u"x.wml");
    ASSERT_TRUE(WriteWholeFile(portrait, Join({Record({0x60, 1, 0}, 4), Record({0x62, 2, 0}, 4)})));
    ASSERT_TRUE(WriteWholeFile(landscape, Record({0x58, 0x58}, 4)));

    FBCmdList list = PlainList();
    ASSERT_EQ(FBCmdLoadWatermark(&list, portrait, landscape, 0, 3, 0), 1);
    EXPECT_EQ(ListBytes(list), (Bytes{0x90, 0x60, 1, 0, 0x62, 2, 0, 0x91}));

    list = PlainList();
    ASSERT_EQ(FBCmdLoadWatermark(&list, portrait, landscape, 1, 3, 0), 1);
    EXPECT_EQ(ListBytes(list), (Bytes{0x90, 0x58, 0x58, 0x91}));

    FBCmdList headed;
    FBCmdListInit(&headed, kCmdWithHeaders);
    ASSERT_EQ(FBCmdLoadWatermark(&headed, portrait, landscape, 1, 1, 1), 1);
    EXPECT_EQ(Pieces(headed),
              (std::vector<Piece>{{Bytes{0x90}, 0}, {Bytes{0x58, 0x58}, 4}, {Bytes{0x91}, 0}}));
}

TEST_F(Recorded, WatermarkOnFirstPageOnlySkipsLaterPages) {
    const sys::WString portrait = temp_.Join(u"x.wmp");
    ASSERT_TRUE(WriteWholeFile(portrait, Record({0x58, 0}, 0)));
    for (uint32_t page : {1u, 2u, 3u}) {
        FBCmdList list = PlainList();
        EXPECT_EQ(FBCmdLoadWatermark(&list, portrait, u"", 0, page, 1), 1);
        EXPECT_EQ(ListBytes(list).empty(), page != 1) << "page " << page;
    }
    FBCmdList list = PlainList();
    EXPECT_EQ(FBCmdLoadWatermark(&list, portrait, u"", 1, 1, 0), 1);  // no landscape file
    EXPECT_TRUE(list.buffers.empty());
    EXPECT_EQ(FBCmdLoadWatermark(nullptr, portrait, u"", 0, 1, 0), 0);
}

TEST_F(Recorded, MissingOrDamagedWatermarkStillEndsTheWatermark) {
    FBCmdList list = PlainList();
    EXPECT_EQ(FBCmdLoadWatermark(&list, temp_.Join(u"none.wmp"), u"", 0, 1, 0), 0);
    EXPECT_EQ(ListBytes(list), (Bytes{0x90, 0x91}));

    const sys::WString damaged = temp_.Join(u"bad.wmp");
    ASSERT_TRUE(WriteWholeFile(damaged, Join({Record({0x58, 0}, 0), Bytes{9, 0, 0, 0, 0, 0, 0, 0, 1}})));
    list = PlainList();
    EXPECT_EQ(FBCmdLoadWatermark(&list, damaged, u"", 0, 1, 0), 0);
    EXPECT_EQ(ListBytes(list), (Bytes{0x90, 0x58, 0, 0x91}));
}

TEST_F(Recorded, OverlayPlaysFirstUnderThePage) {
    const sys::WString overlay = temp_.Join(u"form.ovl");
    FBCmdList recorded;
    FBCmdListInit(&recorded, kCmdWithHeaders);
    FBCmdWriteDrawRect(&recorded, 0, 0, 10, 40);
    ASSERT_TRUE(WriteWholeFile(overlay, ListBytes(recorded)));

    FBCmdList page = PlainList();
    // White over part of the overlay: only visible if the overlay comes first.
    FBCmdListAddData(
        &page, Bytes{0x75, 0xF0, 0xFF, 0xFF, 0xFF, 0x81, 0x60, 2, 0, 0x62, 5, 0, 0x54, 3, 0, 10, 0}.data(),
        17, 1);
    const Bytes pageBytes = ListBytes(page);
    ASSERT_EQ(FBCmdLoadOverlay(&page, overlay), 1);
    EXPECT_EQ(ListBytes(page), Join({Pieces(recorded)[0].data, pageBytes}));

    std::vector<std::string> expected = Picture({{0, 0, 9, 39}});
    for (int r = 2; r < 5; ++r) expected[r].replace(5, 10, 10, '.');
    EXPECT_EQ(Draw(page), expected);
}

TEST_F(Recorded, OverlayThatCannotBeUsedLeavesThePageAlone) {
    FBCmdList page = PlainList();
    FBCmdListAddData(&page, "ab", 2, 0);
    EXPECT_EQ(FBCmdLoadOverlay(&page, u""), 1);
    EXPECT_EQ(FBCmdLoadOverlay(&page, temp_.Join(u"missing.ovl")), 0);
    EXPECT_EQ(ListBytes(page), (Bytes{'a', 'b'}));

    const sys::WString overlay = temp_.Join(u"form.ovl");
    ASSERT_TRUE(WriteWholeFile(overlay, Record({0x58, 0}, 0)));
    FBCmdList headed;
    FBCmdListInit(&headed, kCmdWithHeaders);
    EXPECT_EQ(FBCmdLoadOverlay(&headed, overlay), 0);
    EXPECT_TRUE(headed.buffers.empty());
}

}  // namespace
