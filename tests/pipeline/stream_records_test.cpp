#include "pipeline/stream_records.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

template <size_t N>
Bytes ToBytes(const std::optional<std::array<uint8_t, N>>& a) {
    EXPECT_TRUE(a.has_value());
    return a ? Bytes(a->begin(), a->end()) : Bytes();
}

// Letter, 600 dots per inch, two copies, tray 2.
FBPage LetterPage() {
    FBPage page;
    page.paperCode = 1;
    page.resolution = 600;
    page.outputResolution = 600;
    page.printableWidth = 4960;
    page.printableHeight = 6400;
    page.paperSource = 2;
    page.copies = 2;
    return page;
}

TEST(StreamRecords, SwapReversesBytes) {
    EXPECT_EQ(SwapLong(0x11223344u), 0x44332211u);
    EXPECT_EQ(SwapLong(0x000000FFu), 0xFF000000u);
    EXPECT_EQ(SwapInt(0x1360), 0x6013);
}

TEST(StreamRecords, PageHeaderOfAKnownPage) {
    const FBSettings settings;  // duplex off
    EXPECT_EQ(ToBytes(BuildPageHeader(LetterPage(), settings, 1)),
              (Bytes{0x00, 6, 0x00, 0x02, 0x00, 0x13, 0x60, 0x19, 0x00, 0x05, 0, 0, 0, 0, 1, 0, 0}));
}

TEST(StreamRecords, PageHeaderResolutions) {
    const FBSettings settings;
    FBPage page = LetterPage();
    page.resolution = 300;
    page.outputResolution = 300;
    page.printableWidth = 2450;   // 0x0992
    page.printableHeight = 3200;  // 0x0C80
    Bytes h = ToBytes(BuildPageHeader(page, settings, 1));
    EXPECT_EQ(h[1], 3);
    EXPECT_EQ((Bytes{h[5], h[6], h[7], h[8]}), (Bytes{0x09, 0x92, 0x0C, 0x80}));

    page.resolution = 1200;
    page.outputResolution = 1200;
    EXPECT_EQ(ToBytes(BuildPageHeader(page, settings, 1))[1], 12);

    // 600 x 1200: the header announces 1200 and twice the size.
    page.resolution = 600;
    page.outputResolution = 1200;
    h = ToBytes(BuildPageHeader(page, settings, 1));
    EXPECT_EQ(h[1], 12);
    EXPECT_EQ((Bytes{h[5], h[6], h[7], h[8]}), (Bytes{0x13, 0x24, 0x19, 0x00}));

    // 1200 output from a 300 rendering is not the doubled mode.
    page.resolution = 300;
    h = ToBytes(BuildPageHeader(page, settings, 1));
    EXPECT_EQ(h[1], 3);
    EXPECT_EQ(h[5], 0x09);
}

TEST(StreamRecords, PageHeaderDuplexBytes) {
    const FBPage page = LetterPage();
    FBSettings settings;
    const struct {
        uint32_t type;
        uint32_t counter;
        uint8_t longEdge, odd;
    } cases[] = {
        {0, 1, 0, 0}, {1, 1, 1, 1}, {1, 2, 1, 0}, {2, 3, 0, 1}, {2, 4, 0, 0},
        {3, 1, 0, 0}, {4, 5, 1, 1}, {5, 7, 0, 1}, {6, 1, 0, 0},
    };
    for (const auto& c : cases) {
        settings.duplexType = c.type;
        const Bytes h = ToBytes(BuildPageHeader(page, settings, c.counter));
        EXPECT_EQ(h[11], c.longEdge) << "type " << c.type << " counter " << c.counter;
        EXPECT_EQ(h[12], c.odd) << "type " << c.type << " counter " << c.counter;
    }
}

TEST(StreamRecords, PaperCodes) {
    // A sample of the table and codes it leaves out (A4 among them).
    const std::pair<uint32_t, uint8_t> sizes[] = {
        {1, 0}, {5, 1}, {14, 24}, {31, 23}, {88, 18}, {256, 21},
        {0, 2}, {2, 2}, {9, 2},   {41, 2},  {257, 2}, {0x10001, 2},
    };
    for (auto [windows, printer] : sizes) {
        EXPECT_EQ(PrinterPaperSizeCode(windows), printer) << "paper " << windows;
    }
    const std::pair<uint32_t, uint8_t> sources[] = {
        {1, 4}, {2, 5}, {4, 2}, {6, 3}, {0, 1}, {3, 1}, {5, 1}, {7, 1}, {15, 1}, {260, 1},
    };
    for (auto [windows, printer] : sources) {
        EXPECT_EQ(PrinterPaperSourceCode(windows), printer) << "bin " << windows;
    }
    FBPage page = LetterPage();
    page.paperCode = 70;
    page.paperSource = 6;
    const Bytes h = ToBytes(BuildPageHeader(page, FBSettings{}, 1));
    EXPECT_EQ(h[4], 17);
    EXPECT_EQ(h[9], 3);
}

