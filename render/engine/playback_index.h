// Runs of a display list that only place and draw glyphs, and the rows their
// glyphs cover. A text page's list is mostly such runs, and the page is
// played slice by slice, each slice replaying the whole list: a replay that
// has the index jumps over every run whose glyphs all miss its band, leaving
// the position where the run would have left it, instead of reading the run
// record by record.
//
// The first playback records the index; the later ones of the same list and
// origins use it. A run is recorded only while the list draws unscaled and
// without a clip path (the records that change that end runs), where a glyph
// that misses the band draws nothing and changes nothing.
#pragma once

#include <cstdint>
#include <limits>
#include <vector>

class PlaybackIndex {
public:
    // Records begin .. end - 1 (byte offsets) of chunk number `chunk`.
    struct Run {
        uint32_t chunk = 0;
        uint32_t begin = 0;
        uint32_t end = 0;
        uint64_t top = std::numeric_limits<uint64_t>::max();  // rows its glyphs cover: top ..
        uint64_t bottom = 0;                                  // .. bottom - 1; none when top > bottom
        uint32_t rowAfter = 0;                                // the position it leaves
        uint32_t colAfter = 0;
        bool hasGlyph = false;  // it draws (or would draw) something
    };

    // A run that grows past this many rows is cut: a run is about a line of
    // text, so that most bands miss it.
    static constexpr uint64_t kMaxRunRows = 128;

    // Whether a record with this opcode may be part of a run.
    static bool MayRun(uint8_t opcode);

    // For playbacks from these origins: whether the index is ready to be
    // used, or else whether this playback should record it.
    bool ReadyFor(uint32_t rowOrigin, uint32_t colOrigin) const;
    bool ShouldRecord() const { return !recorded_; }

    // Recording, in list order.
    void StartRecording(uint32_t rowOrigin, uint32_t colOrigin);
    void Continue(uint32_t chunk, uint32_t pos);  // a record that may be part of a run
    void AddGlyph(uint32_t chunk, uint32_t pos, uint32_t row, uint32_t rows, uint32_t rowNow,
                  uint32_t colNow);
    void Close(uint32_t pos, uint32_t rowNow, uint32_t colNow);  // before a record no run holds
    void FinishRecording();

    const std::vector<Run>& Runs() const { return runs_; }

private:
    std::vector<Run> runs_;
    Run open_;
    bool isOpen_ = false;
    bool recorded_ = false;
    uint32_t rowOrigin_ = 0;
    uint32_t colOrigin_ = 0;
};
