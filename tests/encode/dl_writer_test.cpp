// The display-list encoders against bytes worked out by hand from the record
// format, and every record's length against the opcode table's size rule.
#include "encode/dl_writer.h"

#include <gtest/gtest.h>

#include <functional>

#include "engine/display_list.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Encode(const std::function<void(DLWriter&)>& write) {
    DLWriter w;
    write(w);
    return w.Bytes();
}

// Each record must be exactly as long as the playback's size rule says, so
// that the interpreter and the encoder walk the list the same way.
void ExpectRecordsMatchOpcodeTable(const DLWriter& w, bool colourDevice) {
    const Bytes& bytes = w.Bytes();
    const auto& starts = w.RecordStarts();
    for (size_t i = 0; i < starts.size(); ++i) {
        const size_t end = i + 1 < starts.size() ? starts[i + 1] : bytes.size();
        const uint8_t opcode = bytes[starts[i]];
        ASSERT_NE(DLFindOpcode(opcode), nullptr) << "record " << i;
        const size_t operands =
            DLOperandSize(opcode, bytes.data() + starts[i] + 1, bytes.size() - starts[i] - 1, colourDevice);
        EXPECT_EQ(operands, end - starts[i] - 1)
            << "record " << i << " opcode " << int(opcode) << " (" << DLFindOpcode(opcode)->name << ")";
    }
}

TEST(DLWriter, PositionRecords) {
    EXPECT_EQ(Encode([](DLWriter& w) { w.SetRow(0x1234); }), (Bytes{0x60, 0x34, 0x12}));
    EXPECT_EQ(Encode([](DLWriter& w) { w.MoveRow(-2); }), (Bytes{0x61, 0xFE}));
    EXPECT_EQ(Encode([](DLWriter& w) { w.SetColumn(300); }), (Bytes{0x62, 0x2C, 0x01}));
    EXPECT_EQ(Encode([](DLWriter& w) { w.MoveColumn(5); }), (Bytes{0x63, 0x05}));
    EXPECT_EQ(Encode([](DLWriter& w) { w.SetSpanEnd(0x0102); }), (Bytes{0x64, 0x02, 0x01}));
    EXPECT_EQ(Encode([](DLWriter& w) { w.MoveSpanEnd(-1); }), (Bytes{0x65, 0xFF}));
    EXPECT_EQ(Encode([](DLWriter& w) { w.SetHeight(7); }), (Bytes{0x66, 0x07, 0x00}));
    EXPECT_EQ(Encode([](DLWriter& w) { w.MoveHeight(-128); }), (Bytes{0x67, 0x80}));
    EXPECT_EQ(Encode([](DLWriter& w) { w.SetRowOrigin(0x01020304); }), (Bytes{0x68, 0x04, 0x03, 0x02, 0x01}));
    EXPECT_EQ(Encode([](DLWriter& w) { w.SetColumnOrigin(70000); }), (Bytes{0x69, 0x70, 0x11, 0x01, 0x00}));
}

TEST(DLWriter, FillRecords) {
    EXPECT_EQ(Encode([](DLWriter& w) { w.Box8(3, 200); }), (Bytes{0x53, 0x03, 0xC8}));
    EXPECT_EQ(Encode([](DLWriter& w) { w.Box16(0x0102, 0x0304); }), (Bytes{0x54, 0x02, 0x01, 0x04, 0x03}));
    EXPECT_EQ(Encode([](DLWriter& w) { w.Span(3); }), (Bytes{0x55, 0x55, 0x55}));
    EXPECT_EQ(Encode([](DLWriter& w) { w.SpanStep(-1, 2); }), (Bytes{0x56, 0xFF, 0x02}));
    EXPECT_EQ(Encode([](DLWriter& w) { w.VSpan(2); }), (Bytes{0x57, 0x57}));
}

