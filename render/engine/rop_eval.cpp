// The general ROP3 evaluators and the per-pixel operators used by the image,
// line and watermark drawers.
#include "raster_ops.h"
#include "rop_logic.h"

namespace {

// Image pixels: codes that ignore S or P are evaluated as two-operand
// operations, the rest as the full ROP3. S is a whole image pixel here.
template <class T>
T RopImagePixel(uint8_t rop, T S, T P, T D) {
    const bool usesPattern = rop::DependsOnPattern(rop);
    const bool usesSource = rop::DependsOnSource(rop);
    if (!usesPattern && !usesSource) {
        switch (rop) {
            case 0x00: return T(0);
            case 0x55: return T(~D);
            case 0xAA: return D;
            default: return T(~T(0));  // 0xFF
        }
    }
    if (!usesSource) return rop::RuntimeTable<T>::From(rop::PatternDestTable(rop, 0))(P, D);
    if (!usesPattern) return rop::RuntimeTable<T>::From(rop::SourceDestTable(rop, 0))(S, D);
    return rop::EvaluateRop3<T>(rop, S, P, D);
}

}  // namespace

uint8_t SetSHD_ROP_Gray(uint8_t rop, uint8_t S, uint8_t P, uint8_t D) {
    return rop::EvaluateRop3<uint8_t>(rop, S, P, D);
}

uint32_t SetSHD_ROP_Color(uint8_t rop, uint32_t S, uint32_t P, uint32_t D) {
    return rop::EvaluateRop3<uint32_t>(rop, S, P, D);
}

uint8_t SetRopImgGray(uint8_t rop, uint8_t S, uint8_t P, uint8_t D) {
    return RopImagePixel<uint8_t>(rop, S, P, D);
}

uint32_t SetRopImgColor(uint8_t rop, uint32_t S, uint32_t P, uint32_t D) {
    return RopImagePixel<uint32_t>(rop, S, P, D);
}

uint8_t SetRopImgGray(const InterpreterRegisters* reg, uint8_t S, uint8_t P, uint8_t D) {
    return RopImagePixel<uint8_t>(reg->ubRopCode, S, P, D);
}

uint32_t SetRopImgColor(const InterpreterRegisters* reg, uint32_t S, uint32_t P, uint32_t D) {
    return RopImagePixel<uint32_t>(reg->ubRopCode, S, P, D);
}
