// The shared formats as data: the opcode table, the settings-record layout,
// the colour block and the sizes that encoders and readers both derive from
// them, against values worked out by hand from the formats. A wrong entry
// here would make every user agree with it, so it is checked on its own.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <set>
#include <vector>

#include "formats/colour_codes.h"
#include "formats/display_list.h"
#include "formats/settings_record.h"

namespace {

struct OpcodeEntry {
    uint8_t value;
    int operandSize;
};

std::vector<OpcodeEntry> OpcodeTable() {
    std::vector<OpcodeEntry> table;
#define ZEBL_OPCODE_ENTRY(value, id, name, size) table.push_back({value, size});
    DL_OPCODE_TABLE(ZEBL_OPCODE_ENTRY)
#undef ZEBL_OPCODE_ENTRY
    return table;
}

TEST(DisplayListFormat, EveryOpcodeHasOneEntryAndASizeRule) {
    std::set<uint8_t> values;
    for (const OpcodeEntry& entry : OpcodeTable()) {
        EXPECT_TRUE(values.insert(entry.value).second) << "opcode " << int{entry.value} << " twice";
        EXPECT_TRUE(entry.operandSize == kDLVariable || (entry.operandSize >= 0 && entry.operandSize <= 12))
            << "opcode " << int{entry.value};
    }
    EXPECT_EQ(values.size(), 41u);
}

TEST(DisplayListFormat, RowsOfMasksAndImagesArePaddedToWholeWords) {
    EXPECT_EQ(MaskStride(1), 4u);
    EXPECT_EQ(MaskStride(32), 4u);
    EXPECT_EQ(MaskStride(33), 8u);
    EXPECT_EQ(DLImageRowBytes(33, 1), 8u);
    EXPECT_EQ(DLImageRowBytes(9, 4), 8u);  // 36 bits
    EXPECT_EQ(DLImageRowBytes(5, 8), 8u);
    EXPECT_EQ(DLImageRowBytes(3, 24), 12u);  // B, G, R, 0 each
    EXPECT_EQ(DLImageRowBytes(3, 16), 0u);
    EXPECT_EQ(kDLBrushPatternBytes, 32u * 32u / 8u);
}

TEST(ColourCodes, SolidColoursCarryRedInTheLowByte) {
    EXPECT_EQ(SolidColourCode(0x11, 0x22, 0x33), 0x81332211u);
    EXPECT_EQ(SolidColourCode(0, 0, 0), kColourCodeSolidBlack);
    EXPECT_EQ(SolidColourCode(255, 255, 255), kColourCodeSolidWhite);
    EXPECT_EQ(HatchColourCode(5), 0x85000005u);
    EXPECT_EQ(DownloadedBrushCode(254), 0x910000FEu);
}

// Every field the library reads lies inside the record, whole, on a word
// boundary, and no text field runs into a number field or another text.
TEST(SettingsRecord, FieldsLieInsideTheRecordAndDoNotOverlap) {
    EXPECT_EQ(kFBInterfaceSize, 419u * 4u);
    const std::array<uint32_t, 27> numbers = {kFBIOrientation,
                                              kFBIPaperSize,
                                              kFBICopies,
                                              kFBIResolution,
                                              kFBICollate,
                                              kFBIColourSetting164,
                                              kFBICommandFlags,
                                              kFBIOutputResolution,
                                              kFBIColour,
                                              kFBIRotate180,
                                              kFBIPrintableWidth,
                                              kFBIPrintableHeight,
                                              kFBIPaperSource,
                                              kFBIPaperType,
                                              kFBIEconomy,
                                              kFBIDensity,
                                              kFBITimeout,
                                              kFBIDocOptions,
                                              kFBIScale,
                                              kFBIPagesPerSheet,
                                              kFBIPosterTiles,
                                              kFBIPosterOverlap,
                                              kFBIDuplexBinding,
                                              kFBIPageOrder,
                                              kFBIWatermarkFirstPageOnly,
                                              kFBIColourSetting1612,
                                              kFBIColourSetting1672};
    for (uint32_t offset : numbers) {
        EXPECT_EQ(offset % 4, 0u) << offset;
        EXPECT_LE(offset + 4, kFBInterfaceSize) << offset;
    }
    const std::array<FBIStringField, 3> texts = {kFBIPrinterName, kFBIPortName, kFBIOverlayPath};
    for (const FBIStringField& text : texts) {
        const uint32_t end = text.offset + 2 * text.units;
        EXPECT_LE(end, kFBInterfaceSize) << text.offset;
        for (uint32_t offset : numbers)
            EXPECT_TRUE(offset + 4 <= text.offset || offset >= end)
                << offset << " in text at " << text.offset;
        for (const FBIStringField& other : texts) {
            if (other.offset == text.offset) continue;
            EXPECT_TRUE(other.offset >= end || other.offset + 2 * other.units <= text.offset);
        }
    }
}

}  // namespace
