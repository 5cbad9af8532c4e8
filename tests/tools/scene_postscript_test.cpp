// Scenes as PostScript: the drawing a general rasterizer renders to compare
// with the library must be the scene's own (same places, sizes, levels and
// character counts), and a command without a PostScript form must stop the
// translation rather than leave a different page.
#include "job/scene_postscript.h"

#include <gtest/gtest.h>

#include <string>

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

}  // namespace
