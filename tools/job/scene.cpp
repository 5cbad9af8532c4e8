#include "job/scene.h"

#include <memory>
#include <vector>

#include <algorithm>

#include "formats/colour_codes.h"
#include "formats/display_list.h"
#include "image/bitonal.h"
#include "image/image_file.h"
#include "job/brush_patterns.h"
#include "job/dl_pen.h"
#include "job/file_bytes.h"
#include "job/image_records.h"
#include "job/job_builder.h"
#include "job/scene_args.h"
#include "job/scene_options.h"

namespace {

constexpr uint64_t kMaxSceneBytes = uint64_t{16} << 20;

struct PaperName {
    const char* name;
    uint32_t code;
};
constexpr PaperName kPaperNames[] = {
    {"letter", 1}, {"tabloid", 3}, {"ledger", 4}, {"legal", 5}, {"statement", 6}, {"executive", 7}, {"a3", 8},
    {"a4", 9},     {"a5", 11},     {"b4", 12},    {"b5", 13},   {"folio", 14},    {"a6", 70},
};

// The drawing of the page being composed. The pen points at the list, so the
// pair stays where it was made.
struct ScenePage {
    DLWriter list;
    DLPen pen{&list};
};

class SceneComposer {
public:
    explicit SceneComposer(const SceneOptions& options) : options_(options) {}

    bool Line(std::string_view line, std::string* error);
    bool Finish(SpoolJob* job, std::string* error);

private:
    using Handler = bool (SceneComposer::*)(SceneArgs&);
    struct Command {
        const char* name;
        Handler handler;
        bool needsPage;
    };
    static const Command kCommands[];

    // Settings
    bool Document(SceneArgs& a);
    bool Paper(SceneArgs& a);
    bool Resolution(SceneArgs& a);
    bool OutputResolution(SceneArgs& a);
    bool Colour(SceneArgs& a);
    bool Copies(SceneArgs& a);
    bool Collate(SceneArgs& a);
    bool Scale(SceneArgs& a);
    bool Orientation(SceneArgs& a);
    bool Rotate180(SceneArgs& a);
    bool ScaleWithoutEnlarging(SceneArgs& a);
    bool LandscapeScale(SceneArgs& a);
    bool Duplex(SceneArgs& a);
    bool Poster(SceneArgs& a);
    bool Nup(SceneArgs& a);
    bool Booklet(SceneArgs& a);
    bool PageOrder(SceneArgs& a);
    bool Printable(SceneArgs& a);
    bool Field(SceneArgs& a);
    bool PieceSize(SceneArgs& a);
    // Pages and the spooler
    bool Page(SceneArgs& a);
    bool Buffer(SceneArgs& a);
    bool Abort(SceneArgs& a);
    // Colour and raster operation
    bool Grey(SceneArgs& a);
    bool ColourCode(SceneArgs& a);
    bool Hatch(SceneArgs& a);
    bool Hollow(SceneArgs& a);
    bool Brush(SceneArgs& a);
    bool Rop(SceneArgs& a);
    // Fills
    bool Box(SceneArgs& a);
    bool Box8(SceneArgs& a);
    bool Box16(SceneArgs& a);
    bool Span(SceneArgs& a);
    bool SpanStep(SceneArgs& a);
    bool VSpan(SceneArgs& a);
    // Masks, bitmaps, brushes, images
    bool Text(SceneArgs& a);
    bool Glyph(SceneArgs& a);
    bool DefineBitmap(SceneArgs& a);
    bool DrawBitmap(SceneArgs& a);
    bool DefineBrush(SceneArgs& a);
    bool Picture(SceneArgs& a);
    bool Image(SceneArgs& a);
    // Lines and paths
    bool LineRecord(SceneArgs& a);
    bool MoveTo(SceneArgs& a);
    bool LineTo(SceneArgs& a);
    bool LineRel(SceneArgs& a);
    bool LineStyle(SceneArgs& a);
    bool StylePhase(SceneArgs& a);
    bool Path(SceneArgs& a);
    bool PaintPath(SceneArgs& a);
    bool ClipMode(SceneArgs& a);
    // Other records
    bool SetScale(SceneArgs& a);
    bool Watermark(SceneArgs& a);
    bool Origin(SceneArgs& a);
    bool Skip1(SceneArgs& a);
    bool Skip4(SceneArgs& a);
    bool Raw(SceneArgs& a);

