#include "playback.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <new>

#include "bitmap_1bpp.h"
#include "display_list.h"
#include "do_render.h"
#include "drawing_seams.h"
#include "playback_index.h"
#include "raster_ops.h"
#include "scaling.h"
#include "scratch_buffer.h"

namespace {

constexpr uint32_t kStartRop = 0x88;
constexpr uint8_t kRopPatCopy = 0xF0;
constexpr uint32_t kClipModePath = 3;
constexpr uint32_t kImageTagGraphics = 0x2000000;
constexpr uint32_t kUnitScale = 100;

// The interpreter's own registers: position, origins and scale. They live
// for one playback only, so every band sees the same state at the same
// record. The registers the drawers read (colour, ROP, styles, modes) are
// the state's InterpreterRegisters, reset by Player::Reset.
struct Registers {
    uint32_t row;      // R
    uint32_t col;      // C
    uint32_t spanEnd;  // E
    uint32_t height;   // H
    uint32_t rowOrigin;
    uint32_t colOrigin;
    uint32_t scaleDen;
    uint32_t scaleNum;
    uint32_t colourCode;
    bool drawn;  // a drawing command has been executed
};

// Operand bytes of each byte value as an opcode: the fixed sizes of the
// opcode table (0 for bytes that are not opcodes), or kVariableOperands for
// records whose size is in their operands. Looked up once per record of
// every replay, so made from the table at compile time.
constexpr uint16_t kVariableOperands = 0xFFFF;

constexpr std::array<uint16_t, 256> MakeFixedOperandSizes() {
    std::array<uint16_t, 256> sizes{};
#define DL_FIXED_SIZE_ENTRY(value, id, name, size) \
    sizes[value] = (size) == kDLVariable ? kVariableOperands : static_cast<uint16_t>(size);
    DL_OPCODE_TABLE(DL_FIXED_SIZE_ENTRY)
#undef DL_FIXED_SIZE_ENTRY
    return sizes;
}
constexpr std::array<uint16_t, 256> kFixedOperandSizes = MakeFixedOperandSizes();

uint32_t SaturatingAdd(uint32_t a, uint32_t b) {
    const uint64_t sum = uint64_t{a} + b;
    return sum > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(sum);
}

class Player {
public:
    Player(RenderState* state, uint32_t rowOrigin, uint32_t colOrigin, PlaybackIndex* index) : st_(state) {
        if (index && index->ReadyFor(rowOrigin, colOrigin)) {
            index_ = index;
        } else if (index && index->ShouldRecord()) {
            recording_ = index;
            recording_->StartRecording(rowOrigin, colOrigin);
        }
        reg_ = Registers{rowOrigin,  colOrigin,  colOrigin,
                         0,          rowOrigin,  colOrigin,
                         kUnitScale, kUnitScale, kColourCodeSolidBlack,
                         false};
    }

    void Reset();
    void PlayChunk(const DLChunk& chunk, uint32_t chunkIndex);
    void Finish();

private:
    bool Scaled() const { return reg_.scaleDen != reg_.scaleNum; }
    // Where a glyph that misses the band draws nothing and changes nothing.
    bool GlyphsMayBeSkipped() const { return !Scaled() && st_->reg.clipMode != kClipModePath; }

    // With an index: jumps over the run starting at pos when its glyphs all
    // miss the band. Returns whether it did.
    bool SkipRun(size_t* pos);
    // Recording an index: the record at pos is about to be executed.
    void RecordRun(size_t pos, uint8_t opcode);

    // Executes the record at data[pos]; returns the bytes it took (opcode
    // included), or 0 when it runs past the chunk.
    size_t Execute(const uint8_t* data, size_t pos, size_t size);
    void ExecuteFixed(uint8_t opcode, const uint8_t* p);

    enum class ScaleRule { Box, Span };
    void Fill(uint32_t row, uint32_t xs, uint32_t xe, uint32_t rows, ScaleRule rule);
    void Box(uint32_t rows, uint32_t width, bool sixteenBit);
    void DrawMask(TRect req, uint32_t srcWidth);
    void DrawMaskScaled(TRect req, uint32_t srcWidth);
    void RenderMask(TRect* req);

