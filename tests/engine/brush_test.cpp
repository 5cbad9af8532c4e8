// Colour codes, the hatch and hollow tables, and downloaded brushes.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "engine/raster_ops.h"
#include "rop_test_support.h"

namespace {

using roptest::TestBand;

int LinePixelsInRow(const BrushRecord& r, int row) {
    int n = 0;
    for (int c = 0; c < 32; ++c) n += r.matrix[row][c] ? 1 : 0;
    return n;
}

uint32_t ColourBrushPixel(const uint8_t* brush, uint32_t row, uint32_t col) {
    uint32_t v;
    std::memcpy(&v, brush + (row * 32 + col) * 4, 4);
    return v;
}

TEST(HatchTables, HeadersCarryTheBrushCodeAndValue) {
    for (int style = 0; style < kHatchStyles; ++style) {
        const uint8_t want[6] = {uint8_t(style), 0x00, 0x00, 0x85, 0x00, 0x02};
        EXPECT_EQ(std::memcmp(arHatchBrush600[style].header, want, 6), 0) << style;
    }
    const uint8_t hollow[6] = {0x00, 0x00, 0x00, 0x86, 0x00, 0x02};
    EXPECT_EQ(std::memcmp(arHollowBrush[0].header, hollow, 6), 0);
    for (int r = 0; r < 32; ++r)
        for (int c = 0; c < 32; ++c) EXPECT_EQ(arHollowBrush[0].matrix[r][c], 0);
}

TEST(HatchTables, HorizontalAndVerticalBandsCoverTwelveToNineteen) {
    for (int r = 0; r < 32; ++r) {
        for (int c = 0; c < 32; ++c) {
            const bool inRows = r >= 12 && r <= 19, inCols = c >= 12 && c <= 19;
            EXPECT_EQ(arHatchBrush600[0].matrix[r][c], inRows ? 255 : 0);
            EXPECT_EQ(arHatchBrush600[1].matrix[r][c], inCols ? 255 : 0);
            EXPECT_EQ(arHatchBrush600[4].matrix[r][c], (inRows || inCols) ? 255 : 0);
        }
    }
}

// Each diagonal row is one run of 12 (wrapping at the tile edge), shifted one
// column per row, so the lines continue from tile to tile; the backward
// diagonal is the forward one mirrored.
TEST(HatchTables, DiagonalsAreTwelvePixelRunsThatTileSeamlessly) {
    const BrushRecord& forward = arHatchBrush600[2];
    const BrushRecord& backward = arHatchBrush600[3];
    for (int r = 0; r < 32; ++r) {
        EXPECT_EQ(LinePixelsInRow(forward, r), 12) << r;
        EXPECT_EQ(LinePixelsInRow(backward, r), 12) << r;
        int runStarts = 0;
        for (int c = 0; c < 32; ++c) {
            if (forward.matrix[r][c] && !forward.matrix[r][(c + 31) % 32]) ++runStarts;
            // Row r+1 (row 0 after row 31) is row r moved one column right.
            EXPECT_EQ(forward.matrix[(r + 1) % 32][(c + 1) % 32], forward.matrix[r][c]);
            EXPECT_EQ(backward.matrix[r][c], forward.matrix[r][31 - c]);
            EXPECT_EQ(arHatchBrush600[5].matrix[r][c],
                      (forward.matrix[r][c] || backward.matrix[r][c]) ? 255 : 0);
        }
        EXPECT_EQ(runStarts, 1) << r;
    }
    // Placement: the run of row 0 covers columns 26..31 and 0..5; the centre
    // rows straddle the tile's middle.
    for (int c = 0; c < 32; ++c) EXPECT_EQ(forward.matrix[0][c], (c >= 26 || c <= 5) ? 255 : 0) << c;
    for (int c = 0; c < 32; ++c) EXPECT_EQ(forward.matrix[16][c], (c >= 10 && c <= 21) ? 255 : 0) << c;
}

TEST(ColourCodes, SolidColourOnGreyAndColourDevices) {
    TestBand grey(false, 0, 1, 32), colour(true, 0, 1, 32);
    uint8_t dummy = 0;
    grey.state.reg.brush = &dummy;
    colour.state.reg.brush = &dummy;
    // R = 0x99, G = 0x66, B = 0x33: (30*153 + 59*102 + 11*51) / 100 = 111.
    Frame_prhMAPuid(&grey.state, 0x81336699);
    Frame_prhMAPuid(&colour.state, 0x81336699);
    EXPECT_EQ(grey.state.reg.colour, 111u);
    EXPECT_EQ(colour.state.reg.colour, 0x00996633u);
    EXPECT_EQ(grey.state.reg.brush, nullptr);
    EXPECT_EQ(colour.state.reg.brush, nullptr);
    Frame_prhMAPuid(&grey.state, kColourCodeSolidWhite);
    EXPECT_EQ(grey.state.reg.colour, 255u);  // (30 + 59 + 11) * 255 / 100
}

TEST(ColourCodes, CodesThatLeaveColourAndBrushAlone) {
    TestBand band(true, 0, 1, 32);
    uint8_t dummy = 0;
    for (uint32_t code : {kColourCodeRopBlack, kColourCodeRopWhite, 0x910000FFu, 0x85000006u, 0x86000001u,
                          0x12345678u, 0x80FFFFFFu, 0x82000000u}) {
        band.state.reg.colour = 0x00ABCDEF;
        band.state.reg.brush = &dummy;
        Frame_prhMAPuid(&band.state, code);
        EXPECT_EQ(band.state.reg.colour, 0x00ABCDEFu) << std::hex << code;
        EXPECT_EQ(band.state.reg.brush, &dummy) << std::hex << code;
    }
}

TEST(ColourCodes, DownloadedBrushSlots) {
    TestBand band(false, 0, 1, 32);
    band.state.doc.brushSlots[7] = std::make_unique<uint8_t[]>(BrushBytes(0));
    band.state.doc.brushSlots[254] = std::make_unique<uint8_t[]>(BrushBytes(0));
    Frame_prhMAPuid(&band.state, kColourCodeBrushSlot + 7);
    EXPECT_EQ(band.state.reg.brush, band.state.doc.brushSlots[7].get());
    Frame_prhMAPuid(&band.state, kColourCodeBrushSlot + 254);
    EXPECT_EQ(band.state.reg.brush, band.state.doc.brushSlots[254].get());
    Frame_prhMAPuid(&band.state, kColourCodeBrushSlot + 8);  // empty: solid colour
    EXPECT_EQ(band.state.reg.brush, nullptr);
}

TEST(ColourCodes, HatchBrushesUseTheHatchColours) {
    TestBand colour(true, 0, 1, 32);
    colour.state.reg.hatchForeground = 0x00112233;
    colour.state.reg.hatchBackground = 0x00445566;
    Frame_prhMAPuid(&colour.state, kColourCodeHatch + 1);
    ASSERT_NE(colour.state.reg.brush, nullptr);
    EXPECT_EQ(ColourBrushPixel(colour.state.reg.brush, 0, 12), 0x00112233u);
    EXPECT_EQ(ColourBrushPixel(colour.state.reg.brush, 31, 19), 0x00112233u);
    EXPECT_EQ(ColourBrushPixel(colour.state.reg.brush, 0, 11), 0x00445566u);
    EXPECT_EQ(ColourBrushPixel(colour.state.reg.brush, 5, 20), 0x00445566u);

    TestBand grey(false, 0, 1, 32);  // defaults: black lines on white
    Frame_prhMAPuid(&grey.state, kColourCodeHatch + 4);
    ASSERT_NE(grey.state.reg.brush, nullptr);
    EXPECT_EQ(grey.state.reg.brush[0 * 32 + 12], 0);
    EXPECT_EQ(grey.state.reg.brush[13 * 32 + 0], 0);
    EXPECT_EQ(grey.state.reg.brush[0 * 32 + 0], 255);
}

TEST(ColourCodes, HollowBrushIsWhiteEverywhere) {
    for (bool isColour : {false, true}) {
        TestBand band(isColour, 0, 1, 32);
        band.state.reg.colour = isColour ? 0x00123456 : 0x12;
        Frame_prhMAPuid(&band.state, kColourCodeHollow);
        ASSERT_NE(band.state.reg.brush, nullptr);
        for (uint32_t i = 0; i < BrushBytes(isColour); ++i) ASSERT_EQ(band.state.reg.brush[i], 0xFF);
    }
}

// Two palette entries B,G,R,0: {0x10,0x20,0x30} and {0x40,0x50,0x60}.
std::vector<uint8_t> PatternBrushData() {
    std::vector<uint8_t> data = {0x10, 0x20, 0x30, 0x00, 0x40, 0x50, 0x60, 0x00};
    data.resize(8 + 128, 0);
    data[8] = 0x80;               // row 0: only column 0 takes entry 1
    data[8 + 31 * 4 + 3] = 0x01;  // row 31: only column 31
    return data;
}

TEST(StretchBrushes, PaletteBrushExpandsOnColourDevices) {
    const std::vector<uint8_t> data = PatternBrushData();
    std::vector<uint8_t> brush(BrushBytes(1), 0xEE);
    ASSERT_EQ(StretchBrush(brush.data(), data.data(), uint32_t(data.size()), 1, 1), 1);
    EXPECT_EQ(ColourBrushPixel(brush.data(), 0, 0), 0x00605040u);
    EXPECT_EQ(ColourBrushPixel(brush.data(), 0, 1), 0x00302010u);
    EXPECT_EQ(ColourBrushPixel(brush.data(), 31, 31), 0x00605040u);
    EXPECT_EQ(ColourBrushPixel(brush.data(), 31, 30), 0x00302010u);
    EXPECT_EQ(ColourBrushPixel(brush.data(), 17, 9), 0x00302010u);
}

TEST(StretchBrushes, PaletteBrushExpandsToGreyLevels) {
    const std::vector<uint8_t> data = PatternBrushData();
    std::vector<uint8_t> brush(BrushBytes(0), 0xEE);
    ASSERT_EQ(StretchBrush(brush.data(), data.data(), uint32_t(data.size()), 1, 0), 1);
    // Entry 1: (30*0x60 + 59*0x50 + 11*0x40) / 100 = 8304 / 100 = 83.
    // Entry 0: (30*0x30 + 59*0x20 + 11*0x10) / 100 = 3504 / 100 = 35.
    EXPECT_EQ(brush[0], 83);
    EXPECT_EQ(brush[1], 35);
    EXPECT_EQ(brush[31 * 32 + 31], 83);
    EXPECT_EQ(brush[500], 35);
    EXPECT_EQ(data[3], 0x00);  // the spooled data is not written to
}

TEST(StretchBrushes, OtherFormatsAreCopiedAndShortDataIsRefused) {
    for (bool isColour : {false, true}) {
        std::vector<uint8_t> data(BrushBytes(isColour));
        for (size_t i = 0; i < data.size(); ++i) data[i] = uint8_t(i * 7);
        std::vector<uint8_t> brush(BrushBytes(isColour), 0);
        ASSERT_EQ(StretchBrush(brush.data(), data.data(), uint32_t(data.size()), 2, isColour), 1);
        EXPECT_EQ(brush, data);

        std::vector<uint8_t> untouched(BrushBytes(isColour), 0x5C);
        EXPECT_EQ(StretchBrush(untouched.data(), data.data(), uint32_t(data.size() - 1), 2, isColour), 0);
        EXPECT_EQ(StretchBrush(untouched.data(), data.data(), 135, 1, isColour), 0);
        EXPECT_EQ(untouched, std::vector<uint8_t>(BrushBytes(isColour), 0x5C));
    }
}

// A downloaded brush drawn with ROP 0xF0 puts the brush itself on the page.
TEST(StretchBrushes, PatternCopyOfDownloadedBrushReproducesIt) {
    TestBand band(true, 0, 32, 32);
    const std::vector<uint8_t> data = PatternBrushData();
    band.state.doc.brushSlots[0] = std::make_unique<uint8_t[]>(BrushBytes(1));
    ASSERT_EQ(StretchBrush(band.state.doc.brushSlots[0].get(), data.data(), uint32_t(data.size()), 1, 1), 1);
    Frame_prhMAPuid(&band.state, kColourCodeBrushSlot);
    FrameSelectRopBrush(&band.state.reg, 0xF0, kColourCodeBrushSlot);
    band.Draw(band.Request(0, 0, 31, 32, nullptr));
    for (uint32_t r = 0; r < 32; ++r)
        for (uint32_t c = 0; c < 31; ++c)
            ASSERT_EQ(band.Pixel(r, c),
                      0x02000000u | ColourBrushPixel(band.state.doc.brushSlots[0].get(), r, c));
}

}  // namespace
