// The general evaluators and the image operators against the ROP3 reference
// and against operations written out by hand.
#include <gtest/gtest.h>

#include "engine/raster_ops.h"
#include "rop_test_support.h"

namespace {

using roptest::Random;
using roptest::ReferenceRop3;

// With P = 11110000, S = 11001100, D = 10101010 every bit position holds a
// different (p, s, d) combination, so the result spells out the code itself.
TEST(RopEvaluators, ClassicOperandsReproduceEveryCode) {
    for (unsigned code = 0; code < 256; ++code) {
        EXPECT_EQ(SetSHD_ROP_Gray(uint8_t(code), 0xCC, 0xF0, 0xAA), code);
        EXPECT_EQ(SetSHD_ROP_Color(uint8_t(code), 0xCCCCCCCC, 0xF0F0F0F0, 0xAAAAAAAA), code * 0x01010101u);
    }
}

TEST(RopEvaluators, EveryCodeMatchesTheReferenceOnRandomOperands) {
    Random random(2024);
    for (unsigned code = 0; code < 256; ++code) {
        for (int i = 0; i < 64; ++i) {
            const uint8_t s = random.Byte(), p = random.Byte(), d = random.Byte();
            ASSERT_EQ(SetSHD_ROP_Gray(uint8_t(code), s, p, d), ReferenceRop3<uint8_t>(uint8_t(code), s, p, d))
                << std::hex << code;
            const uint32_t S = random.Next(), P = random.Next(), D = random.Next();
            ASSERT_EQ(SetSHD_ROP_Color(uint8_t(code), S, P, D) & 0xFFFFFF,
                      ReferenceRop3<uint32_t>(uint8_t(code), S, P, D) & 0xFFFFFF)
                << std::hex << code;
        }
    }
}

// The examples that fix the argument order, written as plain expressions.
TEST(RopEvaluators, NamedOperationsFixTheOperandOrder) {
    Random random(7);
    for (int i = 0; i < 500; ++i) {
        const uint8_t S = random.Byte(), P = random.Byte(), D = random.Byte();
        EXPECT_EQ(SetSHD_ROP_Gray(0x01, S, P, D), uint8_t(~(S | P | D)));
        EXPECT_EQ(SetSHD_ROP_Gray(0x0C, S, P, D), uint8_t(S & ~P));
        EXPECT_EQ(SetSHD_ROP_Gray(0x10, S, P, D), uint8_t(P & ~S & ~D));
        EXPECT_EQ(SetSHD_ROP_Gray(0xB8, S, P, D), uint8_t((S & D) | (~S & P)));
        EXPECT_EQ(SetSHD_ROP_Gray(0xE2, S, P, D), uint8_t((S & P) | (~S & D)));
        EXPECT_EQ(SetSHD_ROP_Gray(0xCC, S, P, D), S);
        EXPECT_EQ(SetSHD_ROP_Gray(0xF0, S, P, D), P);
        EXPECT_EQ(SetSHD_ROP_Gray(0x5A, S, P, D), uint8_t(P ^ D));
        EXPECT_EQ(SetSHD_ROP_Gray(0x66, S, P, D), uint8_t(S ^ D));
    }
}

// Image operators: S is a whole image pixel; the result is the ROP3 of the
// state's reduced code for all 256 codes, on grey and 24-bit colour pixels.
TEST(RopImageOperators, EveryCodeMatchesTheReference) {
    Random random(99);
    RenderState state;
    for (unsigned code = 0; code < 256; ++code) {
        Set_Boolean(&state.reg, uint8_t(code));
        for (int i = 0; i < 64; ++i) {
            const uint8_t s = random.Byte(), p = random.Byte(), d = random.Byte();
            const uint8_t want = ReferenceRop3<uint8_t>(uint8_t(code), s, p, d);
            ASSERT_EQ(SetRopImgGray(&state.reg, s, p, d), want) << std::hex << code;
            ASSERT_EQ(SetRopImgGray(uint8_t(code), s, p, d), want) << std::hex << code;
            const uint32_t S = random.Next() & 0xFFFFFF, P = random.Next(), D = random.Next();
            const uint32_t wantColour = ReferenceRop3<uint32_t>(uint8_t(code), S, P, D) & 0xFFFFFF;
            ASSERT_EQ(SetRopImgColor(&state.reg, S, P, D) & 0xFFFFFF, wantColour) << std::hex << code;
            ASSERT_EQ(SetRopImgColor(uint8_t(code), S, P, D) & 0xFFFFFF, wantColour) << std::hex << code;
        }
    }
}

TEST(RopImageOperators, ConstantCodesIgnoreTheirOperands) {
    RenderState state;
    Set_Boolean(&state.reg, 0x00);
    EXPECT_EQ(SetRopImgGray(&state.reg, 0x12, 0x34, 0x56), 0);
    EXPECT_EQ(SetRopImgColor(&state.reg, 0x123456, 0x345678, 0x56789A) & 0xFFFFFF, 0u);
    Set_Boolean(&state.reg, 0xFF);
    EXPECT_EQ(SetRopImgGray(&state.reg, 0x12, 0x34, 0x56), 0xFF);
    EXPECT_EQ(SetRopImgColor(&state.reg, 0x123456, 0x345678, 0x56789A) & 0xFFFFFF, 0xFFFFFFu);
    Set_Boolean(&state.reg, 0x55);
    EXPECT_EQ(SetRopImgGray(&state.reg, 0x12, 0x34, 0x56), 0xA9);
    Set_Boolean(&state.reg, 0xAA);
    EXPECT_EQ(SetRopImgColor(&state.reg, 0x123456, 0x345678, 0x56789A) & 0xFFFFFF, 0x56789Au);
}

}  // namespace
