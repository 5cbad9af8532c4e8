// The opcode table and the sizes of records with contents, worked out by
// hand from the record layouts.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "engine/display_list.h"
#include "playback_test_support.h"

namespace {

using playback_test::DL;

size_t Size(const DL& record, bool colour = false) {
    const auto& b = record.bytes();
    return DLOperandSize(b[0], b.data() + 1, b.size() - 1, colour);
}

TEST(DisplayList, TableHoldsEachOpcodeOnceWithItsOperandSize) {
    std::set<uint8_t> seen;
    int entries = 0;
    for (int v = 0; v < 256; ++v) {
        const DLOpcodeInfo* info = DLFindOpcode(static_cast<uint8_t>(v));
        if (!info) continue;
        ++entries;
        EXPECT_EQ(info->value, v);
        EXPECT_EQ(std::string(info->name).rfind("DL_", 0), 0u);
    }
    EXPECT_EQ(entries, 41);
    EXPECT_EQ(DLFindOpcode(DL_SET_ROP_COLOR)->operandSize, 5);
    EXPECT_EQ(DLFindOpcode(DL_SET_HATCH)->operandSize, 12);
    EXPECT_EQ(DLFindOpcode(DL_SET_SCALE)->operandSize, 8);
    EXPECT_STREQ(DLFindOpcode(112)->name, "DL_SKIP1");
    EXPECT_STREQ(DLFindOpcode(114)->name, "DL_SET_COLOR");
    EXPECT_EQ(DLFindOpcode(DL_GLYPH)->operandSize, kDLVariable);
}

TEST(DisplayList, FixedRecordsNeedTheirOperandsInTheChunk) {
    const uint8_t box16[] = {DL_BOX16, 1, 0, 2};
    EXPECT_EQ(DLOperandSize(box16[0], box16 + 1, 3, false), kDLDoesNotFit);
    EXPECT_EQ(DLOperandSize(box16[0], box16 + 1, 4, false), 4u);
    EXPECT_EQ(DLOperandSize(0xFF, nullptr, 0, false), 0u);  // not an opcode: one byte
}

TEST(DisplayList, BitmapAndGlyphSizesUsePaddedRows) {
    // 3 rows of 33 pixels: 8 bytes each.
    DL bitmap;
    bitmap.Op(DL_DEFINE_BITMAP).U8(0).U16(5).U16(3).U16(33).Bytes(std::vector<uint8_t>(24));
    EXPECT_EQ(Size(bitmap), 7u + 24u);
    // Glyph offset 30, width 3: 33 bits -> 8 bytes per row, 2 rows.
    DL glyph;
    glyph.Glyph(30, 2, 3, std::vector<uint8_t>(16));
    EXPECT_EQ(Size(glyph), 12u + 16u);
    DL shortGlyph;
    shortGlyph.Glyph(30, 2, 3, std::vector<uint8_t>(15));
    EXPECT_EQ(Size(shortGlyph), kDLDoesNotFit);
}

TEST(DisplayList, BrushSizesByFormatAndDevice) {
    DL f1, f0, raw;
    f1.Op(DL_DEFINE_BRUSH).U8(1).U32(0).Bytes(std::vector<uint8_t>(136));
    f0.Op(DL_DEFINE_BRUSH).U8(0).U32(0).Bytes(std::vector<uint8_t>(128));
    raw.Op(DL_DEFINE_BRUSH).U8(7).U32(0).Bytes(std::vector<uint8_t>(4096));
    EXPECT_EQ(Size(f1), 141u);
    EXPECT_EQ(Size(f0), 133u);
    EXPECT_EQ(Size(raw, false), 1029u);
    EXPECT_EQ(Size(raw, true), 4101u);
}

DL ImageHeader(uint8_t lead, uint8_t bpp, uint8_t palette, uint16_t rows, uint16_t width) {
    DL d;
    d.Op(DL_STRETCH_IMAGE).U8(lead).U8(bpp).U8(palette).U8(0).U16(rows).U16(width).U16(1).U16(1);
    return d;
}

TEST(DisplayList, ImageSizeIsHeaderPaletteAndPaddedRows) {
    struct Case {
        uint8_t lead, bpp, palette;
        uint16_t rows, width;
        size_t body;
    } cases[] = {
        {0, 1, 1, 2, 33, 8 + 2 * 8},    // 1 bit: 33 pixels -> 8 bytes
        {3, 1, 0, 1, 29, 4},            // lead counts: 32 pixels -> 4 bytes
        {0, 4, 1, 3, 9, 64 + 3 * 8},    // 4 bits: 36 bits -> 8 bytes
        {0, 8, 1, 2, 5, 1024 + 2 * 8},  // 8 bits: 5 + 3 rounded down to 4 -> 8
        {0, 8, 0, 2, 4, 2 * 4},         // 8 bits: (4 + 3) & ~3 = 4
        {0, 24, 1, 2, 3, 2 * 12},       // 24 bits: 4 bytes a pixel, never a palette
        {0, 16, 1, 5, 100, 0},          // other depths: no palette, no rows
    };
    for (const Case& c : cases) {
        DL d = ImageHeader(c.lead, c.bpp, c.palette, c.rows, c.width);
        d.Bytes(std::vector<uint8_t>(c.body));
        EXPECT_EQ(Size(d), 12u + c.body) << int(c.bpp) << " bpp, width " << c.width;
        DL shortRecord = ImageHeader(c.lead, c.bpp, c.palette, c.rows, c.width);
        if (c.body) {
            shortRecord.Bytes(std::vector<uint8_t>(c.body - 1));
            EXPECT_EQ(Size(shortRecord), kDLDoesNotFit);
        }
    }
    DLImage image;
    DL d = ImageHeader(0, 24, 0, 2, 3);
    d.Bytes(std::vector<uint8_t>(24));
    ASSERT_TRUE(DLParseImage(d.bytes().data() + 1, d.size() - 1, &image));
    EXPECT_EQ(image.srcStride, 12u);
    EXPECT_EQ(image.palette, nullptr);
}

TEST(DisplayList, PathSizeIsPointsPlusCountsWhenThereAreSeveralSubpaths) {
    auto path = [](uint8_t words, uint32_t subpaths, uint32_t points, size_t body) {
        DL d;
        d.Op(DL_FILL_PATH).U16(20).U8(words).U8(0).U32(0).U32(0).U32(9).U32(9).U32(subpaths).U32(points);
        d.Bytes(std::vector<uint8_t>(body));
        return d;
    };
    EXPECT_EQ(Size(path(2, 1, 5, 20)), 28u + 20u);       // int16 points, no counts
    EXPECT_EQ(Size(path(4, 3, 5, 40 + 12)), 28u + 52u);  // int32 points, three counts
    EXPECT_EQ(Size(path(4, 3, 5, 40 + 11)), kDLDoesNotFit);
    EXPECT_EQ(Size(path(2, 0xFFFFFFFF, 0xFFFFFFFF, 8)), kDLDoesNotFit);  // huge counts
    DLPath parsed;
    DL d = path(2, 2, 3, 12 + 8);
    ASSERT_TRUE(DLParsePath(d.bytes().data() + 1, d.size() - 1, &parsed));
    EXPECT_EQ(parsed.counts, parsed.pointData + 12);
}

TEST(DisplayList, HugeDeclaredSizesDoNotWrap) {
    DL bitmap;
    bitmap.Op(DL_DEFINE_BITMAP).U8(0).U16(1).U16(0xFFFF).U16(0xFFFF);
    EXPECT_EQ(Size(bitmap), kDLDoesNotFit);
    DL image = ImageHeader(0xFF, 24, 0, 0xFFFF, 0xFFFF);
    EXPECT_EQ(Size(image), kDLDoesNotFit);
}

}  // namespace
