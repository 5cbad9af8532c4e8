// Helpers of the playback tests: a display-list builder and a band that a
// list is played into.
#pragma once

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "engine/display_list.h"
#include "engine/playback.h"
#include "engine/playback_index.h"
#include "engine/render_band.h"
#include "engine/render_state.h"

namespace playback_test {

// Writes display-list records byte by byte (little-endian operands).
class DL {
public:
    DL& Op(uint8_t opcode) { return U8(opcode); }
    DL& U8(uint32_t v) {
        bytes_.push_back(static_cast<uint8_t>(v));
        return *this;
    }
    DL& U16(uint32_t v) { return U8(v).U8(v >> 8); }
    DL& U32(uint32_t v) { return U16(v).U16(v >> 16); }
    DL& Bytes(std::initializer_list<uint8_t> b) {
        bytes_.insert(bytes_.end(), b);
        return *this;
    }
    DL& Bytes(const std::vector<uint8_t>& b) {
        bytes_.insert(bytes_.end(), b.begin(), b.end());
        return *this;
    }

    DL& SetRow(uint16_t r) { return Op(DL_SET_ROW).U16(r); }
    DL& SetCol(uint16_t c) { return Op(DL_SET_COL).U16(c); }
    DL& At(uint16_t r, uint16_t c) { return SetRow(r).SetCol(c); }
    DL& SpanEnd(uint16_t e) { return Op(DL_SET_SPAN_END).U16(e); }
    DL& Height(uint16_t h) { return Op(DL_SET_HEIGHT).U16(h); }
    DL& RopColour(uint8_t rop, uint32_t code) { return Op(DL_SET_ROP_COLOR).U8(rop).U32(code); }
    DL& Black() { return RopColour(0xF0, 0x81000000); }
    DL& Box8(uint8_t rows, uint8_t width) { return Op(DL_BOX8).U8(rows).U8(width); }
    DL& Box16(uint16_t rows, uint16_t width) { return Op(DL_BOX16).U16(rows).U16(width); }
    DL& Scale(uint32_t den, uint32_t num) { return Op(DL_SET_SCALE).U32(den).U32(num); }
    // A glyph; `rows` rows of MaskStride(bitOffset + width) bytes.
    DL& Glyph(uint8_t bitOffset, uint16_t rows, uint16_t width, const std::vector<uint8_t>& data) {
        Op(DL_GLYPH).U8(bitOffset).U8(0).U8(0).U8(0).U16(rows).U16(width).U32(0);
        return Bytes(data);
    }
    DL& DefineBitmap(uint16_t slot, uint16_t rows, uint16_t width, const std::vector<uint8_t>& data) {
        return Op(DL_DEFINE_BITMAP).U8(0).U16(slot).U16(rows).U16(width).Bytes(data);
    }

    const std::vector<uint8_t>& bytes() const { return bytes_; }
    size_t size() const { return bytes_.size(); }

private:
    std::vector<uint8_t> bytes_;
};

// A page of `width` pixels (a multiple of 32) drawn band by band. The band
// buffer sits between guard bytes that no drawing may touch.
class Band {
public:
    static constexpr size_t kGuard = 64;

    Band(bool colour, uint32_t width, uint32_t bandRows, uint32_t pageRows = 0) : bandRows_(bandRows) {
        state_.page.isColour = colour ? 1 : 0;
        state_.page.bitsPerPixel = colour ? 32 : 8;
        state_.page.resolution = 600;
        state_.page.rowPixels = width;
        state_.page.bytesPerRow = width * state_.page.bitsPerPixel / 8;
        state_.page.dwordsPerRow = state_.page.bytesPerRow / 4;
        state_.page.pageRows = pageRows ? pageRows : bandRows;
        memory_.assign(kGuard + size_t{state_.page.bytesPerRow} * bandRows + kGuard, kGuardByte);
        state_.window.band = memory_.data() + kGuard;
        RDInitialize(&state_);
    }
    ~Band() { RDDestroy(&state_); }

    // Plays the chunks into the band of rows top .. top + bandRows - 1.
    void Play(const std::vector<std::vector<uint8_t>>& chunks, uint32_t top = 0, uint32_t rowOrigin = 0,
              uint32_t colOrigin = 0, PlaybackIndex* index = nullptr) {
        chunkStore_ = chunks;
        chunkList_.clear();
        for (const auto& c : chunkStore_)
            chunkList_.push_back(DLChunk{c.data(), static_cast<uint32_t>(c.size())});
        state_.page.displayList = chunkList_.data();
        state_.page.displayListEnd = chunkList_.data() + chunkList_.size();
        RDInitializeBand(&state_, top / 128, 0, top, state_.page.rowPixels - 1, top + bandRows_ - 1);
        PlayFrameBuffer(&state_, rowOrigin, colOrigin, index);
        RDInitializePage();
    }
    void Play(const DL& list, uint32_t top = 0) { Play({list.bytes()}, top); }

    // Band-relative pixel: grey byte or 32-bit colour pixel.
    uint32_t Pixel(uint32_t row, uint32_t col) const {
        const uint8_t* p = state_.window.band + size_t{row} * state_.page.bytesPerRow;
        if (!state_.page.isColour) return p[col];
        uint32_t v;
        std::memcpy(&v, p + size_t{col} * 4, 4);
        return v;
    }
    uint32_t White() const { return state_.page.isColour ? 0xFFFFFFFFu : 0xFFu; }

    // One row as text: '.' white, '#' anything else (columns 0 .. n-1).
    std::string Row(uint32_t row, uint32_t n) const {
        std::string s;
        for (uint32_t c = 0; c < n; ++c) s += Pixel(row, c) == White() ? '.' : '#';
        return s;
    }
    std::vector<std::string> Rows(uint32_t n) const {
        std::vector<std::string> out;
        for (uint32_t r = 0; r < bandRows_; ++r) out.push_back(Row(r, n));
        return out;
    }

    bool AllWhite() const {
        for (uint32_t r = 0; r < bandRows_; ++r)
            for (uint32_t c = 0; c < state_.page.rowPixels; ++c)
                if (Pixel(r, c) != White()) return false;
        return true;
    }
    bool GuardsIntact() const {
        for (size_t i = 0; i < kGuard; ++i) {
            if (memory_[i] != kGuardByte || memory_[memory_.size() - 1 - i] != kGuardByte) return false;
        }
        return true;
    }

    RenderState& state() { return state_; }
    const std::vector<uint8_t>& bandBytes() const { return memory_; }

private:
    static constexpr uint8_t kGuardByte = 0x5A;
    uint32_t bandRows_;
    RenderState state_;
    std::vector<uint8_t> memory_;
    std::vector<std::vector<uint8_t>> chunkStore_;
    std::vector<DLChunk> chunkList_;
};

}  // namespace playback_test
