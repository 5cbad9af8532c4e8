// Bands drawn in bits against the same bands drawn in bytes: random display
// lists of glyphs and boxes in black and white under every kind of ROP, on
// a band that starts below the page's top so that glyphs cross its edges.
// While a band holds only black and white it stays in bits and its bits
// widened are its bytes; the first grey, brush, line or watermark moves it
// to bytes, and the bytes then match too.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/bit_band.h"
#include "engine/bit_rop.h"
#include "engine/playback_test_support.h"
#include "support/xorshift.h"

namespace {

using playback_test::Band;
using playback_test::DL;

constexpr uint32_t kWidth = 192;
constexpr uint32_t kBandRows = 40;
constexpr uint32_t kBandTop = 24;
constexpr uint32_t kBlack = 0x81000000, kWhite = 0x81FFFFFF;
// ROPs drivers send, and ones that invert or keep D.
constexpr uint8_t kRops[] = {0xF0, 0xCC, 0x88, 0xEE, 0x66, 0xB8, 0xE2,
                             0x5A, 0x0F, 0x33, 0x00, 0xFF, 0x55, 0xAA};

enum class Disturbance { None, GreyBox, Hatch, Line, Watermark };

struct BitCase {
    uint32_t seed;
    uint32_t bitStride;  // bytes of a one-bit row: the printer's plane may be narrower than the band
    Disturbance disturbance;
};

std::string CaseName(const testing::TestParamInfo<BitCase>& info) {
    static const char* const kNames[] = {"BlackAndWhite", "GreyBox", "Hatch", "Line", "Watermark"};
    return std::string(kNames[static_cast<int>(info.param.disturbance)]) + "Stride" +
           std::to_string(info.param.bitStride) + "Seed" + std::to_string(info.param.seed);
}

void RandomGlyph(DL* list, zebl_test::XorShift32* rng) {
    // Mostly glyph sized; one in eight wider than the band, cut at its edge.
    const uint32_t bitOffset = rng->Next() % 8, rows = 1 + rng->Next() % 30;
    const uint32_t width = 1 + rng->Next() % (rng->Next() % 8 ? 140 : 500);
    std::vector<uint8_t> data(size_t{MaskStride(bitOffset + width)} * rows);
    for (uint8_t& b : data) b = rng->Next() % 3 == 0 ? 0 : rng->Byte();
    list->At(static_cast<uint16_t>(rng->Next() % 90), static_cast<uint16_t>(rng->Next() % (kWidth + 8)))
        .Glyph(static_cast<uint8_t>(bitOffset), static_cast<uint16_t>(rows), static_cast<uint16_t>(width),
               data);
}

void RandomBox(DL* list, zebl_test::XorShift32* rng) {
    list->At(static_cast<uint16_t>(rng->Next() % 90), static_cast<uint16_t>(rng->Next() % kWidth))
        .Box16(static_cast<uint16_t>(1 + rng->Next() % 20), static_cast<uint16_t>(1 + rng->Next() % 100));
}

void Disturb(DL* list, Disturbance disturbance) {
    switch (disturbance) {
        case Disturbance::None: break;
        case Disturbance::GreyBox: list->RopColour(0xF0, 0x81808080).At(30, 20).Box16(10, 60); break;
        case Disturbance::Hatch: list->RopColour(0xF0, 0x85000004).At(28, 10).Box16(12, 90); break;
        case Disturbance::Line: list->Black().At(26, 5).Op(DL_LINE).U16(150).U16(60); break;
        case Disturbance::Watermark:
            list->Op(DL_WATERMARK_BEGIN).Black().At(35, 40).Box16(6, 50).Op(DL_WATERMARK_END);
            break;
    }
}

// Forty objects in black or white under random ROPs; the disturbance comes
// half way, so that drawing in bits and in bytes both happen.
DL RandomList(const BitCase& c) {
    zebl_test::XorShift32 rng(c.seed);
    DL list;
    for (int i = 0; i < 40; ++i) {
        if (i == 20) Disturb(&list, c.disturbance);
        list.RopColour(kRops[rng.Next() % std::size(kRops)], rng.Next() % 4 ? kBlack : kWhite);
        if (rng.Next() % 4) RandomGlyph(&list, &rng);
        else RandomBox(&list, &rng);
    }
    return list;
}

class BitBand : public testing::TestWithParam<BitCase> {};

TEST_P(BitBand, DrawsWhatTheByteBandDraws) {
    const BitCase c = GetParam();
    const DL list = RandomList(c);

    Band bytes(false, kWidth, kBandRows, 200);
    bytes.Play(list, kBandTop);

    Band bits(false, kWidth, kBandRows, 200);
    std::vector<uint8_t> rows(size_t{c.bitStride} * kBandRows + 8, 0x5A);
    BandWindow& window = bits.state().window;
    window.bits = rows.data();
    window.bitsBytes = rows.size();
    window.bitStride = c.bitStride;
    bits.Play(list, kBandTop);

    ASSERT_EQ(window.inBits, c.disturbance == Disturbance::None);
    ASSERT_TRUE(bits.GuardsIntact());
    ASSERT_EQ(rows.back(), 0x5A) << "the word slack is never written";
    // Only the columns the printer's plane holds are compared: bits hold no more.
    const uint32_t columns = std::min(kWidth, c.bitStride * 8);
    std::vector<uint8_t> widened(columns);
    for (uint32_t r = 0; r < kBandRows; ++r) {
        std::string got, want;
        if (window.inBits)
            WidenBitsToGrey(widened.data(), rows.data() + size_t{r} * c.bitStride, columns / 8);
        for (uint32_t x = 0; x < columns; ++x) {
            const uint32_t pixel = window.inBits ? widened[x] : bits.Pixel(r, x);
            got += pixel == 0xFF ? '.' : pixel == 0 ? '#' : '?';
            want += bytes.Pixel(r, x) == 0xFF ? '.' : bytes.Pixel(r, x) == 0 ? '#' : '?';
        }
        ASSERT_EQ(got, want) << "band row " << r;
    }
}

std::vector<BitCase> Cases() {
    std::vector<BitCase> cases;
    for (uint32_t seed = 1; seed <= 6; ++seed) {
        cases.push_back({seed, kWidth / 8, Disturbance::None});
        cases.push_back({seed, kWidth / 8 - 5, Disturbance::None});
    }
    for (Disturbance d :
         {Disturbance::GreyBox, Disturbance::Hatch, Disturbance::Line, Disturbance::Watermark})
        for (uint32_t seed = 11; seed <= 12; ++seed) cases.push_back({seed, kWidth / 8, d});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(RandomLists, BitBand, testing::ValuesIn(Cases()), CaseName);

// One buffer through bands in bytes and in bits: a band that left bits
// drew bytes, and the band after it clears them although it draws in bits;
// a band drawn in bits leaves the bytes white for the next.
TEST(BitBandBuffer, BytesAreClearedAfterEveryBandThatDrewThem) {
    Band band(false, kWidth, kBandRows, 400);
    std::vector<uint8_t> rows(size_t{kWidth / 8} * kBandRows + 8);
    BandWindow& window = band.state().window;
    window.bits = rows.data();
    window.bitsBytes = rows.size();
    window.bitStride = kWidth / 8;
    DL grey;
    grey.Black().At(3, 4).Box16(30, 100).RopColour(0xF0, 0x81808080).At(5, 120).Box16(20, 40);
    band.Play(grey, 0);
    ASSERT_FALSE(window.inBits);
    band.Play(DL().Black().At(kBandRows + 2, 7).Box16(1, 1), kBandRows);
    ASSERT_TRUE(window.inBits);
    window.bits = nullptr;  // the next band in bytes
    band.Play(DL().Black().At(2 * kBandRows, 0).Box16(1, 1), 2 * kBandRows);
    ASSERT_FALSE(window.inBits);
    EXPECT_EQ(band.Row(0, kWidth), "#" + std::string(kWidth - 1, '.'));
    for (uint32_t r = 1; r < kBandRows; ++r) ASSERT_EQ(band.Row(r, kWidth), std::string(kWidth, '.')) << r;
}

}  // namespace
