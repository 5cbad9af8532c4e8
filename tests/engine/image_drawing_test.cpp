// Images drawn through the display list: every depth on grey and colour
// pages against colours worked out by hand, and the equivalences that tie
// stretching, mirroring, turning and band cutting to plain pixel loops.
#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

#include "engine/band_output.h"
#include "engine/raster_ops.h"
#include "engine/stretch_table.h"
#include "image_test_support.h"

namespace {

using image_test::BandPixels;
using image_test::ImageList;
using image_test::ImageRecord;
using image_test::KnownColours;
using image_test::Picture;
using playback_test::Band;
using playback_test::DL;

constexpr uint32_t kTop = 3, kLeft = 5;
constexpr uint32_t kPageWidth = 64, kPageRows = 48;

// Draws the image at (kTop, kLeft) on a fresh page and returns the rows x
// cols pixels from there.
std::vector<uint32_t> Draw(bool colour, uint8_t opcode, const ImageRecord& image, uint32_t rows,
                           uint32_t cols) {
    Band band(colour, kPageWidth, kPageRows);
    band.Play(ImageList(opcode, image, kTop, kLeft));
    EXPECT_TRUE(band.GuardsIntact());
    return BandPixels(band, kTop, kLeft, rows, cols);
}

// 24-bit pictures take their pixels from the known colours, so that their
// greys are known too.
Picture PictureFor(uint32_t bits, uint32_t rows, uint32_t cols, uint32_t seed) {
    Picture p = image_test::RandomPicture(rows, cols, bits == 24 ? 4 : bits, seed);
    if (bits == 24) {
        for (uint32_t& v : p.px) {
            const auto& k = KnownColours()[v];
            v = uint32_t{k.r} << 16 | uint32_t{k.g} << 8 | k.b;
        }
    }
    return p;
}

const char* DepthName(uint32_t bits) {
    switch (bits) {
        case 1: return "1bit";
        case 4: return "4bit";
        case 8: return "8bit";
        default: return "24bit";
    }
}

// ---- Every depth on grey and colour pages ------------------------------------

using DepthCase = std::tuple<uint32_t /*bits*/, bool /*colour*/, uint8_t /*opcode*/>;

class ImageDepth : public testing::TestWithParam<DepthCase> {};

// The band pixel of logical value v, worked out from the known colours.
uint32_t ExpectedPixel(uint32_t bits, bool colour, uint8_t opcode, uint32_t v) {
    const uint32_t tag = opcode == DL_BLT_IMAGE ? 0x02000000u : 0;
    if (bits == 24) {
        if (colour) return tag | v;
        for (const auto& k : KnownColours())
            if ((uint32_t{k.r} << 16 | uint32_t{k.g} << 8 | k.b) == v) return k.grey;
        ADD_FAILURE() << "not a known colour";
        return 0;
    }
    const auto& k = KnownColours()[v % 16];
    if (colour) return tag | uint32_t{k.r} << 16 | uint32_t{k.g} << 8 | k.b;
    return bits == 8 ? v : k.grey;  // an 8-bit pixel on a grey page is its own grey level
}

TEST_P(ImageDepth, PixelsTakeTheirPaletteColourOrGreyAndFlagTheirRows) {
    const auto [bits, colour, opcode] = GetParam();
    ImageRecord image;
    image.bits = static_cast<uint8_t>(bits);
    image.lead = 3;
    image.picture = PictureFor(bits, 3, 7, 11);
    Band band(colour, kPageWidth, 10);
    band.Play(ImageList(opcode, image, kTop, kLeft));
    for (uint32_t r = 0; r < 10; ++r) {
        for (uint32_t c = 0; c < kPageWidth; ++c) {
            const bool inside = r >= kTop && r < kTop + 3 && c >= kLeft && c < kLeft + 7;
            const uint32_t expected =
                inside ? ExpectedPixel(bits, colour, opcode, image.picture.At(r - kTop, c - kLeft))
                       : band.White();
            ASSERT_EQ(band.Pixel(r, c), expected) << "row " << r << " column " << c;
        }
        // Image rows are flagged 3, so the band printer codes them as pictures.
        const bool imageRow = r >= kTop && r < kTop + 3;
        EXPECT_EQ(band.state().window.rowFlags[r], imageRow ? 3 : 0) << r;
    }
    EXPECT_EQ(FBGetObjFlag(band.state().window.rowFlags.data(), 10, 0, 10), 0);
    EXPECT_EQ(band.state().window.pureColour, 0u);
    EXPECT_TRUE(band.GuardsIntact());
}

INSTANTIATE_TEST_SUITE_P(Images, ImageDepth,
                         testing::Combine(testing::Values(1u, 4u, 8u, 24u), testing::Bool(),
                                          testing::Values(uint8_t{DL_STRETCH_IMAGE}, uint8_t{DL_BLT_IMAGE})),
                         [](const testing::TestParamInfo<DepthCase>& param) {
                             return std::string(DepthName(std::get<0>(param.param))) +
                                    (std::get<1>(param.param) ? "Colour" : "Grey") +
                                    (std::get<2>(param.param) == DL_BLT_IMAGE ? "Blt" : "Stretch");
                         });

// ---- Stretching, mirroring and turning against plain pixel loops ----------------

using GeometryCase = std::tuple<uint32_t /*bits*/, bool /*colour*/>;

class ImageGeometry : public testing::TestWithParam<GeometryCase> {
protected:
    uint32_t bits() const { return std::get<0>(GetParam()); }
    bool colour() const { return std::get<1>(GetParam()); }

