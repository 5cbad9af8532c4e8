// The pixel loops take their operands by value and index with size_t, as
// the raster kernels do (rop_kernels.cpp), so that nothing is reloaded per
// pixel through the band's byte pointers and the loops can be vectorised.
#include "image_rop.h"

#include <algorithm>
#include <cstddef>

#include "raster_ops.h"
#include "rop_logic.h"
#include "rop_pixels.h"

namespace {

using rop::ColourPixels;
using rop::GreyPixels;
using rop::LoadPixel;
using rop::StorePixel;

// ---- Operations: result = op(S, P, D) --------------------------------------

template <class T>
struct CopySource {
    static constexpr bool kUsesPattern = false;
    static CopySource From(uint8_t) { return {}; }
    T operator()(T s, T, T) const { return s; }
};

// Codes that ignore P (the D-only ones included): f(S, D).
template <class T>
struct SourceDest {
    static constexpr bool kUsesPattern = false;
    rop::RuntimeTable<T> f;
    static SourceDest From(uint8_t code) {
        return {rop::RuntimeTable<T>::From(rop::SourceDestTable(code, 0))};
    }
    T operator()(T s, T, T d) const { return f(s, d); }
};

// Codes that ignore S: f(P, D).
template <class T>
struct PatternDest {
    static constexpr bool kUsesPattern = true;
    rop::RuntimeTable<T> f;
    static PatternDest From(uint8_t code) {
        return {rop::RuntimeTable<T>::From(rop::PatternDestTable(code, 0))};
    }
    T operator()(T, T p, T d) const { return f(p, d); }
};

// Everything else: S selects bit by bit between f1(P, D) and f0(P, D).
template <class T>
struct FullRop3 {
    static constexpr bool kUsesPattern = true;
    rop::RuntimeTable<T> whenS0, whenS1;
    static FullRop3 From(uint8_t code) {
        return {rop::RuntimeTable<T>::From(rop::PatternDestTable(code, 0)),
                rop::RuntimeTable<T>::From(rop::PatternDestTable(code, 1))};
    }
    T operator()(T s, T p, T d) const { return T((s & whenS1(p, d)) | (~s & whenS0(p, d))); }
};

template <class Px>
typename Px::Value Tagged(typename Px::Value result, uint32_t tag) {
    if constexpr (Px::kTagged) return (result & ColourPixels::kColourBits) | tag;
    else return result;
}

// ---- Row loops -------------------------------------------------------------

// `count` pixels; the pattern either advances with them (a brush row) or
// stays on one value.
template <class Px, class Op, bool kPatternAdvances>
void CombineSpan(uint8_t* dest, const uint8_t* image, const uint8_t* pattern, size_t count, const Op op,
                 const uint32_t tag) {
    for (size_t x = 0; x < count; ++x) {
        uint8_t* at = dest + x * Px::kBytes;
        const auto s = LoadPixel<Px>(image + x * Px::kBytes);
        const auto p = LoadPixel<Px>(pattern + (kPatternAdvances ? x * Px::kBytes : 0));
        StorePixel<Px>(at, Tagged<Px>(op(s, p, LoadPixel<Px>(at)), tag));
    }
}

template <class Px, class Op, bool kBrush>
void CombineRow(const ImageRopSetup& setup, uint8_t* dest, const uint8_t* image, uint32_t width,
                uint32_t pageRow, uint32_t pageColumn) {
    using Value = typename Px::Value;
    const Op op = Op::From(setup.rop);
    if constexpr (kBrush) {
        // Runs that end where the brush row wraps, so that each run reads the
        // brush row contiguously.
        const uint8_t* brushRow = setup.brush + size_t{pageRow & (kBrushSide - 1)} * kBrushSide * Px::kBytes;
        for (size_t x = 0; x < width;) {
            const uint32_t column = static_cast<uint32_t>(pageColumn + x) & (kBrushSide - 1);
            const size_t run = std::min<size_t>(kBrushSide - column, width - x);
            CombineSpan<Px, Op, true>(dest + x * Px::kBytes, image + x * Px::kBytes,
                                      brushRow + size_t{column} * Px::kBytes, run, op, setup.tag);
            x += run;
        }
    } else {
        uint8_t solid[sizeof(Value)];
        StorePixel<Px>(solid, static_cast<Value>(setup.colour));
        CombineSpan<Px, Op, false>(dest, image, solid, width, op, setup.tag);
    }
}

template <class Px, template <class> class Op>
ImageRowOp RowOpFor(bool brush) {
    using O = Op<typename Px::Value>;
    // A brush matters only to operations that read P.
    if (brush && O::kUsesPattern) return CombineRow<Px, O, true>;
    return CombineRow<Px, O, false>;
}

template <class Px>
ImageRowOp RowOpForPixels(const ImageRopSetup& setup) {
    const bool brush = setup.brush != nullptr;
    if (setup.rop == 0xCC) return RowOpFor<Px, CopySource>(brush);
    if (!rop::DependsOnPattern(setup.rop)) return RowOpFor<Px, SourceDest>(brush);
    if (!rop::DependsOnSource(setup.rop)) return RowOpFor<Px, PatternDest>(brush);
    return RowOpFor<Px, FullRop3>(brush);
}

}  // namespace

ImageRowOp SelectImageRowOp(bool colourPage, const ImageRopSetup& setup) {
    return colourPage ? RowOpForPixels<ColourPixels>(setup) : RowOpForPixels<GreyPixels>(setup);
}
