// The four raster kernels, reached the way playback reaches them: a colour
// code applied, a ROP selected, and the selected kernel run on a request.
// Every pixel is checked against the ROP3 reference.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

#include "engine/raster_ops.h"
#include "rop_test_support.h"

namespace {

using roptest::MaskBit;
using roptest::Random;
using roptest::ReferenceRop3;
using roptest::ReferenceUsesPattern;
using roptest::ReferenceUsesSource;
using roptest::TestBand;

constexpr uint32_t kTagTextBits = 0x01000000;
constexpr uint32_t kTagOtherBits = 0x02000000;

// The request all exhaustive checks draw: not aligned to bytes, words or the
// brush, wider than two brush tiles, four rows inside a 16-row band.
constexpr uint32_t kBandTop = 40, kBandRows = 16, kRowPixels = 128;
constexpr uint32_t kReqRow = 45, kReqRows = 4, kReqXs = 37, kReqXe = 112;

uint32_t BrushPixel(const uint8_t* brush, bool colour, uint32_t pageRow, uint32_t col) {
    const uint32_t index = (pageRow % 32) * 32 + col % 32;
    if (!colour) return brush[index];
    uint32_t v;
    std::memcpy(&v, brush + index * 4, 4);
    return v;
}

// What a kernel should leave at one pixel of the request.
uint32_t ExpectedPixel(uint8_t code, bool colour, bool maskSet, uint32_t pattern, uint32_t old,
                       uint32_t currentTag, bool hasMask) {
    const uint32_t allOnes = colour ? 0xFFFFFFFFu : 0xFFu;
    const uint32_t source = maskSet ? 0u : allOnes;
    const bool usesSource = ReferenceUsesSource(code);
    if (usesSource && !hasMask) return old;  // S kernels draw nothing without a mask
    if (!colour) return ReferenceRop3<uint8_t>(code, uint8_t(source), uint8_t(pattern), uint8_t(old));
    const uint32_t rgb = ReferenceRop3<uint32_t>(code, source, pattern, old) & 0x00FFFFFF;
    if (!usesSource && !ReferenceUsesPattern(code) && code == 0xAA) return old;
    const uint32_t oldTag = old & 0xFF000000;
    const uint32_t tag = usesSource ? (maskSet ? currentTag : oldTag) : currentTag;
    return rgb | tag;
}

struct Scenario {
    bool colour;
    bool brush;
    bool mask;
};

std::string Name(const Scenario& s) {
    return std::string(s.colour ? "Colour" : "Grey") + (s.brush ? "Brush" : "Solid") +
           (s.mask ? "Masked" : "Unmasked");
}

class EveryRopCode : public ::testing::TestWithParam<Scenario> {};

// Draws one request with `code` and returns a description of the first wrong
// pixel, or an empty string.
std::string DrawAndCompare(uint8_t code, const Scenario& sc) {
    TestBand band(sc.colour, kBandTop, kBandRows, kRowPixels);
    Random random(0x9E3779B9u ^ (uint32_t(code) << 8) ^ (sc.colour ? 1u : 0u) ^ (sc.brush ? 2u : 0u));
    band.FillRandom(random);
    band.state.reg.textObject = code & 1;

    uint32_t colourCode = sc.colour ? 0x813CA55Au : 0x81406080u;  // neither black nor white
    if (sc.brush) {
        auto slot = std::make_unique<uint8_t[]>(BrushBytes(band.state.page.isColour));
        for (uint32_t i = 0; i < BrushBytes(band.state.page.isColour); ++i) slot[i] = random.Byte();
        band.state.doc.brushSlots[3] = std::move(slot);
        colourCode = kColourCodeBrushSlot + 3;
    }
    Frame_prhMAPuid(&band.state, colourCode);
    FrameSelectRopBrush(&band.state.reg, code, colourCode);
    if (band.state.reg.ubRopCode != code) return "ROP code was reduced";
    if (band.state.reg.pfRenderFunc != pfFuncTable[code]) return "kernel is not the table's";

    const uint32_t width = kReqXe - kReqXs;
    const uint32_t stride = MaskStride(width);
    std::vector<uint8_t> mask(size_t(stride) * kReqRows);
    for (auto& b : mask) b = random.Byte();
    mask[0] = 0xFF;  // make sure both kinds of bits occur in the first row
    mask[1] = 0x00;

    const std::vector<uint8_t> before = band.pixels;
    band.Draw(band.Request(kReqRow, kReqXs, kReqXe, kReqRows, sc.mask ? mask.data() : nullptr));

    const uint32_t currentTag = (code & 1) ? kTagTextBits : kTagOtherBits;
    for (uint32_t row = kBandTop; row < kBandTop + kBandRows; ++row) {
        for (uint32_t col = 0; col < kRowPixels; ++col) {
            const uint32_t old = band.PixelIn(before, row, col);
            uint32_t expected = old;
            const bool inside = row >= kReqRow && row < kReqRow + kReqRows && col >= kReqXs && col < kReqXe;
            if (inside) {
                const bool maskSet = sc.mask && MaskBit(mask.data() + (row - kReqRow) * stride, col - kReqXs);
                const uint32_t pattern =
                    sc.brush ? BrushPixel(band.state.reg.brush, sc.colour, row, col) : band.state.reg.colour;
                expected = ExpectedPixel(code, sc.colour, maskSet, pattern, old, currentTag, sc.mask);
            }
            const uint32_t got = band.Pixel(row, col);
            // Wherever a kernel drew, it agrees with the general evaluator
            // that images and lines use.
            if (inside && got != old) {
                const bool set = sc.mask && MaskBit(mask.data() + (row - kReqRow) * stride, col - kReqXs);
                const uint32_t p =
                    sc.brush ? BrushPixel(band.state.reg.brush, sc.colour, row, col) : band.state.reg.colour;
                const uint32_t general =
                    sc.colour ? SetSHD_ROP_Color(code, set ? 0 : 0xFFFFFFFF, p, old) & 0xFFFFFF
                              : SetSHD_ROP_Gray(code, set ? 0 : 0xFF, uint8_t(p), uint8_t(old));
                if ((got & (sc.colour ? 0xFFFFFFu : 0xFFu)) != general)
                    return "differs from the general evaluator at row " + std::to_string(row) + " col " +
                           std::to_string(col);
            }
            if (got != expected) {
                std::ostringstream out;
                out << std::hex << "row " << std::dec << row << " col " << col << std::hex << ": got 0x"
                    << got << ", expected 0x" << expected << " (old 0x" << old << ")";
                return out.str();
            }
        }
    }
    return "";
}

TEST_P(EveryRopCode, KernelMatchesTheReferenceAtEveryPixel) {
    const Scenario sc = GetParam();
    for (unsigned code = 0; code < 256; ++code) {
        const std::string fault = DrawAndCompare(uint8_t(code), sc);
        EXPECT_EQ(fault, "") << "ROP 0x" << std::hex << code;
    }
}

INSTANTIATE_TEST_SUITE_P(RopKernels, EveryRopCode,
                         ::testing::Values(Scenario{false, false, true}, Scenario{false, true, true},
                                           Scenario{true, false, true}, Scenario{true, true, true},
                                           Scenario{false, true, false}, Scenario{true, true, false}),
                         [](const auto& param) { return Name(param.param); });

// --- Reductions by colour code ---------------------------------------------

TEST(RopReduction, PatternCopyWithSolidBlackIsDrawnBlackByDestinationKernel) {
    for (bool colour : {false, true}) {
        TestBand band(colour, 0, 4, 32);
        Frame_prhMAPuid(&band.state, kColourCodeSolidBlack);
        FrameSelectRopBrush(&band.state.reg, 0xF0, kColourCodeSolidBlack);
        EXPECT_EQ(band.state.reg.rop, 0xF0);
        EXPECT_EQ(band.state.reg.ubRopCode, 0x00);
        EXPECT_EQ(band.state.reg.pfRenderFunc, Run_DL_D);
        band.Draw(band.Request(1, 2, 5, 2, nullptr));
        const uint32_t black = colour ? kTagOtherBits : 0u;
        const uint32_t white = colour ? 0xFFFFFFFFu : 0xFFu;
        EXPECT_EQ(band.Pixel(1, 2), black);
        EXPECT_EQ(band.Pixel(2, 4), black);
        EXPECT_EQ(band.Pixel(1, 5), white);
        EXPECT_EQ(band.Pixel(0, 2), white);
        EXPECT_EQ(band.Pixel(3, 2), white);
    }
}

TEST(RopReduction, PatternCopyWithHollowBrushLeavesBandUnchanged) {
    for (bool colour : {false, true}) {
        TestBand band(colour, 0, 4, 64);
        Random random(5);
        band.FillRandom(random);
        const std::vector<uint8_t> before = band.pixels;
        Frame_prhMAPuid(&band.state, kColourCodeHollow);
        FrameSelectRopBrush(&band.state.reg, 0xF0, kColourCodeHollow);
        EXPECT_EQ(band.state.reg.ubRopCode, 0xAA);
        band.Draw(band.Request(0, 0, 60, 4, nullptr));
        uint8_t mask[32];  // four rows of 37 pixels, 8 bytes each
        for (size_t i = 0; i < sizeof mask; ++i) mask[i] = uint8_t(i * 37 + 5);
        band.Draw(band.Request(0, 3, 40, 4, mask));
        EXPECT_EQ(band.pixels, before);
    }
}

// Black and white codes select the ROP's result for P all zero or all one
// bits: whatever the current colour or brush, every code then draws exactly
// what the full ROP would with that P.
TEST(RopReduction, BlackAndWhiteCodesDrawAsTheRopWithThatPattern) {
    struct Case {
        uint32_t code;
        bool white;
    };
    const Case cases[] = {{kColourCodeRopBlack, false},
                          {kColourCodeRopWhite, true},
                          {kColourCodeSolidBlack, false},
                          {kColourCodeSolidWhite, true}};
    for (bool colour : {false, true}) {
        for (const Case& c : cases) {
            for (unsigned code = 0; code < 256; ++code) {
                TestBand band(colour, 8, 3, 64);
                Random random(code * 3 + c.code);
                band.FillRandom(random);
                const std::vector<uint8_t> old = band.pixels;
                band.state.reg.colour = colour ? 0x00123456 : 0x77;  // must not matter
                Frame_prhMAPuid(&band.state, c.code);
                FrameSelectRopBrush(&band.state.reg, uint8_t(code), c.code);
                EXPECT_EQ(band.state.reg.ubRopCode >> 4, band.state.reg.ubRopCode & 0x0F);
                uint8_t mask[16];  // two rows of 45 pixels, 8 bytes each
                for (auto& b : mask) b = random.Byte();
                band.Draw(band.Request(9, 5, 50, 2, mask));
                const uint32_t allOnes = colour ? 0xFFFFFFFFu : 0xFFu;
                const uint32_t p = c.white ? allOnes : 0u;
                for (uint32_t row = 9; row < 11; ++row) {
                    for (uint32_t col = 5; col < 50; ++col) {
                        const bool set = MaskBit(mask + (row - 9) * 8, col - 5);
                        const uint32_t s = set ? 0u : allOnes;
                        const uint32_t want =
                            ReferenceRop3<uint32_t>(uint8_t(code), s, p, band.PixelIn(old, row, col)) &
                            (colour ? 0xFFFFFFu : 0xFFu);
                        const uint32_t got = band.Pixel(row, col) & (colour ? 0xFFFFFFu : 0xFFu);
                        ASSERT_EQ(got, want) << std::hex << "code " << code << " colour code " << c.code
                                             << std::dec << " at " << row << "," << col;
                    }
                }
            }
        }
    }
}

// --- Masks, tags, edges and anchoring ------------------------------------

// The playback starts every band with ROP 0x88 and black: S AND D.
TEST(RopKernels, StartOfPlaybackSelectionDrawsGlyphsButNotSolidFills) {
    TestBand band(false, 0, 2, 32);
    Frame_prhMAPuid(&band.state, kColourCodeSolidBlack);
    FrameSelectRopBrush(&band.state.reg, 0x88, kColourCodeSolidBlack);
    EXPECT_EQ(band.state.reg.pfRenderFunc, Run_DL_SD);
    band.Draw(band.Request(0, 0, 20, 2, nullptr));
    EXPECT_EQ(band.pixels, std::vector<uint8_t>(64, 0xFF));

    const uint8_t glyph[8] = {0xA0, 0x00, 0x00, 0x00, 0x40, 0x00, 0x00, 0x00};
    band.Draw(band.Request(0, 4, 7, 2, glyph));
    // Row 0: bits 1 0 1 at columns 4, 5, 6; row 1: 0 1 0.
    EXPECT_EQ(band.Pixel(0, 4), 0u);
    EXPECT_EQ(band.Pixel(0, 5), 255u);
    EXPECT_EQ(band.Pixel(0, 6), 0u);
    EXPECT_EQ(band.Pixel(1, 4), 255u);
    EXPECT_EQ(band.Pixel(1, 5), 0u);
    EXPECT_EQ(band.Pixel(1, 6), 255u);
    EXPECT_EQ(band.Pixel(0, 3), 255u);
    EXPECT_EQ(band.Pixel(0, 7), 255u);
}

// Hand-worked colour pixels: tags follow the mask for S kernels and are
// always written by the pattern kernel.
TEST(RopKernels, ObjectClassTagsPerKernel) {
    TestBand band(true, 0, 1, 32);
    for (uint32_t c = 0; c < 32; ++c) band.SetPixel(0, c, 0x02808080);
    band.SetPixel(0, 1, 0xFFFFFFFF);
    band.state.reg.textObject = 1;
    const uint8_t mask[4] = {0x80, 0, 0, 0};  // only column 0 set

    // 0xCC (copy S): set -> black with the text tag; clear -> white, own tag.
    Frame_prhMAPuid(&band.state, 0x81000080);
    FrameSelectRopBrush(&band.state.reg, 0xCC, 0x81000080);
    band.Draw(band.Request(0, 0, 3, 1, mask));
    EXPECT_EQ(band.Pixel(0, 0), 0x01000000u);
    EXPECT_EQ(band.Pixel(0, 1), 0xFFFFFFFFu);
    EXPECT_EQ(band.Pixel(0, 2), 0x02FFFFFFu);

    // 0xB8 (S ? D : P) with red: a set bit is S = 0, so it takes P: red with
    // the text tag; a clear bit keeps D and its tag.
    Frame_prhMAPuid(&band.state, 0x810000FF);
    FrameSelectRopBrush(&band.state.reg, 0xB8, 0x810000FF);
    EXPECT_EQ(band.state.reg.pfRenderFunc, Run_DL_SHD);
    band.Draw(band.Request(0, 3, 6, 1, mask));
    EXPECT_EQ(band.Pixel(0, 3), 0x01FF0000u);
    EXPECT_EQ(band.Pixel(0, 4), 0x02808080u);

    // 0xF0 (copy P) with the other-object tag: every pixel, mask ignored.
    band.state.reg.textObject = 0;
    FrameSelectRopBrush(&band.state.reg, 0xF0, 0x810000FF);
    band.Draw(band.Request(0, 6, 8, 1, mask));
    EXPECT_EQ(band.Pixel(0, 6), 0x02FF0000u);
    EXPECT_EQ(band.Pixel(0, 7), 0x02FF0000u);

    // 0x55 (invert D): every pixel gets the current tag.
    band.state.reg.textObject = 1;
    FrameSelectRopBrush(&band.state.reg, 0x55, 0x810000FF);
    band.Draw(band.Request(0, 8, 9, 1, nullptr));
    EXPECT_EQ(band.Pixel(0, 8), 0x017F7F7Fu);
}

// Column bandRight is never painted; a request starting there or beyond
// draws nothing; each kernel obeys the cut.
TEST(RopKernels, RightEdgeOfTheBandIsNeverPainted) {
    const uint8_t codes[] = {0x00, 0xCC, 0xF0, 0xB8};
    for (bool colour : {false, true}) {
        for (uint8_t code : codes) {
            TestBand band(colour, 0, 2, 64);
            Frame_prhMAPuid(&band.state, kColourCodeSolidBlack + 0x00101010);
            FrameSelectRopBrush(&band.state.reg, code, kColourCodeSolidBlack + 0x00101010);
            const uint8_t ones[24] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                      0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
            const uint32_t white = colour ? 0xFFFFFFFFu : 0xFFu;
            band.Draw(band.Request(0, 60, 70, 1, ones));
            EXPECT_NE(band.Pixel(0, 60), white) << int(code);
            EXPECT_NE(band.Pixel(0, 62), white) << int(code);
            EXPECT_EQ(band.Pixel(0, 63), white) << int(code);
            band.Draw(band.Request(1, 63, 64, 1, ones));
            EXPECT_EQ(band.Pixel(1, 63), white) << int(code);
            const std::vector<uint8_t> before = band.pixels;
            TRect beyond = band.Request(1, 63, 80, 1, ones);
            beyond.xs = 64;  // past the band: must not even be touched
            band.state.reg.pfRenderFunc(band.state.page, band.state.window, band.state.reg, &beyond);
            EXPECT_EQ(band.pixels, before);
        }
    }
}

// After the cut, mask rows still advance by the stride of the whole request:
// the second row's bits lie 8 bytes on for a 40-pixel request, not 4.
TEST(RopKernels, CutRequestKeepsTheMaskStrideOfTheWholeRequest) {
    for (uint8_t code : {uint8_t(0xCC), uint8_t(0xB8)}) {
        TestBand band(false, 0, 2, 64);
        Frame_prhMAPuid(&band.state, 0x81404040);
        FrameSelectRopBrush(&band.state.reg, code, 0x81404040);
        uint8_t mask[16] = {};
        for (int i = 0; i < 8; ++i) mask[i] = 0xFF;  // row 0 all ink, row 1 none
        band.Draw(band.Request(0, 50, 90, 2, mask));
        for (uint32_t col = 50; col < 63; ++col) {
            EXPECT_NE(band.Pixel(0, col), 255u) << col;
            EXPECT_EQ(band.Pixel(1, col), 255u) << col;
        }
    }
}

// Mask padding bits past the request's end are never drawn: not by a copy
// (clear bits paint white), nor by an AND that keeps the pixels of clear
// bits, whose last partial byte is drawn as a whole block where the row has
// eight pixels left before the band's last column (53) and pixel by pixel
// where it has not (57).
TEST(RopKernels, MaskPaddingBitsAreIgnored) {
    const uint8_t mask[4] = {0xFF, 0xFF, 0xFF, 0xFF};
    for (uint8_t code : {uint8_t(0xCC), uint8_t(0x88)}) {
        for (uint32_t xs : {10u, 53u, 57u}) {
            TestBand band(false, 0, 1, 64);
            Frame_prhMAPuid(&band.state, kColourCodeSolidBlack);
            FrameSelectRopBrush(&band.state.reg, code, kColourCodeSolidBlack);
            band.Draw(band.Request(0, xs, xs + 3, 1, mask));
            for (uint32_t col = 0; col < 64; ++col)
                EXPECT_EQ(band.Pixel(0, col), (col >= xs && col < xs + 3) ? 0u : 255u)
                    << "ROP 0x" << std::hex << int(code) << std::dec << " from " << xs << ", col " << col;
        }
    }
}

// Brushes are anchored to the page: two adjacent fills equal one fill, and
// page column 33 (row 33) uses brush column 1 (row 1).
TEST(RopKernels, BrushPatternContinuesAcrossAdjacentFills) {
    for (bool colour : {false, true}) {
        TestBand split(colour, 32, 4, 96);
        TestBand whole(colour, 32, 4, 96);
        Random random(77);
        auto brush = std::make_unique<uint8_t[]>(BrushBytes(colour));
        for (uint32_t i = 0; i < BrushBytes(colour); ++i) brush[i] = random.Byte();
        const uint8_t* brushData = brush.get();
        split.state.doc.brushSlots[9] = std::move(brush);
        auto copy = std::make_unique<uint8_t[]>(BrushBytes(colour));
        std::memcpy(copy.get(), brushData, BrushBytes(colour));
        whole.state.doc.brushSlots[9] = std::move(copy);
        for (TestBand* band : {&split, &whole}) {
            Frame_prhMAPuid(&band->state, kColourCodeBrushSlot + 9);
            FrameSelectRopBrush(&band->state.reg, 0xF0, kColourCodeBrushSlot + 9);
        }
        split.Draw(split.Request(33, 0, 33, 3, nullptr));
        split.Draw(split.Request(33, 33, 70, 3, nullptr));
        whole.Draw(whole.Request(33, 0, 70, 3, nullptr));
        EXPECT_EQ(split.pixels, whole.pixels);

        const uint32_t mask = colour ? 0x00FFFFFFu : 0xFFu;
        EXPECT_EQ(split.Pixel(33, 33) & mask, BrushPixel(brushData, colour, 1, 1) & mask);
        EXPECT_EQ(split.Pixel(34, 33) & mask, BrushPixel(brushData, colour, 2, 1) & mask);
        EXPECT_EQ(split.Pixel(33, 64) & mask, BrushPixel(brushData, colour, 1, 0) & mask);
        EXPECT_EQ(split.Pixel(35, 31) & mask, BrushPixel(brushData, colour, 3, 31) & mask);
    }
}

// A hatch on a grey device: red lines become grey (30 * 255) / 100 = 76 on
// white.
TEST(RopKernels, HorizontalHatchOnGreyPaintsGrey76Lines) {
    TestBand band(false, 0, 32, 64);
    band.state.reg.hatchForeground = 0x00FF0000;
    band.state.reg.hatchBackground = 0x00FFFFFF;
    Frame_prhMAPuid(&band.state, kColourCodeHatch + 0);
    FrameSelectRopBrush(&band.state.reg, 0xF0, kColourCodeHatch + 0);
    band.Draw(band.Request(0, 0, 40, 32, nullptr));
    for (uint32_t row = 0; row < 32; ++row) {
        const uint32_t want = (row >= 12 && row <= 19) ? 76u : 255u;
        EXPECT_EQ(band.Pixel(row, 0), want) << row;
        EXPECT_EQ(band.Pixel(row, 39), want) << row;
        EXPECT_EQ(band.Pixel(row, 40), 255u) << row;
    }
}

}  // namespace
