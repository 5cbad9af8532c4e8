// A whole page from a display list to the printer: played band by band into
// the rendering buffer, printed with FBPrintBand, decoded from the stream.
// Every object is drawn in full ink, so each of its pixels must come back as
// a dot, in the planes of its inks, and nothing else may.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "engine/band_output.h"
#include "engine/band_output_test_support.h"
#include "engine/playback.h"
#include "engine/playback_test_support.h"
#include "engine/render_band.h"
#include "pipeline/band_cache.h"
#include "pipeline/band_geometry.h"
#include "pipeline/fb_band.h"

namespace {

using band_test::MakePage;
using band_test::PrintedJob;
using playback_test::DL;

constexpr uint32_t kPageWidth = 1000;  // rendering pixels; rows of 1024
constexpr uint32_t kPageHeight = 600;

// An object of the test page in rendering pixels, right and bottom exclusive,
// and the planes (ids 1 cyan .. 4 black) its colour puts ink into.
struct DrawnBox {
    uint32_t left, top, right, bottom;
    std::set<uint8_t> planes;
};

// The glyph: 3 rows of 16 pixels at row 400, column 64, drawn black.
constexpr uint32_t kGlyphRow = 400, kGlyphCol = 64;
const std::vector<uint8_t> kGlyphBits = {0xF0, 0x0F, 0, 0, 0xAA, 0x55, 0, 0, 0xFF, 0xFF, 0, 0};

bool GlyphHolds(uint32_t x, uint32_t y) {
    if (y < kGlyphRow || y >= kGlyphRow + 3 || x < kGlyphCol || x >= kGlyphCol + 16) return false;
    const uint32_t c = x - kGlyphCol;
    return (kGlyphBits[(y - kGlyphRow) * 4 + c / 8] & (0x80 >> (c % 8))) != 0;
}

struct Scene {
    std::vector<DrawnBox> boxes;
    DL list;
};

// Black boxes, one crossing a band border, and the glyph; on a colour page
// also red, green and blue boxes (two inks each).
Scene MakeScene(bool colour) {
    Scene scene;
    scene.list.At(kGlyphRow, kGlyphCol).Glyph(0, 3, 16, kGlyphBits);  // ROP S AND D: black ink
    scene.list.Black();
    scene.boxes.push_back({30, 20, 130, 60, {4}});
    scene.boxes.push_back({500, 200, 537, 300, {4}});
    if (colour) {
        scene.boxes.push_back({700, 100, 760, 140, {2, 3}});  // red: magenta and yellow
        scene.boxes.push_back({800, 250, 830, 270, {1, 3}});  // green: cyan and yellow
        scene.boxes.push_back({600, 500, 990, 520, {1, 2}});  // blue: cyan and magenta
    }
    const uint32_t colours[] = {0x81000000, 0x81000000, 0x810000FF, 0x8100FF00, 0x81FF0000};
    for (size_t i = 0; i < scene.boxes.size(); ++i) {
        const DrawnBox& b = scene.boxes[i];
        scene.list.RopColour(0xF0, colours[i])
            .At(static_cast<uint16_t>(b.top), static_cast<uint16_t>(b.left))
            .Box16(static_cast<uint16_t>(b.bottom - b.top), static_cast<uint16_t>(b.right - b.left));
    }
    return scene;
}

bool SceneInks(const Scene& scene, uint8_t planeId, uint32_t x, uint32_t y) {
    if (planeId == 4 && GlyphHolds(x, y)) return true;
    for (const DrawnBox& b : scene.boxes) {
        if (x >= b.left && x < b.right && y >= b.top && y < b.bottom && b.planes.count(planeId)) return true;
    }
    return false;
}

// The page printer's loop: rendering bands of two physical bands each.
void PrintPage(FBBand* band, FBBandCache* cache, FBOut* out, const FBPage& page, const DL& list) {
    auto state = std::make_unique<RenderState>();
    state->page.isColour = page.bitsPerPixel == 32;
    state->page.bitsPerPixel = page.bitsPerPixel;
    state->page.resolution = page.resolution;
    state->page.rowPixels = (page.printableWidth + 31) / 32 * 32;
    state->page.bytesPerRow = state->page.rowPixels * page.bitsPerPixel / 8;
    state->page.dwordsPerRow = state->page.bytesPerRow / 4;
    state->page.pageRows = page.printableHeight;
    ASSERT_EQ(RDInitialize(state.get()), 1);

    const uint32_t physical = RDPhysBandHeight(page.resolution);
    const uint32_t bandRows = 2 * physical;
    const size_t bufferBytes = size_t{bandRows} * state->page.bytesPerRow;
    state->window.band = FBAllocInCache(cache, kCacheRenderBuffer, bufferBytes);
    ASSERT_NE(state->window.band, nullptr);
    const DLChunk chunk{list.bytes().data(), static_cast<uint32_t>(list.size())};
    state->page.displayList = &chunk;
    state->page.displayListEnd = &chunk + 1;

    ASSERT_EQ(FBOutBandSetBuffer(band, state->window.band, bufferBytes), 1);
    ASSERT_EQ(FBOutBandSetTotalBandNums(band, (page.printableHeight + bandRows - 1) / bandRows), 1);
    for (uint32_t y = 0; y < page.printableHeight; y += bandRows) {
        const uint32_t last = y + bandRows - 1;
        ASSERT_EQ(RDInitializeBand(state.get(), y / physical, 0, y, state->page.rowPixels - 1, last), 1);
        PlayFrameBuffer(state.get(), 0, 0);
        if (state->page.isColour) {
            zebl_test::ConvertToInks(state->window.band, size_t{bandRows} * state->page.rowPixels);
        }
        FBOutBandSetRowFlags(band, state->window.rowFlags.data(),
                             std::min<size_t>(state->window.rowFlags.size(), bandRows));
        ASSERT_EQ(FBPrepareBand(band, 0, y, state->page.rowPixels - 1, last), 1);
        EXPECT_EQ(FBPrintBand(band, out), 1) << "band at row " << y;
    }
    RDDestroy(state.get());
}

struct PageCase {
    uint32_t bitsPerPixel;
    uint32_t resolution;
    uint32_t outputResolution;
};

std::string CaseName(const testing::TestParamInfo<PageCase>& info) {
    return std::string(info.param.bitsPerPixel == 32 ? "Colour" : "Grey") +
           std::to_string(info.param.resolution) + "x" + std::to_string(info.param.outputResolution);
}

class PrintedPage : public zebl_test::TempFolderTest, public testing::WithParamInterface<PageCase> {};

TEST_P(PrintedPage, DotsExactlyWhereTheObjectsWereDrawn) {
    const PageCase c = GetParam();
    const bool colour = c.bitsPerPixel == 32;
    const FBPage page = MakePage(c.resolution, c.outputResolution, c.bitsPerPixel, kPageWidth, kPageHeight);
    const Scene scene = MakeScene(colour);

    FBBandCache cache;
    FBBand band;
    ASSERT_EQ(FBInitializeBand(&band, &cache, page, kScreenNormal), 1);
    PrintedJob job(temp_, page);
    ASSERT_TRUE(job.Opened());
    PrintPage(&band, &cache, job.Out(), page, scene.list);
    FBDestroyBand(&band);
    job.Finish();

    const DecodedPage& decoded = job.Page();
    const uint32_t scale = c.outputResolution / c.resolution;  // 2 when doubled
    const uint32_t width = kPageWidth * scale, height = kPageHeight * scale;
    ASSERT_EQ(decoded.header.width, width);
    ASSERT_EQ(decoded.header.height, height);
    EXPECT_EQ(decoded.dotsOutsidePage, 0u);

    const std::vector<uint8_t> planeIds = colour ? std::vector<uint8_t>{1, 2, 3, 4} : std::vector<uint8_t>{4};
    for (uint8_t id : planeIds) {
        EXPECT_EQ(band_test::CompareDots(
                      decoded.Plane(id), width, height,
                      [&](uint32_t x, uint32_t y) { return SceneInks(scene, id, x / scale, y / scale); }),
                  "")
            << "plane " << int(id);
    }
    // A band record for every physical band with ink, and for no other.
    const uint32_t physical = FBGetPhysBandHeight(c.outputResolution);
    std::set<uint32_t> inked, sent;
    auto inkRows = [&](uint32_t top, uint32_t bottom) {
        for (uint32_t y = top * scale; y < bottom * scale; ++y) inked.insert(y / physical);
    };
    inkRows(kGlyphRow, kGlyphRow + 3);
    for (const DrawnBox& b : scene.boxes) inkRows(b.top, b.bottom);
    for (const DecodedBand& b : decoded.bands) sent.insert(b.index);
    EXPECT_EQ(sent, inked);
    EXPECT_EQ(decoded.bands.size(), sent.size());
}

INSTANTIATE_TEST_SUITE_P(BandOutput, PrintedPage,
                         testing::Values(PageCase{8, 600, 600}, PageCase{32, 600, 600},
                                         PageCase{8, 600, 1200}, PageCase{32, 600, 1200},
                                         PageCase{8, 300, 300}, PageCase{32, 1200, 1200}),
                         CaseName);

}  // namespace
