// Filled paths and clip paths from a composed scene, printed through
// Tzqr4um.dll loaded by name as the spooler does, and the decoded page
// checked dot by dot against the areas the paths enclose.
#include <gtest/gtest.h>

#include "decode/stream_decoder.h"
#include "job/job_player.h"
#include "job/scene.h"
#include "support/library_paths.h"
#include "support/plane_compare.h"
#include "support/temp_folder.h"
#include "support/test_printer.h"

namespace {

// Page 1: two framed squares, the inner square running the same way as the
// outer one, under the winding rule (filled) and the alternate rule (a
// hole); a five-pointed star under each rule; text through a triangular clip
// path. Page 2: the same text without the clip.
const char kPathScene[] =
    "resolution 300\n"
    "page\n"
    "path fill winding 100,100 300,100 300,300 100,300 / 150,150 250,150 250,250 150,250\n"
    "path fill alternate 400,100 600,100 600,300 400,300 / 450,150 550,150 550,250 450,250\n"
    "path fill winding 150,320 179,410 102,355 198,355 121,410\n"
    "path fill alternate 450,320 479,410 402,355 498,355 421,410\n"
    "path set 100,450 300,450 100,650\n"
    "clip-mode 3\n"
    "text 100 450 6 \"MMMMMMM\"\n"
    "text 100 520 6 \"MMMMMMM\"\n"
    "clip-mode 0\n"
    "page\n"
    "text 100 450 6 \"MMMMMMM\"\n"
    "text 100 520 6 \"MMMMMMM\"\n";

constexpr uint32_t kArea = 700;  // every drawing lies in the top-left 700 x 700 dots

bool Inside(uint32_t x, uint32_t y, uint32_t left, uint32_t top, uint32_t right, uint32_t bottom) {
    return x >= left && x < right && y >= top && y < bottom;
}

// Whether the star of page 1 with its top point at (cx, 320) covers (x, y),
// from the parity or the winding number of its five edges at the row.
bool StarCovers(int x, int y, int cx, bool winding) {
    const int px[5] = {cx, cx + 29, cx - 48, cx + 48, cx - 29};
    const int py[5] = {320, 410, 355, 355, 410};
    int crossings = 0, wound = 0;
    for (int i = 0; i < 5; ++i) {
        const int ax = px[i], ay = py[i], bx = px[(i + 1) % 5], by = py[(i + 1) % 5];
        if (ay == by) continue;
        const bool down = by > ay;
        const int ux = down ? ax : bx, uy = down ? ay : by, lx = down ? bx : ax, ly = down ? by : ay;
        if (y < uy || y >= ly) continue;
        // The edge's column at row y, truncated toward its upper end.
        const int edgeX = ux + (y - uy) * (lx - ux) / (ly - uy);
        if (edgeX <= x) {
            ++crossings;
            wound += down ? 1 : -1;
        }
    }
    return winding ? wound != 0 : crossings % 2 == 1;
}

class PathJob : public zebl_test::TempFolderTest {};

TEST_F(PathJob, FilledAndClippingPathsPrintTheAreasTheyEnclose) {
    SpoolJob job;
    std::string error;
    ASSERT_TRUE(ComposeScene(kPathScene, {}, &job, &error)) << error;
    DrvSplLibrary library;
    ASSERT_TRUE(library.Load(zebl_test::LibraryBesideStandIns(), &error)) << error;
    zebl_test::TestPrinter printer(temp_);
    ASSERT_TRUE(printer.Ready());
    PlayOptions options;
    options.printerName = printer.Name();
    options.outputFile = printer.OutputPath();
    PlayReport report;
    ASSERT_TRUE(PlaySpoolJob(job, library.EntryPoints(), options, &report, &error)) << error;
    ASSERT_TRUE(report.Ok()) << report.Trace();
    const std::vector<uint8_t> bytes = printer.Output();
    DecodedJob decoded;
    ASSERT_TRUE(DecodeStream(bytes.data(), bytes.size(), &decoded, &error)) << error;
    ASSERT_EQ(decoded.pages.size(), 2u);
    const PagePlane& clipped = decoded.pages[0].Plane(4);
    const PagePlane& plain = decoded.pages[1].Plane(4);

    // The text unclipped, cut by the triangle (100,450) (300,450) (100,650):
    // its slanted edge leaves columns x < 400 - (y - 450) at row y.
    const auto clippedText = [&](uint32_t x, uint32_t y) {
        return y >= 450 && y < 650 && x >= 100 && x + y < 750 && plain.Dot(x, y);
    };
    const auto expected = [&](uint32_t x, uint32_t y) {
        if (Inside(x, y, 100, 100, 300, 300)) return true;
        if (Inside(x, y, 400, 100, 600, 300)) return !Inside(x, y, 450, 150, 550, 250);
        if (y >= 320 && y < 410 && x < 300) return StarCovers(int(x), int(y), 150, true);
        if (y >= 320 && y < 410 && x >= 300) return StarCovers(int(x), int(y), 450, false);
        return clippedText(x, y);
    };
    EXPECT_EQ(zebl_test::CompareDots(clipped, kArea, kArea, expected), "");
    // Nothing outside the area, and both the text and its cut are there.
    EXPECT_EQ(zebl_test::DotsIn(clipped, 0, 0, kArea, kArea), clipped.dots);
    const uint64_t textDots = zebl_test::DotsIn(plain, 100, 450, kArea, 650);
    const uint64_t shownDots = zebl_test::DotsIn(clipped, 100, 450, kArea, 650);
    EXPECT_GT(shownDots, 1000u);
    EXPECT_LT(shownDots, textDots);
    // The stars' centres: wound twice, so only the winding rule fills them.
    EXPECT_TRUE(clipped.Dot(150, 370));
    EXPECT_FALSE(clipped.Dot(450, 370));
}

}  // namespace
