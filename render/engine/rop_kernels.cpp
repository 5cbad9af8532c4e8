// The four raster kernels. Each is chosen once per ROP selection
// (FrameSelectRopBrush); inside a kernel the operation is picked once per
// request, as a template instance for the two-operand kernels or as a
// branch-free run-time table for the three-operand one, so the pixel loops
// carry no decision but the data itself.
#include <array>
#include <cstring>
#include <utility>

#include "engine/raster_ops.h"
#include "engine/rop_logic.h"
#include "engine/rop_pixels.h"

namespace {

using rop::BrushPattern;
using rop::ColourPixels;
using rop::GreyPixels;
using rop::KernelArea;
using rop::LoadPixel;
using rop::SolidPattern;
using rop::SpreadBit;
using rop::StorePixel;

uint8_t* RowStart(const KernelArea& area, uint32_t i) {
    return area.dest + size_t(i) * area.destStride;
}

const uint8_t* MaskRow(const KernelArea& area, uint32_t i) {
    return area.mask + size_t(i) * area.maskStride;
}

// A result with the current tag (colour) or as it is (grey).
template <class Px>
typename Px::Value Tagged(typename Px::Value result, uint32_t tag) {
    if constexpr (Px::kTagged)
        return (result & ColourPixels::kColourBits) | tag;
    else
        return result;
}

// A result that takes the current tag where the mask bit is set and keeps the
// old pixel's tag elsewhere (colour), or as it is (grey).
template <class Px>
typename Px::Value MaskTagged(typename Px::Value result, typename Px::Value old, uint32_t bit,
                              uint32_t tag) {
    if constexpr (Px::kTagged) {
        const uint32_t set = SpreadBit<uint32_t>(bit);
        return (result & ColourPixels::kColourBits) | (tag & set) |
               (old & ColourPixels::kTagBits & ~set);
    } else {
        return result;
    }
}

// ---------------------------------------------------------------------------
// D only: black, white, invert, nothing.

template <class Px>
void FillArea(const KernelArea& area, typename Px::Value value) {
    for (uint32_t i = 0; i < area.rows; ++i) {
        uint8_t* row = RowStart(area, i);
        if constexpr (Px::kBytes == 1) {
            std::memset(row, value, area.width);
        } else {
            for (uint32_t x = 0; x < area.width; ++x) StorePixel<Px>(row + x * Px::kBytes, value);
        }
    }
}

template <class Px>
void InvertArea(const KernelArea& area, uint32_t tag) {
    for (uint32_t i = 0; i < area.rows; ++i) {
        uint8_t* row = RowStart(area, i);
        for (uint32_t x = 0; x < area.width; ++x) {
            uint8_t* at = row + x * Px::kBytes;
            const typename Px::Value inverted = typename Px::Value(~LoadPixel<Px>(at));
            StorePixel<Px>(at, Tagged<Px>(inverted, tag));
        }
    }
}

template <class Px>
void RunDestOnly(const RenderState& state, const KernelArea& area) {
    using Value = typename Px::Value;
    const uint32_t tag = rop::CurrentTag(state);
    switch (state.ubRopCode & 3) {
        case 0: FillArea<Px>(area, Tagged<Px>(Value(0), tag)); break;        // 0x00
        case 1: InvertArea<Px>(area, tag); break;                           // 0x55
        case 2: break;                                                      // 0xAA
        default: FillArea<Px>(area, Tagged<Px>(Value(~Value(0)), tag)); break;  // 0xFF
    }
}

// ---------------------------------------------------------------------------
// P and D: one of sixteen two-operand operations f(P, D), fixed at compile
// time.

template <class Px, unsigned kTable, class Pattern>
void PatternRows(const KernelArea& area, Pattern pattern, uint32_t tag) {
    for (uint32_t i = 0; i < area.rows; ++i) {
        pattern.StartRow(area.firstRow + i);
        uint8_t* row = RowStart(area, i);
        for (uint32_t x = 0; x < area.width; ++x) {
            uint8_t* at = row + x * Px::kBytes;
            const auto result = rop::ApplyTable<kTable>(pattern.At(x), LoadPixel<Px>(at));
            StorePixel<Px>(at, Tagged<Px>(result, tag));
        }
    }
}

template <class Px, class Pattern>
using PatternRowsFn = void (*)(const KernelArea&, Pattern, uint32_t);

template <class Px, class Pattern, unsigned... kTables>
constexpr std::array<PatternRowsFn<Px, Pattern>, 16> MakePatternRows(
    std::integer_sequence<unsigned, kTables...>) {
    return {&PatternRows<Px, kTables, Pattern>...};
}

template <class Px, class Pattern>
constexpr auto kPatternRows =
    MakePatternRows<Px, Pattern>(std::make_integer_sequence<unsigned, 16>{});

template <class Px>
void RunPatternDest(const RenderState& state, const TRect& req, const KernelArea& area) {
    const unsigned table = rop::PatternDestTable(state.ubRopCode, 0);  // S plays no part
    const uint32_t tag = rop::CurrentTag(state);
    if (req.brush) {
        kPatternRows<Px, BrushPattern<Px>>[table](area, {req.brush, area.firstColumn}, tag);
    } else {
        const auto colour = typename Px::Value(req.colour);
        kPatternRows<Px, SolidPattern<Px>>[table](area, {colour}, tag);
    }
}

// ---------------------------------------------------------------------------
// S and D: one of sixteen two-operand operations f(S, D), fixed at compile
// time; S is all zero bits where the mask bit is set (ink), else all ones.

template <class Px, unsigned kTable>
void SourceRows(const KernelArea& area, uint32_t tag) {
    using Value = typename Px::Value;
    for (uint32_t i = 0; i < area.rows; ++i) {
        uint8_t* row = RowStart(area, i);
        rop::WalkMaskRow(MaskRow(area, i), area.width, [&](uint32_t x, uint32_t bit) {
            uint8_t* at = row + x * Px::kBytes;
            const Value old = LoadPixel<Px>(at);
            const Value source = SpreadBit<Value>(bit ^ 1u);
            const Value result = rop::ApplyTable<kTable>(source, old);
            StorePixel<Px>(at, MaskTagged<Px>(result, old, bit, tag));
        });
    }
}

template <class Px>
using SourceRowsFn = void (*)(const KernelArea&, uint32_t);

template <class Px, unsigned... kTables>
constexpr std::array<SourceRowsFn<Px>, 16> MakeSourceRows(
    std::integer_sequence<unsigned, kTables...>) {
    return {&SourceRows<Px, kTables>...};
}

template <class Px>
constexpr auto kSourceRows = MakeSourceRows<Px>(std::make_integer_sequence<unsigned, 16>{});

template <class Px>
void RunSourceDest(const RenderState& state, const KernelArea& area) {
    const unsigned table = rop::SourceDestTable(state.ubRopCode, 0);  // P plays no part
    kSourceRows<Px>[table](area, rop::CurrentTag(state));
}

// ---------------------------------------------------------------------------
// S, P and D: the mask bit selects between the two (P, D) operations of the
// code, the one for S = 0 (ink) and the one for S = all ones.

template <class Px>
struct SourceSplit {
    rop::RuntimeTable<typename Px::Value> inked;  // mask bit set
    rop::RuntimeTable<typename Px::Value> clear;  // mask bit clear
};

template <class Px, class Pattern>
void SourcePatternRows(const KernelArea& area, Pattern pattern, const SourceSplit<Px>& split,
                       uint32_t tag) {
    using Value = typename Px::Value;
    for (uint32_t i = 0; i < area.rows; ++i) {
        pattern.StartRow(area.firstRow + i);
        uint8_t* row = RowStart(area, i);
        rop::WalkMaskRow(MaskRow(area, i), area.width, [&](uint32_t x, uint32_t bit) {
            uint8_t* at = row + x * Px::kBytes;
            const Value old = LoadPixel<Px>(at);
            const Value p = pattern.At(x);
            const Value set = SpreadBit<Value>(bit);
            const Value result =
                Value((split.inked(p, old) & set) | (split.clear(p, old) & Value(~set)));
            StorePixel<Px>(at, MaskTagged<Px>(result, old, bit, tag));
        });
    }
}

template <class Px>
void RunSourcePatternDest(const RenderState& state, const TRect& req, const KernelArea& area) {
    using Table = rop::RuntimeTable<typename Px::Value>;
    const SourceSplit<Px> split{Table::From(rop::PatternDestTable(state.ubRopCode, 0)),
                                Table::From(rop::PatternDestTable(state.ubRopCode, 1))};
    const uint32_t tag = rop::CurrentTag(state);
    if (req.brush) {
        SourcePatternRows<Px>(area, BrushPattern<Px>{req.brush, area.firstColumn}, split, tag);
    } else {
        const auto colour = typename Px::Value(req.colour);
        SourcePatternRows<Px>(area, SolidPattern<Px>{colour}, split, tag);
    }
}

}  // namespace

