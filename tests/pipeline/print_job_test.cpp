// Whole jobs through the spooler entry points, decoded from what the printer
// received: resolutions, grey and colour, paper sizes, copies, scaling,
// rotation and posters.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pipeline/entry_points_test_support.h"
#include "support/file_bytes.h"
#include "sys/files.h"

namespace {

using entry_test::Box;
using entry_test::CompareDots;
using entry_test::DotsIn;
using entry_test::EntryPointTest;
using entry_test::ListOf;
using entry_test::OneListJob;
using entry_test::SmallPage;
using entry_test::SpoolRun;

bool AnyHolds(const std::vector<Box>& boxes, uint32_t x, uint32_t y) {
    for (const Box& b : boxes)
        if (b.Holds(x, y)) return true;
    return false;
}

// A job replayed by the spooler; the test fails when the printer did not get
// a stream that decodes.
SpoolRun RunJob(const zebl_test::TempFolder& folder, const SpoolJob& job) {
    SpoolRun run = entry_test::RunJob(folder, job);
    EXPECT_TRUE(run.decoded) << run.error;
    return run;
}

class PrintJobTest : public EntryPointTest {};

// ---- Resolutions, grey and colour -------------------------------------------------

struct ResolutionCase {
    uint32_t resolution;
    uint32_t outputResolution;
};

class GreyJob : public EntryPointTest, public testing::WithParamInterface<ResolutionCase> {};

TEST_P(GreyJob, PrintsEachPageWithItsBoxesInBlack) {
    const ResolutionCase c = GetParam();
    const uint32_t width = 700, height = 500;
    const std::vector<Box> boxes = {{10, 10, 110, 40}, {300, 200, 420, 330}, {600, 450, 690, 499}};
    JobSettings settings = SmallPage(c.resolution, width, height);
    settings.outputResolution = c.outputResolution;
    const SpoolRun run = RunJob(temp_, OneListJob(settings, ListOf(boxes), 2));
    ASSERT_EQ(run.job.pages.size(), 2u);
    ASSERT_NE(run.job.Set("COLORMODE"), nullptr);
    EXPECT_EQ(*run.job.Set("COLORMODE"), "MONO");
    const uint32_t factor = c.outputResolution / c.resolution;  // 2 in the 600 x 1200 mode
    for (const DecodedPage& page : run.job.pages) {
        EXPECT_EQ(page.header.resolutionCode, c.outputResolution / 100);
        EXPECT_EQ(page.header.width, width * factor);
        EXPECT_EQ(page.header.height, height * factor);
        EXPECT_EQ(page.header.copies, 1u);
        EXPECT_EQ(page.dotsOutsidePage, 0u);
        EXPECT_EQ(
            CompareDots(page.Plane(4), width * factor, height * factor,
                        [&](uint32_t x, uint32_t y) { return AnyHolds(boxes, x / factor, y / factor); }),
            "");
        for (uint8_t id = 1; id <= 3; ++id) EXPECT_FALSE(page.Plane(id).Allocated());
    }
}

INSTANTIATE_TEST_SUITE_P(PrintJob, GreyJob,
                         testing::Values(ResolutionCase{300, 300}, ResolutionCase{600, 600},
                                         ResolutionCase{1200, 1200}, ResolutionCase{600, 1200}),
                         [](const testing::TestParamInfo<ResolutionCase>& p) {
                             return std::to_string(p.param.resolution) + "x" +
                                    std::to_string(p.param.outputResolution);
                         });

TEST_F(PrintJobTest, ColourJobPutsEachColourIntoItsInks) {
    const Box red{20, 20, 120, 100, 0x810000FF};
    const Box green{150, 20, 250, 100, 0x8100FF00};
    const Box blue{280, 20, 380, 100, 0x81FF0000};
    const Box black{410, 20, 510, 100};
    const SpoolRun run =
        RunJob(temp_, OneListJob(SmallPage(600, 640, 300, true), ListOf({red, green, blue, black})));
    ASSERT_EQ(run.job.pages.size(), 1u);
    ASSERT_NE(run.job.Set("COLORMODE"), nullptr);
    EXPECT_EQ(*run.job.Set("COLORMODE"), "COLOR");
    const DecodedPage& page = run.job.pages[0];
    const uint64_t full = 100 * 80;
    // plane ids: 1 cyan, 2 magenta, 3 yellow, 4 black
    EXPECT_EQ(DotsIn(page.Plane(1), red), 0u);
    EXPECT_EQ(DotsIn(page.Plane(2), red), full);
    EXPECT_EQ(DotsIn(page.Plane(3), red), full);
    EXPECT_EQ(DotsIn(page.Plane(1), green), full);
    EXPECT_EQ(DotsIn(page.Plane(2), green), 0u);
    EXPECT_EQ(DotsIn(page.Plane(3), green), full);
    EXPECT_EQ(DotsIn(page.Plane(1), blue), full);
    EXPECT_EQ(DotsIn(page.Plane(2), blue), full);
    EXPECT_EQ(DotsIn(page.Plane(3), blue), 0u);
    EXPECT_EQ(DotsIn(page.Plane(4), black), full);
    for (uint8_t id = 1; id <= 3; ++id) EXPECT_EQ(DotsIn(page.Plane(id), black), 0u) << int(id);
    EXPECT_EQ(DotsIn(page.Plane(4), red) + DotsIn(page.Plane(4), green) + DotsIn(page.Plane(4), blue), 0u);
}

TEST_F(PrintJobTest, ColourJobWithoutColourModuleShowsTheErrorAndPrintsGrey) {
    NoColourModule();
    const Box red{20, 20, 120, 100, 0x810000FF};
    const Box black{410, 20, 510, 100};
    const SpoolRun run = RunJob(temp_, OneListJob(SmallPage(600, 640, 300, true), ListOf({red, black})));
    ASSERT_EQ(run.job.pages.size(), 1u);
    ASSERT_NE(run.job.Set("COLORMODE"), nullptr);
    EXPECT_EQ(*run.job.Set("COLORMODE"), "MONO");
    const DecodedPage& page = run.job.pages[0];
    for (uint8_t id = 1; id <= 3; ++id) EXPECT_FALSE(page.Plane(id).Allocated()) << int(id);
    EXPECT_EQ(DotsIn(page.Plane(4), black), 100u * 80);
    // Red is a dark grey (luminance 76 of 255): most dots, not all.
    const uint64_t redDots = DotsIn(page.Plane(4), red);
    EXPECT_GT(redDots, 100u * 80 / 2);
    EXPECT_LT(redDots, 100u * 80);
}

// ---- Paper sizes -------------------------------------------------------------------

struct PaperCase {
    uint32_t windowsCode;
    uint32_t printerCode;
    uint32_t width300, height300;  // printable size in 1/300 inch (the paper table)
};

class PaperSize : public EntryPointTest, public testing::WithParamInterface<PaperCase> {};

TEST_P(PaperSize, PageHeaderCarriesTheTablesPrintableSizeAndPrinterCode) {
    const PaperCase c = GetParam();
    JobSettings settings;
    settings.resolution = 300;
    settings.paperCode = c.windowsCode;
    // A box at the bottom right corner of the printable area.
    const Box corner{c.width300 - 30, c.height300 - 20, c.width300 - 10, c.height300};
    const SpoolRun run = RunJob(temp_, OneListJob(settings, ListOf({corner})));
    ASSERT_EQ(run.job.pages.size(), 1u);
    const DecodedPage& page = run.job.pages[0];
    EXPECT_EQ(page.header.paperSize, c.printerCode);
    EXPECT_EQ(page.header.width, c.width300);
    EXPECT_EQ(page.header.height, c.height300);
    EXPECT_EQ(page.Plane(4).dots, 20u * 20);
    EXPECT_EQ(DotsIn(page.Plane(4), corner), 20u * 20);
}

INSTANTIATE_TEST_SUITE_P(PrintJob, PaperSize,
                         testing::Values(PaperCase{9, 2, 2380, 3407},    // A4
                                         PaperCase{1, 0, 2450, 3200},    // Letter
                                         PaperCase{11, 16, 1648, 2380},  // A5
                                         PaperCase{5, 1, 2450, 4100},    // Legal
                                         PaperCase{20, 6, 1137, 2750}),  // envelope #10
                         [](const testing::TestParamInfo<PaperCase>& p) {
                             return "Paper" + std::to_string(p.param.windowsCode);
                         });

// ---- Copies --------------------------------------------------------------------------

TEST_F(PrintJobTest, UncollatedCopiesAreLeftToThePrinter) {
    JobSettings settings = SmallPage(300, 320, 300);
    settings.copies = 3;
    const SpoolRun run = RunJob(temp_, OneListJob(settings, ListOf({{10, 10, 50, 50}}), 2));
    ASSERT_EQ(run.job.pages.size(), 2u);
    for (const DecodedPage& page : run.job.pages) {
        EXPECT_EQ(page.header.copies, 3u);
        EXPECT_EQ(page.trailerCopies, 3u);
    }
}

TEST_F(PrintJobTest, CollatedCopiesRepeatTheWholeDocument) {
    JobSettings settings = SmallPage(300, 320, 300);
    settings.copies = 3;
    settings.collate = true;
    SpoolJobBuilder builder;
    builder.StartDoc(settings);
    const std::vector<Box> pageBoxes = {{10, 10, 50, 50}, {100, 100, 200, 120}};
    for (const Box& b : pageBoxes) {
        builder.StartPage(settings);
        builder.AddDisplayList(ListOf({b}));
        builder.EndPage();
    }
    builder.EndDoc();
    const SpoolRun run = RunJob(temp_, builder.Job());
    ASSERT_EQ(run.job.pages.size(), 6u);
    for (size_t i = 0; i < run.job.pages.size(); ++i) {
        const DecodedPage& page = run.job.pages[i];
        EXPECT_EQ(page.header.copies, 1u);
        const Box& b = pageBoxes[i % 2];
        EXPECT_EQ(page.Plane(4).dots, uint64_t{b.right - b.left} * (b.bottom - b.top)) << "page " << i;
        EXPECT_EQ(DotsIn(page.Plane(4), b), page.Plane(4).dots) << "page " << i;
    }
}

// Two collated duplex copies of a document: an odd page count gets a blank
// back page so that each copy starts on a new sheet; an even one does not.
struct CollatedDuplexCase {
    const char* name;
    int pages;
    uint32_t binding;  // 1 long edge, 2 short edge
};

class CollatedDuplex : public EntryPointTest, public testing::WithParamInterface<CollatedDuplexCase> {};

TEST_P(CollatedDuplex, CopiesStartOnAFreshSheet) {
    const CollatedDuplexCase& c = GetParam();
    JobSettings settings = SmallPage(300, 320, 300);
    settings.copies = 2;
    settings.collate = true;
    settings.duplexBinding = c.binding;
    const SpoolRun run = RunJob(temp_, OneListJob(settings, ListOf({{10, 10, 50, 50}}), c.pages));
    ASSERT_NE(run.job.Set("DUPLEX"), nullptr);
    EXPECT_EQ(*run.job.Set("DUPLEX"), "ON");
    // Each copy: the pages, then the blank back page when their count is odd.
    const size_t sides = static_cast<size_t>(c.pages) + static_cast<size_t>(c.pages % 2);
    ASSERT_EQ(run.job.pages.size(), 2 * sides);
    for (size_t i = 0; i < run.job.pages.size(); ++i) {
        const DecodedPage& page = run.job.pages[i];
        EXPECT_EQ(page.header.longEdge, c.binding == 1 ? 1u : 0u) << "page " << i;
        EXPECT_EQ(page.header.oddPage, i % 2 == 0 ? 1u : 0u) << "page " << i;
        EXPECT_EQ(page.Plane(4).dots, i % sides < static_cast<size_t>(c.pages) ? 1600u : 0u) << "page " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(PrintJob, CollatedDuplex,
                         testing::Values(CollatedDuplexCase{"OddPageCountLongEdge", 3, 1},
                                         CollatedDuplexCase{"EvenPageCountShortEdge", 2, 2}),
                         [](const testing::TestParamInfo<CollatedDuplexCase>& p) {
                             return std::string(p.param.name);
                         });

// ---- Scaling, rotation, posters --------------------------------------------------------

// A 640 x 480 page at 600 dpi with the boxes drawn, printed at a scale:
// where the one box that lands on the sheet must be.
struct ScaleCase {
    const char* name;
    uint32_t scale;
    bool landscapeScale;  // a landscape page scaled towards its bottom
    std::vector<Box> drawn;
    Box expected;
};

class ScaledJob : public EntryPointTest, public testing::WithParamInterface<ScaleCase> {};

TEST_P(ScaledJob, PrintsTheScaledBoxWhereTheScaleTakesIt) {
    const ScaleCase& c = GetParam();
    JobSettings settings = SmallPage(600, 640, 480);
    settings.scale = c.scale;
    settings.landscape = c.landscapeScale;
    settings.landscapeScale = c.landscapeScale;
    const SpoolRun run = RunJob(temp_, OneListJob(settings, ListOf(c.drawn)));
    ASSERT_EQ(run.job.pages.size(), 1u);
    EXPECT_EQ(run.job.pages[0].header.width, 640u);
    EXPECT_EQ(CompareDots(run.job.pages[0].Plane(4), 640, 480,
                          [&](uint32_t x, uint32_t y) { return c.expected.Holds(x, y); }),
              "");
}

INSTANTIATE_TEST_SUITE_P(
    PrintJob, ScaledJob,
    testing::Values(
        // Below full size the page shrinks towards its top left.
        ScaleCase{"HalfSize", 50, false, {{100, 100, 300, 200}}, {50, 50, 150, 100}},
        // Landscape scaling shrinks towards the page bottom: shifted down by
        // 480 * 100 / 50 - 480 = 480 rows before the halving.
        ScaleCase{"HalfSizeLandscape", 50, true, {{100, 100, 300, 200}}, {50, 290, 150, 340}},
        // Above full size the top left of the page is enlarged; the second
        // box lands beyond the enlarged window.
        ScaleCase{
            "DoubleSize", 200, false, {{100, 100, 150, 130}, {400, 300, 500, 400}}, {200, 200, 300, 260}}),
    [](const testing::TestParamInfo<ScaleCase>& p) { return std::string(p.param.name); });

TEST_F(PrintJobTest, ScaleWithoutEnlargingPrintsTheSameWindowOnTheNormalPath) {
    const DLWriter list = ListOf({{100, 100, 150, 130}, {300, 200, 330, 260}});
    JobSettings settings = SmallPage(600, 630, 480);
    settings.scale = 150;
    const SpoolRun enlarged = RunJob(temp_, OneListJob(settings, list));
    settings.scaleWithoutEnlarging = true;
    const SpoolRun normal = RunJob(temp_, OneListJob(settings, list));
    ASSERT_EQ(enlarged.job.pages.size(), 1u);
    ASSERT_EQ(normal.job.pages.size(), 1u);
    const PagePlane& window = enlarged.job.pages[0].Plane(4);
    EXPECT_EQ(CompareDots(normal.job.pages[0].Plane(4), 630, 480,
                          [&](uint32_t x, uint32_t y) { return window.Dot(x, y); }),
              "");
    EXPECT_EQ(normal.job.pages[0].Plane(4).dots, 75u * 45 + 45u * 90);
}

TEST_F(PrintJobTest, RotatedJobEqualsTheNormalJobTurned) {
    const uint32_t width = 700, height = 900;
    const DLWriter list = ListOf({{10, 10, 110, 40}, {300, 200, 420, 330}, {650, 850, 699, 899}});
    JobSettings settings = SmallPage(600, width, height, true);
    const SpoolRun normal = RunJob(temp_, OneListJob(settings, list));
    settings.rotate180 = true;
    const SpoolRun turned = RunJob(temp_, OneListJob(settings, list));
    ASSERT_EQ(normal.job.pages.size(), 1u);
    ASSERT_EQ(turned.job.pages.size(), 1u);
    const PagePlane& before = normal.job.pages[0].Plane(4);
    EXPECT_EQ(CompareDots(turned.job.pages[0].Plane(4), width, height,
                          [&](uint32_t x, uint32_t y) { return before.Dot(width - 1 - x, height - 1 - y); }),
              "");
    EXPECT_EQ(turned.job.pages[0].Plane(4).dots, 100u * 30 + 120u * 130 + 49u * 49);
}

TEST_F(PrintJobTest, PosterOfFourSheets) {
    JobSettings settings = SmallPage(300, 320, 300);
    settings.scale = 200;
    settings.posterTiles = 2;
    // One box in each quarter of the page; doubled, each fills its own sheet.
    const std::vector<Box> boxes = {
        {20, 20, 60, 40}, {200, 30, 240, 60}, {40, 200, 80, 260}, {220, 180, 300, 220}};
    const SpoolRun run = RunJob(temp_, OneListJob(settings, ListOf(boxes)));
    ASSERT_EQ(run.job.pages.size(), 4u);
    ASSERT_NE(run.job.Set("DUPLEX"), nullptr);
    EXPECT_EQ(*run.job.Set("DUPLEX"), "OFF");
    // Portrait sheets go row by row: top left, top right, bottom left, bottom right.
    const uint32_t origins[4][2] = {{0, 0}, {320, 0}, {0, 300}, {320, 300}};
    for (size_t i = 0; i < 4; ++i) {
        const Box& b = boxes[i];
        const Box expected{2 * b.left - origins[i][0], 2 * b.top - origins[i][1], 2 * b.right - origins[i][0],
                           2 * b.bottom - origins[i][1]};
        EXPECT_EQ(CompareDots(run.job.pages[i].Plane(4), 320, 300,
                              [&](uint32_t x, uint32_t y) { return expected.Holds(x, y); }),
                  "")
            << "sheet " << i;
    }
}

// ---- Overlays -------------------------------------------------------------------------

// A recorded data file: records of length (LE32), tag (LE32) and bytes.
bool WriteRecordedFile(sys::WStringView path, const std::vector<uint8_t>& piece) {
    std::vector<uint8_t> bytes;
    const uint32_t length = static_cast<uint32_t>(piece.size());
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<uint8_t>(length >> shift));
    bytes.insert(bytes.end(), 4, 0);  // tag 0
    bytes.insert(bytes.end(), piece.begin(), piece.end());
    return zebl_test::WriteFileBytes(path, bytes.data(), bytes.size());
}

TEST_F(PrintJobTest, OverlayPrintsUnderEveryPage) {
    const sys::WString overlay = temp_.Join(u"letterhead.ovl");
    ASSERT_TRUE(WriteRecordedFile(overlay, ListOf({{0, 0, 320, 20}}).Bytes()));
    JobSettings settings = SmallPage(300, 320, 300);
    settings.fields.push_back({kFBIDocOptions, kDocOptUseOverlay});
    auto record = [&](uint32_t flags) {
        FBInterface r = MakeSettingsRecord(settings, flags);
        r.SetString(kFBIOverlayPath, overlay);
        return std::vector<uint8_t>(r.bytes.begin(), r.bytes.end());
    };
    SpoolJobBuilder builder;
    builder.StartDoc(settings);
    SpoolJob job = builder.Job();
    job.records.back().data = record(kFBICmdStartDoc);
    for (const Box& b : {Box{10, 100, 60, 150}, Box{200, 200, 300, 210}}) {
        job.records.push_back({SpoolCall::StartPage, {}});
        job.records.push_back({SpoolCall::WritePrinter, record(kFBICmdStartPage)});
        for (auto& buffer : DisplayListBuffers(ListOf({b})))
            job.records.push_back({SpoolCall::WritePrinter, buffer});
        job.records.push_back({SpoolCall::EndPage, {}});
    }
    job.records.push_back({SpoolCall::EndDoc, {}});
    const SpoolRun run = RunJob(temp_, job);
    ASSERT_EQ(run.job.pages.size(), 2u);
    EXPECT_EQ(DotsIn(run.job.pages[0].Plane(4), Box{0, 0, 320, 20}),
              319u * 20);  // column 319 is the band's last
    EXPECT_EQ(run.job.pages[0].Plane(4).dots, 319u * 20 + 50 * 50);
    EXPECT_EQ(DotsIn(run.job.pages[1].Plane(4), Box{0, 0, 320, 20}), 319u * 20);
    EXPECT_EQ(run.job.pages[1].Plane(4).dots, 319u * 20 + 100 * 10);
}

}  // namespace
