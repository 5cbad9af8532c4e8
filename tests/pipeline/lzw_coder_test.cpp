// The LZW block checked against blocks worked out by hand from the format:
// 12-bit codes two per three bytes, codes from 256 assigned as strings are
// first met, the odd code count padded with a zero code.
#include "pipeline/lzw_coder.h"

#include <gtest/gtest.h>

#include "compression_planes.h"
#include "decode/plane_decoder.h"

namespace {

Bytes LzwBlock(const Bytes& plane, uint32_t width, uint32_t lines, bool transpose) {
    CoderBuffers buffers(width, lines);
    const uint32_t size =
        XORLZW77_BMP_Data_En(buffers.out.data(), plane.data(), width, lines, buffers.work.data(), transpose);
    buffers.out.resize(size);
    return buffers.out;
}

TEST(LzwCoder, RepeatedPairBuildsLongerStrings) {
    // A B (AB=256) A (BA=257) AB A (ABA=258) ABA: codes 041 042 100 102.
    EXPECT_EQ(LzwBlock(Text("ABABABA"), 7, 1, true),
              (Bytes{0xEF, 0xCD, 0xAB, 0x19, 6, 0, 0, 0, 0x04, 0x10, 0x42, 0x10, 0x01, 0x02}));
}

TEST(LzwCoder, StringUsedInTheStepThatDefinesIt) {
    // A, AA (256, used as soon as defined), AAA (257, likewise), A: 041 100 101 041.
    EXPECT_EQ(LzwBlock(Text("AAAAAAA"), 7, 1, true),
              (Bytes{0xEF, 0xCD, 0xAB, 0x19, 6, 0, 0, 0, 0x04, 0x11, 0x00, 0x10, 0x10, 0x41}));
}

TEST(LzwCoder, OneByteIsItsCodeAndAZeroPad) {
    EXPECT_EQ(LzwBlock(Text("A"), 1, 1, true), (Bytes{0xEF, 0xCD, 0xAB, 0x19, 3, 0, 0, 0, 0x04, 0x10, 0x00}));
}

TEST(LzwCoder, TransposedPlaneCodesColumns) {
    // Four lines "AB" become columns "AAAABBBB": 041 100 041 042 103 042.
    EXPECT_EQ(LzwBlock(Text("ABABABAB"), 2, 4, true), (Bytes{0xEF, 0xCD, 0xAB, 0x29, 9, 0, 0, 0, 0x04, 0x11,
                                                             0x00, 0x04, 0x10, 0x42, 0x10, 0x30, 0x42}));
    // Not asked to transpose: the rows "ABABABAB" are coded as they are.
    EXPECT_EQ(LE32At(LzwBlock(Text("ABABABAB"), 2, 4, false), 0), kLzwMagicPlain);
}

TEST(LzwCoder, GivesUpPastThreeQuartersAndSendsTheRawPlane) {
    // Seven different bytes: after the fourth code 6 bytes > 3 * 7 / 4. All
    // seven go raw, also the one after the last whole 32-bit word.
    EXPECT_EQ(LzwBlock(Text("ABCDEFG"), 7, 1, true),
              (Bytes{0xEF, 0xCD, 0xAB, 0x19, 0xFF, 0xFF, 0xFF, 0xFF, 'A', 'B', 'C', 'D', 'E', 'F', 'G'}));
    // Random band: raw form in natural row order, even though the codes were of columns.
    const Bytes plane = RandomPlane(620, 128, 7);
    const Bytes block = LzwBlock(plane, 620, 128, true);
    ASSERT_EQ(block.size(), plane.size() + 8);
    EXPECT_EQ(LE32At(block, 0), kLzwMagicTransposed);
    EXPECT_EQ(LE32At(block, 4), 0xFFFFFFFFu);
    EXPECT_TRUE(std::equal(plane.begin(), plane.end(), block.begin() + 8));
}

TEST(LzwCoder, GiveUpLimitIsThreeQuartersOfTheInput) {
    // The coder must stop only past 3/4: 16 random symbols code to about 73%.
    std::mt19937 rng(3);
    Bytes plane(256 * 16);
    for (uint8_t& b : plane) b = static_cast<uint8_t>(rng() % 16);
    const Bytes block = LzwBlock(plane, 256, 16, false);
    const uint32_t length = LE32At(block, 4);
    ASSERT_NE(length, 0xFFFFFFFFu);
    EXPECT_LE(length, plane.size() * 3 / 4 + 3);
    EXPECT_GT(length, plane.size() / 2);
}

TEST(LzwCoder, DictionaryFreezesAtCode4095AndStaysDecodable) {
    // 100000 bytes from seven symbols define all 3840 strings long before the end.
    std::mt19937 rng(11);
    Bytes plane(1000 * 100);
    for (uint8_t& b : plane) b = static_cast<uint8_t>('a' + rng() % 4 * (rng() % 4));
    const Bytes block = LzwBlock(plane, 1000, 100, false);
    const uint32_t length = LE32At(block, 4);
    ASSERT_NE(length, 0xFFFFFFFFu);
    uint32_t highest = 0;
    for (size_t i = 0; i + 2 < length; i += 3) {
        const uint8_t* p = block.data() + 8 + i;
        highest = std::max({highest, uint32_t{p[0]} << 4 | p[1] >> 4, uint32_t{p[1] & 0x0Fu} << 8 | p[2]});
    }
    EXPECT_EQ(highest, 4095u);
    Bytes decoded;
    std::string error;
    ASSERT_TRUE(DecodePlane(kCompressLzw, block.data(), block.size(), 1000, 100, &decoded, &error)) << error;
    EXPECT_EQ(decoded, plane);
}

}  // namespace
