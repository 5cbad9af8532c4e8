// One row of a threshold matrix as the screening kernels read it.
//
// The row is repeated past its end, so that a run of up to kThresholdRun
// thresholds can be read from any column below the matrix width without a
// wrap test, and thresholds are capped at 254: white paper (255) never takes
// ink, whatever its neighbours in a group of eight.
#pragma once

#include <cstdint>

#include "halftone.h"

// The longest run of thresholds a kernel reads at once.
constexpr uint32_t kThresholdRun = 64;

class ThresholdRow {
public:
    ThresholdRow(const FBScreenPlane& plane, uint32_t pageRow) : plane_(plane), row_(pageRow % plane.height) {
        Load();
    }

    // The row of the next page row (the matrix repeats downwards).
    void NextRow() {
        if (++row_ == plane_.height) row_ = 0;
        Load();
    }
    const uint8_t* values() const { return values_; }
    uint32_t width() const { return plane_.width; }

private:
    void Load() {
        const uint8_t* source = plane_.table + row_ * plane_.width;
        for (uint32_t i = 0; i < plane_.width; ++i) values_[i] = source[i] < 255 ? source[i] : 254;
        // Repeat the row; a matrix narrower than a run repeats more than once.
        for (uint32_t i = plane_.width; i < plane_.width + kThresholdRun; ++i)
            values_[i] = values_[i - plane_.width];
    }

    const FBScreenPlane& plane_;
    uint32_t row_;
    uint8_t values_[kMaxMaskWidth + kThresholdRun];
};

// Walks a loaded matrix row in steps of `step` thresholds (at most
// kThresholdRun), from the threshold of band column `startColumn`, wrapping
// at the matrix width: the column stays below the width, so one
// subtraction per step suffices.
class ThresholdCursor {
public:
    ThresholdCursor(const ThresholdRow& row, uint32_t step, uint32_t startColumn = 0)
        : values_(row.values()),
          width_(row.width()),
          step_(step % row.width()),
          run_(kThresholdRun % row.width()),
          column_(startColumn % row.width()) {}

    const uint8_t* here() const { return values_ + column_; }
    void Advance() { Move(step_); }
    // Moves on by kThresholdRun thresholds at once.
    void SkipRun() { Move(run_); }

private:
    const uint8_t* values_;
    uint32_t width_;
    void Move(uint32_t distance) {
        column_ += distance;
        column_ = column_ >= width_ ? column_ - width_ : column_;
    }

    uint32_t step_;
    uint32_t run_;
    uint32_t column_;
};
