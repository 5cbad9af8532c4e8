// The four raster kernels. Each is chosen once per ROP selection
// (FrameSelectRopBrush); inside a kernel the operation is picked once per
// request, as a template instance for the pattern kernel or as branch-free
// run-time masks for the masked kernels, so the pixel loops carry no decision
// but the data itself. Masked kernels work a mask byte (eight pixels) at a
// time as 64-bit words.
//
// Band stores go through byte pointers, which the compiler must assume may
// alias anything reached through a reference; the pixel loops therefore take
// their geometry and operands by value so that nothing is reloaded per pixel.
// Pixel indices are size_t: a 32-bit index times the pixel size could wrap,
// and that possibility alone keeps the compiler from vectorising. The block
// visitors capture their operands by value and store a block's words only
// after computing all of them, for the same reason.
#include <algorithm>
#include <array>
#include <cstring>
#include <utility>

#include "raster_ops.h"
#include "rop_logic.h"
#include "rop_pixels.h"

namespace {

using rop::BrushPattern;
using rop::ColourPixels;
using rop::GreyPixels;
using rop::KernelArea;
using rop::LoadPixel;
using rop::SolidPattern;
using rop::StorePixel;

uint8_t* RowStart(const KernelArea& area, uint32_t i) { return area.dest + size_t(i) * area.destStride; }

const uint8_t* MaskRow(const KernelArea& area, uint32_t i) { return area.mask + size_t(i) * area.maskStride; }

// A result with the current tag (colour) or as it is (grey).
template <class Px>
typename Px::Value Tagged(typename Px::Value result, uint32_t tag) {
    if constexpr (Px::kTagged) return (result & ColourPixels::kColourBits) | tag;
    else return result;
}

// ---------------------------------------------------------------------------
// D only: black, white, invert, nothing.

template <class Px>
void FillArea(const KernelArea area, const typename Px::Value value) {
    const uint32_t width = area.width;
    for (uint32_t i = 0; i < area.rows; ++i) {
        uint8_t* row = RowStart(area, i);
        if constexpr (Px::kBytes == 1) {
            std::memset(row, value, width);
        } else {
            for (size_t x = 0; x < width; ++x) StorePixel<Px>(row + x * Px::kBytes, value);
        }
    }
}

template <class Px>
void InvertArea(const KernelArea area, const uint32_t tag) {
    const uint32_t width = area.width;
    for (uint32_t i = 0; i < area.rows; ++i) {
        uint8_t* row = RowStart(area, i);
        for (size_t x = 0; x < width; ++x) {
            uint8_t* at = row + x * Px::kBytes;
            const typename Px::Value inverted = typename Px::Value(~LoadPixel<Px>(at));
            StorePixel<Px>(at, Tagged<Px>(inverted, tag));
        }
    }
}

template <class Px>
void RunDestOnly(const InterpreterRegisters& reg, const KernelArea& area) {
    using Value = typename Px::Value;
    const uint32_t tag = rop::CurrentTag(reg);
    switch (reg.ubRopCode & 3) {
        case 0: FillArea<Px>(area, Tagged<Px>(Value(0), tag)); break;           // 0x00
        case 1: InvertArea<Px>(area, tag); break;                               // 0x55
        case 2: break;                                                          // 0xAA
        default: FillArea<Px>(area, Tagged<Px>(Value(~Value(0)), tag)); break;  // 0xFF
    }
}

// ---------------------------------------------------------------------------
// P and D: one of sixteen two-operand operations f(P, D), fixed at compile
// time.

template <class Px, unsigned kTable>
void PatternSpan(uint8_t* at, const uint8_t* patternPixels, size_t count, uint32_t tag) {
    for (size_t j = 0; j < count; ++j) {
        uint8_t* pixel = at + j * Px::kBytes;
        const auto p = LoadPixel<Px>(patternPixels + j * Px::kBytes);
        StorePixel<Px>(pixel, Tagged<Px>(rop::ApplyTable<kTable>(p, LoadPixel<Px>(pixel)), tag));
    }
}

template <class Px, unsigned kTable, class Pattern>
void PatternRows(const KernelArea area, Pattern pattern, const uint32_t tag) {
    const uint32_t width = area.width;
    for (uint32_t i = 0; i < area.rows; ++i) {
        pattern.StartRow(area.firstRow + i);
        uint8_t* row = RowStart(area, i);
        if constexpr (Pattern::kIsBrush) {
            // Runs that end where the brush row wraps, so that each run reads
            // the brush row contiguously.
            for (size_t x = 0; x < width;) {
                const uint32_t column = pattern.Column(x);
                const size_t run = std::min<size_t>(kBrushSide - column, width - x);
                PatternSpan<Px, kTable>(row + x * Px::kBytes, pattern.RowPixels(column), run, tag);
                x += run;
            }
        } else {
            for (size_t x = 0; x < width; ++x) {
                uint8_t* at = row + x * Px::kBytes;
                const auto result = rop::ApplyTable<kTable>(pattern.At(x), LoadPixel<Px>(at));
                StorePixel<Px>(at, Tagged<Px>(result, tag));
            }
        }
    }
}

template <class Px, class Pattern>
using PatternRowsFn = void (*)(KernelArea, Pattern, uint32_t);

template <class Px, class Pattern, unsigned... kTables>
constexpr std::array<PatternRowsFn<Px, Pattern>, 16> MakePatternRows(
    std::integer_sequence<unsigned, kTables...>) {
    return {&PatternRows<Px, kTables, Pattern>...};
}

template <class Px, class Pattern>
constexpr auto kPatternRows = MakePatternRows<Px, Pattern>(std::make_integer_sequence<unsigned, 16>{});

template <class Px>
void RunPatternDest(const InterpreterRegisters& reg, const TRect& req, const KernelArea& area) {
    const unsigned table = rop::PatternDestTable(reg.ubRopCode, 0);  // S plays no part
    const uint32_t tag = rop::CurrentTag(reg);
    if (req.brush) {
        kPatternRows<Px, BrushPattern<Px>>[table](area, {req.brush, area.firstColumn}, tag);
    } else {
        const auto colour = typename Px::Value(req.colour);
        kPatternRows<Px, SolidPattern<Px>>[table](area, {colour}, tag);
    }
}

// ---------------------------------------------------------------------------
// Masked kernels. S is all zero bits where the mask bit is set (ink) and all
// ones where it is clear, so each mask bit value picks one operation on the
// remaining operands; the per-pixel work is a lookup by the bit, not a
// decision. Colour pixels take the current tag where the bit is set and keep
// their own where it is clear.

template <class T, bool kTagged>
struct MaskTags {
    T colourBits, tagBits, tag;

