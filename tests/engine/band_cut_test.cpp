// A page cut into bands must print what the page played as one band prints,
// for every kind of record: playback skips the drawing of records whose box
// misses the band, but the records that change the state (colours, ROPs,
// brushes, bitmaps, paths, clip mode, line styles and their phase, scale,
// origins, watermark brackets) must act in every band as in the others.
// Each case is played whole and then in bands of several heights, grey and
// colour; every band's pixels and row flags must equal the whole page's
// rows, and every band must leave the interpreter's registers as the whole
// page does. The bands are played once reading every record and once with
// the index of glyph runs the first of them records.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "encode/dl_writer.h"
#include "engine/display_list.h"
#include "engine/path_generator.h"
#include "engine/playback_index.h"
#include "playback_test_support.h"
#include "support/xorshift.h"

namespace {

using playback_test::Band;

constexpr uint32_t kWidth = 96;
constexpr uint32_t kRows = 72;
constexpr uint32_t kBlack = 0x81000000;

// A mask of rows x MaskStride(width) bytes with a pattern that shows any
// shifted or dropped row.
std::vector<uint8_t> Mask(uint32_t width, uint32_t rows, uint32_t seed) {
    zebl_test::XorShift32 random(seed);
    std::vector<uint8_t> bits(size_t{(width + 31) / 32 * 4} * rows);
    for (uint8_t& b : bits) b = static_cast<uint8_t>(random.Next());
    return bits;
}

DLPathRecord PathOf(std::vector<std::vector<DLPathPoint>> subpaths, uint16_t fillMode = kPGFillAlternate) {
    DLPathRecord path;
    path.fillMode = fillMode;
    path.subpaths = std::move(subpaths);
    DLPathSetBoundsFromPoints(&path);
    return path;
}

// An 8-bit image with a grey ramp palette (or 24-bit pixels), rows x width.
DLImageRecord ImageOf(uint16_t rows, uint16_t width, uint16_t destRows, uint16_t destCols, bool colour,
                      uint32_t seed) {
    DLImageRecord image;
    image.bitsPerPixel = colour ? 24 : 8;
    image.srcRows = rows;
    image.srcWidth = width;
    image.destRows = destRows;
    image.destCols = destCols;
    if (!colour) {
        for (uint32_t i = 0; i < 256; ++i)
            image.palette.insert(image.palette.end(), {static_cast<uint8_t>(i), static_cast<uint8_t>(i),
                                                       static_cast<uint8_t>(i), 0});
    }
    zebl_test::XorShift32 random(seed);
    image.pixels.resize(size_t{ImageRowBytes(width, image.bitsPerPixel)} * rows);
    for (uint8_t& b : image.pixels) b = static_cast<uint8_t>(random.Next());
    return image;
}

struct Case {
    const char* name;
    std::function<void(DLWriter&)> write;
};

void Spans(DLWriter& w) {
    w.SetRopColour(0xF0, kBlack);
    w.SetRow(3);
    w.SetColumn(5);
    w.SetSpanEnd(40);
    w.Span(9);
    for (int i = 0; i < 20; ++i) w.SpanStep(1, -1);
    w.SetColour(0x81204060);
    w.SetHeight(50);
    w.SetRow(10);
    w.SetColumn(60);
    w.VSpan(7);
    w.MoveRow(-3);
    w.MoveColumn(4);
    w.MoveHeight(-20);
    w.VSpan(2);
}

void Boxes(DLWriter& w) {
    // The white box that starts a page is skipped only before any drawing.
    w.SetRopColour(0xF0, 0x81FFFFFF);
    w.SetRow(0);
    w.SetColumn(0);
    w.Box16(kRows, kWidth);
    w.SetRopColour(0xF0, 0x81808080);
    w.SetRow(20);
    w.SetColumn(10);
    w.Box8(30, 50);
    w.SetRopColour(0xF0, 0x81FFFFFF);
    w.SetRow(25);
    w.SetColumn(15);
    w.Box16(10, 20);
    // XOR over what is there, then a hatch brush and the hollow one.
    w.SetRop(0x5A);
    w.SetColour(0x81F0A050);
    w.SetRow(5);
    w.SetColumn(30);
    w.Box8(60, 40);
    w.SetRop(0xF0);
    w.SetHatch(0x85000003, Rgb(200, 0, 0), Rgb(0, 0, 255));
    w.SetRow(40);
    w.SetColumn(2);
    w.Box8(30, 90);
    w.SetColour(0x86000000);
    w.Box8(10, 10);
}

void Origins(DLWriter& w) {
    w.SetRopColour(0xF0, kBlack);
    w.SetRowOrigin(17);
    w.SetColumnOrigin(9);
    w.SetRow(4);
    w.SetColumn(4);
    w.Box8(21, 13);
    w.SetRowOrigin(0);
    w.SetColumnOrigin(0);
    w.SetRow(50);
    w.Box8(3, 3);
}

void Glyphs(DLWriter& w) {
    w.SetRopColour(0xB8, kBlack);
    w.SetRow(1);
    w.SetColumn(3);
    w.Glyph(5, 40, 37, Mask(42, 40, 1));
    w.SetRow(30);
    w.SetColumn(50);
    w.SetColour(0x812080F0);
    w.Glyph(0, 41, 33, Mask(33, 41, 2));
    w.SetRow(70);
    w.Glyph(0, 9, 20, Mask(20, 9, 3));  // runs off the page
}

void ScaledGlyphs(DLWriter& w) {
    w.SetRopColour(0xB8, kBlack);
    w.SetScale(100, 250);
    w.SetRow(2);
    w.SetColumn(1);
    w.Glyph(3, 11, 13, Mask(16, 11, 4));
    w.SetScale(300, 100);
    w.SetRow(90);
    w.SetColumn(150);
    w.Glyph(7, 60, 40, Mask(47, 60, 5));
    w.SetScale(100, 100);
    w.SetRow(60);
    w.SetColumn(20);
    w.Glyph(0, 8, 8, Mask(8, 8, 6));
}

void Bitmaps(DLWriter& w) {
    w.SetRopColour(0xB8, kBlack);
    const std::vector<uint8_t> bits = Mask(45, 23, 7);
    w.DefineBitmap(7, 23, 45, bits);
    w.SetRow(0);
    w.SetColumn(2);
    w.DrawBitmap(7);
    w.SetRow(40);
    w.SetColumn(40);
    w.DrawBitmap(7);
    w.DefineBitmap(7, 5, 9, Mask(9, 5, 8));  // the slot redefined between two draws
    w.SetRow(66);
    w.DrawBitmap(7);
    w.SetScale(100, 160);
    w.SetRow(10);
    w.SetColumn(30);
    w.DefineBitmap(9, 23, 45, bits);
    w.DrawBitmap(9);
}

void Brushes(DLWriter& w) {
    std::vector<uint8_t> pattern = Mask(32, 32, 9);
    w.DefineBrushPattern(3, Rgb(250, 250, 250), Rgb(10, 90, 30), pattern);
    w.SetRopColour(0xF0, 0x91000003);
    w.SetRow(4);
    w.SetColumn(6);
    w.Box8(50, 70);
    // Redefining the selected slot changes what the next fill draws.
    pattern = Mask(32, 32, 10);
    w.DefineBrushPattern(3, Rgb(0, 0, 0), Rgb(255, 255, 255), pattern);
    w.SetRow(40);
    w.SetColumn(30);
    w.Box8(30, 60);
    w.SetRopColour(0xB8, 0x91000003);
    w.SetRow(10);
    w.SetColumn(60);
    w.Glyph(0, 50, 30, Mask(30, 50, 11));
}

void Lines(DLWriter& w) {
    w.SetRopColour(0xF0, kBlack);
    w.SetLineStyle(2);
    w.SetStylePhase(5);
    w.SetRow(0);
    w.SetColumn(0);
    w.LineTo(71, 95);
    w.LineRel(-30, -60);
    w.Line(90, 3);  // from the current position to column 90, row 3
    w.SetLineStyle(4);
    w.SetRow(60);
    w.SetColumn(5);
    w.LineTo(2, 80);
    w.LineTo(70, 93);
    w.SetLineStyle(0);
    w.SetColour(0x81FF0000);
    w.LineTo(10, 10);
}

void Paths(DLWriter& w) {
    w.SetRopColour(0xF0, 0x81406080);
    w.FillPath(PathOf({{{48, 2}, {94, 60}, {3, 30}, {90, 28}, {8, 70}}}, kPGFillWinding));
    w.SetColour(kBlack);
    w.SetPath(PathOf({{{10, 40}, {60, 40}, {60, 71}, {10, 71}}, {{20, 45}, {40, 45}, {40, 60}}}));
    w.PaintPath();
    w.SetPath(PathOf({{{70, 0}, {95, 0}, {95, 5}}}));  // only in the top band
    w.SetRow(50);
    w.PaintPath();
}

void ClipPaths(DLWriter& w) {
    w.SetRopColour(0xB8, kBlack);
    w.SetPath(PathOf({{{5, 5}, {90, 20}, {50, 70}}}));
    w.ClipMode(3);
    w.SetRow(0);
    w.SetColumn(0);
    w.Glyph(0, 72, 96, Mask(96, 72, 12));
    w.SetRopColour(0xCC, kBlack);
    w.SetRow(30);
    w.SetColumn(20);
    w.BltImage(ImageOf(20, 30, 40, 60, false, 13));
    w.ClipMode(0);
    w.SetRopColour(0xB8, kBlack);
    w.SetRow(60);
    w.Glyph(0, 10, 30, Mask(30, 10, 14));
    // A clip path whose box misses most bands, then glyphs in every band.
    w.SetPath(PathOf({{{0, 66}, {96, 66}, {96, 70}, {0, 70}}}));
    w.ClipMode(3);
    w.SetRow(0);
    w.Glyph(0, 72, 40, Mask(40, 72, 15));
    w.ClipMode(0);
}

void Images(DLWriter& w) {
    w.SetRopColour(0xCC, kBlack);
    w.SetRow(3);
    w.SetColumn(4);
    w.BltImage(ImageOf(30, 40, 30, 40, false, 16));
    w.SetRow(20);
    w.SetColumn(30);
    w.StretchImage(ImageOf(9, 11, 47, 61, true, 17));
    DLImageRecord turned = ImageOf(13, 17, 40, 30, false, 18);
    turned.flags = 3;  // rotated and mirrored
    w.SetRow(30);
    w.SetColumn(60);
    w.BltImage(turned);
    w.SetScale(100, 150);
    w.SetRow(2);
    w.SetColumn(40);
    w.StretchImage(ImageOf(7, 9, 20, 20, false, 19));
}

void Watermarks(DLWriter& w) {
    w.SetRopColour(0xF0, 0x81808080);
    w.WatermarkBegin();
    w.SetRow(5);
    w.SetColumn(5);
    w.Box8(60, 80);
    w.SetRopColour(0xB8, 0x81E0E0E0);
    w.SetRow(20);
    w.Glyph(0, 40, 40, Mask(40, 40, 20));
    w.WatermarkEnd();
    w.SetRopColour(0xF0, kBlack);
    w.SetRow(50);
    w.Box8(4, 4);
}

// Lines of text taller than a run may be, with the colour changed and a
// scale and a clip path set and reset between glyphs, and a line that starts
// off the page.
void TextLines(DLWriter& w) {
    w.SetRopColour(0xB8, kBlack);
    w.SetRow(2);
    for (uint32_t line = 0; line < 8; ++line) {
        w.SetColumn(1);
        for (uint32_t i = 0; i < 6; ++i) {
            w.Glyph(static_cast<uint8_t>(i % 3), 7 + line % 4, 9, Mask(12, 7 + line % 4, 30 + line * 8 + i));
            w.MoveColumn(15);
            if (line == 2 && i == 3) w.SetColour(0x81F03010);
            if (line == 4 && i == 1) w.SetScale(100, 130);
            if (line == 4 && i == 4) w.SetScale(100, 100);
            if (line == 6 && i == 2) {
                w.SetPath(PathOf({{{0, 0}, {60, 0}, {60, 71}}}));
                w.ClipMode(3);
            }
            if (line == 6 && i == 4) w.ClipMode(0);
        }
        w.MoveRow(9);
        if (line == 5) {
            w.SetRow(200);  // a glyph far below the page, then back
            w.Glyph(0, 5, 9, Mask(9, 5, 99));
            w.SetRow(60);
        }
    }
}

void PrintTo(const Case& recordCase, std::ostream* out) { *out << recordCase.name; }

const Case kCases[] = {
    {"spans", Spans},           {"boxes", Boxes},          {"origins", Origins},
    {"glyphs", Glyphs},         {"text_lines", TextLines}, {"scaled_glyphs", ScaledGlyphs},
    {"bitmaps", Bitmaps},       {"brushes", Brushes},      {"lines", Lines},
    {"paths", Paths},           {"clip_paths", ClipPaths}, {"images", Images},
    {"watermarks", Watermarks},
};

// What a band leaves behind besides its pixels.
struct Registers {
    uint32_t row, col, spanEnd, height, colourCode, stylePhase;
    bool operator==(const Registers&) const = default;
};

Registers RegistersOf(const RenderState& state) {
    const InterpreterRegisters& r = state.reg;
    return {r.currentRow, r.currentCol, r.spanEnd, r.height, r.colourCode, r.stylePhase};
}

class BandCut : public ::testing::TestWithParam<std::tuple<Case, bool>> {};

TEST_P(BandCut, EveryBandHoldsItsRowsOfTheWholePage) {
    const auto& [recordCase, colour] = GetParam();
    DLWriter writer;
    recordCase.write(writer);
    const std::vector<uint8_t> list = writer.Bytes();

    Band whole(colour, kWidth, kRows);
    whole.Play({list});
    const std::vector<uint8_t> wholeFlags = whole.state().window.rowFlags;
    const Registers wholeRegisters = RegistersOf(whole.state());
    ASSERT_FALSE(whole.AllWhite());

    for (uint32_t height : {1u, 3u, 8u, 13u, 64u}) {
        for (const bool indexed : {false, true}) {
            SCOPED_TRACE("bands of " + std::to_string(height) + " rows" + (indexed ? ", indexed" : ""));
            Band band(colour, kWidth, height, kRows);
            PlaybackIndex index;
            for (uint32_t top = 0; top < kRows; top += height) {
                band.Play({list}, top, 0, 0, indexed ? &index : nullptr);
                const uint32_t rows = std::min(height, kRows - top);
                for (uint32_t r = 0; r < rows; ++r) {
                    for (uint32_t c = 0; c < kWidth; ++c)
                        ASSERT_EQ(band.Pixel(r, c), whole.Pixel(top + r, c))
                            << "row " << top + r << " column " << c;
                    ASSERT_EQ(band.state().window.rowFlags.at(r), wholeFlags.at(top + r))
                        << "row " << top + r;
                }
                EXPECT_TRUE(RegistersOf(band.state()) == wholeRegisters) << "band at row " << top;
                ASSERT_TRUE(band.GuardsIntact());
            }
        }
    }
}

// The text's glyph runs are recorded, each a few lines high at most, and
// none holds the glyphs drawn under the scale or the clip path.
TEST(PlaybackIndex, RecordsTextAsRunsOfAFewLines) {
    DLWriter writer;
    TextLines(writer);
    Band band(false, kWidth, 8, kRows);
    PlaybackIndex index;
    band.Play({writer.Bytes()}, 0, 0, 0, &index);
    ASSERT_TRUE(index.ReadyFor(0, 0));
    EXPECT_FALSE(index.ReadyFor(1, 0));
    const auto& runs = index.Runs();
    ASSERT_GE(runs.size(), 4u);
    uint32_t glyphRuns = 0;
    for (const PlaybackIndex::Run& run : runs) {
        EXPECT_LT(run.begin, run.end);
        if (run.hasGlyph) ++glyphRuns;
        if (run.top <= run.bottom) {
            EXPECT_LE(run.bottom - run.top, PlaybackIndex::kMaxRunRows);
        }
    }
    EXPECT_GE(glyphRuns, 4u);
}

INSTANTIATE_TEST_SUITE_P(RecordKinds, BandCut,
                         ::testing::Combine(::testing::ValuesIn(kCases), ::testing::Bool()),
                         [](const ::testing::TestParamInfo<BandCut::ParamType>& param) {
                             return std::string(std::get<0>(param.param).name) +
                                    (std::get<1>(param.param) ? "_colour" : "_grey");
                         });

}  // namespace
