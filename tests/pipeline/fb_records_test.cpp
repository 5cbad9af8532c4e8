#include "pipeline/fb_records.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "pipeline/fb_interface.h"

namespace {

// Writes a little-endian word straight into the bytes, independently of the
// record's own accessors, so that a wrong offset or byte order shows up.
void Put(FBInterface* record, uint32_t offset, uint32_t value) {
    for (int i = 0; i < 4; ++i) record->bytes[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

void PutText(FBInterface* record, uint32_t offset, const std::u16string& text) {
    for (size_t i = 0; i < text.size(); ++i) {
        record->bytes[offset + 2 * i] = static_cast<uint8_t>(text[i]);
        record->bytes[offset + 2 * i + 1] = static_cast<uint8_t>(text[i] >> 8);
    }
}

TEST(FBInterface, ReadsLittleEndianWordsAtUnalignedOffsets) {
    FBInterface record;
    record.bytes[85] = 0x44;
    record.bytes[86] = 0x33;
    record.bytes[87] = 0x22;
    record.bytes[88] = 0x81;
    EXPECT_EQ(record.UInt(85), 0x81223344u);
    EXPECT_EQ(record.Int(85), static_cast<int32_t>(0x81223344u));
    record.SetInt(1, -2);
    EXPECT_EQ(record.bytes[1], 0xFE);
    EXPECT_EQ(record.bytes[4], 0xFF);
    EXPECT_EQ(record.bytes[5], 0x00);
}

TEST(FBInterface, OffsetsOutsideTheRecordReadZeroAndWriteNothing) {
    FBInterface record;
    record.bytes.fill(0xAB);
    EXPECT_EQ(record.UInt(1672), 0xABABABABu);  // the last whole word
    EXPECT_EQ(record.UInt(1673), 0u);
    EXPECT_EQ(record.UInt(0xFFFFFFFEu), 0u);  // must not wrap round to the start
    const auto before = record.bytes;
    record.SetUInt(1673, 0);
    record.SetUInt(0xFFFFFFFFu, 0);
    record.SetString({1670, 8}, u"abc");
    EXPECT_EQ(record.bytes, before);
    EXPECT_EQ(record.String({1670, 8}), u"");
}

TEST(FBInterface, PrinterNameIsCutBeforeTheOrientation) {
    FBInterface record;
    Put(&record, kFBIOrientation, 1);
    const std::u16string longName(60, u'N');
    record.SetString(kFBIPrinterName, longName);
    EXPECT_EQ(record.String(kFBIPrinterName), std::u16string(41, u'N'));
    EXPECT_EQ(record.bytes[82], 0);  // the terminating NUL, the field's last unit
    EXPECT_EQ(record.bytes[83], 0);
    EXPECT_EQ(record.Int(kFBIOrientation), 1);

    // A shorter name replaces the old one completely.
    record.SetString(kFBIPrinterName, u"Laser");
    EXPECT_EQ(record.String(kFBIPrinterName), u"Laser");
    EXPECT_EQ(record.bytes[12], 0);
}

TEST(FBInterface, TextWithoutNulEndsAtTheFieldEnd) {
    FBInterface record;
    PutText(&record, 0, std::u16string(42, u'x'));
    Put(&record, kFBIOrientation, 0x00410041);  // "AA" right behind the field
    EXPECT_EQ(record.String(kFBIPrinterName), std::u16string(42, u'x'));

    PutText(&record, 272, u"USB001\u00e9");
    EXPECT_EQ(record.String(kFBIPortName), u"USB001\u00e9");
}

TEST(FBInterface, OnlyAWholeRecordIsCopiedFromABuffer) {
    uint8_t buffer[kFBInterfaceSize + 1];
    std::memset(buffer, 0x5A, sizeof buffer);
    FBInterface record;
    EXPECT_EQ(FBInterfaceFromBytes(&record, buffer, kFBInterfaceSize - 1), 0);
    EXPECT_EQ(FBInterfaceFromBytes(&record, buffer, kFBInterfaceSize + 1), 0);
    EXPECT_EQ(record.UInt(0), 0u);
    EXPECT_EQ(FBInterfaceFromBytes(&record, buffer, kFBInterfaceSize), 1);
    EXPECT_EQ(record.UInt(1672), 0x5A5A5A5Au);
}

// A colour A4 record at 600 dots per inch with every page field distinct.
FBInterface SampleRecord() {
    FBInterface r;
    Put(&r, 84, 1);   // landscape
    Put(&r, 88, 9);   // A4
    Put(&r, 104, 3);  // copies
    Put(&r, 124, 600);
    Put(&r, 132, 0);  // not collated
    Put(&r, 180, 1200);
    Put(&r, 184, 0x184);
    Put(&r, 188, 7);  // colour
    Put(&r, 192, 0x192);
    Put(&r, 196, 1);
    Put(&r, 200, 0x200);
    Put(&r, 204, 4000);
    Put(&r, 208, 6000);
    Put(&r, 212, 4);  // paper source
    Put(&r, 216, 2);  // THICK
    Put(&r, 220, 1);  // first page from elsewhere
    Put(&r, 228, 6);
    Put(&r, 236, 2);
    Put(&r, 244, 30);
    Put(&r, 248, 1);
    Put(&r, 252, 0);
    Put(&r, 256, 1);
    Put(&r, 260, 1);
    Put(&r, 264, 45);
    Put(&r, 792, kDocOptPoster);
    Put(&r, 796, 150);
    Put(&r, 816, 1);
    Put(&r, 820, 96);
    Put(&r, 1352, 4);
    Put(&r, 1604, 1);
    return r;
}

TEST(FBPageSetInfo, TakesEveryFieldFromItsOffset) {
    const FBInterface record = SampleRecord();
    FBPage page;
    ASSERT_EQ(FBPageSetInfo(&page, record, 1), 1);
    // Margins of every paper are 50/300 inch: 100 dots at 600.
    EXPECT_EQ(page.pageWidth, 4200u);
    EXPECT_EQ(page.pageHeight, 6200u);
    EXPECT_EQ(page.printableWidth, 4000u);
    EXPECT_EQ(page.printableHeight, 6000u);
    EXPECT_EQ(page.paperCode, 9u);
    EXPECT_EQ(page.nupPlacement[0], 0u);
    EXPECT_EQ(page.nupPlacement[1], 0u);
    EXPECT_EQ(page.pageNumber, 1u);
    EXPECT_EQ(page.orientation, 1u);
    EXPECT_EQ(page.paperSource, 6u);  // page 1 of a different-first-page job
    EXPECT_EQ(page.bitsPerPixel, 32u);
    EXPECT_EQ(page.resolution, 600u);
    EXPECT_EQ(page.outputResolution, 1200u);
    EXPECT_EQ(page.renderValue184, 0x184u);
    EXPECT_EQ(page.colour, 7u);
    EXPECT_EQ(page.renderValue192, 0x192u);
    EXPECT_EQ(page.poster, 1u);
    EXPECT_EQ(page.posterTiles, 1u);
    EXPECT_EQ(page.posterOverlap, 96u);
    EXPECT_EQ(page.rotate180, 1u);
    EXPECT_EQ(page.renderValue200, 0x200u);
    EXPECT_EQ(page.copies, 3u);
    EXPECT_EQ(page.reserved, 0u);

    // The record is stored in spool files in field order.
    uint32_t words[23];
    std::memcpy(words, &page, sizeof words);
    EXPECT_EQ(words[7], 1u);   // page number
    EXPECT_EQ(words[21], 3u);  // copies
}

TEST(FBPageSetInfo, FirstPageSourceOnlyForPageOne) {
    FBInterface record = SampleRecord();
    FBPage page;
    FBPageSetInfo(&page, record, 2);
    EXPECT_EQ(page.paperSource, 4u);
    EXPECT_EQ(page.pageNumber, 2u);
    Put(&record, 220, 0);
    FBPageSetInfo(&page, record, 1);
    EXPECT_EQ(page.paperSource, 4u);
}

// A record is parsed once and each page only numbered: numbering changes the
// page number, and the paper source of page 1 when the first page differs,
// and nothing else.
TEST(FBRecordPage, NumberingAPageChangesOnlyItsNumberAndFirstPageSource) {
    const FBInterface record = SampleRecord();  // first page from bin 6, the others from 4
    FBRecordPage parsed;
    ASSERT_EQ(FBParseRecordPage(&parsed, record), 1);
    const FBPage first = FBRecordPageFor(parsed, 1);
    const FBPage third = FBRecordPageFor(parsed, 3);
    EXPECT_EQ(first.pageNumber, 1u);
    EXPECT_EQ(first.paperSource, 6u);
    EXPECT_EQ(third.pageNumber, 3u);
    EXPECT_EQ(third.paperSource, 4u);
    FBPage alike = third;
    alike.pageNumber = first.pageNumber;
    alike.paperSource = first.paperSource;
    EXPECT_EQ(std::memcmp(&alike, &first, sizeof first), 0);
    for (uint32_t number : {1u, 2u, 7u}) {
        FBPage reparsed;
        FBPageSetInfo(&reparsed, record, number);
        const FBPage numbered = FBRecordPageFor(parsed, number);
        EXPECT_EQ(std::memcmp(&reparsed, &numbered, sizeof numbered), 0) << "page " << number;
    }
}

struct ScaleCase {
    uint32_t recorded;  // as the record's 32-bit word holds it
    uint32_t expected;
};

class RecordScale : public testing::TestWithParam<ScaleCase> {};

// The one clamp of the scale; the page record and the settings summary both
// carry its result.
TEST_P(RecordScale, IsClampedOnceAndCarriedByThePageAndTheSummary) {
    FBInterface record = SampleRecord();
    Put(&record, 796, GetParam().recorded);
    EXPECT_EQ(FBRecordScale(record), GetParam().expected);
    FBRecordPage parsed;
    FBParseRecordPage(&parsed, record);
    EXPECT_EQ(parsed.scale, GetParam().expected);
    FBSettings settings;
    InitializeSettings(&settings, 0, record);
    EXPECT_EQ(settings.scale, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(FBRecordScale, RecordScale,
                         testing::Values(ScaleCase{0, 100}, ScaleCase{0xFFFFFFFB, 100}, ScaleCase{5, 10},
                                         ScaleCase{10, 10}, ScaleCase{150, 150}, ScaleCase{400, 400},
                                         ScaleCase{401, 400}, ScaleCase{100000, 400}));

TEST(FBPageSetInfo, MonoCollatedPlainPage) {
    FBInterface record = SampleRecord();
    Put(&record, 188, 0);
    Put(&record, 132, 1);
    Put(&record, 792, kDocOptDuplex);
    FBPage page;
    FBPageSetInfo(&page, record, 1);
    EXPECT_EQ(page.bitsPerPixel, 8u);
    EXPECT_EQ(page.colour, 0u);
    EXPECT_EQ(page.copies, 1u);
    EXPECT_EQ(page.poster, 0u);
    EXPECT_EQ(page.posterTiles, 0u);
    EXPECT_EQ(page.posterOverlap, 0u);
}

TEST(FBPageSetInfo, SmallSizesComeFromThePaperTable) {
    FBInterface record = SampleRecord();
    Put(&record, 204, 255);  // either one under 256 replaces both
    FBPage page;
    FBPageSetInfo(&page, record, 1);
    // A4: 2380 x 3407 / 300 inch -> 4760 x 6814 at 600.
    EXPECT_EQ(page.printableWidth, 4760u);
    EXPECT_EQ(page.printableHeight, 6814u);
    EXPECT_EQ(page.pageWidth, 4960u);
    EXPECT_EQ(page.pageHeight, 7014u);

    Put(&record, 204, 256);
    Put(&record, 208, 256);
    FBPageSetInfo(&page, record, 1);
    EXPECT_EQ(page.printableWidth, 256u);
    EXPECT_EQ(page.printableHeight, 256u);

    // Letter at 300: 2450 x 3200 plus 50 on each side.
    Put(&record, 88, 1);
    Put(&record, 124, 300);
    Put(&record, 208, static_cast<uint32_t>(-5));
    FBPageSetInfo(&page, record, 1);
    EXPECT_EQ(page.printableWidth, 2450u);
    EXPECT_EQ(page.printableHeight, 3200u);
    EXPECT_EQ(page.pageWidth, 2550u);
    EXPECT_EQ(page.pageHeight, 3300u);
}

TEST(FBPageSetInfo, NonsenseValuesGiveASensiblePage) {
    FBInterface record = SampleRecord();
    Put(&record, 88, 41);  // not a paper the table knows
    Put(&record, 204, 0);
    Put(&record, 124, 0);  // no such resolution
    Put(&record, 104, 0);  // no copies at all
    FBPage page;
    FBPageSetInfo(&page, record, 1);
    EXPECT_EQ(page.paperCode, 41u);  // kept: the page header maps it to A4
    EXPECT_EQ(page.resolution, 600u);
    EXPECT_EQ(page.printableWidth, 4760u);  // A4 at 600
    EXPECT_EQ(page.printableHeight, 6814u);
    EXPECT_EQ(page.pageWidth, 4960u);
    EXPECT_EQ(page.copies, 1u);

    Put(&record, 104, static_cast<uint32_t>(-3));
    FBPageSetInfo(&page, record, 1);
    EXPECT_EQ(page.copies, 1u);
    Put(&record, 104, 70000);
    FBPageSetInfo(&page, record, 1);
    EXPECT_EQ(page.copies, 65535u);

    // Sizes the page header could not carry are not believed either.
    Put(&record, 88, 8);
    Put(&record, 124, 1200);
    Put(&record, 204, 40000);
    Put(&record, 208, 5000);
    FBPageSetInfo(&page, record, 1);
    EXPECT_EQ(page.printableWidth, 13628u);  // A3 at 1200: 3407 * 4
    EXPECT_EQ(page.printableHeight, 19440u);
    Put(&record, 204, 0x7FFF);
    FBPageSetInfo(&page, record, 1);
    EXPECT_EQ(page.printableWidth, 0x7FFFu);
    EXPECT_EQ(page.printableHeight, 5000u);
}

TEST(InitializeSettings, TakesEveryFieldFromItsOffset) {
    const FBInterface record = SampleRecord();
    FBSettings s;
    s.retIndex = 9;
    ASSERT_EQ(InitializeSettings(&s, kDocOptLandscapeScale | kDocOptScaleNoEnlarge, record), 1);
    EXPECT_EQ(s.colourIndex, 1u);
    EXPECT_EQ(s.paperTypeIndex, 2u);
    EXPECT_EQ(s.timeout, 45u);
    EXPECT_EQ(s.jamRecoveryIndex, 0u);
    EXPECT_EQ(s.densityIndex, 1u);
    EXPECT_EQ(s.economyIndex, 2u);
    EXPECT_EQ(s.powerSaveTime, 30u);
    EXPECT_EQ(s.retIndex, 0u);
    EXPECT_EQ(s.reprintIndex, 1u);
    EXPECT_EQ(s.altitudeIndex, 1u);
    EXPECT_EQ(s.duplexType, 0u);
    EXPECT_EQ(s.watermarkFirstPageOnly, 1u);
    EXPECT_EQ(s.scale, 150u);
    EXPECT_EQ(s.landscapeScale, 1u);
    EXPECT_EQ(s.scaleNoEnlarge, 1u);
    EXPECT_EQ(s.overlayPath[0], u'\0');

    InitializeSettings(&s, 0, record);
    EXPECT_EQ(s.landscapeScale, 0u);
    EXPECT_EQ(s.scaleNoEnlarge, 0u);
}

TEST(InitializeSettings, DuplexTypeRules) {
    const FBInterface record = SampleRecord();  // binding 4
    FBSettings s;
    const struct {
        uint32_t options;
        uint32_t duplexType;
    } cases[] = {
        {0, 0},
        {kDocOptDuplex, 4},
        {kDocOptBookletActive | kDocOptDuplex, 2},
        {kDocOptPoster | kDocOptBookletActive | kDocOptDuplex, 3},
        {kDocOptDuplexRequest, 0},  // not yet turned into duplex by job finishing
    };
    for (const auto& c : cases) {
        InitializeSettings(&s, c.options, record);
        EXPECT_EQ(s.duplexType, c.duplexType) << "options " << std::hex << c.options;
    }
    FBInterface mono = record;
    Put(&mono, 188, 0);
    Put(&mono, 1352, 1);
    InitializeSettings(&s, kDocOptDuplex, mono);
    EXPECT_EQ(s.duplexType, 1u);
    EXPECT_EQ(s.colourIndex, 0u);
}

TEST(InitializeSettings, OverlayPathOnlyWhenUsedAndWhole) {
    FBInterface record = SampleRecord();
    PutText(&record, 832, u"C:\\Overlays\\Letterhead.ovl");
    FBSettings s;
    InitializeSettings(&s, 0, record);
    EXPECT_EQ(s.overlayPath[0], u'\0');
    InitializeSettings(&s, kDocOptUseOverlay, record);
    EXPECT_EQ(std::u16string(s.overlayPath), u"C:\\Overlays\\Letterhead.ovl");

    // 127 characters fit with the NUL; 128 would have to be cut and are dropped.
    const std::u16string fits = u"C:\\" + std::u16string(124, u'a');
    record.SetString(kFBIOverlayPath, fits);
    InitializeSettings(&s, kDocOptUseOverlay, record);
    EXPECT_EQ(std::u16string(s.overlayPath), fits);
    record.SetString(kFBIOverlayPath, fits + u"b");
    InitializeSettings(&s, kDocOptUseOverlay, record);
    EXPECT_EQ(s.overlayPath[0], u'\0');
}

}  // namespace