    bool Drawn(SceneArgs& a, bool ok);
    bool BoxWith(SceneArgs& a, bool (DLPen::*draw)(uint32_t, uint32_t, uint32_t, uint32_t));
    bool ReadRgb(SceneArgs& a, uint8_t rgb[3]);
    bool ReadPosition(SceneArgs& a, uint32_t* x, uint32_t* y);
    bool LoadImage(SceneArgs& a, const std::string& name, Image8* image);
    JobSettings EffectiveSettings() const;
    void EndPage();
    void FlushDisplayList();
    DLPen& Pen() { return page_->pen; }

    SceneOptions options_;
    JobSettings settings_;
    bool scaleGiven_ = false;
    std::string documentName_ = "zebl scene";
    size_t pieceBytes_ = kDefaultPieceBytes;
    std::unique_ptr<SpoolJobBuilder> builder_;
    std::unique_ptr<ScenePage> page_;
};

const SceneComposer::Command SceneComposer::kCommands[] = {
    {"document", &SceneComposer::Document, false},
    {"paper", &SceneComposer::Paper, false},
    {"resolution", &SceneComposer::Resolution, false},
    {"output-resolution", &SceneComposer::OutputResolution, false},
    {"colour", &SceneComposer::Colour, false},
    {"color", &SceneComposer::Colour, false},
    {"copies", &SceneComposer::Copies, false},
    {"collate", &SceneComposer::Collate, false},
    {"scale", &SceneComposer::Scale, false},
    {"orientation", &SceneComposer::Orientation, false},
    {"rotate180", &SceneComposer::Rotate180, false},
    {"scale-without-enlarging", &SceneComposer::ScaleWithoutEnlarging, false},
    {"landscape-scale", &SceneComposer::LandscapeScale, false},
    {"duplex", &SceneComposer::Duplex, false},
    {"poster", &SceneComposer::Poster, false},
    {"nup", &SceneComposer::Nup, false},
    {"booklet", &SceneComposer::Booklet, false},
    {"page-order", &SceneComposer::PageOrder, false},
    {"printable", &SceneComposer::Printable, false},
    {"field", &SceneComposer::Field, false},
    {"piece-size", &SceneComposer::PieceSize, false},
    {"page", &SceneComposer::Page, false},
    {"buffer", &SceneComposer::Buffer, true},
    {"abort", &SceneComposer::Abort, true},
    {"grey", &SceneComposer::Grey, true},
    {"gray", &SceneComposer::Grey, true},
    {"colour-code", &SceneComposer::ColourCode, true},
    {"color-code", &SceneComposer::ColourCode, true},
    {"hatch", &SceneComposer::Hatch, true},
    {"hollow", &SceneComposer::Hollow, true},
    {"brush", &SceneComposer::Brush, true},
    {"rop", &SceneComposer::Rop, true},
    {"box", &SceneComposer::Box, true},
    {"box8", &SceneComposer::Box8, true},
    {"box16", &SceneComposer::Box16, true},
    {"span", &SceneComposer::Span, true},
    {"span-step", &SceneComposer::SpanStep, true},
    {"vspan", &SceneComposer::VSpan, true},
    {"text", &SceneComposer::Text, true},
    {"glyph", &SceneComposer::Glyph, true},
    {"define-bitmap", &SceneComposer::DefineBitmap, true},
    {"draw-bitmap", &SceneComposer::DrawBitmap, true},
    {"define-brush", &SceneComposer::DefineBrush, true},
    {"picture", &SceneComposer::Picture, true},
    {"image", &SceneComposer::Image, true},
    {"line", &SceneComposer::LineRecord, true},
    {"move", &SceneComposer::MoveTo, true},
    {"line-to", &SceneComposer::LineTo, true},
    {"line-rel", &SceneComposer::LineRel, true},
    {"line-style", &SceneComposer::LineStyle, true},
    {"style-phase", &SceneComposer::StylePhase, true},
    {"path", &SceneComposer::Path, true},
    {"paint-path", &SceneComposer::PaintPath, true},
    {"clip-mode", &SceneComposer::ClipMode, true},
    {"set-scale", &SceneComposer::SetScale, true},
    {"watermark", &SceneComposer::Watermark, true},
    {"origin", &SceneComposer::Origin, true},
    {"skip1", &SceneComposer::Skip1, true},
    {"skip4", &SceneComposer::Skip4, true},
    {"raw", &SceneComposer::Raw, true},
};

bool SceneComposer::Line(std::string_view line, std::string* error) {
    std::vector<std::string> words;
    if (!SplitSceneLine(line, &words, error)) return false;
    if (words.empty()) return true;
    const std::string command = words.front();
    words.erase(words.begin());
    for (const Command& c : kCommands) {
        if (command != c.name) continue;
        // "colour on" is a setting, "colour R G B" a drawing colour.
        const bool drawingColour = c.handler == &SceneComposer::Colour && words.size() == 3;
        if ((c.needsPage || drawingColour) && !page_) {
            *error = command + ": outside a page (start one with \"page\")";
            return false;
        }
        SceneArgs args(command, std::move(words), settings_.resolution);
        if (!(this->*c.handler)(args) || !args.End()) {
            *error = args.Error();
            return false;
        }
        return true;
    }
    *error = "unknown command \"" + command + "\"";
    return false;
}

JobSettings SceneComposer::EffectiveSettings() const {
    JobSettings s = settings_;
    // A poster is an enlargement: N tiles a side print the page N times as large.
    if (s.posterTiles > 0 && !scaleGiven_) s.scale = s.posterTiles * 100;
    return s;
}

void SceneComposer::FlushDisplayList() {
    if (!page_ || page_->list.Empty()) return;
    builder_->AddDisplayList(page_->list, pieceBytes_);
    page_->list = DLWriter();
}

void SceneComposer::EndPage() {
    if (!page_) return;
    FlushDisplayList();
    builder_->EndPage();
    page_.reset();
}

bool SceneComposer::Finish(SpoolJob* job, std::string* error) {
    if (!builder_) {
        *error = "the scene has no page";
        return false;
    }
    EndPage();
    builder_->EndDoc();
    *job = builder_->Job();
    return true;
}

bool SceneComposer::Drawn(SceneArgs& a, bool ok) {
    if (ok) return true;
    return a.Fail(
        "does not fit the display list (positions and sizes are 0..65535 dots, "
        "steps -128..127)");
}

bool SceneComposer::ReadRgb(SceneArgs& a, uint8_t rgb[3]) {
    const char* names[3] = {"red", "green", "blue"};
    for (int i = 0; i < 3; ++i) {
        uint32_t v = 0;
        if (!a.UInt(&v, names[i], 0, 255)) return false;
        rgb[i] = static_cast<uint8_t>(v);
    }
    return true;
}

bool SceneComposer::ReadPosition(SceneArgs& a, uint32_t* x, uint32_t* y) {
    return a.Length(x, "x") && a.Length(y, "y");
}

// ---- Settings ------------------------------------------------------------

bool SceneComposer::Document(SceneArgs& a) {
    if (builder_) return a.Fail("the document name must come before the first page");
    std::string name, word;
    while (!a.Done()) {
        a.Word(&word, "name");
        name += (name.empty() ? "" : " ") + word;
    }
    if (name.empty() || name.size() > kSpoolMaxDocNameBytes)
        return a.Fail("name of 1 to 1024 bytes expected");
    documentName_ = name;
    return true;
}

bool SceneComposer::Paper(SceneArgs& a) {
    const std::string_view word = a.Peek();
    for (const PaperName& p : kPaperNames) {
        if (word == p.name) {
            a.TakeKeyword(word);
            settings_.paperCode = p.code;
            return true;
        }
    }
    return a.UInt(&settings_.paperCode, "paper (a name such as a4 or letter, or a Windows paper code)");
}

bool SceneComposer::Resolution(SceneArgs& a) {
    size_t i = 0;
    if (!a.Choice({"300", "600", "1200"}, &i, "resolution")) return false;
    settings_.resolution = 300u << i;
    if (i == 2) settings_.resolution = 1200;
    return true;
}

bool SceneComposer::OutputResolution(SceneArgs& a) {
    size_t i = 0;
    if (!a.Choice({"300", "600", "1200"}, &i, "output resolution")) return false;
    settings_.outputResolution = i == 0 ? 300 : i == 1 ? 600 : 1200;
    return true;
}

bool SceneComposer::Colour(SceneArgs& a) {
    if (a.Count() == 3) {
        uint8_t rgb[3];
        if (!ReadRgb(a, rgb)) return false;
        Pen().SetColourCode(SolidColourCode(rgb[0], rgb[1], rgb[2]));
        return true;
    }
    return a.Switch(&settings_.colour, "colour printing (on or off), or a colour (R G B)");
}

bool SceneComposer::Copies(SceneArgs& a) { return a.UInt(&settings_.copies, "copies", 1, 9999); }
bool SceneComposer::Collate(SceneArgs& a) { return a.Switch(&settings_.collate, "collate"); }

bool SceneComposer::Scale(SceneArgs& a) {
    scaleGiven_ = true;
    return a.UInt(&settings_.scale, "scale in percent", 1, 10000);
}

bool SceneComposer::Orientation(SceneArgs& a) {
    size_t i = 0;
    if (!a.Choice({"portrait", "landscape"}, &i, "orientation")) return false;
    settings_.landscape = i == 1;
    return true;
}

bool SceneComposer::Rotate180(SceneArgs& a) { return a.Switch(&settings_.rotate180, "rotate180"); }
bool SceneComposer::ScaleWithoutEnlarging(SceneArgs& a) {
    return a.Switch(&settings_.scaleWithoutEnlarging, "scale-without-enlarging");
}
bool SceneComposer::LandscapeScale(SceneArgs& a) {
    return a.Switch(&settings_.landscapeScale, "landscape-scale");
}

bool SceneComposer::Duplex(SceneArgs& a) {
    static const uint32_t kBindings[] = {0, 1, 2, 4, 5};
    size_t i = 0;
    if (!a.Choice({"off", "long-edge", "short-edge", "reverse-long-edge", "reverse-short-edge"}, &i,
                  "duplex binding"))
        return false;
    settings_.duplexBinding = kBindings[i];
    return true;
}

bool SceneComposer::Poster(SceneArgs& a) {
    if (a.TakeKeyword("off")) {
        settings_.posterTiles = 0;
        return true;
    }
    if (!a.UInt(&settings_.posterTiles, "tiles per side", 2, 16)) return false;
    settings_.posterOverlap = 0;
    return a.Done() || a.Length(&settings_.posterOverlap, "overlap");
}

bool SceneComposer::Nup(SceneArgs& a) {
    size_t i = 0;
    static const uint32_t kCounts[] = {1, 2, 3, 4, 6, 8, 9, 16};
    if (!a.Choice({"1", "2", "3", "4", "6", "8", "9", "16"}, &i, "pages per sheet")) return false;
    settings_.pagesPerSheet = kCounts[i];
    settings_.nupOrder = 0;
    settings_.nupBorder = a.TakeKeyword("border");
    if (settings_.nupBorder || a.Done()) return true;
    size_t order = 0;
    if (!a.Choice({"across", "down", "across-from-right", "down-from-right"}, &order, "N-up order"))
        return false;
    settings_.nupOrder = static_cast<uint32_t>(order);
    settings_.nupBorder = a.TakeKeyword("border");
    return true;
}

bool SceneComposer::Booklet(SceneArgs& a) { return a.Switch(&settings_.booklet, "booklet"); }

bool SceneComposer::PageOrder(SceneArgs& a) {
    size_t i = 0;
    if (!a.Choice({"normal", "reverse", "odd", "even"}, &i, "page order")) return false;
    settings_.pageOrder = static_cast<uint32_t>(i);
    return true;
}

bool SceneComposer::Printable(SceneArgs& a) {
    if (a.TakeKeyword("auto")) {
        settings_.printableWidth = settings_.printableHeight = 0;
        return true;
    }
    return a.Length(&settings_.printableWidth, "printable width") &&
           a.Length(&settings_.printableHeight, "printable height");
}

bool SceneComposer::Field(SceneArgs& a) {
    uint32_t offset = 0, value = 0;
    if (!a.UInt(&offset, "offset", 0, kFBInterfaceSize - 4) || !a.UInt(&value, "value")) return false;
    settings_.fields.emplace_back(offset, value);
    return true;
}

bool SceneComposer::PieceSize(SceneArgs& a) {
    uint32_t bytes = 0;
    if (!a.UInt(&bytes, "bytes per display-list piece", 1, 1u << 24)) return false;
    pieceBytes_ = bytes;
    return true;
}

// ---- Pages and the spooler -------------------------------------------------

bool SceneComposer::Page(SceneArgs&) {
    EndPage();
    const JobSettings settings = EffectiveSettings();
    if (!builder_) {
        builder_ = std::make_unique<SpoolJobBuilder>(documentName_);
        builder_->StartDoc(settings);
    }
    builder_->StartPage(settings);
    page_ = std::make_unique<ScenePage>();
    return true;
}

bool SceneComposer::Buffer(SceneArgs& a) {
    std::vector<uint8_t> bytes;
    if (!a.HexRest(&bytes, "buffer bytes")) return false;
    FlushDisplayList();
    builder_->AddBuffer(std::move(bytes));
    Pen().Forget();
    return true;
}

bool SceneComposer::Abort(SceneArgs&) {
    FlushDisplayList();
    builder_->Abort();
    return true;
}

// ---- Colour and raster operation -------------------------------------------

bool SceneComposer::Grey(SceneArgs& a) {
    uint32_t level = 0;
    if (!a.UInt(&level, "grey level", 0, 255)) return false;
    const auto g = static_cast<uint8_t>(level);
    Pen().SetColourCode(SolidColourCode(g, g, g));
    return true;
}

bool SceneComposer::ColourCode(SceneArgs& a) {
    uint32_t code = 0;
    if (!a.UInt(&code, "colour code")) return false;
    Pen().SetColourCode(code);
    return true;
}

bool SceneComposer::Hatch(SceneArgs& a) {
    size_t style = 0;
    const std::string_view word = a.Peek();
    if (!word.empty() && word[0] >= '0' && word[0] <= '9') {
        uint32_t n = 0;
        if (!a.UInt(&n, "hatch style", 0, 5)) return false;
        style = n;
    } else if (!a.Choice({"horizontal", "vertical", "forward-diagonal", "backward-diagonal", "cross",
                          "diagonal-cross"},
                         &style, "hatch style")) {
        return false;
    }
    uint8_t fg[3] = {0, 0, 0}, bg[3] = {255, 255, 255};
    if (!a.Done() && !ReadRgb(a, fg)) return false;
    if (!a.Done() && !ReadRgb(a, bg)) return false;
    Pen().SetHatch(static_cast<uint32_t>(style), Rgb(fg[0], fg[1], fg[2]), Rgb(bg[0], bg[1], bg[2]));
    return true;
}

bool SceneComposer::Hollow(SceneArgs&) {
    Pen().SetColourCode(kColourCodeHollow);
    return true;
}

bool SceneComposer::Brush(SceneArgs& a) {
    uint32_t slot = 0;
    if (!a.UInt(&slot, "brush slot", 0, 254)) return false;
    Pen().SetColourCode(DownloadedBrushCode(slot));
    return true;
}

bool SceneComposer::Rop(SceneArgs& a) {
    if (a.TakeKeyword("auto")) {
        Pen().FixRop(std::nullopt);
        return true;
    }
    uint32_t rop = 0;
    if (!a.UInt(&rop, "raster operation", 0, 255)) return false;
    Pen().FixRop(static_cast<uint8_t>(rop));
    return true;
}

// ---- Fills -----------------------------------------------------------------

bool SceneComposer::BoxWith(SceneArgs& a, bool (DLPen::*draw)(uint32_t, uint32_t, uint32_t, uint32_t)) {
    uint32_t x = 0, y = 0, w = 0, h = 0;
    if (!ReadPosition(a, &x, &y) || !a.Length(&w, "width") || !a.Length(&h, "height")) return false;
    return Drawn(a, (Pen().*draw)(x, y, w, h));
}

bool SceneComposer::Box(SceneArgs& a) { return BoxWith(a, &DLPen::Box); }
bool SceneComposer::Box8(SceneArgs& a) { return BoxWith(a, &DLPen::Box8); }
bool SceneComposer::Box16(SceneArgs& a) { return BoxWith(a, &DLPen::Box16); }

bool SceneComposer::Span(SceneArgs& a) {
    uint32_t x = 0, y = 0, end = 0, rows = 0;
    if (!ReadPosition(a, &x, &y) || !a.Length(&end, "span end") || !a.Length(&rows, "rows")) return false;
    if (rows > 65536) return a.Fail("at most 65536 rows");
    return Drawn(a, Pen().Span(x, y, end, rows));
}

bool SceneComposer::SpanStep(SceneArgs& a) {
    int32_t dc = 0, de = 0;
    uint32_t count = 1;
    if (!a.Int(&dc, "column step", -128, 127) || !a.Int(&de, "span end step", -128, 127)) return false;
    if (!a.Done() && !a.UInt(&count, "count", 1, 65535)) return false;
    for (uint32_t i = 0; i < count; ++i)
        if (!Drawn(a, Pen().SpanStep(dc, de))) return false;
    return true;
}

bool SceneComposer::VSpan(SceneArgs& a) {
    uint32_t x = 0, y = 0, h = 0, columns = 0;
    if (!ReadPosition(a, &x, &y) || !a.Length(&h, "height") || !a.Length(&columns, "columns")) return false;
    if (columns > 65536) return a.Fail("at most 65536 columns");
    return Drawn(a, Pen().VSpan(x, y, h, columns));
}

// ---- Masks, bitmaps, brushes, images ----------------------------------------

bool SceneComposer::Text(SceneArgs& a) {
    uint32_t x = 0, y = 0, factor = 0;
    if (!ReadPosition(a, &x, &y) || !a.UInt(&factor, "size (dots per font dot)", 1, 255)) return false;
    std::string text, word;
    if (!a.Word(&text, "text")) return false;
    while (!a.Done()) {
        a.Word(&word, "text");
        text += " " + word;
    }
    return Drawn(a, Pen().Text(x, y, factor, text));
}

bool SceneComposer::Glyph(SceneArgs& a) {
    uint32_t x = 0, y = 0, width = 0, rows = 0, offset = 0;
    if (!ReadPosition(a, &x, &y) || !a.UInt(&width, "width", 0, 65535) || !a.UInt(&rows, "rows", 0, 65535))
        return false;
    if (a.TakeKeyword("offset") && !a.UInt(&offset, "bit offset", 0, 255)) return false;
    std::vector<uint8_t> bits;
    if (!a.HexRest(&bits, "glyph bytes")) return false;
    const size_t needed = size_t{rows} * MaskStride(offset + width);
    if (bits.size() != needed)
        return a.Fail(std::to_string(bits.size()) + " bytes given, " + std::to_string(needed) +
                      " needed (rows of 4-byte words)");
    return Drawn(a, Pen().Glyph(x, y, static_cast<uint8_t>(offset), static_cast<uint16_t>(width),
                                static_cast<uint16_t>(rows), bits));
}

bool SceneComposer::LoadImage(SceneArgs& a, const std::string& name, Image8* image) {
    std::string error;
    if (!ReadImageFile(ResolveSceneFile(options_.baseFolder, name), image, &error)) return a.Fail(error);
    return true;
}

bool SceneComposer::DefineBitmap(SceneArgs& a) {
    uint32_t slot = 0;
    if (!a.UInt(&slot, "bitmap slot", 0, 4095)) return false;
    Mask1 mask;
    if (a.TakeKeyword("text")) {
        uint32_t factor = 0;
        std::string text;
        if (!a.UInt(&factor, "size", 1, 255) || !a.Word(&text, "text")) return false;
        const FontBitmap bitmap = RenderFontText(text, factor);
        mask.width = bitmap.width;
        mask.rows = bitmap.rows;
        mask.bits = bitmap.bits;
        if (mask.rows == 0) return a.Fail("the text is empty or wider than 65535 dots");
    } else if (a.TakeKeyword("picture")) {
        std::string name;
        Image8 image;
        MaskOptions options;
        if (!a.Word(&name, "image file") || !ReadMaskOptions(a, &options) || !LoadImage(a, name, &image))
            return false;
        mask = MakeMask(image, options);
    } else {
        if (!a.UInt(&mask.width, "width", 0, 65535) || !a.UInt(&mask.rows, "rows", 0, 65535) ||
            !a.HexRest(&mask.bits, "bitmap bytes"))
            return false;
    }
    if (mask.width > 65535 || mask.rows > 65535) return a.Fail("bitmap larger than 65535 dots");
    if (!Pen().Writer().DefineBitmap(static_cast<uint16_t>(slot), static_cast<uint16_t>(mask.rows),
                                     static_cast<uint16_t>(mask.width), mask.bits))
        return a.Fail(std::to_string(mask.bits.size()) + " bytes given, " +
                      std::to_string(size_t{mask.rows} * MaskStride(mask.width)) + " needed");
    return true;
}

bool SceneComposer::DrawBitmap(SceneArgs& a) {
    uint32_t slot = 0, x = 0, y = 0;
    if (!a.UInt(&slot, "bitmap slot", 0, 65535) || !ReadPosition(a, &x, &y)) return false;
    return Drawn(a, Pen().DrawBitmap(static_cast<uint16_t>(slot), x, y));
}

bool SceneComposer::DefineBrush(SceneArgs& a) {
    uint32_t slot = 0;
    if (!a.UInt(&slot, "brush slot", 0, 255)) return false;
    DLWriter& out = Pen().Writer();
    if (a.TakeKeyword("empty")) {
        out.DefineBrush(kBrushEmpty, slot, std::vector<uint8_t>(kDLBrushPatternBytes, 0));
        return true;
    }
    if (a.TakeKeyword("format")) {
        uint32_t format = 0;
        std::vector<uint8_t> bytes;
        if (!a.UInt(&format, "format", 0, 255) || !a.HexRest(&bytes, "brush bytes")) return false;
        out.DefineBrush(static_cast<uint8_t>(format), slot, bytes);
        return true;
    }
    size_t kind = 0;
    if (!a.Choice({"pattern", "raw"}, &kind, "brush kind (pattern, raw, empty or format)")) return false;
    std::vector<uint8_t> pattern;
    if (!ReadBrushPattern(a, &pattern)) return false;
    uint8_t colours[2][3] = {{255, 255, 255}, {0, 0, 0}};  // bit 0 paper, bit 1 ink
    if (!a.Done() && (!ReadRgb(a, colours[0]) || !ReadRgb(a, colours[1]))) return false;
    const uint32_t c0 = Rgb(colours[0][0], colours[0][1], colours[0][2]);
    const uint32_t c1 = Rgb(colours[1][0], colours[1][1], colours[1][2]);
    if (kind == 0) {
        out.DefineBrushPattern(static_cast<uint8_t>(slot), c0, c1, pattern);
    } else {
        out.DefineBrush(kBrushRaw, slot, RawBrushPixels(pattern, c0, c1, settings_.colour));
    }
    return true;
}

bool SceneComposer::Picture(SceneArgs& a) {
    std::string name;
    uint32_t x = 0, y = 0;
    MaskOptions options;
    Image8 image;
    if (!a.Word(&name, "image file") || !ReadPosition(a, &x, &y) || !ReadMaskOptions(a, &options) ||
        !LoadImage(a, name, &image))
        return false;
    const Mask1 mask = MakeMask(image, options);
    if (mask.rows == 0) return a.Fail("the picture's size is 0 or over 65535 dots");
    // Strips of rows keep each glyph record, and so each spooled piece, small.
    const uint32_t stride = MaskStride(mask.width);
    const uint32_t stripRows = std::max<uint32_t>(1, static_cast<uint32_t>(kDefaultPieceBytes / 2 / stride));
    for (uint32_t top = 0; top < mask.rows; top += stripRows) {
        const uint32_t rows = std::min(stripRows, mask.rows - top);
        const std::span<const uint8_t> bits(mask.bits.data() + size_t{top} * stride, size_t{rows} * stride);
        if (!Drawn(a, Pen().Glyph(x, y + top, 0, static_cast<uint16_t>(mask.width),
                                  static_cast<uint16_t>(rows), bits)))
            return false;
    }
    return true;
}

bool SceneComposer::Image(SceneArgs& a) {
    std::string name;
    uint32_t x = 0, y = 0;
    ImageRecordOptions options;
    Image8 image;
    if (!a.Word(&name, "image file") || !ReadPosition(a, &x, &y) || !ReadImageRecordOptions(a, &options) ||
        !LoadImage(a, name, &image))
        return false;
    DLImageRecord record;
    std::string error;
    if (!MakeImageRecord(image, options, &record, &error)) return a.Fail(error);
    return Drawn(a, Pen().Image(x, y, record, options.stretch));
}

// ---- Lines and paths ---------------------------------------------------------

bool SceneComposer::LineRecord(SceneArgs& a) {
    uint32_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    if (!ReadPosition(a, &x1, &y1) || !ReadPosition(a, &x2, &y2)) return false;
    return Drawn(a, Pen().Line(x1, y1, x2, y2));
}

// The start of the next DL_LINE_TO or DL_LINE_REL: a polyline begins here,
// where DL_LINE would leave the current position at its first point.
bool SceneComposer::MoveTo(SceneArgs& a) {
    uint32_t x = 0, y = 0;
    if (!ReadPosition(a, &x, &y)) return false;
    return Drawn(a, Pen().MoveTo(x, y));
}

bool SceneComposer::LineTo(SceneArgs& a) {
    uint32_t x = 0, y = 0;
    if (!ReadPosition(a, &x, &y)) return false;
    return Drawn(a, Pen().LineTo(x, y));
}

bool SceneComposer::LineRel(SceneArgs& a) {
    int32_t dx = 0, dy = 0;
    if (!a.Int(&dx, "x step", -128, 127) || !a.Int(&dy, "y step", -128, 127)) return false;
    return Drawn(a, Pen().LineRel(dx, dy));
}

bool SceneComposer::LineStyle(SceneArgs& a) {
    uint32_t style = 0;
    if (!a.UInt(&style, "line style", 0, 255)) return false;
    Pen().Writer().SetLineStyle(static_cast<uint8_t>(style));
    return true;
}

bool SceneComposer::StylePhase(SceneArgs& a) {
    uint32_t phase = 0;
    if (!a.UInt(&phase, "style phase", 0, 65535)) return false;
    Pen().Writer().SetStylePhase(static_cast<uint16_t>(phase));
    return true;
}

bool SceneComposer::Path(SceneArgs& a) {
    size_t kind = 0;
    if (!a.Choice({"fill", "set"}, &kind, "path kind (fill or set)")) return false;
    DLPathRecord path;
    if (a.TakeKeyword("winding")) path.fillMode = 20;
    else if (a.TakeKeyword("alternate")) path.fillMode = 22;
    path.wideCoordinates = a.TakeKeyword("wide");
    path.subpaths.emplace_back();
    std::string word;
    while (!a.Done()) {
        a.Word(&word, "point");
        if (word == "/") {
            path.subpaths.emplace_back();
            continue;
        }
        DLPathPoint p;
        if (!ParsePoint(word, &p.x, &p.y)) return a.Fail("\"" + word + "\" is not a point x,y");
        path.subpaths.back().push_back(p);
    }
    for (const auto& subpath : path.subpaths)
        if (subpath.empty()) return a.Fail("empty subpath");
    DLPathSetBoundsFromPoints(&path);
    if (!(kind == 0 ? Pen().FillPath(path) : Pen().Writer().SetPath(path)))
        return a.Fail("a point does not fit 16 bits (use \"wide\")");
    return true;
}

bool SceneComposer::PaintPath(SceneArgs&) {
    Pen().PaintPath();
    return true;
}

bool SceneComposer::ClipMode(SceneArgs& a) {
    uint32_t mode = 0;
    if (!a.UInt(&mode, "clip mode", 0, 255)) return false;
    Pen().Writer().ClipMode(static_cast<uint8_t>(mode));
    return true;
}

// ---- Other records -------------------------------------------------------------

bool SceneComposer::SetScale(SceneArgs& a) {
    uint32_t den = 0, num = 0;
    if (!a.UInt(&den, "denominator") || !a.UInt(&num, "numerator")) return false;
    Pen().Writer().SetScale(den, num);
    return true;
}

bool SceneComposer::Watermark(SceneArgs& a) {
    size_t i = 0;
    if (!a.Choice({"begin", "end"}, &i, "watermark bracket")) return false;
    if (i == 0) Pen().Writer().WatermarkBegin();
    else Pen().Writer().WatermarkEnd();
    return true;
}

bool SceneComposer::Origin(SceneArgs& a) {
    uint32_t row = 0, column = 0;
    if (!a.Length(&row, "row origin") || !a.Length(&column, "column origin")) return false;
    Pen().SetOrigin(row, column);
    return true;
}

bool SceneComposer::Skip1(SceneArgs& a) {
    uint32_t v = 0;
    if (!a.UInt(&v, "byte", 0, 255)) return false;
    Pen().Writer().Skip1(static_cast<uint8_t>(v));
    return true;
}

bool SceneComposer::Skip4(SceneArgs& a) {
    uint32_t v = 0;
    if (!a.UInt(&v, "value")) return false;
    Pen().Writer().Skip4(v);
    return true;
}

bool SceneComposer::Raw(SceneArgs& a) {
    std::vector<uint8_t> bytes;
    if (!a.HexRest(&bytes, "display-list bytes")) return false;
    Pen().Writer().Raw(bytes);
    Pen().Forget();  // the bytes may change anything
    return true;
}

}  // namespace

bool ComposeScene(std::string_view text, const SceneOptions& options, SpoolJob* job, std::string* error) {
    SceneComposer composer(options);
    uint32_t number = 0;
    while (!text.empty()) {
        ++number;
        const size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        std::string detail;
        if (!composer.Line(line, &detail)) {
            *error = "line " + std::to_string(number) + ": " + detail;
            return false;
        }
    }
    return composer.Finish(job, error);
}

bool ComposeSceneFile(sys::WStringView path, SpoolJob* job, std::string* error) {
    std::vector<uint8_t> bytes;
    if (!ReadFileBytes(path, kMaxSceneBytes, &bytes, error)) return false;
    SceneOptions options;
    options.baseFolder = SceneFolder(path);
    std::string detail;
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (!ComposeScene(text, options, job, &detail)) {
        *error = sys::Narrow(path) + ": " + detail;
        return false;
    }
    return true;
}
