// The threshold matrices: sizes, value sets, the product's published first
// rows, the generator that made them, and the kind of screen each one is.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <string>

#include "engine/threshold_generator.h"
#include "halftone_test_support.h"

namespace {

using halftone_test::AllMatrices;
using halftone_test::MatrixEntry;
using halftone_test::Values;

std::array<size_t, 256> Histogram(const MatrixEntry& m) {
    std::array<size_t, 256> h{};
    for (uint32_t i = 0; i < m.width * m.width; ++i) ++h[m.table[i]];
    return h;
}

TEST(ThresholdMatrices, SizesAreThoseOfTheScreens) {
    const std::map<std::string, uint32_t> expected = {
        {"MaskNormal600K", 96}, {"MaskNormal600C", 80}, {"MaskNormal600M", 80}, {"MaskNormal600Y", 64},
        {"MaskText600K", 24},   {"MaskText600C", 24},   {"MaskText600M", 24},   {"MaskText600Y", 24},
        {"MaskPhoto600K", 12},  {"MaskPhoto600C", 12},  {"MaskPhoto600M", 12},  {"MaskPhoto600Y", 12},
        {"Mask1200K", 120},     {"Mask1200C", 116},     {"Mask1200M", 116},     {"Mask1200Y", 98},
    };
    ASSERT_EQ(AllMatrices().size(), 16u);
    for (const MatrixEntry& m : AllMatrices()) EXPECT_EQ(m.width, expected.at(m.name)) << m.name;
}

TEST(ThresholdMatrices, ValueSetsHoldTheirStatedRanges) {
    for (const MatrixEntry& m : AllMatrices()) {
        SCOPED_TRACE(m.name);
        const auto h = Histogram(m);
        switch (m.values) {
            case Values::ZeroCapped: {
                // 0..254, every value present, 0 the most frequent.
                EXPECT_EQ(h[255], 0u);
                for (int v = 0; v <= 254; ++v) EXPECT_GT(h[v], 0u) << "value " << v;
                for (int v = 1; v <= 254; ++v) EXPECT_GT(h[0], h[v]) << "value " << v;
                break;
            }
            case Values::Fine:
                // 1..255, every value present.
                EXPECT_EQ(h[0], 0u);
                for (int v = 1; v <= 255; ++v) EXPECT_GT(h[v], 0u) << "value " << v;
                break;
            case Values::Distinct:
                // 144 distinct values.
                EXPECT_EQ(m.width * m.width, 144u);
                for (int v = 0; v <= 255; ++v) EXPECT_LE(h[v], 1u) << "value " << v;
                break;
        }
    }
}

// The first twelve columns of rows 0 and 1 as the product publishes them.
TEST(ThresholdMatrices, FirstRowsMatchThePublishedEntries) {
    struct Published {
        const uint8_t* table;
        uint32_t width;
        std::array<int, 12> row0, row1;
    };
    const Published published[] = {
        {MaskNormal600K,
         96,
         {0, 16, 198, 243, 175, 6, 0, 13, 191, 233, 181, 9},
         {26, 95, 141, 165, 109, 71, 21, 88, 136, 170, 114, 77}},
        {MaskNormal600C,
         80,
         {0, 16, 165, 231, 173, 96, 131, 178, 147, 8, 0, 14},
         {27, 93, 217, 249, 191, 29, 0, 46, 112, 67, 22, 85}},
        {MaskNormal600Y,
         64,
         {0, 17, 105, 4, 0, 12, 120, 7, 0, 18, 102, 4},
         {32, 151, 209, 131, 25, 145, 220, 138, 34, 152, 207, 129}},
        {MaskText600K,
         24,
         {20, 190, 242, 228, 58, 1, 15, 185, 245, 231, 61, 4},
         {90, 151, 208, 157, 114, 43, 86, 153, 210, 160, 118, 47}},
        {MaskPhoto600K,
         12,
         {249, 164, 42, 0, 84, 208, 251, 166, 47, 5, 90, 207},
         {235, 150, 28, 14, 99, 223, 237, 152, 33, 19, 104, 221}},
        {Mask1200K,
         120,
         {0, 0, 12, 152, 240, 254, 227, 146, 8, 0, 0, 0},
         {0, 0, 19, 162, 182, 213, 188, 156, 15, 0, 0, 0}},
    };
    for (const Published& p : published) {
        for (int x = 0; x < 12; ++x) {
            EXPECT_EQ(p.table[x], p.row0[x]) << "width " << p.width << " row 0 column " << x;
            EXPECT_EQ(p.table[p.width + x], p.row1[x]) << "width " << p.width << " row 1 column " << x;
        }
    }
}

// The checked-in tables are exactly what the generator makes (in this build
// too: the generator uses integers only, so 32-bit Windows agrees).
TEST(ThresholdMatrices, TablesAreTheGeneratorsOutput) {
    const threshold_gen::MatrixDesign* designs = threshold_gen::Designs();
    ASSERT_EQ(threshold_gen::kMatrixCount, static_cast<int>(AllMatrices().size()));
    for (int i = 0; i < threshold_gen::kMatrixCount; ++i) {
        const MatrixEntry& m = AllMatrices()[i];
        ASSERT_STREQ(designs[i].name, m.name);
        ASSERT_EQ(designs[i].size, m.width);
        const std::vector<uint8_t> generated = threshold_gen::Generate(designs[i]);
        ASSERT_EQ(generated.size(), m.width * m.width);
        EXPECT_TRUE(std::equal(generated.begin(), generated.end(), m.table))
            << m.name << " differs from the generator; rebuild target regenerate_threshold_matrices";
    }
}

TEST(ThresholdMatrices, GeneratorRefusesALatticeThatDoesNotTile) {
    threshold_gen::MatrixDesign design = threshold_gen::Designs()[0];
    design.latticeX = 4;
    design.latticeY = 3;  // cell area 25 does not divide a 96-pixel tile
    EXPECT_THROW(threshold_gen::Generate(design), std::invalid_argument);
}

// Share of the dotted pixels that touch another dotted pixel (4-neighbours,
// the tile wrapping round) when the tile is screened at the given coverage.
double ClusteredShare(const MatrixEntry& m, double coverage) {
    const uint32_t n = m.width, total = n * n;
    std::vector<uint8_t> sorted(m.table, m.table + total);
    std::sort(sorted.begin(), sorted.end(), std::greater<>());
    const uint8_t grey = sorted[static_cast<size_t>(coverage * total)];
    auto dotted = [&](uint32_t x, uint32_t y) {
        return halftone_test::Dot(grey, m.table[(y % n) * n + x % n]);
    };
    size_t dots = 0, touching = 0;
    for (uint32_t y = 0; y < n; ++y) {
        for (uint32_t x = 0; x < n; ++x) {
            if (!dotted(x, y)) continue;
            ++dots;
            touching += dotted(x + 1, y) || dotted(x + n - 1, y) || dotted(x, y + 1) || dotted(x, y + n - 1);
        }
    }
    return dots ? static_cast<double>(touching) / static_cast<double>(dots) : 0.0;
}

// Normal, text and 1200-dpi screens grow clustered dots; photo screens
// spread their dots apart.
TEST(ThresholdMatrices, ClusteredScreensClusterAndPhotoScreensDisperse) {
    for (const MatrixEntry& m : AllMatrices()) {
        const double share = ClusteredShare(m, 0.2);
        if (m.values == Values::Distinct) EXPECT_LT(share, 0.5) << m.name;
        else EXPECT_GT(share, 0.9) << m.name;
    }
}

}  // namespace