TEST(DLWriter, ColourAndRopRecords) {
    // 0x81BBGGRR with red in the low byte.
    EXPECT_EQ(SolidColourCode(0x10, 0x20, 0x30), 0x81302010u);
    EXPECT_EQ(Encode([](DLWriter& w) { w.SetColour(SolidColourCode(0x10, 0x20, 0x30)); }),
              (Bytes{0x71, 0x10, 0x20, 0x30, 0x81}));
    EXPECT_EQ(Encode([](DLWriter& w) { w.SetColour(HatchColourCode(4), true); }),
              (Bytes{0x72, 0x04, 0x00, 0x00, 0x85}));
    EXPECT_EQ(Encode([](DLWriter& w) { w.SetRop(0xF0); }), (Bytes{0x73, 0xF0}));
    EXPECT_EQ(Encode([](DLWriter& w) { w.SetLineStyle(2); }), (Bytes{0x74, 0x02}));
    // The black rectangle command the pipeline writes itself.
    EXPECT_EQ(Encode([](DLWriter& w) { w.SetRopColour(0xF0, SolidColourCode(0, 0, 0)); }),
              (Bytes{0x75, 0xF0, 0x00, 0x00, 0x00, 0x81}));
    EXPECT_EQ(Encode([](DLWriter& w) { w.SetStylePhase(0x0A0B); }), (Bytes{0x76, 0x0B, 0x0A}));
    EXPECT_EQ(Encode([](DLWriter& w) { w.SetHatch(HatchColourCode(2), Rgb(255, 0, 0), Rgb(255, 255, 255)); }),
              (Bytes{0x81, 0x02, 0x00, 0x00, 0x85, 0x00, 0x00, 0xFF, 0x00, 0xFF, 0xFF, 0xFF, 0x00}));
    EXPECT_EQ(Encode([](DLWriter& w) { w.SetColour(DownloadedBrushCode(9)); }),
              (Bytes{0x71, 0x09, 0x00, 0x00, 0x91}));
    EXPECT_EQ(Encode([](DLWriter& w) { w.SetColour(kColourCodeHollow); }),
              (Bytes{0x71, 0x00, 0x00, 0x00, 0x86}));
}

TEST(DLWriter, ScaleSkipBracketAndClipRecords) {
    // The scale command the pipeline writes: divisor 100, multiplier 150.
    EXPECT_EQ(Encode([](DLWriter& w) { w.SetScale(100, 150); }), (Bytes{0x82, 100, 0, 0, 0, 150, 0, 0, 0}));
    EXPECT_EQ(Encode([](DLWriter& w) { w.Skip4(1); }), (Bytes{0x83, 0x01, 0x00, 0x00, 0x00}));
    EXPECT_EQ(Encode([](DLWriter& w) { w.Skip1(9); }), (Bytes{0x58, 0x09}));
    EXPECT_EQ(Encode([](DLWriter& w) { w.Skip1(9, true); }), (Bytes{0x70, 0x09}));
    EXPECT_EQ(Encode([](DLWriter& w) {
                  w.WatermarkBegin();
                  w.WatermarkEnd();
              }),
              (Bytes{0x90, 0x91}));
    EXPECT_EQ(Encode([](DLWriter& w) {
                  w.PaintPath();
                  w.ClipMode(3);
              }),
              (Bytes{0xA1, 0xAF, 0x03}));
}

TEST(DLWriter, LineRecordsKeepTheirOperandOrder) {
    // DL_LINE_TO is row then column, DL_LINE column then row.
    EXPECT_EQ(Encode([](DLWriter& w) { w.LineTo(0x0010, 0x0020); }), (Bytes{0x50, 0x10, 0x00, 0x20, 0x00}));
    EXPECT_EQ(Encode([](DLWriter& w) { w.LineRel(-1, 1); }), (Bytes{0x51, 0xFF, 0x01}));
    EXPECT_EQ(Encode([](DLWriter& w) { w.Line(5, 6); }), (Bytes{0x52, 0x05, 0x00, 0x06, 0x00}));
}

TEST(DLWriter, GlyphAndBitmapRecords) {
    // bitOffset 3 + width 6 = 9 bits: one 4-byte row each.
    const Bytes data = {0xAA, 0, 0, 0, 0x55, 0, 0, 0};
    Bytes expected = {0x05, 0x03, 0, 0, 0, 0x02, 0x00, 0x06, 0x00, 0, 0, 0, 0};
    expected.insert(expected.end(), data.begin(), data.end());
    EXPECT_EQ(Encode([&](DLWriter& w) { EXPECT_TRUE(w.Glyph(3, 2, 6, data)); }), expected);

    // Width 33 needs 8 bytes per row.
    const Bytes row(8, 0xF0);
    expected = {0x01, 0x00, 0x02, 0x00, 0x01, 0x00, 0x21, 0x00};
    expected.insert(expected.end(), row.begin(), row.end());
    EXPECT_EQ(Encode([&](DLWriter& w) { EXPECT_TRUE(w.DefineBitmap(2, 1, 33, row)); }), expected);
    EXPECT_EQ(Encode([](DLWriter& w) { w.DrawBitmap(0x0FFF); }), (Bytes{0x40, 0xFF, 0x0F}));
}

