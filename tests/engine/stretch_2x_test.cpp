// 2 x 2 doubling against a plain pixel-by-pixel doubling: every width (odd
// ones and the tails after whole machine words included), both depths, rows
// that are not a multiple of two, and guard bytes that nothing may touch.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "engine/band_output.h"
#include "support/xorshift.h"

namespace {

constexpr uint8_t kGuard = 0xA5;
constexpr size_t kGuardBytes = 16;

// Pixel (2x + i, 2y + j) = source pixel (x, y), for i, j in 0..1.
void PlainDoubling(uint8_t* dst, uint32_t n, uint32_t rows, const uint8_t* src, uint32_t bytes) {
    for (uint32_t y = 0; y < rows / 2; ++y)
        for (uint32_t x = 0; x < n / 2; ++x)
            for (uint32_t j = 0; j < 2; ++j)
                for (uint32_t i = 0; i < 2; ++i)
                    std::memcpy(dst + ((2 * y + j) * size_t{n} + 2 * x + i) * bytes,
                                src + (y * size_t{n / 2} + x) * bytes, bytes);
}

class Stretch2X : public ::testing::TestWithParam<uint32_t> {};

TEST_P(Stretch2X, EqualsPlainDoublingAtEveryWidth) {
    const uint32_t bytes = GetParam();
    zebl_test::XorShift32 random(bytes * 977);
    for (uint32_t n = 0; n <= 41; ++n) {
        for (uint32_t rows : {0u, 1u, 2u, 5u, 6u}) {
            SCOPED_TRACE("n " + std::to_string(n) + ", rows " + std::to_string(rows));
            std::vector<uint8_t> src(size_t{n / 2} * (rows / 2) * bytes + 1);
            for (uint8_t& b : src) b = random.Byte();
            const size_t size = size_t{n} * rows * bytes;
            std::vector<uint8_t> fast(size + 2 * kGuardBytes, kGuard), plain(fast);
            ASSERT_EQ(MyStretch2X(fast.data() + kGuardBytes, n, rows, src.data(), bytes), 1);
            PlainDoubling(plain.data() + kGuardBytes, n, rows, src.data(), bytes);
            ASSERT_EQ(fast, plain);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(GreyAndColour, Stretch2X, ::testing::Values(1u, 4u));

// A 600-dpi band row of the widest paper, doubled as the band printer does.
TEST(Stretch2XWide, ABandRowOfTheWidestPaperKeepsEveryPixel) {
    constexpr uint32_t kPixels = 7016;
    std::vector<uint8_t> src(kPixels);
    for (uint32_t x = 0; x < kPixels; ++x) src[x] = static_cast<uint8_t>(x * 7 + (x >> 8));
    std::vector<uint8_t> dst(4 * size_t{kPixels}, kGuard), plain(dst);
    ASSERT_EQ(MyStretch2X(dst.data(), 2 * kPixels, 2, src.data(), 1), 1);
    PlainDoubling(plain.data(), 2 * kPixels, 2, src.data(), 1);
    EXPECT_EQ(dst, plain);
}

}  // namespace
