// Scenes as PostScript: the drawing a general rasterizer renders to compare
// with the library must be the scene's own (same places, sizes, levels and
// character counts), and a command without a PostScript form must stop the
// translation rather than leave a different page.
#include "job/scene_postscript.h"

#include <gtest/gtest.h>

#include <string>

#include "image/pnm.h"
#include "job/file_bytes.h"
#include "support/temp_folder.h"

namespace {

size_t Count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

TEST(ScenePostScript, BoxesColoursAndTextKeepTheirDotsAndCharacters) {
    std::string ps, error;
    ASSERT_TRUE(
        SceneToPostScript("document bench page\npaper a4\nresolution 600\ncolour on\n"
                          "page\ngrey 51\nbox 1in 2in 100 50\ncolour 255 0 0\n"
                          "text 10 20 7 \"a (b) \\\\c\"\npage\nbox 0 0 8 8\n",
                          &ps, &error))
        << error;
    EXPECT_EQ(ps.rfind("%!PS-Adobe-3.0\n", 0), 0u);
    EXPECT_NE(ps.find("%%Pages: 2\n"), std::string::npos);
    EXPECT_NE(ps.find("%%Title: bench page\n"), std::string::npos);
    EXPECT_NE(ps.find("/PageSize [595.3 841.9]"), std::string::npos);
    // Dots at 600 dpi from the top-left corner: 1 in = 600 dots.
    EXPECT_NE(ps.find("72 600 div dup scale 0 7016 translate 1 -1 scale"), std::string::npos);
    EXPECT_NE(ps.find("0.2 setgray\n600 1200 100 50 rectfill\n"), std::string::npos);
    EXPECT_NE(ps.find("1 0 0 setrgbcolor\n"), std::string::npos);
    // Size 7: advance 42 dots = 0.6 em of a 70-dot Courier; baseline 7 rows below the top.
    EXPECT_NE(ps.find("70 SceneFont 10 69 moveto (a \\(b\\) \\\\c) show\n"), std::string::npos);
    EXPECT_EQ(Count(ps, "showpage"), 2u);
    EXPECT_EQ(Count(ps, "%%Page: "), 2u);
}

TEST(ScenePostScript, CommandsWithoutAPostScriptFormStopWithTheirLine) {
    std::string ps, error;
    EXPECT_FALSE(SceneToPostScript("page\nbox 0 0 1 1\nhatch cross\n", &ps, &error));
    EXPECT_EQ(error, "line 3: hatch: no PostScript form");
    EXPECT_FALSE(SceneToPostScript("paper a3\n", &ps, &error));
    EXPECT_EQ(error, "line 1: paper: a3 has no PostScript size here (a4 or letter)");
    EXPECT_FALSE(SceneToPostScript("box 0 0 1 1\n", &ps, &error));
    EXPECT_EQ(error, "line 1: box: outside a page (start one with \"page\")");
    EXPECT_FALSE(SceneToPostScript("page\nbox 0 0 1\n", &ps, &error));
    EXPECT_NE(error.find("line 2: "), std::string::npos);
}

// Images: the pixels as they are in the file (grey levels, or red, green
// and blue), at the scene's place and size, and the image matrix that turns
// and mirrors them as the record does.
struct ImageCase {
    const char* options;
    const char* size;    // "width height" on the page
    const char* matrix;  // unit square to the 3 x 2 source
    bool colour;
};

class ScenePostScriptImage : public zebl_test::TempFolderTest,
                             public ::testing::WithParamInterface<ImageCase> {};

// The hex digits between the image operator and grestore, as bytes.
std::vector<uint8_t> HexData(const std::string& ps, const std::string& op) {
    std::vector<uint8_t> bytes;
    const size_t start = ps.find(op + "\n"), end = ps.find("grestore");
    if (start == std::string::npos || end == std::string::npos) return bytes;
    std::string digits;
    for (size_t i = start + op.size() + 1; i < end; ++i)
        if (ps[i] != '\n') digits += ps[i];
    for (size_t i = 0; i + 1 < digits.size(); i += 2)
        bytes.push_back(static_cast<uint8_t>(std::stoi(digits.substr(i, 2), nullptr, 16)));
    return bytes;
}

TEST_P(ScenePostScriptImage, DrawsTheFilesPixelsTurnedAndMirroredAsTheRecord) {
    const ImageCase& c = GetParam();
    Image8 photo;
    photo.width = 3;
    photo.height = 2;
    photo.channels = 3;
    photo.pixels = {255, 0, 0, 0, 255, 0, 0, 0, 255, 10, 20, 30, 40, 50, 60, 70, 80, 90};
    std::string error;
    ASSERT_TRUE(WriteFileBytes(temp_.Join(u"photo.ppm"), EncodePnm(photo), &error)) << error;
    SceneOptions options;
    options.baseFolder = temp_.Path();
    std::string ps;
    ASSERT_TRUE(SceneToPostScript(
        "resolution 600\npage\nimage photo.ppm 10 20 " + std::string(c.options) + "\n", options, &ps, &error))
        << error;
    EXPECT_NE(ps.find("gsave 10 20 translate " + std::string(c.size) + " scale\n"), std::string::npos) << ps;
    EXPECT_NE(ps.find(std::string("3 2 8 ") + c.matrix + " {currentfile ScenePixels readhexstring pop}"),
              std::string::npos)
        << ps;
    std::vector<uint8_t> expected;
    for (uint32_t y = 0; y < 2; ++y)
        for (uint32_t x = 0; x < 3; ++x) {
            if (!c.colour) {
                expected.push_back(photo.Grey(x, y));
                continue;
            }
            const uint8_t* p = &photo.pixels[(y * 3 + x) * 3];
            expected.insert(expected.end(), p, p + 3);
        }
    EXPECT_EQ(HexData(ps, c.colour ? "false 3 colorimage" : "image"), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, ScenePostScriptImage,
    ::testing::Values(ImageCase{"", "3 2", "[3 0 0 2 0 0]", true},
                      ImageCase{"width 30 height 40 stretch", "30 40", "[3 0 0 2 0 0]", true},
                      ImageCase{"bits 8", "3 2", "[3 0 0 2 0 0]", false},
                      ImageCase{"rotate", "2 3", "[0 2 -3 0 3 0]", true},
                      ImageCase{"mirror bits 4", "3 2", "[-3 0 0 2 3 0]", false},
                      ImageCase{"rotate mirror width 20", "20 3", "[0 2 3 0 0 0]", true}));

TEST_F(ScenePostScriptImage, AMissingFileStopsWithItsLine) {
    std::string ps, error;
    SceneOptions options;
    options.baseFolder = temp_.Path();
    EXPECT_FALSE(SceneToPostScript("page\nbox 0 0 1 1\nimage none.ppm 0 0\n", options, &ps, &error));
    EXPECT_EQ(error.rfind("line 3: image: ", 0), 0u) << error;
}

}  // namespace