TEST(DLWriter, RefusesDataThatDoesNotMatchItsHeader) {
    DLWriter w;
    EXPECT_FALSE(w.Glyph(0, 2, 8, Bytes(4)));            // needs 8 bytes
    EXPECT_FALSE(w.Glyph(30, 1, 3, Bytes(4)));           // 33 bits need 8 bytes
    EXPECT_FALSE(w.DefineBitmap(4096, 1, 8, Bytes(4)));  // slots end at 4095
    EXPECT_FALSE(w.DefineBrushPattern(1, 0, 0, Bytes(127)));
    DLImageRecord image;
    image.bitsPerPixel = 8;
    image.srcRows = 1;
    image.srcWidth = 5;
    image.pixels = Bytes(5);  // a row of 5 pixels takes 8 bytes
    EXPECT_FALSE(w.BltImage(image));
    image.pixels = Bytes(8);
    image.palette = Bytes(8);  // 8-bit palettes hold 1024 bytes
    EXPECT_FALSE(w.StretchImage(image));
    DLPathRecord path;
    path.subpaths = {{{0, 0}, {40000, 0}, {0, 5}}};  // 40000 needs 32-bit points
    EXPECT_FALSE(w.FillPath(path));
    DLPathRecord empty;
    EXPECT_FALSE(w.SetPath(empty));
    EXPECT_TRUE(w.Empty());
    EXPECT_TRUE(w.RecordStarts().empty());
}

TEST(DLWriter, BrushRecords) {
    Bytes pattern(128);
    pattern[0] = 0x80;
    Bytes expected = {0x02, 0x01, 0x07, 0x00, 0x00, 0x00,               // format 1, slot 7
                      0x03, 0x02, 0x01, 0x00, 0xFF, 0xEE, 0xDD, 0x00};  // B, G, R, 0 twice
    expected.insert(expected.end(), pattern.begin(), pattern.end());
    EXPECT_EQ(Encode([&](DLWriter& w) {
                  EXPECT_TRUE(w.DefineBrushPattern(7, Rgb(1, 2, 3), Rgb(0xDD, 0xEE, 0xFF), pattern));
              }),
              expected);
    // The slot operand is 32 bits wide even though only its low byte counts.
    expected = {0x02, 0x00, 0x05, 0x01, 0x00, 0x00};
    expected.resize(expected.size() + 128);
    EXPECT_EQ(Encode([](DLWriter& w) { w.DefineBrush(kBrushEmpty, 0x105, Bytes(128)); }), expected);
}

TEST(DLWriter, ImageRecords) {
    DLImageRecord image;
    image.lead = 1;
    image.bitsPerPixel = 8;
    image.flags = 2;
    image.srcRows = 2;
    image.srcWidth = 2;  // 3 pixels with the lead: 4 bytes per row
    image.destRows = 4;
    image.destCols = 6;
    image.pixels = {1, 2, 3, 0, 4, 5, 6, 0};
    Bytes expected = {0x04, 0x01, 0x08, 0x00, 0x02, 0x02, 0x00, 0x02, 0x00, 0x04, 0x00,
                      0x06, 0x00, 1,    2,    3,    0,    4,    5,    6,    0};
    EXPECT_EQ(Encode([&](DLWriter& w) { EXPECT_TRUE(w.BltImage(image)); }), expected);

    // 24 bits: 4 bytes a pixel, so width 3 has a 12-byte row; with a 1-bit
    // palette of 8 bytes on a stretched image.
    EXPECT_EQ(ImageRowBytes(3, 24), 12u);
    DLImageRecord mono;
    mono.bitsPerPixel = 1;
    mono.srcRows = 1;
    mono.srcWidth = 40;  // 8 bytes
    mono.destRows = 1;
    mono.destCols = 40;
    mono.palette = {0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0};
    mono.pixels = Bytes(8, 0x0F);
    const Bytes bytes = Encode([&](DLWriter& w) { EXPECT_TRUE(w.StretchImage(mono)); });
    ASSERT_EQ(bytes.size(), 13u + 8 + 8);
    EXPECT_EQ(bytes[0], 0x03);
    EXPECT_EQ(bytes[3], 0x01);  // palette present
    EXPECT_EQ(bytes[13 + 4], 0xFF);
}

