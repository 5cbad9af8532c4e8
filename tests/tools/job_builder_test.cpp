// Settings records at their spooled offsets, display-list pieces and the
// sequence of spooler calls of a built job.
#include "job/job_builder.h"

#include <gtest/gtest.h>

#include "pipeline/fb_records.h"

namespace {

uint32_t FieldAt(const FBInterface& record, size_t offset) {
    const auto& b = record.bytes;
    return uint32_t{b[offset]} | uint32_t{b[offset + 1]} << 8 | uint32_t{b[offset + 2]} << 16 |
           uint32_t{b[offset + 3]} << 24;
}

TEST(SettingsRecord, PutsEachSettingAtItsOffset) {
    JobSettings s;
    s.paperCode = 9;
    s.resolution = 600;
    s.outputResolution = 1200;
    s.colour = true;
    s.copies = 3;
    s.collate = true;
    s.scale = 150;
    s.landscape = true;
    s.rotate180 = true;
    s.scaleWithoutEnlarging = true;
    s.landscapeScale = true;
    s.duplexBinding = 2;
    s.posterTiles = 2;
    s.posterOverlap = 50;
    s.fields = {{244, 15}};
    const FBInterface r = MakeSettingsRecord(s, 0x8000);
    EXPECT_EQ(r.bytes.size(), 1676u);
    EXPECT_EQ(FieldAt(r, 84), 1u);     // landscape
    EXPECT_EQ(FieldAt(r, 88), 9u);     // A4
    EXPECT_EQ(FieldAt(r, 104), 3u);    // copies
    EXPECT_EQ(FieldAt(r, 124), 600u);  // rendering resolution
    EXPECT_EQ(FieldAt(r, 132), 1u);    // collate
    EXPECT_EQ(FieldAt(r, 176), 0x8000u);
    EXPECT_EQ(FieldAt(r, 180), 1200u);  // output resolution
    EXPECT_EQ(FieldAt(r, 188), 1u);     // colour
    EXPECT_EQ(FieldAt(r, 196), 1u);     // rotate by 180 degrees
    // A4's printable area is 2380 x 3407 three-hundredths of an inch.
    EXPECT_EQ(FieldAt(r, 204), 4760u);
    EXPECT_EQ(FieldAt(r, 208), 6814u);
    // Landscape scale 0x1, poster 0x4, without enlarging 0x10, duplex request 0x100.
    EXPECT_EQ(FieldAt(r, 792), 0x115u);
    EXPECT_EQ(FieldAt(r, 796), 150u);
    EXPECT_EQ(FieldAt(r, 816), 1u);  // two tiles a side: one extra
    EXPECT_EQ(FieldAt(r, 820), 50u);
    EXPECT_EQ(FieldAt(r, 1352), 2u);  // short edge
    EXPECT_EQ(FieldAt(r, 244), 15u);  // a raw field
}

TEST(SettingsRecord, DefaultsAndFinishingOptions) {
    JobSettings s;
    const FBInterface plain = MakeSettingsRecord(s, 0x4);
    EXPECT_EQ(FieldAt(plain, 176), 0x4u);
    EXPECT_EQ(FieldAt(plain, 104), 1u);
    EXPECT_EQ(FieldAt(plain, 796), 100u);
    EXPECT_EQ(FieldAt(plain, 792), 0u);
    EXPECT_EQ(FieldAt(plain, 180), 600u);  // output resolution follows the rendering one
    EXPECT_EQ(FieldAt(plain, 816), 0u);

    s.pagesPerSheet = 4;
    s.booklet = true;
    s.pageOrder = 1;
    const FBInterface finishing = MakeSettingsRecord(s, 0x4);
    EXPECT_EQ(FieldAt(finishing, 792), 0x2u | 0x8u | 0x200u);
    EXPECT_EQ(FieldAt(finishing, 800), 4u);
    EXPECT_EQ(FieldAt(finishing, 1360), 1u);
}

TEST(SettingsRecord, PrintableSizeAgreesWithThePipelinesPageRecord) {
    for (uint32_t resolution : {300u, 600u, 1200u}) {
        for (uint32_t paper : {1u, 5u, 9u, 11u, 70u}) {
            JobSettings s;
            s.paperCode = paper;
            s.resolution = resolution;
            FBPage page;
            FBPageSetInfo(&page, MakeSettingsRecord(s, 0x8000), 1);
            uint32_t w = 0, h = 0;
            PrintableSize(s, &w, &h);
            EXPECT_EQ(page.printableWidth, w) << paper << " at " << resolution;
            EXPECT_EQ(page.printableHeight, h) << paper << " at " << resolution;
            EXPECT_GE(w, 256u);
        }
    }
    JobSettings own;
    own.printableWidth = 1000;
    own.printableHeight = 2000;
    uint32_t w = 0, h = 0;
    PrintableSize(own, &w, &h);
    EXPECT_EQ(w, 1000u);
    EXPECT_EQ(h, 2000u);
    JobSettings unknown;
    unknown.paperCode = 12345;  // the A4 fallback
    PrintableSize(unknown, &w, &h);
    EXPECT_EQ(w, 4760u);
}

std::vector<uint8_t> Concatenated(const std::vector<std::vector<uint8_t>>& buffers) {
    std::vector<uint8_t> all;
    for (const auto& b : buffers) all.insert(all.end(), b.begin() + 4, b.end());
    return all;
}

TEST(DisplayListPieces, CutAtRecordStartsWithATag) {
    DLWriter w;
    for (int i = 0; i < 100; ++i) {
        w.SetRow(static_cast<uint16_t>(i));  // 3 bytes
        w.Box16(1, 2);                       // 5 bytes
    }
    const auto buffers = DisplayListBuffers(w, 20, 0x01020304);
    // 20 bytes hold two pairs (16 bytes) plus one more SET_ROW (19 bytes).
    ASSERT_GE(buffers.size(), 2u);
    EXPECT_EQ(buffers[0].size(), 4u + 19);
    EXPECT_EQ((std::vector<uint8_t>(buffers[0].begin(), buffers[0].begin() + 4)),
              (std::vector<uint8_t>{0x04, 0x03, 0x02, 0x01}));
    EXPECT_EQ(buffers[1][4], 0x54);  // the next piece starts with the box
    EXPECT_EQ(Concatenated(buffers), w.Bytes());
    // A record longer than the piece size travels alone.
    DLWriter big;
    big.Box8(1, 1);
    big.Glyph(0, 10, 32, std::vector<uint8_t>(40, 0xFF));
    big.Box8(1, 1);
    const auto pieces = DisplayListBuffers(big, 16);
    ASSERT_EQ(pieces.size(), 3u);
    EXPECT_EQ(pieces[1].size(), 4u + 13 + 40);
}

TEST(DisplayListPieces, NeverMakeABufferThatLooksLikeASettingsRecord) {
    // Two records of 1000 and 672 bytes would make a 1676-byte buffer.
    DLWriter two;
    two.Raw(std::vector<uint8_t>(1000, 0x58));
    two.Raw(std::vector<uint8_t>(672, 0x58));
    auto buffers = DisplayListBuffers(two, 4096);
    ASSERT_EQ(buffers.size(), 2u);
    EXPECT_EQ(buffers[0].size(), 1004u);
    EXPECT_EQ(Concatenated(buffers), two.Bytes());

    // One record of 1672 bytes gets a no-op byte after it.
    DLWriter one;
    one.Raw(std::vector<uint8_t>(1672, 0x58));
    buffers = DisplayListBuffers(one, 4096);
    ASSERT_EQ(buffers.size(), 1u);
    EXPECT_EQ(buffers[0].size(), 1677u);
    EXPECT_EQ(buffers[0].back(), 0x00);
}

TEST(SpoolJobBuilder, RecordsTheSpoolersCallsInOrder) {
    JobSettings s;
    SpoolJobBuilder job("Doc");
    job.StartDoc(s);
    for (int page = 0; page < 2; ++page) {
        job.StartPage(s);
        DLWriter w;
        w.Box8(1, 1);
        job.AddDisplayList(w);
        job.EndPage();
    }
    job.EndDoc();
    EXPECT_EQ(job.Pages(), 2u);
    const auto& r = job.Job().records;
    const std::vector<SpoolCall> calls = {
        SpoolCall::StartDoc,     SpoolCall::WritePrinter, SpoolCall::StartPage, SpoolCall::WritePrinter,
        SpoolCall::WritePrinter, SpoolCall::EndPage,      SpoolCall::StartPage, SpoolCall::WritePrinter,
        SpoolCall::WritePrinter, SpoolCall::EndPage,      SpoolCall::EndDoc};
    ASSERT_EQ(r.size(), calls.size());
    for (size_t i = 0; i < calls.size(); ++i) EXPECT_EQ(r[i].call, calls[i]) << i;
    EXPECT_EQ(r[0].data, (std::vector<uint8_t>{'D', 'o', 'c'}));
    ASSERT_EQ(r[1].data.size(), 1676u);
    EXPECT_EQ(r[1].data[176], 0x04);  // start of document
    ASSERT_EQ(r[3].data.size(), 1676u);
    EXPECT_EQ(r[3].data[177], 0x80);  // 0x8000: start of page
    EXPECT_EQ(r[4].data, (std::vector<uint8_t>{0, 0, 0, 0, 0x53, 1, 1}));
    std::string error;
    EXPECT_TRUE(CheckSpoolOrder(job.Job(), &error)) << error;
}

}  // namespace
