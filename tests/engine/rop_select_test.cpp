// Kernel selection: the table of kernels by dependency, the ROP reductions
// and the null-brush translation.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "engine/raster_ops.h"
#include "rop_test_support.h"

namespace {

using roptest::ReferenceUsesPattern;
using roptest::ReferenceUsesSource;

bool Contains(const std::vector<unsigned>& list, unsigned code) {
    return std::find(list.begin(), list.end(), code) != list.end();
}

// The codes of the three small kernels, listed by hand; every other code
// needs all three operands.
TEST(RopSelection, KernelTableFollowsTheOperandsEachCodeUses) {
    const std::vector<unsigned> destOnly = {0x00, 0x55, 0xAA, 0xFF};
    const std::vector<unsigned> patternOnly = {0x05, 0x0A, 0x0F, 0x50, 0x5A, 0x5F,
                                               0xA0, 0xA5, 0xAF, 0xF0, 0xF5, 0xFA};
    const std::vector<unsigned> sourceOnly = {0x11, 0x22, 0x33, 0x44, 0x66, 0x77,
                                              0x88, 0x99, 0xBB, 0xCC, 0xDD, 0xEE};
    int threeOperand = 0;
    for (unsigned code = 0; code < 256; ++code) {
        RenderFunc want = Run_DL_SHD;
        if (Contains(destOnly, code)) want = Run_DL_D;
        if (Contains(patternOnly, code)) want = Run_DL_HD;
        if (Contains(sourceOnly, code)) want = Run_DL_SD;
        EXPECT_EQ(pfFuncTable[code], want) << std::hex << code;
        if (want == Run_DL_SHD) {
            ++threeOperand;
            EXPECT_TRUE(ReferenceUsesPattern(uint8_t(code)) && ReferenceUsesSource(uint8_t(code)))
                << std::hex << code;
        }
    }
    EXPECT_EQ(threeOperand, 228);
}

TEST(RopSelection, SelectionStoresTheRopAndResetsTheStyleMask) {
    RenderState state;
    state.reg.styleMask = 0x1234;
    FrameSelectRopBrush(&state.reg, 0xB8, 0x81123456);
    EXPECT_EQ(state.reg.rop, 0xB8);
    EXPECT_EQ(state.reg.ubRopCode, 0xB8);
    EXPECT_EQ(state.reg.styleMask, 0xFFFF);
    EXPECT_EQ(state.reg.pfRenderFunc, Run_DL_SHD);

    FrameSelectRopBrush(&state.reg, 0xB8, kColourCodeSolidWhite);  // P all ones: D
    EXPECT_EQ(state.reg.rop, 0xB8);
    EXPECT_EQ(state.reg.ubRopCode, 0xBB);
    FrameSelectRopBrush(&state.reg, 0xB8, kColourCodeRopBlack);  // P zero: S AND D
    EXPECT_EQ(state.reg.ubRopCode, 0x88);
    FrameSelectRopBrush(&state.reg, 0xF0, kColourCodeRopWhite);
    EXPECT_EQ(state.reg.ubRopCode, 0xFF);
    EXPECT_EQ(state.reg.pfRenderFunc, Run_DL_D);
    FrameSelectRopBrush(&state.reg, 0xF0, kColourCodeHollow);
    EXPECT_EQ(state.reg.ubRopCode, 0xAA);
    FrameSelectRopBrush(&state.reg, 0xF0, kColourCodeHatch + 2);  // brushes are not reduced
    EXPECT_EQ(state.reg.ubRopCode, 0xF0);
    EXPECT_EQ(state.reg.pfRenderFunc, Run_DL_HD);
}

// The selection is per state: two documents rendering side by side keep
// their own kernels.
TEST(RopSelection, SelectionIsKeptPerRenderingState) {
    RenderState first, second;
    FrameSelectRopBrush(&first.reg, 0xCC, 0x81123456);
    FrameSelectRopBrush(&second.reg, 0xF0, 0x81123456);
    EXPECT_EQ(first.reg.pfRenderFunc, Run_DL_SD);
    EXPECT_EQ(first.reg.ubRopCode, 0xCC);
    EXPECT_EQ(second.reg.pfRenderFunc, Run_DL_HD);
}

TEST(NullBrushTranslation, EveryResultIgnoresThePattern) {
    for (unsigned code = 0; code < 256; ++code) {
        const uint8_t out = aubRP_NullBrushRopTranslate[code];
        EXPECT_EQ(out >> 4, out & 0x0F) << std::hex << code;
        EXPECT_FALSE(ReferenceUsesPattern(out)) << std::hex << code;
        if (!ReferenceUsesPattern(uint8_t(code))) {
            EXPECT_EQ(out, code) << std::hex << code;
        }
    }
}

TEST(NullBrushTranslation, SpotChecksFromTheTable) {
    const struct {
        uint8_t code, out;
    } checks[] = {{0xF0, 0xAA}, {0x5A, 0xAA}, {0x0F, 0xAA}, {0xB8, 0x88}, {0xE2, 0x22},
                  {0xCC, 0xCC}, {0x88, 0x88}, {0x66, 0x66}, {0xFF, 0xFF}, {0x16, 0xEE},
                  {0x25, 0xDD}, {0x49, 0xBB}, {0x85, 0x77}, {0xB6, 0x44}, {0xD6, 0x22},
                  {0xE3, 0x11}, {0x1F, 0x11}, {0xAC, 0xAA}, {0x00, 0x00}, {0x7F, 0x77}};
    for (const auto& c : checks)
        EXPECT_EQ(aubRP_NullBrushRopTranslate[c.code], c.out) << std::hex << int(c.code);
}

}  // namespace