TEST(DLWriter, PathRecords) {
    DLPathRecord path;
    path.fillMode = 20;
    path.subpaths = {{{1, 2}, {3, -4}, {5, 6}}};
    DLPathSetBoundsFromPoints(&path);
    EXPECT_EQ(path.left, 1u);
    EXPECT_EQ(path.top, 0u);  // -4 clamps to the page
    EXPECT_EQ(path.right, 6u);
    EXPECT_EQ(path.bottom, 7u);
    const Bytes expected = {0x80, 0x14, 0x00, 0x02, 0x00, 1, 0, 0,    0,    0, 0, 0, 0, 6,
                            0,    0,    0,    7,    0,    0, 0, 1,    0,    0, 0, 3, 0, 0,
                            0,    1,    0,    2,    0,    3, 0, 0xFC, 0xFF, 5, 0, 6, 0};
    EXPECT_EQ(Encode([&](DLWriter& w) { EXPECT_TRUE(w.FillPath(path)); }), expected);

    // Two subpaths of 32-bit points carry their point counts after the points.
    DLPathRecord wide;
    wide.wideCoordinates = true;
    wide.subpaths = {{{70000, 1}}, {{2, 3}, {4, 5}}};
    DLPathSetBoundsFromPoints(&wide);
    const Bytes bytes = Encode([&](DLWriter& w) { EXPECT_TRUE(w.SetPath(wide)); });
    ASSERT_EQ(bytes.size(), 1u + 28 + 3 * 8 + 2 * 4);
    EXPECT_EQ(bytes[0], 0xA0);
    EXPECT_EQ(bytes[3], 4);   // words per point
    EXPECT_EQ(bytes[21], 2);  // subpaths
    EXPECT_EQ(bytes[25], 3);  // points
    EXPECT_EQ((Bytes{bytes[29], bytes[30], bytes[31], bytes[32]}), (Bytes{0x70, 0x11, 0x01, 0x00}));
    EXPECT_EQ((Bytes(bytes.end() - 8, bytes.end())), (Bytes{1, 0, 0, 0, 2, 0, 0, 0}));
}

// One of every record, as a page would hold them, walked with the opcode
// table's size rule.
DLWriter EveryRecord(bool colourDevice) {
    DLWriter w;
    w.DefineBitmap(1, 2, 40, Bytes(16, 0x81));
    w.DefineBrush(kBrushEmpty, 3, Bytes(128));
    w.DefineBrushPattern(4, Rgb(0, 0, 0), Rgb(255, 255, 255), Bytes(128, 0x55));
    w.DefineBrush(kBrushRaw, 5, Bytes(colourDevice ? 4096 : 1024, 0x80));
    DLImageRecord image;
    image.bitsPerPixel = 4;
    image.srcRows = 3;
    image.srcWidth = 9;
    image.destRows = 6;
    image.destCols = 18;
    image.palette = Bytes(64);
    image.pixels = Bytes(3 * 8);
    w.StretchImage(image);
    image.bitsPerPixel = 24;
    image.palette.clear();
    image.pixels = Bytes(3 * 36);
    w.BltImage(image);
    w.Glyph(7, 3, 30, Bytes(3 * 8));
    w.DrawBitmap(1);
    w.LineTo(1, 2);
    w.LineRel(3, -4);
    w.Line(5, 6);
    w.Box8(1, 2);
    w.Box16(3, 4);
    w.Span(2);
    w.SpanStep(1, -1);
    w.VSpan(3);
    w.Skip1(0);
    w.Skip1(0, true);
    w.SetRow(1);
    w.MoveRow(1);
    w.SetColumn(1);
    w.MoveColumn(1);
    w.SetSpanEnd(1);
    w.MoveSpanEnd(1);
    w.SetHeight(1);
    w.MoveHeight(1);
    w.SetRowOrigin(1);
    w.SetColumnOrigin(1);
    w.SetColour(SolidColourCode(1, 2, 3));
    w.SetColour(kColourCodeRopWhite, true);
    w.SetRop(0xCC);
    w.SetLineStyle(1);
    w.SetRopColour(0xF0, kColourCodeRopBlack);
    w.SetStylePhase(3);
    DLPathRecord path;
    path.subpaths = {{{0, 0}, {10, 0}, {10, 10}}, {{2, 2}, {3, 3}, {2, 3}}};
    DLPathSetBoundsFromPoints(&path);
    w.FillPath(path);
    w.SetHatch(HatchColourCode(5), 0, 0xFFFFFF);
    w.SetScale(100, 200);
    w.Skip4(0);
    w.WatermarkBegin();
    w.WatermarkEnd();
    w.SetPath(path);
    w.PaintPath();
    w.ClipMode(0);
    return w;
}

TEST(DLWriter, EveryRecordHasTheLengthTheInterpreterReads) {
    for (bool colour : {false, true}) {
        SCOPED_TRACE(colour ? "colour device" : "grey device");
        const DLWriter w = EveryRecord(colour);
        ExpectRecordsMatchOpcodeTable(w, colour);
        // Every opcode of the table is covered.
        for (int opcode = 0; opcode < 256; ++opcode) {
            if (!DLFindOpcode(static_cast<uint8_t>(opcode))) continue;
            bool found = false;
            for (size_t start : w.RecordStarts()) found = found || w.Bytes()[start] == opcode;
            EXPECT_TRUE(found) << "no record with opcode " << opcode;
        }
    }
}

}  // namespace