    static MaskTags For(uint32_t currentTag) {
        return {T(ColourPixels::kColourBits), T(ColourPixels::kTagBits), T(currentTag)};
    }
    // The same for a 64-bit word of pixels.
    MaskTags<uint64_t, kTagged> Wide() const {
        return {rop::Replicate(colourBits), rop::Replicate(tagBits), rop::Replicate(tag)};
    }
    // `set` is all ones where the mask bit is set.
    T Apply(T result, T old, T set) const {
        if constexpr (kTagged) return T((result & colourBits) | (old & tagBits & ~set) | (tag & set));
        else return result;
    }
};

template <class Px>
using PixelMaskTags = MaskTags<typename Px::Value, Px::kTagged>;

// An operation on D alone: fixed XOR (D AND flip). Every function of one
// operand has this form: 0, D, NOT D or all ones.
template <class T>
struct DestFunction {
    T fixed, flip;

    // From a two-operand table f(a, D) with a fixed at `a`.
    static DestFunction From(const rop::RuntimeTable<T>& table, T a) {
        const T whenD0 = table(a, T(0));
        const T whenD1 = table(a, T(~T(0)));
        return {whenD0, T(whenD0 ^ whenD1)};
    }
    bool KeepsDest() const { return fixed == 0 && flip == T(~T(0)); }
};

// The functions of D for a clear and a set mask bit, chosen by the bit's
// spread mask with two bitwise selections.
template <class T>
struct DestFunctionPair {
    T clearFixed, clearFlip, fixedChange, flipChange;

