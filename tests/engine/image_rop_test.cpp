// The image row operations (chosen once per image) against the per-pixel
// image operators SetRopImgGray / SetRopImgColor, for all 256 codes, grey and
// colour, solid and brush patterns, with rows that start anywhere on the
// brush.
#include <gtest/gtest.h>

#include <cstring>
#include <tuple>
#include <vector>

#include "engine/image_rop.h"
#include "engine/raster_ops.h"
#include "image_test_support.h"

namespace {

using image_test::Random;

using RopCase = std::tuple<bool /*colour*/, bool /*brush*/>;

class ImageRowOps : public testing::TestWithParam<RopCase> {};

TEST_P(ImageRowOps, EqualThePerPixelOperatorsForEveryCode) {
    const auto [colour, withBrush] = GetParam();
    const uint32_t bytes = colour ? 4 : 1;
    constexpr uint32_t kWidth = 77, kPageRow = 45, kPageColumn = 13;
    Random random(5);
    std::vector<uint8_t> brush(32 * 32 * bytes), image(kWidth * bytes), band(kWidth * bytes);
    for (uint8_t& b : brush) b = static_cast<uint8_t>(random.Next());
    for (uint8_t& b : image) b = static_cast<uint8_t>(random.Next());
    for (uint8_t& b : band) b = static_cast<uint8_t>(random.Next());
    const uint32_t solid = colour ? 0x00A1B2C3 : 0x5C;
    const uint32_t tag = 0x02000000;

    for (unsigned code = 0; code < 256; ++code) {
        ImageRopSetup setup;
        setup.rop = static_cast<uint8_t>(code);
        setup.brush = withBrush ? brush.data() : nullptr;
        setup.colour = solid;
        setup.tag = tag;
        const ImageRowOp op = SelectImageRowOp(colour, setup);
        ASSERT_NE(op, nullptr);
        std::vector<uint8_t> out = band;
        op(setup, out.data(), image.data(), kWidth, kPageRow, kPageColumn);
        for (uint32_t x = 0; x < kWidth; ++x) {
            const size_t b = size_t{(kPageRow % 32) * 32 + (kPageColumn + x) % 32} * bytes;
            if (colour) {
                uint32_t s, p, d, got;
                std::memcpy(&s, &image[x * 4], 4);
                std::memcpy(&d, &band[x * 4], 4);
                std::memcpy(&got, &out[x * 4], 4);
                if (withBrush) std::memcpy(&p, &brush[b], 4);
                else p = solid;
                ASSERT_EQ(got, tag | (SetRopImgColor(setup.rop, s, p, d) & 0xFFFFFF))
                    << std::hex << "code " << code << " pixel " << x;
            } else {
                const uint8_t p = withBrush ? brush[b] : static_cast<uint8_t>(solid);
                ASSERT_EQ(out[x], SetRopImgGray(setup.rop, image[x], p, band[x]))
                    << std::hex << "code " << code << " pixel " << x;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Images, ImageRowOps, testing::Combine(testing::Bool(), testing::Bool()),
                         [](const testing::TestParamInfo<RopCase>& param) {
                             return std::string(std::get<0>(param.param) ? "Colour" : "Grey") +
                                    (std::get<1>(param.param) ? "Brush" : "Solid");
                         });

}  // namespace
