#include "pipeline/transpose.h"

#include <gtest/gtest.h>

#include "compression_planes.h"

namespace {

using TransposeFn = void (*)(uint8_t*, const uint8_t*, uint32_t, uint32_t);

Bytes Transposed(TransposeFn fn, const Bytes& plane, uint32_t width, uint32_t lines) {
    Bytes out(plane.size(), 0xCC);
    fn(out.data(), plane.data(), width, lines);
    return out;
}

TEST(Transpose, RowsBecomeByteColumns) {
    // Two lines of three bytes: "abc" / "def" -> columns "ad", "be", "cf".
    const Bytes plane = Text("abcdef");
    EXPECT_EQ(Transposed(iiTranspose, plane, 3, 2), Text("adbecf"));
    EXPECT_EQ(Transposed(iTranspose0, plane, 3, 2), Text("adbecf"));
    // Four lines of four bytes, done in one 4 x 4 block by the word variant.
    const Bytes square = Text("ABCDEFGHIJKLMNOP");
    EXPECT_EQ(Transposed(iTranspose2, square, 4, 4), Text("AEIMBFJNCGKODHLP"));
    EXPECT_EQ(Transposed(iTranspose1, square, 4, 4), Text("AEIMBFJNCGKODHLP"));
}

TEST(Transpose, ThreeVariantsAgreeOnEveryShapeTheyTake) {
    struct Shape {
        uint32_t width, lines;
    };
    // Also whole 16 x 16 blocks, one and several tiles of them, with 4, 8 and
    // 12 columns left over for the 4 x 4 blocks.
    const Shape shapes[] = {{4, 4},    {8, 12},   {12, 5},    {16, 3},    {16, 16},
                            {100, 48}, {308, 64}, {620, 128}, {1240, 128}};
    for (const Shape& s : shapes) {
        const Bytes plane = RandomPlane(s.width, s.lines, s.width * 31 + s.lines);
        const Bytes expected = Transposed(iTranspose0, plane, s.width, s.lines);
        // Spot-check the reference itself against the definition.
        EXPECT_EQ(expected[(s.width - 1) * s.lines + 1], plane[1 * s.width + s.width - 1]);
        EXPECT_EQ(Transposed(iTranspose1, plane, s.width, s.lines), expected) << s.width << "x" << s.lines;
        EXPECT_EQ(Transposed(iiTranspose, plane, s.width, s.lines), expected) << s.width << "x" << s.lines;
        if (s.lines % 4 == 0) {
            EXPECT_EQ(Transposed(iTranspose2, plane, s.width, s.lines), expected)
                << s.width << "x" << s.lines;
        }
    }
}

TEST(Transpose, ShapesOnlyTheGeneralVariantTakes) {
    const uint32_t shapes[][2] = {{7, 3}, {1, 9}, {9, 1}, {5, 8}, {307, 64}};
    for (const auto& s : shapes) {
        const Bytes plane = RandomPlane(s[0], s[1], s[0] + s[1]);
        const Bytes out = Transposed(iiTranspose, plane, s[0], s[1]);
        for (uint32_t i = 0; i < s[0]; ++i) {
            for (uint32_t j = 0; j < s[1]; ++j) {
                ASSERT_EQ(out[i * s[1] + j], plane[j * s[0] + i]) << s[0] << "x" << s[1];
            }
        }
    }
}

}  // namespace