    static DestFunctionPair From(const DestFunction<T>& clear, const DestFunction<T>& set) {
        return {clear.fixed, clear.flip, T(clear.fixed ^ set.fixed), T(clear.flip ^ set.flip)};
    }
    DestFunctionPair<uint64_t> Wide() const {
        return {rop::Replicate(clearFixed), rop::Replicate(clearFlip), rop::Replicate(fixedChange),
                rop::Replicate(flipChange)};
    }
    T operator()(T d, T set) const {
        const T fixed = T(clearFixed ^ (set & fixedChange));
        const T flip = T(clearFlip ^ (set & flipChange));
        return T(fixed ^ (d & flip));
    }
};

// S and D, or S, P and D with one solid P: per mask bit one function of D.
// Whole mask bytes are computed as 64-bit words: eight grey pixels in one,
// eight colour pixels in four.
template <class Px, bool kSkipBlankBytes>
void DestFunctionRows(const KernelArea area, const DestFunctionPair<typename Px::Value> function,
                      const PixelMaskTags<Px> tags) {
    using Value = typename Px::Value;
    static constexpr size_t kWordsPerBlock = Px::kBytes;  // 8 pixels of kBytes, 8 bytes a word
    const auto wideFunction = function.Wide();
    const auto wideTags = tags.Wide();
    const uint32_t width = area.width;
    for (uint32_t i = 0; i < area.rows; ++i) {
        uint8_t* row = RowStart(area, i);
        rop::WalkMaskRowBlocks<Value, kSkipBlankBytes>(
            MaskRow(area, i), width, area.roomPixels,
            [row, wideFunction, wideTags](size_t x, const uint8_t* spread) {
                uint8_t* block = row + x * Px::kBytes;
                uint64_t words[kWordsPerBlock];
                for (size_t w = 0; w < kWordsPerBlock; ++w) {
                    const uint64_t old = rop::LoadWord(block + 8 * w);
                    const uint64_t set = rop::LoadWord(spread + 8 * w);
                    words[w] = wideTags.Apply(wideFunction(old, set), old, set);
                }
                std::memcpy(block, words, sizeof words);
            },
            [&](size_t x, Value set) {
                uint8_t* at = row + x * Px::kBytes;
                const Value old = LoadPixel<Px>(at);
                StorePixel<Px>(at, tags.Apply(function(old, set), old, set));
            });
    }
}

// Runs the rows, skipping mask bytes without ink when a clear bit leaves
// the pixel as it is (the usual case for glyphs).
template <class Px>
void RunDestFunctions(const KernelArea& area, const DestFunction<typename Px::Value>& clear,
                      const DestFunction<typename Px::Value>& set, uint32_t tag) {
    const auto function = DestFunctionPair<typename Px::Value>::From(clear, set);
    const auto tags = PixelMaskTags<Px>::For(tag);
    if (clear.KeepsDest()) DestFunctionRows<Px, true>(area, function, tags);
    else DestFunctionRows<Px, false>(area, function, tags);
}

template <class Px>
void RunSourceDest(const InterpreterRegisters& reg, const KernelArea& area) {
    using Value = typename Px::Value;
    using Table = rop::RuntimeTable<Value>;
    // f(S, D) with P playing no part: a clear bit is S = all ones, a set bit
    // S = 0.
    const Table table = Table::From(rop::SourceDestTable(reg.ubRopCode, 0));
    RunDestFunctions<Px>(area, DestFunction<Value>::From(table, Value(~Value(0))),
                         DestFunction<Value>::From(table, Value(0)), rop::CurrentTag(reg));
}

// S, P and D with a brush: per mask bit one two-operand table f(P, D), the
// set bit's table chosen bitwise over the clear bit's.
template <class T>
struct TablePair {
    rop::RuntimeTable<T> clear, change;

