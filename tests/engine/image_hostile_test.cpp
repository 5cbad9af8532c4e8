// Image records a hostile or broken driver could spool: records cut short,
// sizes that run past their chunk, one pixel blown up beyond any 8-bit
// count, and a 100,000 x 100,000 image on a page. Each is refused or drawn
// exactly, within the band, with work buffers bounded by the band and the
// source (the sanitizer build checks every read and write).
#include <gtest/gtest.h>

#include <vector>

#include "image_test_support.h"

namespace {

using image_test::EncodeImage;
using image_test::ImageList;
using image_test::ImageRecord;
using image_test::Picture;
using playback_test::Band;
using playback_test::DL;

TEST(HostileImages, ARecordCutAnywhereEndsItsChunkAndTheNextChunkPlays) {
    ImageRecord image;
    image.lead = 1;
    image.picture = image_test::RandomPicture(3, 5, 8, 3);
    const std::vector<uint8_t> record = EncodeImage(DL_STRETCH_IMAGE, image);
    for (size_t cut = 1; cut < record.size(); ++cut) {
        DL first;
        first.Black().At(0, 0).Box8(1, 2).RopColour(0xCC, 0x81000000).At(3, 0);
        std::vector<uint8_t> chunk = first.bytes();
        chunk.insert(chunk.end(), record.begin(), record.begin() + static_cast<std::ptrdiff_t>(cut));
        DL second;
        second.Black().At(1, 0).Box8(1, 2);
        Band band(false, 32, 8);
        band.Play({chunk, second.bytes()});
        ASSERT_EQ(band.Row(0, 4), "##..") << "cut at " << cut;
        ASSERT_EQ(band.Row(1, 4), "##..") << "cut at " << cut;
        for (uint32_t r = 2; r < 8; ++r) ASSERT_EQ(band.Row(r, 8), "........") << "cut at " << cut;
    }
}

TEST(HostileImages, SizesRunningPastTheChunkAreRefused) {
    // Headers whose rows, width, lead or depth claim more than the chunk holds.
    struct Header {
        uint8_t lead, bits, palette;
        uint16_t rows, width;
    };
    for (const Header& h : {Header{0, 8, 1, 0xFFFF, 4}, Header{0, 24, 0, 4, 0xFFFF},
                            Header{255, 24, 0, 2, 0xFFFF}, Header{0, 8, 1, 1, 1}, Header{0, 1, 1, 1, 1}}) {
        DL list;
        list.RopColour(0xCC, 0x81000000).At(0, 0);
        list.Op(DL_BLT_IMAGE)
            .U8(h.lead)
            .U8(h.bits)
            .U8(h.palette)
            .U8(0)
            .U16(h.rows)
            .U16(h.width)
            .U16(4)
            .U16(4);
        list.Bytes(std::vector<uint8_t>(6, 0));  // far too few bytes for any of them
        DL after;
        after.Black().At(5, 0).Box8(1, 1);
        Band band(false, 32, 8);
        band.Play({list.bytes(), after.bytes()});
        for (uint32_t r = 0; r < 5; ++r) EXPECT_EQ(band.Row(r, 8), "........") << int(h.bits) << " bits";
        EXPECT_EQ(band.Row(5, 2), "#.");
    }
}

// A 2 x 2 picture of four grey levels, stretched to destRows x destCols
// (through a scale when scaleNum > 1), drawn in a band of `rows` rows from
// page row `top`; returns the band.
struct BlownUp {
    static constexpr uint32_t kWidth = 64;
    Band band;
    BlownUp(uint32_t extent, uint32_t scaleNum, uint32_t top, uint32_t rows, uint32_t pageRows)
        : band(false, kWidth, rows, pageRows) {
        ImageRecord image;
        image.picture = Picture(2, 2);
        image.picture.px = {10, 20, 30, 40};
        image.extent8 = extent;
        image.extent10 = extent;
        DL list;
        if (scaleNum > 1) list.Scale(1, scaleNum);
        list.RopColour(0xCC, 0x81000000).At(0, 0).Bytes(EncodeImage(DL_STRETCH_IMAGE, image));
        band.Play({list.bytes()}, top);
        EXPECT_TRUE(band.GuardsIntact());
    }
};

TEST(HostileImages, OneSourcePixelCoversMoreThan255PixelsExactly) {
    // 2 x 2 to 600 x 600 in the record, and 2 x 2 scaled by 300: each source
    // pixel is a 300 x 300 block.
    for (const auto& [extent, scale] : {std::pair{600u, 1u}, {2u, 300u}}) {
        BlownUp blown(extent, scale, 290, 20, 700);
        for (uint32_t r = 0; r < 20; ++r)
            for (uint32_t c = 0; c < BlownUp::kWidth; ++c)
                ASSERT_EQ(blown.band.Pixel(r, c), 290 + r < 300 ? 10u : 30u)
                    << "row " << 290 + r << ", " << c;
    }
}

TEST(HostileImages, AHundredThousandSquareImageCostsOneBandOfWork) {
    // 1000 x 1000 scaled by 100: rows and columns 0 .. 99,999, the source rows
    // meeting at row 50,000, in a band across that row.
    BlownUp blown(1000, 100, 49990, 20, 120000);
    for (uint32_t r = 0; r < 20; ++r)
        for (uint32_t c = 0; c < BlownUp::kWidth; ++c)
            ASSERT_EQ(blown.band.Pixel(r, c), 49990 + r < 50000 ? 10u : 30u) << "row " << 49990 + r;
    const RenderScratch& scratch = blown.band.state().scratch;
    EXPECT_LE(scratch.imageRow.size(), BlownUp::kWidth);
    EXPECT_LE(scratch.imageColumns.size(), 2u);
    EXPECT_LE(scratch.imageRows.size(), 2u);

    // A source as wide as a record can make it, stretched the same way: the
    // tables hold only the source pixels the band shows.
    ImageRecord wide;
    wide.bits = 1;
    wide.picture = image_test::RandomPicture(2, 0xFFFF, 1, 9);
    wide.extent8 = 1000;
    wide.extent10 = 1000;
    Band band(true, BlownUp::kWidth, 16, 120000);
    DL list;
    list.Scale(1, 100).RopColour(0xCC, 0x81000000).At(0, 0).Bytes(EncodeImage(DL_BLT_IMAGE, wide));
    band.Play({list.bytes()}, 70000);
    EXPECT_TRUE(band.GuardsIntact());
    EXPECT_FALSE(band.AllWhite());
    EXPECT_LE(band.state().scratch.imageColumns.size(), 64u);
}

TEST(HostileImages, ExtremePositionsAndScalesStayInsideTheBand) {
    ImageRecord image;
    image.picture = image_test::RandomPicture(3, 3, 24, 4);
    for (const uint32_t origin : {0xFFFFFFF0u, 0x7FFFFFFFu, 40u}) {
        for (const uint32_t num : {1u, 0xFFFFFFFFu}) {
            DL list;
            list.Scale(1, num).Op(DL_SET_COL_ORIGIN).U32(origin).Op(DL_SET_ROW_ORIGIN).U32(origin / 2);
            list.RopColour(0xCC, 0x81000000).At(0, 0).Bytes(EncodeImage(DL_STRETCH_IMAGE, image));
            list.At(0xFFFF, 0xFFFF).Bytes(EncodeImage(DL_BLT_IMAGE, image));
            Band band(true, 64, 8, 0xFFFFFFFFu);
            band.Play({list.bytes()}, 0xFFFFFFF0u);
            EXPECT_TRUE(band.GuardsIntact()) << origin << " " << num;
        }
    }
}

TEST(HostileImages, EmptySourcesAndDestinationsDrawNothing) {
    for (const auto& [rows, cols, extent8, extent10] :
         {std::tuple{0u, 3u, 3u, 3u}, {3u, 0u, 3u, 3u}, {3u, 3u, 0u, 0u}}) {
        DL list;
        list.RopColour(0xCC, 0x81000000).At(0, 0);
        list.Op(DL_STRETCH_IMAGE).U8(0).U8(8).U8(0).U8(0).U16(rows).U16(cols).U16(extent8).U16(extent10);
        list.Bytes(std::vector<uint8_t>(size_t{rows} * image_test::RowBytes(cols, 8), 0));
        Band band(false, 32, 4);
        band.Play(list);
        EXPECT_TRUE(band.AllWhite());
        for (uint8_t f : band.state().window.rowFlags) EXPECT_EQ(f, 0);
    }
}

}  // namespace
