// Images of every depth, stretched, mirrored and turned, composed from image
// files into a job, printed through Tzqr4um.dll loaded by name and decoded:
// every dot of the grey page and of the four colour planes where the images
// say, image bands coded as pictures (never with the text coder), and an
// image through a clip path exactly where the path fills.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "decode/stream_decoder.h"
#include "image/pnm.h"
#include "job/file_bytes.h"
#include "job/job_player.h"
#include "job/scene.h"
#include "support/library_paths.h"
#include "support/plane_compare.h"
#include "support/temp_folder.h"
#include "support/test_printer.h"

namespace {

// 16 x 8 images: the left half black and the right half white, and the left
// half red and the right half blue. Each is drawn four times enlarged,
// 64 x 32 dots (32 x 64 turned), at row 32 and columns 32, 128, 224 ...
const char kGreyScene[] =
    "resolution 300\n"
    "page\n"
    "image half.pgm 32 32 width 64 height 32 bits 1\n"
    "image half.pgm 128 32 width 64 height 32 bits 4 stretch\n"
    "image half.pgm 224 32 width 64 height 32 bits 8\n"
    "image half.pgm 320 32 width 64 height 32 bits 24 stretch\n"
    "image half.pgm 416 32 width 64 height 32 bits 8 mirror\n"
    "image half.pgm 512 32 width 32 height 64 bits 8 rotate\n"
    "text 32 200 1 \"A\"\n";

const char kColourScene[] =
    "resolution 300\n"
    "colour on\n"
    "page\n"
    "image half.pgm 32 32 width 64 height 32 bits 1 stretch\n"
    "image half.pgm 128 32 width 64 height 32 bits 4\n"
    "image half.pgm 224 32 width 64 height 32 bits 8 stretch\n"
    "image halves.ppm 320 32 width 64 height 32 stretch\n"
    "image halves.ppm 416 32 width 64 height 32 mirror\n"
    "image half.pgm 512 32 width 32 height 64 bits 24 rotate\n"
    "text 32 200 1 \"A\"\n";

// The image rows (the text lies below them, in a band of its own).
constexpr uint32_t kImageRows = 128;
constexpr uint32_t kImageColumns = 640;

bool In(uint32_t x, uint32_t y, uint32_t left, uint32_t top, uint32_t width, uint32_t height) {
    return x >= left && x < left + width && y >= top && y < top + height;
}

// The black halves: the left 32 columns of the plain images at 32, 128, 224
// (and 320 on the grey page), the right half of the mirrored one at 416,
// and the bottom half of the turned one at 512 (turned counter-clockwise,
// the file's right half comes first).
bool BlackDot(uint32_t x, uint32_t y, bool colourPage) {
    for (const uint32_t left : {32u, 128u, 224u})
        if (In(x, y, left, 32, 32, 32)) return true;
    if (!colourPage && In(x, y, 320, 32, 32, 32)) return true;
    if (!colourPage && In(x, y, 448, 32, 32, 32)) return true;
    return In(x, y, 512, 64, 32, 32);
}

// Red is magenta and yellow, blue cyan and magenta.
bool RedDot(uint32_t x, uint32_t y) { return In(x, y, 320, 32, 32, 32) || In(x, y, 448, 32, 32, 32); }
bool BlueDot(uint32_t x, uint32_t y) { return In(x, y, 352, 32, 32, 32) || In(x, y, 416, 32, 32, 32); }

class ImageJob : public zebl_test::TempFolderTest {
protected:
    void SetUp() override {
        Image8 half;
        half.width = 16;
        half.height = 8;
        Image8 halves = half;
        halves.channels = 3;
        for (uint32_t y = 0; y < 8; ++y) {
            for (uint32_t x = 0; x < 16; ++x) {
                half.pixels.push_back(x < 8 ? 0 : 255);
                halves.pixels.insert(halves.pixels.end(),
                                     {uint8_t(x < 8 ? 255 : 0), 0, uint8_t(x < 8 ? 0 : 255)});
            }
        }
        std::string error;
        ASSERT_TRUE(WriteFileBytes(temp_.Join(u"half.pgm"), EncodePnm(half), &error)) << error;
        ASSERT_TRUE(WriteFileBytes(temp_.Join(u"halves.ppm"), EncodePnm(halves), &error)) << error;
    }

