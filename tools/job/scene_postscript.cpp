#include "job/scene_postscript.h"

#include <cstdint>
#include <cstdio>
#include <vector>

#include "image/image_file.h"
#include "job/bitmap_font.h"
#include "job/scene_args.h"
#include "job/scene_options.h"

namespace {

struct PaperSize {
    const char* name;
    double widthPoints, heightPoints;
};
constexpr PaperSize kPapers[] = {{"a4", 595.28, 841.89}, {"letter", 612, 792}};

// Text as a PostScript string: parentheses and backslashes escaped.
std::string PostScriptString(const std::string& text) {
    std::string quoted = "(";
    for (const char c : text) {
        if (c == '(' || c == ')' || c == '\\') quoted += '\\';
        quoted += c;
    }
    return quoted + ")";
}

std::string Number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.4g", value);
    return text;
}

// The image's pixels as hexadecimal lines: grey levels, or red, green and
// blue.
void AppendHexPixels(const Image8& image, bool colour, std::string* out) {
    static const char kDigits[] = "0123456789abcdef";
    const size_t pixels = size_t{image.width} * image.height;
    size_t column = 0;
    const auto put = [&](uint8_t v) {
        *out += kDigits[v >> 4];
        *out += kDigits[v & 15];
        if (++column == 39) {
            *out += '\n';
            column = 0;
        }
    };
    for (size_t i = 0; i < pixels; ++i) {
        const uint32_t x = static_cast<uint32_t>(i % image.width), y = static_cast<uint32_t>(i / image.width);
        if (!colour) {
            put(image.Grey(x, y));
            continue;
        }
        const uint8_t* p = image.pixels.data() + i * image.channels;
        put(p[0]);
        put(image.IsColour() ? p[1] : p[0]);
        put(image.IsColour() ? p[2] : p[0]);
    }
    *out += '\n';
}

// The image matrix that maps the unit square, y downwards, onto the source
// pixels: turned a quarter to the left (the top row runs up the left side),
// and with every row reversed when mirrored, as the record asks.
std::string ImageMatrix(uint32_t w, uint32_t h, bool rotate, bool mirror) {
    const std::string sw = std::to_string(w), sh = std::to_string(h);
    if (!rotate)
        return mirror ? "[-" + sw + " 0 0 " + sh + " " + sw + " 0]" : "[" + sw + " 0 0 " + sh + " 0 0]";
    return mirror ? "[0 " + sh + " " + sw + " 0 0 0]" : "[0 " + sh + " -" + sw + " 0 " + sw + " 0]";
}

class PostScriptWriter {
public:
    explicit PostScriptWriter(const SceneOptions& options) : options_(options) {}
    bool Line(std::string_view line, std::string* error);
    std::string Finish();

private:
    bool Setting(const std::string& command, SceneArgs& a);
    bool Drawing(const std::string& command, SceneArgs& a);
    bool Image(SceneArgs& a, const std::string& file, uint32_t x, uint32_t y);
    void EndPage();

    const SceneOptions& options_;
    uint32_t resolution_ = 600;
    PaperSize paper_ = kPapers[0];
    std::string title_ = "zebl scene";
    std::string body_;
    uint32_t pages_ = 0;
    bool inPage_ = false;
};

bool PostScriptWriter::Line(std::string_view line, std::string* error) {
    std::vector<std::string> words;
    if (!SplitSceneLine(line, &words, error)) return false;
    if (words.empty()) return true;
    const std::string command = words.front();
    words.erase(words.begin());
    SceneArgs args(command, std::move(words), resolution_);
    const bool drawing = command == "grey" || command == "gray" || command == "box" || command == "text" ||
                         command == "image" ||
                         ((command == "colour" || command == "color") && args.Count() == 3);
    if (drawing && !inPage_) {
        *error = command + ": outside a page (start one with \"page\")";
        return false;
    }
    if (!(drawing ? Drawing(command, args) : Setting(command, args)) || !args.End()) {
        *error = args.Error();
        return false;
    }
    return true;
}

bool PostScriptWriter::Setting(const std::string& command, SceneArgs& a) {
    if (command == "document") {
        std::string word;
        title_.clear();
        while (!a.Done() && a.Word(&word, "name")) title_ += (title_.empty() ? "" : " ") + word;
        return true;
    }
    if (command == "paper") {
        std::string name;
        if (!a.Word(&name, "paper")) return false;
        for (const PaperSize& paper : kPapers) {
            if (name == paper.name) {
                paper_ = paper;
                return true;
            }
        }
        return a.Fail(name + " has no PostScript size here (a4 or letter)");
    }
    if (command == "resolution") return a.UInt(&resolution_, "resolution", 300, 1200);
    if (command == "output-resolution") {
        uint32_t ignored = 0;  // the rasterizer is given its resolution
        return a.UInt(&ignored, "output resolution");
    }
    if (command == "colour" || command == "color") {
        bool ignored = false;  // the rasterizer's device decides grey or colour
        return a.Switch(&ignored, "colour printing (on or off)");
    }
    if (command == "page") {
        EndPage();
        ++pages_;
        inPage_ = true;
        body_ += "%%Page: " + std::to_string(pages_) + " " + std::to_string(pages_) + "\nScenePage\n";
        return true;
    }
    return a.Fail("no PostScript form");
}

