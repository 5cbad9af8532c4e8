// Lines of every style composed from a scene, printed through the library's
// entry points on a grey and on a colour page, decoded, and compared dot by
// dot with the dots worked out here from the style descriptions (runs on,
// off, on, off ...), which know nothing of how lines are drawn.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "decode/stream_decoder.h"
#include "job/file_bytes.h"
#include "job/job_player.h"
#include "job/scene.h"
#include "pipeline/own_module.h"
#include "support/library_paths.h"
#include "support/linked_entry_points.h"
#include "support/plane_compare.h"
#include "support/temp_folder.h"
#include "support/test_printer.h"

namespace {

// Whether pixel i of a line drawn from pattern position 0 is under an on run.
bool StyleOn(int style, uint32_t i) {
    static const std::vector<std::vector<uint32_t>> runs = {
        {}, {40, 16}, {8, 8}, {28, 15, 8, 15}, {28, 15, 8, 8, 8, 15}};
    if (style == 5) return false;
    if (style >= static_cast<int>(runs.size())) return true;  // 0, 6, 7: solid
    const std::vector<uint32_t>& r = runs[static_cast<size_t>(style)];
    if (r.empty()) return true;
    uint32_t period = 0;
    for (uint32_t n : r) period += n;
    uint32_t at = i % period;
    for (size_t k = 0;; ++k) {
        if (at < r[k]) return k % 2 == 0;
        at -= r[k];
    }
}

// The dots of tests/data/scenes/line_styles.scene.
bool ExpectedDot(uint32_t x, uint32_t y) {
    // Rows 40, 60 .. 180, columns 40 .. 339, style (row - 40) / 20; a solid
    // style-0 row goes through the ROP kernel, which leaves out its right end.
    if (y >= 40 && y <= 180 && y % 20 == 0 && x >= 40 && x <= 339) {
        const int style = static_cast<int>((y - 40) / 20);
        if (style == 0 && x == 339) return false;
        return StyleOn(style, x - 40);
    }
    // Diagonals from (40 + 200 (s - 1), 300), 151 dots each, styles 1 to 4.
    if (y >= 300 && y <= 450) {
        const uint32_t i = y - 300;
        for (int style = 1; style <= 4; ++style) {
            if (x == 40 + 200 * static_cast<uint32_t>(style - 1) + i) return StyleOn(style, i);
        }
    }
    // Column 900 from row 600 up to 400: drawn from the top.
    if (x == 900 && y >= 400 && y <= 600) return StyleOn(2, y - 400);
    // The dashed polyline: 100 dots from column 40, then 201 from column 139
    // that go on 100 dots into the pattern (column 139 is drawn by both).
    if (y == 700 && x >= 40 && x <= 339) {
        const bool first = x <= 139 && StyleOn(1, x - 40);
        const bool second = x >= 139 && StyleOn(1, 100 + x - 139);
        return first || second;
    }
    return false;
}

class LineJob : public zebl_test::TempFolderTest, public ::testing::WithParamInterface<bool> {
protected:
    // The library finds the stand-in colour module in <build>/bin.
    void SetUp() override { fbOverrideOwnModulePath(zebl_test::LibraryBesideStandIns()); }
    void TearDown() override { fbOverrideOwnModulePath(u""); }
};

TEST_P(LineJob, EveryStylePrintsTheDotsOfItsPattern) {
    const bool colour = GetParam();
    SpoolJob job;
    std::string error;
    std::vector<uint8_t> file;
    ASSERT_TRUE(ReadFileBytes(
        zebl_test::HostPath(std::string(ZEBL_SOURCE_DIR) + "/tests/data/scenes/line_styles.scene"), 1 << 20,
        &file, &error))
        << error;
    const std::string scene = (colour ? "colour on\n" : "") + std::string(file.begin(), file.end());
    ASSERT_TRUE(ComposeScene(scene, {}, &job, &error)) << error;

    zebl_test::TestPrinter printer(temp_);
    ASSERT_TRUE(printer.Ready());
    PlayOptions options;
    options.printerName = printer.Name();
    options.outputFile = printer.OutputPath();
    PlayReport report;
    ASSERT_TRUE(PlaySpoolJob(job, zebl_test::LinkedEntryPoints(), options, &report, &error)) << error;
    EXPECT_TRUE(report.Ok()) << report.Trace();
    const std::vector<uint8_t> bytes = printer.Output();
    DecodedJob decoded;
    ASSERT_TRUE(DecodeStream(bytes.data(), bytes.size(), &decoded, &error)) << error;
    ASSERT_EQ(decoded.pages.size(), 1u);
    const DecodedPage& page = decoded.pages[0];
    // Black lines: black ink only, on the colour page too.
    for (int plane = 1; plane <= 3; ++plane) EXPECT_EQ(page.Plane(plane).dots, 0u) << plane;
    EXPECT_EQ(zebl_test::CompareDots(page.Plane(4), 1024, 1024, ExpectedDot), "");
}

INSTANTIATE_TEST_SUITE_P(GreyAndColour, LineJob, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& p) { return p.param ? "colour" : "grey"; });

}  // namespace
