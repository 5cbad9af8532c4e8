#include "job/scene_options.h"

#include "job/brush_patterns.h"

namespace {

bool IsSeparator(char16_t c) { return c == u'/' || c == u'\\'; }

bool IsAbsolute(sys::WStringView name) {
    if (!name.empty() && IsSeparator(name[0])) return true;
    return name.size() >= 2 && name[1] == u':';
}

}  // namespace

bool ReadMaskOptions(SceneArgs& a, MaskOptions* options) {
    while (!a.Done()) {
        if (a.TakeKeyword("width")) {
            if (!a.Length(&options->width, "width")) return false;
        } else if (a.TakeKeyword("height")) {
            if (!a.Length(&options->height, "height")) return false;
        } else if (a.TakeKeyword("threshold")) {
            uint32_t level = 0;
            if (!a.UInt(&level, "threshold", 0, 256)) return false;
            options->method = MaskMethod::Threshold;
            options->threshold = static_cast<uint8_t>(level > 255 ? 255 : level);
        } else if (a.TakeKeyword("dither")) {
            options->method = MaskMethod::Dither;
        } else {
            return a.Fail("unexpected \"" + std::string(a.Peek()) +
                          "\" (width, height, threshold N or dither)");
        }
    }
    return true;
}

bool ReadImageRecordOptions(SceneArgs& a, ImageRecordOptions* options) {
    while (!a.Done()) {
        if (a.TakeKeyword("width")) {
            if (!a.Length(&options->width, "width")) return false;
        } else if (a.TakeKeyword("height")) {
            if (!a.Length(&options->height, "height")) return false;
        } else if (a.TakeKeyword("blt")) {
            options->stretch = false;
        } else if (a.TakeKeyword("stretch")) {
            options->stretch = true;
        } else if (a.TakeKeyword("bits")) {
            size_t i = 0;
            if (!a.Choice({"1", "4", "8", "24"}, &i, "bits per pixel")) return false;
            static const uint32_t kBits[] = {1, 4, 8, 24};
            options->bitsPerPixel = kBits[i];
        } else if (a.TakeKeyword("mirror")) {
            options->mirror = true;
        } else if (a.TakeKeyword("rotate")) {
            options->rotate = true;
        } else {
            return a.Fail("unexpected \"" + std::string(a.Peek()) +
                          "\" (width, height, blt, stretch, bits N, mirror or rotate)");
        }
    }
    return true;
}

bool ReadBrushPattern(SceneArgs& a, std::vector<uint8_t>* pattern) {
    std::string name;
    if (!a.Word(&name, "pattern")) return false;
    if (name == "hex") {
        // The 256 digits may be split over several words, so take exactly 128 bytes.
        std::string digits, word;
        while (digits.size() < 256 && !a.Done()) {
            a.Word(&word, "pattern bytes");
            digits += word;
        }
        if (digits.size() != 256) return a.Fail("a hex pattern is 256 hex digits (32 rows of 8)");
        SceneArgs hex(a.Command(), {digits}, 0);
        if (!hex.HexRest(pattern, "pattern bytes")) return a.Fail(hex.Error().substr(a.Command().size() + 2));
        return true;
    }
    if (!NamedBrushPattern(name, pattern))
        return a.Fail("unknown pattern \"" + name +
                      "\" (solid, clear, checker, dots, grid, diagonal, "
                      "bricks, or hex)");
    return true;
}

sys::WString SceneFolder(sys::WStringView path) {
    size_t cut = path.size();
    while (cut > 0 && !IsSeparator(path[cut - 1])) --cut;
    if (cut == 0) return {};
    return sys::WString(path.substr(0, cut - 1 == 0 ? 1 : cut - 1));
}

sys::WString ResolveSceneFile(sys::WStringView folder, const std::string& name) {
    sys::WString wide = sys::Widen(name);
    if (folder.empty() || IsAbsolute(wide)) return wide;
    return sys::WString(folder) + u"/" + wide;
}