    static TablePair From(const rop::RuntimeTable<T>& clearTable, const rop::RuntimeTable<T>& setTable) {
        return {clearTable,
                {T(clearTable.whereA0B0 ^ setTable.whereA0B0), T(clearTable.whereA0B1 ^ setTable.whereA0B1),
                 T(clearTable.whereA1B0 ^ setTable.whereA1B0), T(clearTable.whereA1B1 ^ setTable.whereA1B1)}};
    }
    TablePair<uint64_t> Wide() const {
        using rop::Replicate;
        return {{Replicate(clear.whereA0B0), Replicate(clear.whereA0B1), Replicate(clear.whereA1B0),
                 Replicate(clear.whereA1B1)},
                {Replicate(change.whereA0B0), Replicate(change.whereA0B1), Replicate(change.whereA1B0),
                 Replicate(change.whereA1B1)}};
    }
    T operator()(T p, T d, T set) const {
        const rop::RuntimeTable<T> table{
            T(clear.whereA0B0 ^ (set & change.whereA0B0)), T(clear.whereA0B1 ^ (set & change.whereA0B1)),
            T(clear.whereA1B0 ^ (set & change.whereA1B0)), T(clear.whereA1B1 ^ (set & change.whereA1B1))};
        return table(p, d);
    }
};

// Whole mask bytes are computed as 64-bit words like DestFunctionRows. The
// brush row is laid out twice in a row of 64 pixels so that the eight brush
// pixels of any block lie side by side, wherever the block starts.
template <class Px, bool kSkipBlankBytes>
void BrushSourceRows(const KernelArea area, const uint8_t* brush, const TablePair<typename Px::Value> tables,
                     const PixelMaskTags<Px> tags) {
    using Value = typename Px::Value;
    static constexpr size_t kWordsPerBlock = Px::kBytes;
    constexpr size_t kBrushRowBytes = kBrushSide * Px::kBytes;
    const auto wideTables = tables.Wide();
    const auto wideTags = tags.Wide();
    const uint32_t width = area.width;
    uint8_t brushRow[2 * kBrushRowBytes];
    for (uint32_t i = 0; i < area.rows; ++i) {
        const uint8_t* source = brush + ((area.firstRow + i) & (kBrushSide - 1)) * kBrushRowBytes;
        std::memcpy(brushRow, source, kBrushRowBytes);
        std::memcpy(brushRow + kBrushRowBytes, source, kBrushRowBytes);
        uint8_t* row = RowStart(area, i);
        auto patternAt = [&](size_t x) {
            return brushRow + ((area.firstColumn + x) & (kBrushSide - 1)) * Px::kBytes;
        };
        rop::WalkMaskRowBlocks<Value, kSkipBlankBytes>(
            MaskRow(area, i), width, area.roomPixels,
            [row, wideTables, wideTags, &patternAt](size_t x, const uint8_t* spread) {
                uint8_t* block = row + x * Px::kBytes;
                const uint8_t* pattern = patternAt(x);
                uint64_t words[kWordsPerBlock];
                for (size_t w = 0; w < kWordsPerBlock; ++w) {
                    const uint64_t old = rop::LoadWord(block + 8 * w);
                    const uint64_t set = rop::LoadWord(spread + 8 * w);
                    const uint64_t p = rop::LoadWord(pattern + 8 * w);
                    words[w] = wideTags.Apply(wideTables(p, old, set), old, set);
                }
                std::memcpy(block, words, sizeof words);
            },
            [&](size_t x, Value set) {
                uint8_t* at = row + x * Px::kBytes;
                const Value old = LoadPixel<Px>(at);
                const Value p = LoadPixel<Px>(patternAt(x));
                StorePixel<Px>(at, tags.Apply(tables(p, old, set), old, set));
            });
    }
}

template <class Px>
void RunSourcePatternDest(const InterpreterRegisters& reg, const TRect& req, const KernelArea& area) {
    using Table = rop::RuntimeTable<typename Px::Value>;
    const uint32_t tag = rop::CurrentTag(reg);
    // A clear bit is S = all ones, a set bit S = 0.
    const unsigned clearTable = rop::PatternDestTable(reg.ubRopCode, 1);
    const Table clear = Table::From(clearTable);
    const Table set = Table::From(rop::PatternDestTable(reg.ubRopCode, 0));
    if (!req.brush) {
        const auto colour = typename Px::Value(req.colour);
        using Value = typename Px::Value;
        RunDestFunctions<Px>(area, DestFunction<Value>::From(clear, colour),
                             DestFunction<Value>::From(set, colour), tag);
        return;
    }
    const auto tables = TablePair<typename Px::Value>::From(clear, set);
    const auto tags = PixelMaskTags<Px>::For(tag);
    constexpr unsigned kKeepDest = 0xA;  // f(P, D) = D
    if (clearTable == kKeepDest) BrushSourceRows<Px, true>(area, req.brush, tables, tags);
    else BrushSourceRows<Px, false>(area, req.brush, tables, tags);
}

}  // namespace

void Run_DL_D(const RenderPage& page, const BandWindow& window, const InterpreterRegisters& reg, TRect* req) {
    KernelArea area;
    if (!rop::PrepareArea(window, *req, &area)) return;
    if (page.isColour) RunDestOnly<ColourPixels>(reg, area);
    else RunDestOnly<GreyPixels>(reg, area);
}

void Run_DL_HD(const RenderPage& page, const BandWindow& window, const InterpreterRegisters& reg,
               TRect* req) {
    KernelArea area;
    if (!rop::PrepareArea(window, *req, &area)) return;
    if (page.isColour) RunPatternDest<ColourPixels>(reg, *req, area);
    else RunPatternDest<GreyPixels>(reg, *req, area);
}

void Run_DL_SD(const RenderPage& page, const BandWindow& window, const InterpreterRegisters& reg,
               TRect* req) {
    KernelArea area;
    if (!req->bits || !rop::PrepareArea(window, *req, &area)) return;
    if (page.isColour) RunSourceDest<ColourPixels>(reg, area);
    else RunSourceDest<GreyPixels>(reg, area);
}

void Run_DL_SHD(const RenderPage& page, const BandWindow& window, const InterpreterRegisters& reg,
                TRect* req) {
    KernelArea area;
    if (!req->bits || !rop::PrepareArea(window, *req, &area)) return;
    if (page.isColour) RunSourcePatternDest<ColourPixels>(reg, *req, area);
    else RunSourcePatternDest<GreyPixels>(reg, *req, area);
}