void Run_DL_D(RenderState* state, TRect* req) {
    KernelArea area;
    if (!rop::PrepareArea(*state, *req, &area)) return;
    if (state->isColour)
        RunDestOnly<ColourPixels>(*state, area);
    else
        RunDestOnly<GreyPixels>(*state, area);
}

void Run_DL_HD(RenderState* state, TRect* req) {
    KernelArea area;
    if (!rop::PrepareArea(*state, *req, &area)) return;
    if (state->isColour)
        RunPatternDest<ColourPixels>(*state, *req, area);
    else
        RunPatternDest<GreyPixels>(*state, *req, area);
}

void Run_DL_SD(RenderState* state, TRect* req) {
    KernelArea area;
    if (!req->bits || !rop::PrepareArea(*state, *req, &area)) return;
    if (state->isColour)
        RunSourceDest<ColourPixels>(*state, area);
    else
        RunSourceDest<GreyPixels>(*state, area);
}

void Run_DL_SHD(RenderState* state, TRect* req) {
    KernelArea area;
    if (!req->bits || !rop::PrepareArea(*state, *req, &area)) return;
    if (state->isColour)
        RunSourcePatternDest<ColourPixels>(*state, *req, area);
    else
        RunSourcePatternDest<GreyPixels>(*state, *req, area);
}