    void ApplyColour(uint32_t code);
    void DefineBitmap(const uint8_t* p, size_t available);
    void DefineBrush(const uint8_t* p, size_t available);
    void Glyph(const DLGlyph& glyph);
    // Whether rows row .. row + rows - 1 are all outside the band, where an
    // unscaled mask drawn without a clip path would draw nothing and change
    // nothing.
    bool UnclippedMaskMissesBand(uint32_t row, uint32_t rows) const;
    void DrawBitmap(uint16_t slot);
    void Image(uint8_t opcode, const uint8_t* p, size_t available);
    void Line(uint8_t opcode, uint32_t endRow, uint32_t endCol, bool moves);
    void Path(uint8_t opcode, const uint8_t* p, size_t available);
    void ClipMode(uint8_t mode);

    RenderState* st_;
    Registers reg_;
    const PlaybackIndex* index_ = nullptr;
    size_t nextRun_ = 0;  // the index's next run, in list order
    PlaybackIndex* recording_ = nullptr;
    uint32_t chunkIndex_ = 0;  // of the chunk being played
};

void Player::Reset() {
    st_->reg.lineStyle = 0;
    st_->reg.stylePhase = 0;
    st_->reg.textObject = 0;
    st_->reg.clipMode = 0;
    // Brackets and hatch colours left open by an earlier playback must not
    // change how this band draws the records before them.
    st_->reg.watermarkMode = 0;
    st_->reg.hatchForeground = 0x000000;
    st_->reg.hatchBackground = 0xFFFFFF;
    st_->window.clipRuns.clear();
    st_->window.drawnTop = st_->window.bandBottom;
    st_->window.drawnLeft = st_->window.bandRight;
    st_->window.drawnBottom = st_->window.bandTop;
    st_->window.drawnRight = st_->window.bandLeft;
    Frame_prhMAPuid(st_, kColourCodeSolidBlack);
    FrameSelectRopBrush(&st_->reg, kStartRop, kColourCodeSolidBlack);
}

void Player::Finish() {
    st_->reg.currentRow = reg_.row;
    st_->reg.currentCol = reg_.col;
    st_->reg.spanEnd = reg_.spanEnd;
    st_->reg.height = reg_.height;
    st_->reg.colourCode = reg_.colourCode;
    st_->reg.textObject = 0;
    std::vector<ClipRun>().swap(st_->window.clipRuns);
}

void Player::PlayChunk(const DLChunk& chunk, uint32_t chunkIndex) {
    if (!chunk.data) return;
    chunkIndex_ = chunkIndex;
    size_t pos = 0;
    while (pos < chunk.size) {
        if (index_ && SkipRun(&pos)) continue;
        if (recording_) RecordRun(pos, chunk.data[pos]);
        const size_t taken = Execute(chunk.data, pos, chunk.size);
        if (taken == 0) break;  // the record runs past the chunk: the chunk ends here
        pos += taken;
    }
    if (recording_) recording_->Close(static_cast<uint32_t>(pos), reg_.row, reg_.col);
}

bool Player::SkipRun(size_t* pos) {
    const std::vector<PlaybackIndex::Run>& runs = index_->Runs();
    if (nextRun_ >= runs.size()) return false;
    const PlaybackIndex::Run& run = runs[nextRun_];
    if (run.chunk != chunkIndex_ || run.begin != *pos) return false;
    ++nextRun_;
    const BandWindow& window = st_->window;
    const bool misses = run.bottom <= window.bandTop || run.top > window.bandBottom;
    if (!misses || !GlyphsMayBeSkipped()) return false;
    reg_.row = run.rowAfter;
    reg_.col = run.colAfter;
    if (run.hasGlyph) reg_.drawn = true;
    *pos = run.end;
    return true;
}

void Player::RecordRun(size_t pos, uint8_t opcode) {
    if (PlaybackIndex::MayRun(opcode) && GlyphsMayBeSkipped()) {
        recording_->Continue(chunkIndex_, static_cast<uint32_t>(pos));
    } else {
        recording_->Close(static_cast<uint32_t>(pos), reg_.row, reg_.col);
    }
}

size_t Player::Execute(const uint8_t* data, size_t pos, size_t size) {
    const uint8_t opcode = data[pos];
    const uint8_t* p = data + pos + 1;
    const size_t available = size - pos - 1;
    // Glyphs are most of a text page's records and every band replays them
    // all: each is parsed once, and one that misses the band costs no more.
    if (opcode == DL_GLYPH) {
        DLGlyph glyph;
        if (!DLParseGlyph(p, available, &glyph)) return 0;
        if (recording_ && GlyphsMayBeSkipped())
            recording_->AddGlyph(chunkIndex_, static_cast<uint32_t>(pos), reg_.row,
                                 glyph.width != 0 ? glyph.rows : 0, reg_.row, reg_.col);
        Glyph(glyph);
        return 1 + kDLGlyphHeader + glyph.dataBytes;
    }
    const uint16_t fixed = kFixedOperandSizes[opcode];
    const size_t operands =
        fixed == kVariableOperands ? DLOperandSize(opcode, p, available, st_->page.isColour != 0) : fixed;
    if (operands == kDLDoesNotFit || operands > available) return 0;

    switch (opcode) {
        case DL_SPAN:
        case DL_VSPAN: {
            // A run of identical bytes is one request of n rows (or columns).
            size_t n = 1;
            while (n <= available && p[n - 1] == opcode) ++n;
            const uint32_t count = static_cast<uint32_t>(n);
            reg_.drawn = true;
            if (opcode == DL_SPAN) {
                Fill(reg_.row, reg_.col, reg_.spanEnd, count, ScaleRule::Span);
                reg_.row += count;
            } else {
                Fill(reg_.row, reg_.col, reg_.col + count, reg_.height, ScaleRule::Span);
                reg_.col += count;
            }
            return n;
        }
        case DL_DEFINE_BITMAP: DefineBitmap(p, available); break;
        case DL_DEFINE_BRUSH: DefineBrush(p, available); break;
        case DL_STRETCH_IMAGE:
        case DL_BLT_IMAGE: Image(opcode, p, available); break;
        case DL_FILL_PATH:
        case DL_SET_PATH: Path(opcode, p, available); break;
        default: ExecuteFixed(opcode, p); break;
    }
    return 1 + operands;
}

void Player::ExecuteFixed(uint8_t opcode, const uint8_t* p) {
    switch (opcode) {
        case DL_DRAW_BITMAP: DrawBitmap(DLReadU16(p)); break;
        case DL_LINE_TO:
            Line(opcode, reg_.rowOrigin + DLReadU16(p), reg_.colOrigin + DLReadU16(p + 2), true);
            break;
        case DL_LINE_REL:
            Line(opcode, reg_.row + static_cast<uint32_t>(DLReadS8(p)),
                 reg_.col + static_cast<uint32_t>(DLReadS8(p + 1)), true);
            break;
        case DL_LINE:
            Line(opcode, reg_.rowOrigin + DLReadU16(p + 2), reg_.colOrigin + DLReadU16(p), false);
            break;
        case DL_BOX8: Box(p[0], p[1], false); break;
        case DL_BOX16: Box(DLReadU16(p), DLReadU16(p + 2), true); break;
        case DL_SPAN_STEP:
            reg_.drawn = true;
            reg_.col += static_cast<uint32_t>(DLReadS8(p));
            reg_.spanEnd += static_cast<uint32_t>(DLReadS8(p + 1));
            if (reg_.spanEnd > reg_.col) Fill(reg_.row, reg_.col, reg_.spanEnd, 1, ScaleRule::Span);
            reg_.row += 1;
            break;
        case DL_SET_ROW: reg_.row = reg_.rowOrigin + DLReadU16(p); break;
        case DL_MOVE_ROW: reg_.row += static_cast<uint32_t>(DLReadS8(p)); break;
        case DL_SET_COL: reg_.col = reg_.colOrigin + DLReadU16(p); break;
        case DL_MOVE_COL: reg_.col += static_cast<uint32_t>(DLReadS8(p)); break;
        case DL_SET_SPAN_END: reg_.spanEnd = reg_.colOrigin + DLReadU16(p); break;
        case DL_MOVE_SPAN_END: reg_.spanEnd += static_cast<uint32_t>(DLReadS8(p)); break;
        case DL_SET_HEIGHT: reg_.height = DLReadU16(p); break;
        case DL_MOVE_HEIGHT: reg_.height += static_cast<uint32_t>(DLReadS8(p)); break;
        case DL_SET_ROW_ORIGIN: reg_.rowOrigin = DLReadU32(p); break;
        case DL_SET_COL_ORIGIN: reg_.colOrigin = DLReadU32(p); break;
        case DL_SET_COLOR:
        case DL_SET_COLOR_ALT: ApplyColour(DLReadU32(p)); break;
        case DL_SET_ROP: FrameSelectRopBrush(&st_->reg, p[0], reg_.colourCode); break;
        case DL_SET_LINE_STYLE: st_->reg.lineStyle = p[0]; break;
        case DL_SET_ROP_COLOR:
            st_->reg.rop = p[0];
            ApplyColour(DLReadU32(p + 1));
            break;
        case DL_SET_STYLE_PHASE: st_->reg.stylePhase = DLReadU16(p); break;
        case DL_SET_HATCH:
            st_->reg.hatchForeground = DLReadU32(p + 4);
            st_->reg.hatchBackground = DLReadU32(p + 8);
            ApplyColour(DLReadU32(p));
            break;
        case DL_SET_SCALE:
            // A zero divisor cannot scale anything: the record is ignored.
            if (DLReadU32(p) != 0) {
                reg_.scaleDen = DLReadU32(p);
                reg_.scaleNum = DLReadU32(p + 4);
            }
            break;
        case DL_WATERMARK_BEGIN: st_->reg.watermarkMode = 1; break;
        case DL_WATERMARK_END: st_->reg.watermarkMode = 0; break;
        case DL_PAINT_PATH: {
            TRect req;
            RDPaintPath(st_->doc.pathGenerator, RDFillRow1, st_, &req);
            break;
        }
        case DL_CLIP_MODE: ClipMode(p[0]); break;
        default: break;  // DL_SKIP1, DL_SKIP4 and bytes that are not opcodes
    }
}

void Player::ApplyColour(uint32_t code) {
    reg_.colourCode = code;
    Frame_prhMAPuid(st_, code);
    FrameSelectRopBrush(&st_->reg, st_->reg.rop, code);
}

// ---- Filled objects ---------------------------------------------------------------

void Player::Fill(uint32_t row, uint32_t xs, uint32_t xe, uint32_t rows, ScaleRule rule) {
    TRect req;
    req.row = row;
    req.xs = xs;
    req.xe = xe;
    req.rows = rows;
    if (Scaled()) {
        if (rule == ScaleRule::Box) {
            RDScaleTRect(&req, reg_.scaleDen, reg_.scaleNum);
        } else {
            RDScaleTRectF(&req, reg_.scaleDen, reg_.scaleNum);
        }
    }
    if (!RDClipTRect(st_->window, &req)) return;
    DoRender(st_, &req);
}

void Player::Box(uint32_t rows, uint32_t width, bool sixteenBit) {
    // The driver starts pages with a white rectangle over everything; on a
    // band that is already white it would only cost time.
    if (sixteenBit && st_->reg.rop == kRopPatCopy && reg_.colourCode == kColourCodeSolidWhite &&
        !reg_.drawn) {
        return;
    }
    reg_.drawn = true;
    Fill(reg_.row, reg_.col, reg_.col + width, rows, ScaleRule::Box);
}

// ---- Glyphs and downloaded bitmaps -------------------------------------------------

void Player::RenderMask(TRect* req) {
    if (st_->reg.clipMode == kClipModePath) {
        st_->window.clipRuns.clear();
        RDMakeClipPath(st_->doc.pathGenerator, st_->window, RDAddClipRun, st_, req);
        RDDoRenderClip(st_, req);
    } else {
        DoRender(st_, req);
    }
}

void Player::DrawMask(TRect req, uint32_t srcWidth) {
    st_->reg.textObject = 1;
    if (Scaled()) {
        DrawMaskScaled(req, srcWidth);
    } else {
        RenderMask(&req);
    }
    st_->reg.textObject = 0;
}

// The box a mask covers once scaled: its columns start after the leading
// bits, which are dropped before it is resampled.
TRect ScaledMaskBox(TRect req, uint32_t scaleDen, uint32_t scaleNum) {
    req.xs += req.bitOffset;
    req.bitOffset = 0;
    RDScaleTRectF(&req, scaleDen, scaleNum);
    return req;
}

void Player::DrawMaskScaled(TRect req, uint32_t srcWidth) {
    // Dropping the leading bits and resampling both touch the whole mask: do
    // them only for the bands the scaled box reaches.
    const TRect box = ScaledMaskBox(req, reg_.scaleDen, reg_.scaleNum);
    if (box.xe <= box.xs || box.rows == 0) return;
    const BandWindow& window = st_->window;
    if (box.row > window.bandBottom || uint64_t{box.row} + box.rows <= window.bandTop) return;
    const uint32_t srcRows = req.rows;
    if (req.bitOffset) {
        // Drop the leading bits first, so that only the glyph is resampled.
        const size_t bytes = size_t{MaskStride(srcWidth)} * srcRows;
        if (!ReserveScratch(st_->scratch.glyphScratch, bytes)) return;
        DeletebLeft(&req, st_->scratch.glyphScratch.data());
    }
    const uint8_t* src = req.bits;
    req.row = box.row;
    req.rows = box.rows;
    req.xs = box.xs;
    req.xe = box.xe;
    const uint32_t width = req.xe - req.xs;
    if (width > 0xFFFF || req.rows > 0xFFFF) return;
    const uint64_t bytes = uint64_t{MaskStride(width)} * req.rows;
    if (bytes > kMaxScaledMaskBytes) return;
    if (!ReserveScratch(st_->scratch.scaledGlyphScratch, static_cast<size_t>(bytes))) return;
    uint8_t* dst = st_->scratch.scaledGlyphScratch.data();
    std::fill(dst, dst + bytes, uint8_t{0});
    Scale1BPPBitmap(dst, width, req.rows, src, srcWidth, srcRows);
    req.bits = dst;
    RenderMask(&req);
}

bool Player::UnclippedMaskMissesBand(uint32_t row, uint32_t rows) const {
    if (Scaled() || st_->reg.clipMode == kClipModePath) return false;
    const BandWindow& window = st_->window;
    return row > window.bandBottom || uint64_t{row} + rows <= window.bandTop;
}

void Player::Glyph(const DLGlyph& glyph) {
    reg_.drawn = true;
    if (glyph.rows == 0 || glyph.width == 0 || UnclippedMaskMissesBand(reg_.row, glyph.rows)) return;
    TRect req;
    req.row = reg_.row;
    req.xs = reg_.col;
    req.xe = reg_.col + glyph.bitOffset + glyph.width;
    req.rows = glyph.rows;
    req.bits = glyph.data;
    req.bitOffset = glyph.bitOffset;
    DrawMask(req, glyph.width);
}

void Player::DrawBitmap(uint16_t slot) {
    reg_.drawn = true;
    if (slot >= kBitmapSlots || !st_->doc.bitmapSlots[slot]) return;
    const DLBitmap& bitmap = *st_->doc.bitmapSlots[slot];
    if (bitmap.rows == 0 || bitmap.width == 0 || UnclippedMaskMissesBand(reg_.row, bitmap.rows)) return;
    TRect req;
    req.row = reg_.row;
    req.xs = reg_.col;
    req.xe = reg_.col + bitmap.width;
    req.rows = bitmap.rows;
    req.bits = bitmap.data.data();
    DrawMask(req, bitmap.width);
}

void Player::DefineBitmap(const uint8_t* p, size_t available) {
    DLBitmapDefinition def;
    if (!DLParseBitmapDefinition(p, available, &def)) return;
    if (def.slot >= kBitmapSlots) return;  // outside the table: refused
    auto& slot = st_->doc.bitmapSlots[def.slot];
    // Every band replays the definition: the slot keeps its memory, so that
    // only the bytes are copied again.
    try {
        if (!slot) slot = std::make_unique<DLBitmap>();
        slot->data.assign(def.data, def.data + def.dataBytes);
        slot->rows = def.rows;
        slot->width = def.width;
    } catch (const std::bad_alloc&) {
        slot.reset();  // the slot stays empty; drawing it later is a no-op
    }
}

void Player::DefineBrush(const uint8_t* p, size_t available) {
    DLBrushDefinition def;
    if (!DLParseBrushDefinition(p, available, st_->page.isColour != 0, &def)) return;
    auto& slot = st_->doc.brushSlots[def.slot];
    // The slot's memory is reused rather than replaced: the current brush may
    // point at it, and must not be left pointing at freed memory.
    if (!slot) {
        slot.reset(new (std::nothrow) uint8_t[kBrushSlotBytes]);
        if (!slot) return;
    }
    std::memset(slot.get(), 0, kBrushSlotBytes);
    if (def.format == 0) return;  // an empty pattern: the slot stays zero-filled
    StretchBrush(slot.get(), def.data, static_cast<uint32_t>(def.dataBytes), def.format, st_->page.isColour);
}

// ---- Images, lines and paths (drawn behind drawing_seams.h) -------------------------

void Player::Image(uint8_t opcode, const uint8_t* p, size_t available) {
    DLImage image;
    if (!DLParseImage(p, available, &image)) return;
    reg_.drawn = true;
    if (Scaled()) {
        const uint32_t den = reg_.scaleDen, num = reg_.scaleNum;
        st_->reg.imageRow = RDScaleCeil(reg_.row, den, num);
        st_->reg.imageCol = RDScaleCeil(reg_.col, den, num);
        const bool rotated = image.flags & kDLImageRotated;
        // Unrotated, +8 holds the rows and +10 the columns; rotated the other way.
        uint32_t& rowExtent = rotated ? image.destExtent10 : image.destExtent8;
        uint32_t& colExtent = rotated ? image.destExtent8 : image.destExtent10;
        rowExtent = RDScaleCeil(uint64_t{reg_.row} + rowExtent, den, num) - st_->reg.imageRow;
        colExtent = RDScaleCeil(uint64_t{reg_.col} + colExtent, den, num) - st_->reg.imageCol;
    } else {
        st_->reg.imageRow = reg_.row;
        st_->reg.imageCol = reg_.col;
    }
    if (st_->reg.clipMode == kClipModePath) {
        st_->window.clipRuns.clear();
        GetScanLineForBmp(st_, image);
        ClipRenderImage(st_, image, opcode == DL_BLT_IMAGE ? kImageTagGraphics : 0);
    } else if (opcode == DL_STRETCH_IMAGE) {
        RenderingImage(st_, image);
    } else {
        RenderingBitBlt(st_, image);
    }
}

void Player::Line(uint8_t opcode, uint32_t endRow, uint32_t endCol, bool moves) {
    reg_.drawn = true;
    TLine line;
    line.x1 = reg_.col;
    line.y1 = reg_.row;
    line.x2 = endCol;
    line.y2 = endRow;
    if (Scaled()) RDScaleTLines(&line, reg_.scaleDen, reg_.scaleNum);
    if (RDClipTLines(st_->window, st_->page.pageRows, &line)) {
        LineDraw(st_, &line, opcode);
    } else {
        LineMissesBand(st_, &line, opcode);
    }
    if (moves) {
        reg_.row = endRow;
        reg_.col = endCol;
    }
}

void Player::Path(uint8_t opcode, const uint8_t* p, size_t available) {
    DLPath path;
    if (!DLParsePath(p, available, &path)) return;
    reg_.drawn = true;
    RDRect box;
    box.left = SaturatingAdd(path.left, reg_.colOrigin);
    box.top = SaturatingAdd(path.top, reg_.rowOrigin);
    box.right = SaturatingAdd(path.right, reg_.colOrigin);
    box.bottom = SaturatingAdd(path.bottom, reg_.rowOrigin);
    if (Scaled()) RDScaleRectF(&box, reg_.scaleDen, reg_.scaleNum);
    // Cut to the band (right and bottom exclusive).
    const BandWindow& window = st_->window;
    const uint64_t bandRight = uint64_t{window.bandRight} + 1;
    const uint64_t bandBottom = uint64_t{window.bandBottom} + 1;
    RDRect cut;
    cut.left = std::max(box.left, window.bandLeft);
    cut.top = std::max(box.top, window.bandTop);
    cut.right = static_cast<uint32_t>(std::min<uint64_t>(box.right, bandRight));
    cut.bottom = static_cast<uint32_t>(std::min<uint64_t>(box.bottom, bandBottom));
    PathGenerator* generator = st_->doc.pathGenerator;
    if (window.bandRows == 0 || cut.left >= cut.right || cut.top >= cut.bottom) {
        // This path does not reach the band; an older path must not stand in
        // for it in a later paint or clip.
        RDResetPath(generator);
        return;
    }
    RDSetPath(generator, cut, path, reg_.rowOrigin, reg_.colOrigin, reg_.scaleDen, reg_.scaleNum);
    if (opcode == DL_FILL_PATH) {
        TRect req;
        RDPaintPath(generator, RDFillRow1, st_, &req);
    }
}

void Player::ClipMode(uint8_t mode) {
    if (mode == kClipModePath) {
        st_->reg.clipMode = kClipModePath;
        return;
    }
    RDResetPath(st_->doc.pathGenerator);
    st_->window.clipRuns.clear();
    st_->reg.clipMode = 0;
}

}  // namespace

int PlayFrameBuffer(RenderState* state, uint32_t rowOrigin, uint32_t colOrigin, PlaybackIndex* index) {
    Player player(state, rowOrigin, colOrigin, index);
    player.Reset();
    const DLChunk* end = state->page.displayListEnd;
    uint32_t chunkIndex = 0;
    for (const DLChunk* chunk = state->page.displayList; chunk && end && chunk < end; ++chunk) {
        player.PlayChunk(*chunk, chunkIndex++);
    }
    player.Finish();
    if (index && index->ShouldRecord()) index->FinishRecording();
    return 1;
}