bool PostScriptWriter::Drawing(const std::string& command, SceneArgs& a) {
    if (command == "grey" || command == "gray") {
        uint32_t level = 0;
        if (!a.UInt(&level, "grey", 0, 255)) return false;
        body_ += Number(level / 255.0) + " setgray\n";
        return true;
    }
    if (command == "colour" || command == "color") {
        uint32_t rgb[3] = {};
        for (uint32_t& c : rgb)
            if (!a.UInt(&c, "colour", 0, 255)) return false;
        body_ += Number(rgb[0] / 255.0) + " " + Number(rgb[1] / 255.0) + " " + Number(rgb[2] / 255.0) +
                 " setrgbcolor\n";
        return true;
    }
    uint32_t x = 0, y = 0;
    std::string file;
    if (command == "image" && !a.Word(&file, "image file")) return false;
    if (!a.Length(&x, "x") || !a.Length(&y, "y")) return false;
    if (command == "image") return Image(a, file, x, y);
    if (command == "box") {
        uint32_t width = 0, height = 0;
        if (!a.Length(&width, "width") || !a.Length(&height, "height")) return false;
        body_ += std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(width) + " " +
                 std::to_string(height) + " rectfill\n";
        return true;
    }
    // text X Y SIZE "TEXT": the cell's top-left at X Y, the baseline below it.
    uint32_t size = 0;
    std::string text, word;
    if (!a.UInt(&size, "size (dots per font dot)", 1, 255) || !a.Word(&text, "text")) return false;
    while (!a.Done() && a.Word(&word, "text")) text += " " + word;
    body_ += std::to_string(size * kFontAdvance * 10 / 6) + " SceneFont " + std::to_string(x) + " " +
             std::to_string(y + size * kFontBaselineRows) + " moveto " + PostScriptString(text) + " show\n";
    return true;
}

bool PostScriptWriter::Image(SceneArgs& a, const std::string& file, uint32_t x, uint32_t y) {
    ImageRecordOptions options;
    if (!ReadImageRecordOptions(a, &options)) return false;
    Image8 image;
    std::string error;
    if (!ReadImageFile(ResolveSceneFile(options_.baseFolder, file), &image, &error)) return a.Fail(error);
    const bool colour = options.bitsPerPixel ? options.bitsPerPixel == 24 : image.IsColour();
    const uint32_t width = options.width ? options.width : options.rotate ? image.height : image.width;
    const uint32_t height = options.height ? options.height : options.rotate ? image.width : image.height;
    const std::string rowString =
        "/ScenePixels " + std::to_string(image.width * (colour ? 3 : 1)) + " string def\n";
    body_ += "gsave " + std::to_string(x) + " " + std::to_string(y) + " translate " + std::to_string(width) +
             " " + std::to_string(height) + " scale\n" + rowString + std::to_string(image.width) + " " +
             std::to_string(image.height) + " 8 " +
             ImageMatrix(image.width, image.height, options.rotate, options.mirror) +
             " {currentfile ScenePixels readhexstring pop} " + (colour ? "false 3 colorimage\n" : "image\n");
    AppendHexPixels(image, colour, &body_);
    body_ += "grestore\n";
    return true;
}

void PostScriptWriter::EndPage() {
    if (inPage_) body_ += "showpage\n";
    inPage_ = false;
}

std::string PostScriptWriter::Finish() {
    EndPage();
    const double pageHeightDots = paper_.heightPoints / 72.0 * resolution_;
    std::string ps = "%!PS-Adobe-3.0\n%%Title: " + title_ + "\n%%Pages: " + std::to_string(pages_) + "\n";
    ps += "%%EndComments\n";
    ps += "<< /PageSize [" + Number(paper_.widthPoints) + " " + Number(paper_.heightPoints) +
          "] >> setpagedevice\n";
    // Coordinates in dots from the top-left corner, y downwards, as in the scene.
    ps += "/ScenePage { 72 " + std::to_string(resolution_) + " div dup scale 0 " + Number(pageHeightDots) +
          " translate 1 -1 scale } def\n";
    ps += "/SceneFont { /Courier findfont [1 0 0 -1 0 0] makefont exch scalefont setfont } def\n";
    return ps + body_ + "%%EOF\n";
}

}  // namespace

bool SceneToPostScript(std::string_view scene, const SceneOptions& options, std::string* postscript,
                       std::string* error) {
    PostScriptWriter writer(options);
    uint32_t number = 0;
    while (!scene.empty()) {
        ++number;
        const size_t end = scene.find('\n');
        const std::string_view line = scene.substr(0, end);
        scene = end == std::string_view::npos ? std::string_view() : scene.substr(end + 1);
        std::string detail;
        if (!writer.Line(line, &detail)) {
            *error = "line " + std::to_string(number) + ": " + detail;
            return false;
        }
    }
    *postscript = writer.Finish();
    return true;
}
