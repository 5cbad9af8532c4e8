// Normal printing with black-and-white bands drawn in bits against the same
// pages drawn in bytes and screened: the printer streams are the same bytes,
// for text pages, pages where a grey box, a line or a watermark moves a band
// to bytes, text past the page's end and past the printer's band width, and
// every resolution, the 600 x 1200 mode (whose bits are doubled) included;
// colour pages never use bits.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/halftone.h"
#include "pipeline/page_print_internal.h"
#include "pipeline/page_print_test_support.h"
#include "support/xorshift.h"

namespace {

using page_test::DL;
using page_test::MakePage;
using page_test::PageJob;
using page_test::StandInColour;

enum class Extra { None, GreyHeading, Line, Watermark };

struct PrintCase {
    const char* name;
    uint32_t resolution, outputResolution, bitsPerPixel;
    uint32_t width, height;
    Extra extra;
    bool greyConversion;  // the colour module bound to a grey document
};

// Lines of glyphs in black under text ROPs, the last running below the
// page's end and the first column of each line past the printer's band
// width on wide pages; some glyphs in white over black boxes.
DL TextPage(const PrintCase& c) {
    zebl_test::XorShift32 rng(c.width * 31 + c.height);
    DL list;
    const uint32_t lineHeight = 37;
    for (uint32_t y = 10; y < c.height + 20; y += lineHeight) {
        if (c.extra == Extra::GreyHeading && y % 5 == 0)
            list.RopColour(0xF0, 0x81707070).At(static_cast<uint16_t>(y), 5).Box16(20, 60);
        if ((y / lineHeight) % 4 == 1) list.Black().At(static_cast<uint16_t>(y), 100).Box16(30, 120);
        for (uint32_t x = 8; x + 40 < c.width; x += 23 + rng.Next() % 9) {
            const bool white = x > 100 && x < 200 && (y / lineHeight) % 4 == 1;
            list.RopColour(rng.Next() % 3 ? 0xB8 : 0x88, white ? 0x81FFFFFF : 0x81000000);
            const uint32_t width = 10 + rng.Next() % 25, rows = 12 + rng.Next() % 20, offset = rng.Next() % 8;
            std::vector<uint8_t> mask(size_t{MaskStride(width + offset)} * rows);
            for (uint8_t& b : mask) b = rng.Byte() & rng.Byte();
            list.At(static_cast<uint16_t>(y), static_cast<uint16_t>(x))
                .Glyph(static_cast<uint8_t>(offset), static_cast<uint16_t>(rows),
                       static_cast<uint16_t>(width), mask);
        }
    }
    if (c.extra == Extra::Line)
        list.Black().At(40, 30).Op(DL_LINE).U16(static_cast<uint16_t>(c.width - 30)).U16(300);
    if (c.extra == Extra::Watermark)
        list.Op(DL_WATERMARK_BEGIN).Black().At(200, 50).Box16(40, 300).Op(DL_WATERMARK_END);
    return list;
}

class BitBandPrint : public zebl_test::TempFolderTest, public testing::WithParamInterface<PrintCase> {
protected:
    std::vector<uint8_t> Print(bool inBits) {
        const PrintCase& c = GetParam();
        StandInColour colour(c.bitsPerPixel == 32);
        EXPECT_TRUE(colour.Loaded());
        const bool converted = c.bitsPerPixel == 32 || c.greyConversion;
        PageJob job(temp_, converted ? colour.Converter() : nullptr);
        EXPECT_TRUE(job.Opened());
        job.Cache().blackAndWhiteInBits = inBits;
        const DL list = TextPage(c);
        const FBPage page = MakePage(c.resolution, c.outputResolution, c.bitsPerPixel, c.width, c.height);
        EXPECT_EQ(job.Print(page, list), 1);
        EXPECT_EQ(job.Print(page, list), 1);  // the second page starts on a buffer the first used
        job.Finish();
        return job.Bytes();
    }
};

TEST_P(BitBandPrint, StreamIsTheStreamOfTheScreenedBytes) {
    const std::vector<uint8_t> bytes = Print(false);
    ASSERT_GT(bytes.size(), 1000u);
    EXPECT_TRUE(Print(true) == bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Pages, BitBandPrint,
    testing::Values(PrintCase{"Text600", 600, 600, 8, 1200, 1000, Extra::None, false},
                    PrintCase{"Text600Converted", 600, 600, 8, 1200, 1000, Extra::None, true},
                    PrintCase{"WiderThanThePrinter600", 600, 600, 8, 5200, 300, Extra::None, false},
                    PrintCase{"Text300", 300, 300, 8, 900, 700, Extra::None, false},
                    PrintCase{"Text1200", 1200, 1200, 8, 1500, 800, Extra::None, false},
                    PrintCase{"GreyHeadings600", 600, 600, 8, 1200, 1000, Extra::GreyHeading, false},
                    PrintCase{"Line600", 600, 600, 8, 1200, 1000, Extra::Line, false},
                    PrintCase{"Watermark600", 600, 600, 8, 1200, 1000, Extra::Watermark, false},
                    PrintCase{"Text600x1200", 600, 1200, 8, 1200, 600, Extra::None, false},
                    PrintCase{"WiderThanThePrinter600x1200", 600, 1200, 8, 5200, 300, Extra::None, false},
                    PrintCase{"GreyHeadings600x1200", 600, 1200, 8, 1200, 600, Extra::GreyHeading, false},
                    PrintCase{"Colour600", 600, 600, 32, 1200, 600, Extra::GreyHeading, false}),
    [](const testing::TestParamInfo<PrintCase>& p) { return std::string(p.param.name); });

// Bits stand for the screened bytes only where black, as converted, is at
// most every threshold and white above them all (or white itself). The
// normal screen's thresholds run 0..254, the text screen's 1..255.
TEST(BlackAndWhiteScreens, AsBitsOnlyWhenBlackDotsAndWhiteStaysClearEverywhere) {
    struct Expectation {
        uint32_t screenClass;
        uint8_t black, white;
        bool asBits;
    };
    const Expectation expectations[] = {
        {kScreenNormal, 0, 255, true}, {kScreenNormal, 1, 255, false}, {kScreenNormal, 0, 254, false},
        {kScreenText, 1, 255, true},   {kScreenText, 2, 255, false},   {kScreenText, 0, 254, false},
        {kScreenPhoto, 0, 255, true},
    };
    for (const Expectation& e : expectations) {
        FBScreen screen;
        ASSERT_EQ(FBMaskInitialize(&screen, e.screenClass, 600, nullptr), 1);
        EXPECT_EQ(fb_page::BlackAndWhiteScreenAsBits(screen.plane[kScreenBlack], e.black, e.white), e.asBits)
            << "class " << e.screenClass << " black " << int(e.black) << " white " << int(e.white);
    }
    EXPECT_FALSE(fb_page::BlackAndWhiteScreenAsBits(FBScreenPlane{}, 0, 255)) << "no screen";
}

}  // namespace
