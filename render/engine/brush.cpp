// The current colour and brush: solid colours, hatch and hollow brushes built
// from their descriptions, downloaded brushes selected by slot, and the
// expansion of downloaded brushes into band format.
#include <algorithm>
#include <cstring>

#include "raster_ops.h"

namespace {

constexpr uint32_t kHatchStyleLast = kHatchStyles - 1;
constexpr uint32_t kBrushSlotLast = 0xFE;  // 0x910000FF is not a brush code

// Luminance of a colour as a grey device renders it.
uint32_t GreyOf(uint32_t red, uint32_t green, uint32_t blue) {
    return (30 * red + 59 * green + 11 * blue) / 100;
}

// Grey of a 0x00RRGGBB colour.
uint32_t GreyOfRgb(uint32_t rgb) { return GreyOf((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

void StoreBrushPixel(uint8_t* brush, uint32_t index, uint32_t value, uint32_t isColour) {
    if (isColour) std::memcpy(brush + index * 4, &value, 4);
    else brush[index] = uint8_t(value);
}

// The build buffer, sized for the device (it is reused while the size fits).
uint8_t* PrepareBuildBuffer(RenderState* state) {
    std::vector<uint8_t>& build = state->scratch.brushBuild;
    const size_t bytes = BrushBytes(state->page.isColour);
    if (build.size() != bytes) build.assign(bytes, 0xFF);
    else std::fill(build.begin(), build.end(), uint8_t(0xFF));
    return build.data();
}

// The hollow brush is white everywhere: its matrix is all background, and a
// background byte inverted and spread over the pixel is all ones.
void BuildHollowBrush(RenderState* state) {
    uint8_t* brush = PrepareBuildBuffer(state);
    const auto& matrix = arHollowBrush[0].matrix;
    for (uint32_t row = 0; row < kBrushSide; ++row) {
        for (uint32_t col = 0; col < kBrushSide; ++col) {
            const uint32_t inverted = uint8_t(~matrix[row][col]);
            const uint32_t spread = inverted * 0x01010101u;
            StoreBrushPixel(brush, row * kBrushSide + col, spread | state->reg.colour, state->page.isColour);
        }
    }
    state->reg.brush = brush;
}

// Hatch lines in the hatch foreground colour on the hatch background.
void BuildHatchBrush(RenderState* state, uint32_t style) {
    uint8_t* brush = PrepareBuildBuffer(state);
    uint32_t foreground = state->reg.hatchForeground;
    uint32_t background = state->reg.hatchBackground;
    if (!state->page.isColour) {
        foreground = GreyOfRgb(foreground);
        background = GreyOfRgb(background);
    }
    const auto& matrix = arHatchBrush600[style].matrix;
    for (uint32_t row = 0; row < kBrushSide; ++row) {
        for (uint32_t col = 0; col < kBrushSide; ++col) {
            const uint32_t value = matrix[row][col] ? foreground : background;
            StoreBrushPixel(brush, row * kBrushSide + col, value, state->page.isColour);
        }
    }
    state->reg.brush = brush;
}

// 0x81BBGGRR: red in the low byte.
void SelectSolidColour(InterpreterRegisters* reg, uint32_t isColour, uint32_t code) {
    const uint32_t red = code & 0xFF;
    const uint32_t green = (code >> 8) & 0xFF;
    const uint32_t blue = (code >> 16) & 0xFF;
    reg->brush = nullptr;
    reg->colour = isColour ? (red << 16 | green << 8 | blue) : GreyOf(red, green, blue);
}

}  // namespace

void Frame_prhMAPuid(RenderState* state, uint32_t code) {
    if (code >= kColourCodeHatch && code <= kColourCodeHatch + kHatchStyleLast) {
        BuildHatchBrush(state, code - kColourCodeHatch);
    } else if (code == kColourCodeHollow) {
        BuildHollowBrush(state);
    } else if (code >= kColourCodeBrushSlot && code <= kColourCodeBrushSlot + kBrushSlotLast) {
        state->reg.brush = state->doc.brushSlots[code & 0xFF].get();
    } else if ((code >> 24) == (kColourCodeSolidBlack >> 24)) {
        SelectSolidColour(&state->reg, state->page.isColour, code);
    }
}

int StretchBrush(uint8_t* brush, const uint8_t* data, uint32_t size, uint8_t format, uint32_t isColour) {
    if (!brush || !data || size < StretchBrushSourceSize(format, isColour)) return 0;
    if (format != 1) {
        std::memcpy(brush, data, BrushBytes(isColour));
        return 1;
    }
    // Two palette entries of B, G, R, reserved: read as little-endian words
    // they are 0x00RRGGBB colour pixels.
    uint32_t entries[2];
    for (int i = 0; i < 2; ++i) {
        const uint8_t* e = data + 4 * i;
        entries[i] = uint32_t(e[0]) | uint32_t(e[1]) << 8 | uint32_t(e[2]) << 16 | uint32_t(e[3]) << 24;
        if (!isColour) entries[i] = GreyOfRgb(entries[i] & 0x00FFFFFF);
    }
    const uint8_t* pattern = data + 8;
    for (uint32_t byteIndex = 0; byteIndex < kBrushSide * kBrushSide / 8; ++byteIndex) {
        const uint32_t bits = pattern[byteIndex];
        for (uint32_t bit = 0; bit < 8; ++bit) {
            const uint32_t entry = (bits >> (7 - bit)) & 1;
            StoreBrushPixel(brush, byteIndex * 8 + bit, entries[entry], isColour);
        }
    }
    return 1;
}
