#include "page_scenes.h"

#include <cstdio>
#include <random>

namespace {

// Text lines: 58 lines of 90 characters from 20 mm down every 4.5 mm, words
// of 2 to 9 letters picked at random (the same on every run), about 4,500
// characters a page. The font's cell is 6 x 11 font dots; at 7 dots per
// font dot (600 dpi) a character is 1.8 mm wide.
constexpr uint32_t kTextLines = 58;
constexpr uint32_t kLineChars = 90;

std::string TextLine(std::mt19937* rng) {
    std::string line;
    while (line.size() < kLineChars) {
        const uint32_t letters = 2 + (*rng)() % 8;
        for (uint32_t i = 0; i < letters && line.size() < kLineChars; ++i)
            line += static_cast<char>('a' + (*rng)() % 26);
        if (line.size() < kLineChars) line += ' ';
    }
    return line;
}

std::string Mm(double mm) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2fmm", mm);
    return text;
}

// Text in the current colour; with headings, every tenth line is a
// coloured heading with a coloured box beside it.
std::string TextPage(uint32_t resolution, bool headings) {
    std::mt19937 rng(2026);
    const uint32_t size = 7 * resolution / 600;
    std::string scene;
    for (uint32_t line = 0; line < kTextLines; ++line) {
        const double y = 20 + 4.5 * line;
        const bool heading = headings && line % 10 == 0;
        if (heading) {
            scene += "colour 20 60 190\nbox 12mm " + Mm(y) + " 6mm 3.5mm\n";
            scene += "colour 200 30 30\n";
        }
        scene += "text 20mm " + Mm(y) + " " + std::to_string(size) + " \"" + TextLine(&rng) + "\"\n";
        if (heading) scene += "colour 0 0 0\n";
    }
    if (headings) {
        // Boxes in the margin and a few panels: about a tenth of the page in colour.
        scene += "colour 250 220 40\nbox 190mm 20mm 8mm 250mm\n";
        scene += "colour 40 180 90\nbox 20mm 282mm 170mm 6mm\n";
    }
    return scene;
}

// The page in tiles of columns x rows, each of its own level.
std::string TiledPage(uint32_t columns, uint32_t rows, bool colour) {
    std::string scene;
    const double width = 190.0 / columns, height = 277.0 / rows;
    for (uint32_t r = 0; r < rows; ++r) {
        for (uint32_t c = 0; c < columns; ++c) {
            const uint32_t i = r * columns + c;
            if (colour)
                scene += "colour " + std::to_string(i * 37 % 256) + " " + std::to_string(i * 91 % 256) + " " +
                         std::to_string(i * 53 % 256) + "\n";
            else scene += "grey " + std::to_string((i * 37 + 10) % 246) + "\n";
            scene += "box " + Mm(10 + c * width) + " " + Mm(10 + r * height) + " " + Mm(width) + " " +
                     Mm(height) + "\n";
        }
    }
    return scene;
}

// The sample job's photograph (tools/samples/make_photo.py, 192 x 128)
// turned upright and stretched over the printable page: a photo page of
// 4488 x 6543 dots at 600 dpi, 8-bit grey or 24-bit colour.
std::string PhotoPage(bool colour) {
    return std::string("image \"") + ZEBL_SAMPLE_PHOTO +
           "\" 10mm 10mm width 190mm height 277mm stretch rotate" + (colour ? "" : " bits 8") + "\n";
}

struct SceneRecipe {
    PageKind kind;
    std::string settings;
    std::string (*page)();
};

const std::vector<SceneRecipe>& Recipes() {
    static const std::vector<SceneRecipe> recipes = {
        {{"grey-text-600", "pbmraw", "600", false}, "resolution 600\n", [] { return TextPage(600, false); }},
        {{"grey-fill-600", "pbmraw", "600", false},
         "resolution 600\n",
         [] { return TiledPage(6, 24, false); }},
        {{"colour-text-600", "bitcmyk", "600", true},
         "resolution 600\ncolour on\n",
         [] { return "colour 0 0 0\n" + TextPage(600, true); }},
        {{"colour-full-600", "bitcmyk", "600", true},
         "resolution 600\ncolour on\n",
         [] { return TiledPage(8, 12, true); }},
        {{"grey-text-1200", "pbmraw", "1200", false},
         "resolution 1200\n",
         [] { return TextPage(1200, false); }},
        {{"grey-text-600x1200", "pbmraw", "600x1200", false},
         "resolution 600\noutput-resolution 1200\n",
         [] { return TextPage(600, false); }},
        {{"grey-photo-600", "pbmraw", "600", false}, "resolution 600\n", [] { return PhotoPage(false); }},
        {{"colour-photo-600", "bitcmyk", "600", true},
         "resolution 600\ncolour on\n",
         [] { return PhotoPage(true); }},
    };
    return recipes;
}

}  // namespace

const std::vector<PageKind>& PageKinds() {
    static const std::vector<PageKind> kinds = [] {
        std::vector<PageKind> list;
        for (const SceneRecipe& recipe : Recipes()) list.push_back(recipe.kind);
        return list;
    }();
    return kinds;
}

std::string PageScene(const std::string& kind, uint32_t pages) {
    for (const SceneRecipe& recipe : Recipes()) {
        if (recipe.kind.name != kind) continue;
        std::string scene = "document " + kind + "\npaper a4\n" + recipe.settings;
        const std::string page = recipe.page();
        for (uint32_t i = 0; i < pages; ++i) scene += "page\n" + page;
        return scene;
    }
    return {};
}