    // Composes the scene, prints it through the library loaded by name and
    // decodes what the printer got.
    void Print(const char* scene, DecodedJob* decoded, size_t pages = 1) {
        SceneOptions options;
        options.baseFolder = temp_.Path();
        SpoolJob job;
        std::string error;
        ASSERT_TRUE(ComposeScene(scene, options, &job, &error)) << error;
        DrvSplLibrary library;
        ASSERT_TRUE(library.Load(zebl_test::LibraryBesideStandIns(), &error)) << error;
        zebl_test::TestPrinter printer(temp_);
        ASSERT_TRUE(printer.Ready());
        PlayOptions play;
        play.printerName = printer.Name();
        play.outputFile = printer.OutputPath();
        PlayReport report;
        ASSERT_TRUE(PlaySpoolJob(job, library.EntryPoints(), play, &report, &error)) << error;
        ASSERT_TRUE(report.Ok()) << report.Trace();
        const std::vector<uint8_t> bytes = printer.Output();
        ASSERT_TRUE(DecodeStream(bytes.data(), bytes.size(), decoded, &error)) << error;
        ASSERT_EQ(decoded->pages.size(), pages);
    }

    static void ExpectPlane(const DecodedPage& page, uint8_t planeId,
                            const std::function<bool(uint32_t, uint32_t)>& ink) {
        SCOPED_TRACE(testing::Message() << "plane " << int(planeId));
        EXPECT_EQ(zebl_test::CompareDots(page.Plane(planeId), kImageColumns, kImageRows, ink), "");
    }

    // Bands with image rows are coded as pictures; the text band with the
    // text coder or raw.
    static void ExpectCoders(const DecodedPage& page) {
        bool sawText = false;
        for (const DecodedBand& band : page.bands) {
            const bool imageBand = band.firstLine < 96;
            for (const DecodedPlaneRecord& plane : band.planes) {
                if (imageBand) EXPECT_NE(plane.compression, 0x12) << "band at line " << band.firstLine;
                else EXPECT_NE(plane.compression, 0x11) << "band at line " << band.firstLine;
            }
            sawText = sawText || band.firstLine >= 192;
        }
        EXPECT_TRUE(sawText);
    }
};

TEST_F(ImageJob, GreyPagePrintsEveryDepthWhereTheImagesAre) {
    DecodedJob decoded;
    ASSERT_NO_FATAL_FAILURE(Print(kGreyScene, &decoded));
    const DecodedPage& page = decoded.pages[0];
    ExpectPlane(page, 4, [](uint32_t x, uint32_t y) { return BlackDot(x, y, false); });
    ExpectCoders(page);
}

TEST_F(ImageJob, ColourPagePrintsEveryDepthInItsInks) {
    DecodedJob decoded;
    ASSERT_NO_FATAL_FAILURE(Print(kColourScene, &decoded));
    const DecodedPage& page = decoded.pages[0];
    ExpectPlane(page, 1, [](uint32_t x, uint32_t y) { return BlueDot(x, y); });
    ExpectPlane(page, 2, [](uint32_t x, uint32_t y) { return RedDot(x, y) || BlueDot(x, y); });
    ExpectPlane(page, 3, [](uint32_t x, uint32_t y) { return RedDot(x, y); });
    ExpectPlane(page, 4, [](uint32_t x, uint32_t y) { return BlackDot(x, y, true); });
    ExpectCoders(page);
}

TEST_F(ImageJob, ImageUnderAClipPathPrintsWhereThePathFills) {
    // Page 1: the black-and-white image (rows 16..111, black in its left
    // half, columns 32..127) through a triangle that reaches below it; page
    // 2: the triangle filled.
    DecodedJob decoded;
    ASSERT_NO_FATAL_FAILURE(
        Print("resolution 300\n"
              "page\n"
              "path set 40,20 200,40 60,120\n"
              "clip-mode 3\n"
              "image half.pgm 32 16 width 192 height 96 bits 8 stretch\n"
              "clip-mode 0\n"
              "page\n"
              "path fill 40,20 200,40 60,120\n",
              &decoded, 2));
    const PagePlane& triangle = decoded.pages[1].Plane(4);
    EXPECT_GT(triangle.dots, 1000u);
    EXPECT_EQ(zebl_test::CompareDots(
                  decoded.pages[0].Plane(4), 256, 128,
                  [&](uint32_t x, uint32_t y) { return In(x, y, 32, 16, 96, 96) && triangle.Dot(x, y); }),
              "");
}

}  // namespace
