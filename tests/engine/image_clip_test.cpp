// Images through clip runs: exactly the pixels of the plain drawing that the
// runs cover, whatever order and overlap the runs come in, and nothing at
// all without runs.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "engine/drawing_seams.h"
#include "image_test_support.h"

namespace {

using image_test::ImageList;
using image_test::ImageRecord;
using playback_test::Band;
using playback_test::DL;

constexpr uint32_t kWidth = 32, kRows = 20;

// Runs over and around an image at rows 2.., columns 3..: rows out of order,
// runs that overlap, stick out of the image or the band, or are empty.
std::vector<ClipRun> SomeRuns() {
    return {{5, 0, 31},  {2, 4, 9},   {2, 7, 12}, {9, 3, 4},   {3, 10, 2},  {0, 0, 32},
            {14, 5, 20}, {4, 12, 40}, {8, 1, 9},  {8, 20, 29}, {30, 0, 32}, {11, 9, 9}};
}

bool Covered(const std::vector<ClipRun>& runs, uint32_t row, uint32_t col) {
    for (const ClipRun& run : runs)
        if (run.row == row && col >= run.x1 && col < run.x2) return true;
    return false;
}

// Draws `image` at (2, 3) through `runs` as the interpreter does under clip
// mode 3 once the runs are collected.
void DrawThroughRuns(Band& band, uint8_t opcode, const ImageRecord& image, const std::vector<ClipRun>& runs) {
    band.Play(DL().RopColour(0xCC, 0x81000000));
    const std::vector<uint8_t> bytes = image_test::EncodeImage(opcode, image);
    DLImage parsed;
    ASSERT_TRUE(DLParseImage(bytes.data() + 1, bytes.size() - 1, &parsed));
    RenderState& state = band.state();
    state.reg.imageRow = 2;
    state.reg.imageCol = 3;
    state.window.clipRuns = runs;
    ClipRenderImage(&state, parsed, opcode == DL_BLT_IMAGE ? 0x2000000 : 0);
    EXPECT_TRUE(state.window.clipRuns.empty());
}

using ClipCase = std::tuple<uint32_t /*bits*/, bool /*colour*/, uint8_t /*flags*/>;

class ImageThroughClipRuns : public testing::TestWithParam<ClipCase> {};

TEST_P(ImageThroughClipRuns, DrawExactlyThePlainImagesPixelsUnderTheRuns) {
    const auto [bits, colour, flags] = GetParam();
    ImageRecord image;
    image.bits = static_cast<uint8_t>(bits);
    image.flags = flags;
    image.lead = 2;
    image.picture = image_test::RandomPicture(7, 6, bits, 91);
    image.extent8 = 13;  // stretched down and across (turned: columns then rows)
    image.extent10 = 11;
    Band plain(colour, kWidth, kRows);
    plain.Play(ImageList(DL_STRETCH_IMAGE, image, 2, 3));

    Band clipped(colour, kWidth, kRows);
    const std::vector<ClipRun> runs = SomeRuns();
    DrawThroughRuns(clipped, DL_STRETCH_IMAGE, image, runs);
    for (uint32_t r = 0; r < kRows; ++r)
        for (uint32_t c = 0; c < kWidth; ++c)
            ASSERT_EQ(clipped.Pixel(r, c), Covered(runs, r, c) ? plain.Pixel(r, c) : clipped.White())
                << "row " << r << " column " << c;
    EXPECT_TRUE(clipped.GuardsIntact());
}

INSTANTIATE_TEST_SUITE_P(Images, ImageThroughClipRuns,
                         testing::Combine(testing::Values(1u, 4u, 8u, 24u), testing::Bool(),
                                          testing::Values(uint8_t{0}, uint8_t{kDLImageMirrored},
                                                          uint8_t{kDLImageRotated})));

TEST(ImageThroughClipRuns, BlitsFlagGraphicsRowsAndStretchesImageRows) {
    ImageRecord image;
    image.picture = image_test::RandomPicture(3, 4, 8, 5);
    for (const uint8_t opcode : {uint8_t{DL_BLT_IMAGE}, uint8_t{DL_STRETCH_IMAGE}}) {
        Band band(true, kWidth, kRows);
        DrawThroughRuns(band, opcode, image, {{3, 0, 32}});
        const uint32_t tag = opcode == DL_BLT_IMAGE ? 0x02 : 0x00;
        EXPECT_EQ(band.Pixel(3, 4) >> 24, tag);
        EXPECT_EQ(band.Pixel(2, 4), band.White());  // image row 0 has no run
        for (uint32_t r = 0; r < kRows; ++r) {
            const uint8_t flag = r >= 2 && r < 5 ? (opcode == DL_BLT_IMAGE ? 2 : 3) : 0;
            EXPECT_EQ(band.state().window.rowFlags[r], flag) << r;
        }
    }
}

TEST(ImageThroughClipRuns, NoRunsDrawNothingAndFlagNothing) {
    ImageRecord image;
    image.picture = image_test::RandomPicture(3, 4, 8, 6);
    Band band(false, kWidth, kRows);
    DrawThroughRuns(band, DL_STRETCH_IMAGE, image, {});
    EXPECT_TRUE(band.AllWhite());
    for (uint8_t f : band.state().window.rowFlags) EXPECT_EQ(f, 0);

    // Runs that miss the image draw nothing either, and are used up.
    DrawThroughRuns(band, DL_STRETCH_IMAGE, image, {{0, 0, 32}, {3, 20, 30}, {4, 0, 3}});
    EXPECT_TRUE(band.AllWhite());
}

// A triangle over the band, as a path record (16-bit points).
DL& Triangle(DL& list, uint8_t opcode) {
    list.Op(opcode).U16(22).U8(2).U8(0).U32(0).U32(0).U32(kWidth).U32(kRows).U32(1).U32(3);
    for (const uint32_t v : {1u, 0u, 31u, 5u, 9u, 19u}) list.U16(v);
    return list;
}

TEST(ImageThroughClipPath, DrawsThePlainImageWhereThePathFills) {
    ImageRecord image;
    image.bits = 24;
    image.picture = image_test::RandomPicture(5, 7, 24, 17);
    image.extent8 = 15;
    image.extent10 = 26;
    for (const bool colour : {false, true}) {
        SCOPED_TRACE(colour ? "colour" : "grey");
        Band plain(colour, kWidth, kRows);
        plain.Play(ImageList(DL_BLT_IMAGE, image, 2, 3));
        Band filled(colour, kWidth, kRows);
        DL fill;
        fill.Black();
        filled.Play(Triangle(fill, DL_FILL_PATH));

        DL list;
        Triangle(list, DL_SET_PATH).Op(DL_CLIP_MODE).U8(3);
        list.RopColour(0xCC, 0x81000000).At(2, 3).Bytes(image_test::EncodeImage(DL_BLT_IMAGE, image));
        Band clipped(colour, kWidth, kRows);
        clipped.Play(list);
        bool some = false;
        for (uint32_t r = 0; r < kRows; ++r) {
            for (uint32_t c = 0; c < kWidth; ++c) {
                const bool inside =
                    filled.Pixel(r, c) != filled.White() && plain.Pixel(r, c) != plain.White();
                some = some || inside;
                ASSERT_EQ(clipped.Pixel(r, c), inside ? plain.Pixel(r, c) : clipped.White())
                    << "row " << r << " column " << c;
            }
        }
        EXPECT_TRUE(some);
        EXPECT_TRUE(clipped.state().window.clipRuns.empty());
    }
}

}  // namespace
