#include "job/brush_patterns.h"

namespace {

using BitRule = bool (*)(uint32_t row, uint32_t column);

struct NamedRule {
    const char* name;
    BitRule set;
};

constexpr NamedRule kRules[] = {
    {"solid", [](uint32_t, uint32_t) { return true; }},
    {"clear", [](uint32_t, uint32_t) { return false; }},
    {"checker", [](uint32_t r, uint32_t c) { return ((r / 8) + (c / 8)) % 2 == 0; }},
    {"dots", [](uint32_t r, uint32_t c) { return r % 8 < 2 && c % 8 < 2; }},
    {"grid", [](uint32_t r, uint32_t c) { return r % 8 == 0 || c % 8 == 0; }},
    {"diagonal", [](uint32_t r, uint32_t c) { return (r + c) % 8 < 2; }},
    // Courses 8 rows high, bricks 16 wide, every other course shifted by 8.
    {"bricks", [](uint32_t r, uint32_t c) { return r % 8 == 0 || (c + (r / 8 % 2) * 8) % 16 == 0; }},
};

uint8_t GreyOf(uint32_t rgb) {
    const uint32_t red = (rgb >> 16) & 0xFF, green = (rgb >> 8) & 0xFF, blue = rgb & 0xFF;
    return static_cast<uint8_t>((30 * red + 59 * green + 11 * blue) / 100);
}

}  // namespace

bool NamedBrushPattern(std::string_view name, std::vector<uint8_t>* pattern) {
    for (const NamedRule& rule : kRules) {
        if (name != rule.name) continue;
        pattern->assign(128, 0);
        for (uint32_t r = 0; r < 32; ++r)
            for (uint32_t c = 0; c < 32; ++c)
                if (rule.set(r, c)) (*pattern)[r * 4 + c / 8] |= static_cast<uint8_t>(0x80 >> (c % 8));
        return true;
    }
    return false;
}

std::vector<uint8_t> RawBrushPixels(const std::vector<uint8_t>& pattern, uint32_t colour0, uint32_t colour1,
                                    bool colourDevice) {
    std::vector<uint8_t> pixels;
    pixels.reserve(colourDevice ? 4096 : 1024);
    for (uint32_t i = 0; i < 1024; ++i) {
        const bool set = i / 8 < pattern.size() && (pattern[i / 8] & (0x80 >> (i % 8)));
        const uint32_t colour = set ? colour1 : colour0;
        if (colourDevice) {
            pixels.push_back(static_cast<uint8_t>(colour));
            pixels.push_back(static_cast<uint8_t>(colour >> 8));
            pixels.push_back(static_cast<uint8_t>(colour >> 16));
            pixels.push_back(0);
        } else {
            pixels.push_back(GreyOf(colour));
        }
    }
    return pixels;
}
