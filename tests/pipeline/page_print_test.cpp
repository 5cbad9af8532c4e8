// The page printer from a display list to decoded planes: where each
// object's dots fall, the density of grey areas, the planes of colours, and
// the variants checked against each other (the turned page against the
// normal page, an enlarged window and poster tiles against a normal print of
// the whole enlarged page).
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "pipeline/page_print_test_support.h"

namespace {

using page_test::CompareDots;
using page_test::DL;
using page_test::DotsIn;
using page_test::MakePage;
using page_test::PageJob;
using page_test::StandInColour;

// A box of the test scenes: rendering pixels, right and bottom exclusive.
struct Box {
    uint32_t left, top, right, bottom;
    uint32_t colour = 0x81000000;  // black

    bool Holds(uint32_t x, uint32_t y) const { return x >= left && x < right && y >= top && y < bottom; }
};

DL& Draw(DL& list, const Box& b) {
    return list.RopColour(0xF0, b.colour)
        .At(static_cast<uint16_t>(b.top), static_cast<uint16_t>(b.left))
        .Box16(static_cast<uint16_t>(b.bottom - b.top), static_cast<uint16_t>(b.right - b.left));
}

DL ListOf(const std::vector<Box>& boxes, uint32_t scale = 100) {
    DL list;
    if (scale != 100) list.Scale(100, scale);
    for (const Box& b : boxes) Draw(list, b);
    return list;
}

bool AnyHolds(const std::vector<Box>& boxes, uint32_t x, uint32_t y) {
    for (const Box& b : boxes)
        if (b.Holds(x, y)) return true;
    return false;
}

// Black boxes at the corners, one across the middle (so across a band
// border), and a small one near the right edge of a page not a multiple of
// 32 pixels wide.
std::vector<Box> CornerScene(uint32_t width, uint32_t height) {
    return {{3, 2, 40, 17},
            {width - 50, 5, width - 1, 30},
            {10, height - 20, 90, height},
            {100, height / 2 - 40, 300, height / 2 + 37},
            {width - 9, height - 9, width - 4, height - 2}};
}

class PagePrintTest : public zebl_test::TempFolderTest {};

// ---- Normal printing -------------------------------------------------------

struct ResolutionCase {
    uint32_t resolution;
    uint32_t bitsPerPixel;
};

class NormalPage : public zebl_test::TempFolderTest, public testing::WithParamInterface<ResolutionCase> {};

TEST_P(NormalPage, BlackBoxesPrintExactlyWhereTheyWereDrawn) {
    const ResolutionCase c = GetParam();
    const uint32_t width = 1000, height = 900;
    const std::vector<Box> boxes = CornerScene(width, height);
    StandInColour colour;
    ASSERT_TRUE(colour.Loaded());
    PageJob job(temp_, c.bitsPerPixel == 32 ? colour.Converter() : nullptr);
    ASSERT_TRUE(job.Opened());
    EXPECT_EQ(job.Print(MakePage(c.resolution, c.bitsPerPixel, width, height), ListOf(boxes)), 1);
    const DecodedJob& decoded = job.Finish();
    ASSERT_EQ(decoded.pages.size(), 1u);
    const DecodedPage& page = decoded.pages[0];
    EXPECT_EQ(page.header.resolutionCode, c.resolution / 100);
    EXPECT_EQ(page.header.width, width);
    EXPECT_EQ(page.header.height, height);
    EXPECT_EQ(page.dotsOutsidePage, 0u);
    EXPECT_EQ(CompareDots(page.Plane(4), width, height,
                          [&](uint32_t x, uint32_t y) { return AnyHolds(boxes, x, y); }),
              "");
    for (uint8_t id = 1; id <= 3; ++id) EXPECT_EQ(page.Plane(id).dots, 0u) << "plane " << int(id);
    // Every band of the page that holds a box was sent, and only those.
    const uint32_t physical = c.resolution == 300 ? 64 : 128;
    std::set<uint32_t> inked, sent;
    for (const Box& b : boxes)
        for (uint32_t y = b.top; y < b.bottom; ++y) inked.insert(y / physical);
    for (const DecodedBand& b : page.bands) sent.insert(b.index);
    EXPECT_EQ(sent, inked);
}

INSTANTIATE_TEST_SUITE_P(PagePrint, NormalPage,
                         testing::Values(ResolutionCase{300, 8}, ResolutionCase{600, 8},
                                         ResolutionCase{1200, 8}, ResolutionCase{600, 32},
                                         ResolutionCase{1200, 32}),
                         [](const testing::TestParamInfo<ResolutionCase>& p) {
                             return std::string(p.param.bitsPerPixel == 32 ? "Colour" : "Grey") +
                                    std::to_string(p.param.resolution);
                         });

TEST_F(PagePrintTest, ColoursGoToTheirInksAndGreyAreasToTheirDensity) {
    const uint32_t width = 640, height = 400;
    // Bound as for a grey document: the page start has to turn the module to
    // colour, or it would refuse the colour bands and raw RGB would be screened.
    StandInColour colour(false);
    ASSERT_TRUE(colour.Loaded());
    PageJob job(temp_, colour.Converter());
    ASSERT_TRUE(job.Opened());
    const Box red{20, 20, 120, 120, 0x810000FF};
    const Box blue{200, 20, 300, 120, 0x81FF0000};
    const Box midGrey{20, 200, 220, 380, 0x81808080};
    const Box lightGrey{300, 200, 500, 380, 0x81C0C0C0};
    EXPECT_EQ(job.Print(MakePage(600, 32, width, height), ListOf({red, blue, midGrey, lightGrey})), 1);
    EXPECT_EQ(colour.Converter()->block.words[kCMMWordColour], 1u);
    const DecodedPage& page = job.Finish().pages.at(0);
    // Red is magenta and yellow; blue is cyan and magenta; grey is black only.
    EXPECT_EQ(DotsIn(page.Plane(2), 20, 20, 120, 120), 100u * 100);
    EXPECT_EQ(DotsIn(page.Plane(3), 20, 20, 120, 120), 100u * 100);
    EXPECT_EQ(DotsIn(page.Plane(1), 20, 20, 120, 120), 0u);
    EXPECT_EQ(DotsIn(page.Plane(4), 20, 20, 120, 120), 0u);
    EXPECT_EQ(DotsIn(page.Plane(1), 200, 20, 300, 120), 100u * 100);
    EXPECT_EQ(DotsIn(page.Plane(2), 200, 20, 300, 120), 100u * 100);
    EXPECT_EQ(DotsIn(page.Plane(3), 200, 20, 300, 120), 0u);
    // Greys take all four inks (the module generates black and removes part
    // of it from the colours); the darker grey takes more of each, and
    // nothing lies outside the grey boxes.
    for (uint8_t id = 1; id <= 4; ++id) {
        const uint64_t mid = DotsIn(page.Plane(id), 20, 200, 220, 380);
        const uint64_t light = DotsIn(page.Plane(id), 300, 200, 500, 380);
        EXPECT_GT(light, 0u) << "plane " << int(id);
        EXPECT_GT(mid, light + light / 4) << "plane " << int(id);
        EXPECT_EQ(DotsIn(page.Plane(id), 0, 200, width, height), mid + light) << "plane " << int(id);
    }
}

TEST_F(PagePrintTest, ColourPageWithoutColourConversionPrintsInGrey) {
    const uint32_t width = 640, height = 300;
    PageJob job(temp_, nullptr);
    ASSERT_TRUE(job.Opened());
    const Box red{16, 16, 208, 208, 0x810000FF};        // luminance 30 * 255 / 100 = 76
    const Box sameGrey{240, 16, 432, 208, 0x814C4C4C};  // grey 76
    const Box black{460, 20, 560, 120};
    EXPECT_EQ(job.Print(MakePage(600, 32, width, height), ListOf({red, sameGrey, black})), 1);
    const DecodedPage& page = job.Finish().pages.at(0);
    for (uint8_t id = 1; id <= 3; ++id) EXPECT_FALSE(page.Plane(id).Allocated()) << "plane " << int(id);
    EXPECT_EQ(DotsIn(page.Plane(4), 460, 20, 560, 120), 100u * 100);
    // Red prints as the grey of its luminance: a dark grey, not raw bytes.
    const uint64_t redDots = DotsIn(page.Plane(4), 16, 16, 208, 208);
    const uint64_t greyDots = DotsIn(page.Plane(4), 240, 16, 432, 208);
    EXPECT_NEAR(static_cast<double>(redDots), static_cast<double>(greyDots), greyDots * 0.02);
    EXPECT_GT(redDots, 192u * 192 / 2);
    EXPECT_LT(redDots, 192u * 192);
    EXPECT_EQ(page.Plane(4).dots, redDots + greyDots + 100u * 100);
}

TEST_F(PagePrintTest, DrawingBelowThePageEndIsNotPrinted) {
    const uint32_t width = 512, height = 700;  // not a multiple of any band height
    PageJob job(temp_);
    ASSERT_TRUE(job.Opened());
    const Box tall{50, 650, 150, 1000};
    EXPECT_EQ(job.Print(MakePage(600, 8, width, height), ListOf({tall})), 1);
    const DecodedPage& page = job.Finish().pages.at(0);
    EXPECT_EQ(page.dotsOutsidePage, 0u);
    EXPECT_EQ(page.Plane(4).dots, 100u * 50);
}

// ---- Rotated printing --------------------------------------------------------

class TurnedPage : public zebl_test::TempFolderTest, public testing::WithParamInterface<uint32_t> {};

TEST_P(TurnedPage, EqualsTheNormalPageTurnedBy180Degrees) {
    const uint32_t bitsPerPixel = GetParam();
    // 1000 wide (rows padded to 1024) and 1500 high: neither a multiple of
    // the rendering band (1024 rows), so both the padding and the partial
    // last band are exercised.
    const uint32_t width = 1000, height = 1500;
    std::vector<Box> boxes = CornerScene(width, height);
    // Solid inks only: grey areas are screened in the printed page's own
    // coordinates, so their dot patterns differ once turned.
    boxes.push_back({400, 1000, 700, 1100, bitsPerPixel == 32 ? 0x810000FFu : 0x81000000u});
    const DL list = ListOf(boxes);
    StandInColour colour;
    ASSERT_TRUE(colour.Loaded());
    FBPage page = MakePage(600, bitsPerPixel, width, height);

    PageJob normalJob(temp_, colour.Converter());
    ASSERT_TRUE(normalJob.Opened());
    EXPECT_EQ(normalJob.Print(page, list), 1);
    const DecodedPage normal = normalJob.Finish().pages.at(0);

    page.rotate180 = 1;
    PageJob turnedJob(temp_, colour.Converter());
    ASSERT_TRUE(turnedJob.Opened());
    EXPECT_EQ(turnedJob.Print(page, list), 1);
    const DecodedPage& turned = turnedJob.Finish().pages.at(0);

    EXPECT_EQ(turned.header.height, height);
    EXPECT_EQ(turned.dotsOutsidePage, 0u);
    for (uint8_t id = bitsPerPixel == 32 ? 1 : 4; id <= 4; ++id) {
        EXPECT_EQ(turned.Plane(id).dots, normal.Plane(id).dots) << "plane " << int(id);
        EXPECT_EQ(CompareDots(turned.Plane(id), width, height,
                              [&](uint32_t x, uint32_t y) {
                                  return normal.Plane(id).Dot(width - 1 - x, height - 1 - y);
                              }),
                  "")
            << "plane " << int(id);
    }
    EXPECT_GT(turned.Plane(4).dots, 0u);
}

INSTANTIATE_TEST_SUITE_P(PagePrint, TurnedPage, testing::Values(8u, 32u),
                         [](const testing::TestParamInfo<uint32_t>& p) {
                             return p.param == 32 ? std::string("Colour") : std::string("Grey");
                         });

// ---- Enlarged printing and posters ---------------------------------------------

// The whole enlarged page printed normally on a page large enough for it:
// the reference every enlarged window must match.
DecodedPage PrintWholeEnlargedPage(const zebl_test::TempFolder& folder, const DL& list, uint32_t width,
                                   uint32_t height) {
    PageJob job(folder);
    EXPECT_TRUE(job.Opened());
    EXPECT_EQ(job.Print(MakePage(600, 8, width, height), list), 1);
    return job.Finish().pages.at(0);
}

// Boxes across the whole 800 x 600 page, so that each quarter of the
// doubled page has its own.
std::vector<Box> SpreadScene() {
    return {{10, 10, 100, 50},   {390, 280, 430, 330}, {700, 30, 790, 90},
            {60, 500, 200, 590}, {500, 420, 780, 560}, {0, 0, 800, 2}};
}

std::string CompareWindow(const PagePlane& window, const PagePlane& whole, uint32_t x0, uint32_t y0,
                          uint32_t width, uint32_t height) {
    return CompareDots(window, width, height,
                       [&](uint32_t x, uint32_t y) { return whole.Dot(x0 + x, y0 + y); });
}

// An 800 x 600 page enlarged by a scale: the sheet is a window of the whole
// scaled page, printed normally on a page large enough for it.
struct EnlargedCase {
    const char* name;
    uint32_t scale;
    bool landscape;  // a landscape page enlarged towards its bottom
    uint32_t wholeWidth, wholeHeight;
    uint32_t windowTop;
};

class EnlargedPage : public zebl_test::TempFolderTest, public testing::WithParamInterface<EnlargedCase> {};

TEST_P(EnlargedPage, IsItsWindowOfTheWholeScaledPage) {
    const EnlargedCase& c = GetParam();
    const uint32_t width = 800, height = 600;
    const DL list = ListOf(SpreadScene(), c.scale);
    const DecodedPage whole = PrintWholeEnlargedPage(temp_, list, c.wholeWidth, c.wholeHeight);

    PageJob job(temp_);
    ASSERT_TRUE(job.Opened());
    job.Settings().scale = c.scale;
    job.Settings().landscapeScale = c.landscape ? 1 : 0;
    FBPage page = MakePage(600, 8, width, height);
    page.orientation = c.landscape ? 1 : 0;
    EXPECT_EQ(job.Print(page, list), 1);
    const DecodedPage& enlarged = job.Finish().pages.at(0);
    EXPECT_EQ(enlarged.header.width, width);
    EXPECT_EQ(enlarged.header.height, height);
    EXPECT_GT(enlarged.Plane(4).dots, 0u);
    EXPECT_EQ(CompareWindow(enlarged.Plane(4), whole.Plane(4), 0, c.windowTop, width, height), "");
}

INSTANTIATE_TEST_SUITE_P(PagePrint, EnlargedPage,
                         testing::Values(
                             // Portrait: the top left window of the doubled page.
                             EnlargedCase{"PortraitDoubled", 200, false, 1600, 1200, 0},
                             // Landscape: the window starts 150 * 600 / 100 - 600 = 300 rows down.
                             EnlargedCase{"LandscapeOneAndAHalf", 150, true, 1216, 900, 300}),
                         [](const testing::TestParamInfo<EnlargedCase>& p) {
                             return std::string(p.param.name);
                         });

TEST_F(PagePrintTest, ScaleWithoutEnlargingPrintsThroughNormalPrinting) {
    // 790 wide: the kernels never paint a band's last column, so a page
    // filling its padded rows would lose column 799 (the enlarged page has
    // it inside its rows).
    const uint32_t width = 790, height = 600;
    const DL list = ListOf(SpreadScene(), 150);
    const DecodedPage whole = PrintWholeEnlargedPage(temp_, list, 1216, 900);

    PageJob job(temp_);
    ASSERT_TRUE(job.Opened());
    job.Settings().scale = 150;
    job.Settings().scaleNoEnlarge = 1;
    EXPECT_EQ(job.Print(MakePage(600, 8, width, height), list), 1);
    // Normal printing renders rows of the page's own width, not of the
    // enlarged page's.
    EXPECT_EQ(job.Cache().renderState->page.rowPixels, 800u);
    const DecodedPage& page = job.Finish().pages.at(0);
    EXPECT_EQ(CompareWindow(page.Plane(4), whole.Plane(4), 0, 0, width, height), "");
}

struct PosterCase {
    uint32_t orientation;
    uint32_t overlap;
};

class Poster : public zebl_test::TempFolderTest, public testing::WithParamInterface<PosterCase> {};

TEST_P(Poster, FourSheetsAreTheFourWindowsOfTheDoubledPage) {
    const PosterCase c = GetParam();
    const uint32_t width = 800, height = 600;
    const DL list = ListOf(SpreadScene(), 200);
    const DecodedPage whole = PrintWholeEnlargedPage(temp_, list, 2 * width, 2 * height);

    PageJob job(temp_);
    ASSERT_TRUE(job.Opened());
    job.Settings().scale = 200;
    FBPage page = MakePage(600, 8, width, height);
    page.poster = 1;
    page.posterTiles = 1;
    page.posterOverlap = c.overlap;
    page.orientation = c.orientation;
    EXPECT_EQ(job.Print(page, list), 1);
    const DecodedJob& decoded = job.Finish();
    ASSERT_EQ(decoded.pages.size(), 4u);
    const uint32_t w = width - c.overlap, h = height - c.overlap;
    // Portrait: row by row; landscape: column by column, bottom row first.
    const uint32_t portrait[4][2] = {{0, 0}, {w, 0}, {0, h}, {w, h}};
    const uint32_t landscape[4][2] = {{0, h}, {0, 0}, {w, h}, {w, 0}};
    for (size_t i = 0; i < 4; ++i) {
        const uint32_t* origin = c.orientation == 1 ? landscape[i] : portrait[i];
        const DecodedPage& sheet = decoded.pages[i];
        EXPECT_EQ(sheet.header.width, width);
        EXPECT_EQ(sheet.header.height, height);
        EXPECT_GT(sheet.Plane(4).dots, 0u) << "sheet " << i;
        EXPECT_EQ(CompareWindow(sheet.Plane(4), whole.Plane(4), origin[0], origin[1], width, height), "")
            << "sheet " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(PagePrint, Poster,
                         testing::Values(PosterCase{0, 0}, PosterCase{0, 64}, PosterCase{1, 0},
                                         PosterCase{1, 40}),
                         [](const testing::TestParamInfo<PosterCase>& p) {
                             return std::string(p.param.orientation == 1 ? "Landscape" : "Portrait") +
                                    "Overlap" + std::to_string(p.param.overlap);
                         });

// ---- What a settings record cannot make the page printer do ----------------------

TEST_F(PagePrintTest, PageThatCannotBeRenderedWritesNothing) {
    PageJob job(temp_);
    ASSERT_TRUE(job.Opened());
    FBPage odd = MakePage(600, 16, 512, 512);  // neither grey nor colour
    EXPECT_EQ(job.Print(odd, ListOf({{0, 0, 10, 10}})), 0);
    FBPage empty = MakePage(600, 8, 0, 0);
    EXPECT_EQ(job.Print(empty, ListOf({{0, 0, 10, 10}})), 0);
    EXPECT_EQ(job.Out()->pageCounter, 0u);
    EXPECT_TRUE(job.Finish().pages.empty());
}

TEST_F(PagePrintTest, BrokenDisplayListPrintsWhatPrecedesTheBreak) {
    PageJob job(temp_);
    ASSERT_TRUE(job.Opened());
    DL list = ListOf({{10, 10, 60, 60}});
    list.Op(DL_BOX16).U8(0x20);  // cut off inside its operands
    EXPECT_EQ(job.Print(MakePage(600, 8, 256, 256), list), 1);
    const DecodedPage& page = job.Finish().pages.at(0);
    EXPECT_EQ(page.Plane(4).dots, 50u * 50);
}

}  // namespace
