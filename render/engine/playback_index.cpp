#include "playback_index.h"

#include <algorithm>
#include <new>

#include "formats/display_list.h"

bool PlaybackIndex::MayRun(uint8_t opcode) {
    switch (opcode) {
        case DL_GLYPH:
        case DL_SET_ROW:
        case DL_MOVE_ROW:
        case DL_SET_COL:
        case DL_MOVE_COL: return true;
        default: return false;
    }
}

bool PlaybackIndex::ReadyFor(uint32_t rowOrigin, uint32_t colOrigin) const {
    return recorded_ && rowOrigin == rowOrigin_ && colOrigin == colOrigin_;
}

void PlaybackIndex::StartRecording(uint32_t rowOrigin, uint32_t colOrigin) {
    runs_.clear();
    isOpen_ = false;
    recorded_ = false;
    rowOrigin_ = rowOrigin;
    colOrigin_ = colOrigin;
}

void PlaybackIndex::Continue(uint32_t chunk, uint32_t pos) {
    if (isOpen_) return;
    open_ = Run{};
    open_.chunk = chunk;
    open_.begin = pos;
    isOpen_ = true;
}

void PlaybackIndex::AddGlyph(uint32_t chunk, uint32_t pos, uint32_t row, uint32_t rows, uint32_t rowNow,
                             uint32_t colNow) {
    if (rows != 0) {
        const uint64_t top = std::min<uint64_t>(open_.top, row);
        const uint64_t bottom = std::max<uint64_t>(open_.bottom, uint64_t{row} + rows);
        if (isOpen_ && open_.hasGlyph && bottom - top > kMaxRunRows) {
            Close(pos, rowNow, colNow);
            Continue(chunk, pos);
            AddGlyph(chunk, pos, row, rows, rowNow, colNow);
            return;
        }
        open_.top = top;
        open_.bottom = bottom;
    }
    open_.hasGlyph = true;
}

void PlaybackIndex::Close(uint32_t pos, uint32_t rowNow, uint32_t colNow) {
    if (!isOpen_) return;
    isOpen_ = false;
    if (pos == open_.begin) return;
    open_.end = pos;
    open_.rowAfter = rowNow;
    open_.colAfter = colNow;
    try {
        runs_.push_back(open_);
    } catch (const std::bad_alloc&) {
        // Without this run the playbacks read its records one by one.
    }
}

void PlaybackIndex::FinishRecording() {
    isOpen_ = false;
    recorded_ = true;
}
