// Line styles: dash patterns as runs of pixels that alternate on and off,
// and the position in the pattern that carries from one segment of a
// polyline to the next.
#pragma once

#include <array>
#include <cstdint>

constexpr uint32_t kLineStyles = 8;
constexpr uint8_t kLineStyleSolid = 0;
constexpr uint8_t kLineStyleNull = 5;

// The styles, one after the other: a count n, then n run lengths (on, off,
// on, off ...). A run of 0xFFFFFF pixels is longer than any band can show.
// clang-format off
inline constexpr std::array<uint32_t, 30> adwWinStyles = {
    2, 0xFFFFFF, 0,                // 0 solid
    2, 40, 16,                     // 1 dash
    2, 8, 8,                       // 2 dot
    4, 28, 15, 8, 15,              // 3 dash-dot
    6, 28, 15, 8, 8, 8, 15,        // 4 dash-dot-dot
    2, 0, 0xFFFFFF,                // 5 null
    2, 0xFFFFFF, 0,                // 6 solid
    2, 0xFFFFFF, 0,                // 7 as style 0
};
// clang-format on
// Index of each style's count in adwWinStyles.
inline constexpr std::array<uint8_t, kLineStyles> abStyleLookUp = {0, 3, 6, 9, 14, 21, 24, 27};
// Each style's period in pixels; 0 for the styles without a pattern.
inline constexpr std::array<uint16_t, kLineStyles> awStyleSize = {0, 56, 16, 66, 82, 0, 0, 0};

// Styles past the table draw as solid lines.
inline uint32_t LineStylePeriod(uint8_t style) { return style < kLineStyles ? awStyleSize[style] : 0; }

// Walks a style's pattern pixel by pixel from a position in its period.
class LineStylePattern {
public:
    LineStylePattern(uint8_t style, uint64_t position);

    // Whether the current pixel is under an on run.
    bool On() const { return (run_ & 1) == 0; }
    // Moves to the next pixel.
    void Next() {
        if (--left_ == 0) NextRun();
    }

private:
    void NextRun();

    const uint32_t* runs_ = nullptr;  // the style's run lengths
    uint32_t count_ = 0;
    uint32_t run_ = 0;   // index of the current run
    uint32_t left_ = 0;  // pixels left in it, the current one included
};