TEST(StreamRecords, PageHeaderRefusesSizesItCannotCarry) {
    FBPage page = LetterPage();
    page.printableWidth = 0xFFFF;
    EXPECT_TRUE(BuildPageHeader(page, FBSettings{}, 1).has_value());
    page.outputResolution = 1200;  // doubled: 0x1FFFE
    EXPECT_FALSE(BuildPageHeader(page, FBSettings{}, 1).has_value());
    page = LetterPage();
    page.printableHeight = 0x10000;
    EXPECT_FALSE(BuildPageHeader(page, FBSettings{}, 1).has_value());
    page = LetterPage();
    page.copies = 0x10000;
    EXPECT_FALSE(BuildPageHeader(page, FBSettings{}, 1).has_value());
    EXPECT_FALSE(BuildPageTrailer(page).has_value());
}

TEST(StreamRecords, PageTrailerCarriesTheCopies) {
    FBPage page = LetterPage();
    EXPECT_EQ(ToBytes(BuildPageTrailer(page)), (Bytes{0x01, 0x00, 0x02}));
    page.copies = 0x1234;
    EXPECT_EQ(ToBytes(BuildPageTrailer(page)), (Bytes{0x01, 0x12, 0x34}));
}

TEST(StreamRecords, Checksum) {
    const uint8_t twoBytes[] = {0xFF, 0x01};
    EXPECT_EQ(BandChecksum(twoBytes, 2), 0x00000100u);
    EXPECT_EQ(BuildBandChecksum(twoBytes, 2), (std::array<uint8_t, 4>{0x00, 0x00, 0x01, 0x00}));
    EXPECT_EQ(BandChecksum(twoBytes, 0), 0u);
    // 16843009 bytes of 0xFF: 0xFF * 0x01010101 = 0xFFFFFFFF; one more wraps.
    std::vector<uint8_t> many(0x01010101, 0xFF);
    EXPECT_EQ(BandChecksum(many.data(), static_cast<uint32_t>(many.size())), 0xFFFFFFFFu);
    many.push_back(0x02);
    EXPECT_EQ(BandChecksum(many.data(), static_cast<uint32_t>(many.size())), 0x00000001u);
}

TEST(StreamRecords, BandAndPlaneHeaders) {
    // Band 300 of a tall page: only its low 8 bits (0x2C) are sent.
    EXPECT_EQ(ToBytes(BuildBandHeader(300, 0x12, 4960, 128, 1000, 3)),
              (Bytes{0x0C, 0x2C, 0x13, 0x60, 0x00, 0x80, 0x03, 0x12, 0x00, 0x00, 0x03, 0xEC}));
    EXPECT_EQ(ToBytes(BuildBandHeader(0, 0x0A, 2464, 64, 0x01020304, 4)),
              (Bytes{0x0C, 0x00, 0x09, 0xA0, 0x00, 0x40, 0x04, 0x0A, 0x01, 0x02, 0x03, 0x08}));
    EXPECT_EQ(ToBytes(BuildPlaneHeader(0x11, 19836, 2)), (Bytes{0x02, 0x11, 0x00, 0x00, 0x4D, 0x80}));

    EXPECT_FALSE(BuildBandHeader(0, 0x0A, 0x10000, 64, 8, 4).has_value());
    EXPECT_FALSE(BuildBandHeader(0, 0x0A, 64, 0x10000, 8, 4).has_value());
    EXPECT_FALSE(BuildBandHeader(0, 0x0A, 64, 64, 0xFFFFFFFCu, 4).has_value());
    EXPECT_TRUE(BuildBandHeader(0, 0x0A, 64, 64, 0xFFFFFFFBu, 4).has_value());
    EXPECT_FALSE(BuildPlaneHeader(0x0A, 0xFFFFFFFDu, 1).has_value());
}

}  // namespace