    ImageRecord Record(const Picture& p, uint8_t flags = 0, uint8_t lead = 0) const {
        ImageRecord image;
        image.bits = static_cast<uint8_t>(bits());
        image.flags = flags;
        image.lead = lead;
        image.picture = p;
        return image;
    }
    std::vector<uint32_t> DrawStretch(const ImageRecord& image, uint32_t rows, uint32_t cols) const {
        return Draw(colour(), DL_STRETCH_IMAGE, image, rows, cols);
    }
};

TEST_P(ImageGeometry, StretchingByWholeFactorsEqualsPixelReplication) {
    const Picture p = PictureFor(bits(), 4, 6, 21);
    for (const auto& [rowFactor, colFactor] : {std::pair{2u, 3u}, {1u, 4u}, {5u, 1u}, {3u, 3u}}) {
        SCOPED_TRACE(testing::Message() << rowFactor << " x " << colFactor);
        ImageRecord stretched = Record(p, 0, 5);
        stretched.extent8 = p.rows * rowFactor;
        stretched.extent10 = p.cols * colFactor;
        const Picture big = image_test::Replicate(p, rowFactor, colFactor);
        EXPECT_EQ(DrawStretch(stretched, big.rows + 1, big.cols + 1),
                  DrawStretch(Record(big), big.rows + 1, big.cols + 1));
    }
}

TEST_P(ImageGeometry, MirroringTwiceGivesTheOriginal) {
    // Ten pixels: a 1-bit row mirrors its ten pixels, not its padded 32.
    const Picture p = PictureFor(bits(), 3, 10, 31);
    for (const uint8_t lead : {uint8_t{0}, uint8_t{5}}) {
        SCOPED_TRACE(testing::Message() << "lead " << int(lead));
        const auto plain = DrawStretch(Record(p, 0, lead), 4, 11);
        EXPECT_EQ(DrawStretch(Record(image_test::Mirror(p), kDLImageMirrored, lead), 4, 11), plain);
        // Mirrored once: the same pixels right to left.
        EXPECT_EQ(DrawStretch(Record(p, kDLImageMirrored, lead), 4, 11),
                  DrawStretch(Record(image_test::Mirror(p), 0, lead), 4, 11));
    }
}

TEST_P(ImageGeometry, ARotatedImageTurnedBackEqualsTheOriginal) {
    const Picture p = PictureFor(bits(), 5, 9, 41);
    const auto plain = DrawStretch(Record(p), 10, 10);
    EXPECT_EQ(DrawStretch(Record(image_test::TurnClockwise(p), kDLImageRotated, 2), 10, 10), plain);
    // Turned once: counter-clockwise; mirrored and turned: the rows mirrored first.
    EXPECT_EQ(DrawStretch(Record(p, kDLImageRotated, 2), 10, 10),
              DrawStretch(Record(image_test::TurnCounterClockwise(p)), 10, 10));
    EXPECT_EQ(DrawStretch(Record(p, kDLImageRotated | kDLImageMirrored, 2), 10, 10),
              DrawStretch(Record(image_test::TurnCounterClockwise(image_test::Mirror(p))), 10, 10));
}

TEST_P(ImageGeometry, RotatedExtentsAreColumnsThenRows) {
    const Picture p = PictureFor(bits(), 3, 4, 51);
    ImageRecord turned = Record(p, kDLImageRotated);
    turned.extent8 = p.rows * 2;   // destination columns
    turned.extent10 = p.cols * 3;  // destination rows
    const Picture expected = image_test::Replicate(image_test::TurnCounterClockwise(p), 3, 2);
    EXPECT_EQ(DrawStretch(turned, 13, 7), DrawStretch(Record(expected), 13, 7));
}

TEST_P(ImageGeometry, AnImageCutIntoBandsEqualsTheImageDrawnWhole) {
    // Enlarged, reduced and kept, by factors that are not whole.
    for (const auto& [srcRows, destRows] : {std::pair{7u, 13u}, {9u, 4u}, {5u, 5u}, {3u, 14u}}) {
        SCOPED_TRACE(testing::Message() << srcRows << " rows to " << destRows);
        ImageRecord image = Record(PictureFor(bits(), srcRows, 6, 61), kDLImageMirrored, 1);
        image.extent8 = destRows;
        image.extent10 = 11;
        const DL list = ImageList(DL_STRETCH_IMAGE, image, 2, 3);
        Band whole(colour(), 32, 18);
        whole.Play(list);
        for (const uint32_t bandRows : {1u, 5u, 7u}) {
            Band band(colour(), 32, bandRows, 18);
            for (uint32_t top = 0; top < 18; top += bandRows) {
                band.Play({list.bytes()}, top);
                for (uint32_t r = 0; r < bandRows && top + r < 18; ++r)
                    for (uint32_t c = 0; c < 32; ++c)
                        ASSERT_EQ(band.Pixel(r, c), whole.Pixel(top + r, c))
                            << "band of " << bandRows << ", row " << top + r << ", column " << c;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Images, ImageGeometry,
                         testing::Combine(testing::Values(1u, 4u, 8u, 24u), testing::Bool()),
                         [](const testing::TestParamInfo<GeometryCase>& param) {
                             return std::string(DepthName(std::get<0>(param.param))) +
                                    (std::get<1>(param.param) ? "Colour" : "Grey");
                         });

// ---- Worked examples and edges ----------------------------------------------------

TEST(ImageStretch, TwoByTwoToThreeByThreeCoversOneThenTwo) {
    std::vector<uint32_t> storage;
    StretchTable table;
    ASSERT_TRUE(GetStrchingTbl(2, 3, 0, 3, storage, &table));
    EXPECT_EQ(table.first, 0u);
    EXPECT_EQ(table.last, 1u);
    EXPECT_EQ(std::vector<uint32_t>(table.counts, table.counts + 2), (std::vector<uint32_t>{1, 2}));

    // Drawn: pixel (0, 0) alone, (0, 1) twice across, (1, 0) twice down, (1, 1) 2 x 2.
    ImageRecord image;
    image.picture = Picture(2, 2);
    image.picture.px = {10, 20, 30, 40};  // 8-bit grey levels
    image.extent8 = 3;
    image.extent10 = 3;
    EXPECT_EQ(Draw(false, DL_STRETCH_IMAGE, image, 3, 3),
              (std::vector<uint32_t>{10, 20, 20, 30, 40, 40, 30, 40, 40}));
}

TEST(ImageStretch, ColumnsPastThePageEdgeAreCutAndRowsBelowThePageNotDrawn) {
    ImageRecord image;
    image.picture = image_test::RandomPicture(4, 12, 8, 71);
    Band band(false, 32, 8);
    band.Play(ImageList(DL_STRETCH_IMAGE, image, 1, 26));
    EXPECT_TRUE(band.GuardsIntact());
    for (uint32_t c = 26; c < 32; ++c) EXPECT_EQ(band.Pixel(2, c), image.picture.At(1, c - 26)) << c;

    // An image that starts below the page is not drawn, even in a band there.
    Band below(false, 32, 8, 4);
    below.Play(ImageList(DL_STRETCH_IMAGE, image, 5, 0));
    EXPECT_TRUE(below.AllWhite());
    for (uint8_t f : below.state().window.rowFlags) EXPECT_EQ(f, 0);
}

TEST(ImageStretch, RecordsWithoutAPaletteReadAGreyRampAndOtherDepthsDrawNothing) {
    ImageRecord ramp;
    ramp.bits = 4;
    ramp.withPalette = false;
    ramp.picture = Picture(1, 4);
    ramp.picture.px = {0, 1, 8, 15};
    EXPECT_EQ(Draw(false, DL_STRETCH_IMAGE, ramp, 1, 4), (std::vector<uint32_t>{0, 17, 136, 255}));
    ramp.bits = 1;
    ramp.picture.px = {0, 1, 1, 0};
    EXPECT_EQ(Draw(true, DL_STRETCH_IMAGE, ramp, 1, 4), (std::vector<uint32_t>{0, 0xFFFFFF, 0xFFFFFF, 0}));

    // 16 bits per pixel: no stride, so the record is its header; it draws
    // nothing and the box after it is drawn.
    Band band(false, 32, 4);
    band.Play(DL().Black()
                  .At(0, 0)
                  .Op(DL_STRETCH_IMAGE)
                  .U8(0)
                  .U8(16)
                  .U8(0)
                  .U8(0)
                  .U16(2)
                  .U16(2)
                  .U16(2)
                  .U16(2)
                  .Box8(1, 3));
    EXPECT_EQ(band.Row(0, 5), "###..");
    EXPECT_EQ(band.Row(1, 5), ".....");
}

TEST(ImageRop, ImagePixelsCombineWithTheBrushThroughTheRop) {
    // A box of grey 100 under the image, then the image with ROP 0xB8 (where
    // the image is white the brush shows, where black the band) and the
    // vertical hatch (lines at columns 12..19 of every 32).
    ImageRecord image;
    image.withPalette = false;  // 8 bits on a grey ramp: S is v, or v v v in colour
    image.picture = image_test::RandomPicture(2, 30, 8, 81);
    for (const bool colour : {false, true}) {
        SCOPED_TRACE(colour ? "colour" : "grey");
        Band band(colour, 32, 4);
        DL list;
        list.RopColour(0xF0, 0x81646464).At(0, 0).Box8(4, 32);
        list.RopColour(0xB8, 0x85000001).At(1, 1).Bytes(image_test::EncodeImage(DL_STRETCH_IMAGE, image));
        band.Play(list);
        const uint8_t* brush = band.state().reg.brush;
        ASSERT_NE(brush, nullptr);
        for (uint32_t r = 1; r < 3; ++r) {
            for (uint32_t c = 1; c < 31; ++c) {
                const uint32_t s = image.picture.At(r - 1, c - 1);
                if (colour) {
                    uint32_t p;
                    std::memcpy(&p, brush + ((r % 32) * 32 + c % 32) * 4, 4);
                    const uint32_t expected = SetSHD_ROP_Color(0xB8, s * 0x010101u, p, 0x646464) & 0xFFFFFF;
                    ASSERT_EQ(band.Pixel(r, c), expected) << r << ", " << c;  // photo tag 0
                } else {
                    const uint8_t p = brush[(r % 32) * 32 + c % 32];
                    ASSERT_EQ(band.Pixel(r, c), SetSHD_ROP_Gray(0xB8, uint8_t(s), p, 100)) << r << ", " << c;
                }
            }
        }
    }
}

}  // namespace
