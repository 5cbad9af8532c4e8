// The colour module bridge with the stand-in Tzqr4CM.DLL: loading and use
// counting, the error boxes, the settings words, when tables are rebuilt,
// and the conversion of key colours into ink whiteness.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "pipeline/colour_module.h"
#include "pipeline/module_error_box.h"
#include "support/answer_script.h"
#include "support/file_bytes.h"
#include "support/library_paths.h"
#include "support/temp_folder.h"
#include "sys/diagnostics.h"
#include "sys/last_error.h"

namespace {

using zebl_test::AnswerScript;
using zebl_test::LibraryBesideStandIns;
using zebl_test::StandInFolder;

constexpr char kCaption[] = "Fast Color Conversion interface error";
constexpr uint32_t kErrorBoxStyle = 0x1010;  // MB_ICONERROR | MB_SYSTEMMODAL

// The one error box the colour module showed: its caption, style and text.
void ExpectOneErrorBox(const AnswerScript& answers, const std::string& text) {
    const auto questions = answers.Questions();
    ASSERT_EQ(1u, questions.size());
    EXPECT_EQ(kCaption, questions[0].caption);
    EXPECT_EQ(text, questions[0].text);
    EXPECT_EQ(kErrorBoxStyle, questions[0].style);
}

FBInterface ColourRecord() {
    FBInterface record;
    record.SetUInt(kFBIColour, 1);
    record.SetUInt(kFBIOutputResolution, 600);
    record.SetUInt(kFBIPaperType, 12);
    return record;
}

uint32_t TableBuilds() {
    using Count = uint32_t(ZEBL_STDCALL*)();
    auto count = reinterpret_cast<Count>(sys::GetProcAddress(SC_ModuleHandle(), "StandIn_TableBuildCount"));
    return count ? count() : 0xFFFFFFFFu;
}

// Converts one pixel through an initialised converter.
uint32_t Convert(CMMConverter* converter, uint32_t pixel) {
    EXPECT_EQ(1, CMMConvert(converter, &pixel, 1, 32));
    return pixel;
}

class ColourModuleTest : public ::testing::Test {
protected:
    void TearDown() override { EXPECT_EQ(0u, SC_UseCount()) << "a test left the module loaded"; }
};

TEST_F(ColourModuleTest, ErrorTextsFollowTheLastError) {
    EXPECT_EQ(u"Can't load color conversion library",
              ModuleErrorText("Can't load color conversion library", 0));
    EXPECT_EQ(u"Can't load color conversion library (code 2)\n" + sys::Widen(sys::ErrorText(2)),
              ModuleErrorText("Can't load color conversion library", 2));
    // A code the system has no text for.
    EXPECT_EQ(u"Can't load color conversion library (code 1193046)",
              ModuleErrorText("Can't load color conversion library", 0x123456));
}

TEST_F(ColourModuleTest, InitialisationIsCountedAndTheLastShutDownUnloads) {
    ASSERT_EQ(1, SC_Initialize(LibraryBesideStandIns(), u"UM.DLL", u"CM.DLL"));
    const sys::ModuleHandle loaded = SC_ModuleHandle();
    ASSERT_NE(nullptr, loaded);
    ASSERT_EQ(1, SC_Initialize(u"C:\\elsewhere\\Other.exe", u"UM.DLL", u"CM.DLL"))
        << "a second use neither loads nor checks a name";
    EXPECT_EQ(2u, SC_UseCount());
    EXPECT_EQ(loaded, SC_ModuleHandle());
    SC_ShutDown();
    EXPECT_EQ(1u, SC_UseCount());
    EXPECT_EQ(loaded, SC_ModuleHandle());
    SC_ShutDown();
    EXPECT_EQ(0u, SC_UseCount());
    EXPECT_EQ(nullptr, SC_ModuleHandle());
    SC_ShutDown();  // one too many does nothing
    EXPECT_EQ(0u, SC_UseCount());
}

TEST_F(ColourModuleTest, ModuleIsReallyUnloadedAtTheLastRelease) {
    const FBInterface record = ColourRecord();
    {
        CMMConverter converter;
        ASSERT_EQ(1, CMMInitializeFrom(&converter, record, false, LibraryBesideStandIns()));
        EXPECT_EQ(1u, TableBuilds());
    }
    CMMConverter converter;
    ASSERT_EQ(1, CMMInitializeFrom(&converter, record, false, LibraryBesideStandIns()));
    EXPECT_EQ(1u, TableBuilds()) << "a fresh copy of the module counts from zero";
}

TEST_F(ColourModuleTest, TwoDocumentsShareOneLoad) {
    const FBInterface record = ColourRecord();
    auto first = std::make_unique<CMMConverter>();
    CMMConverter second;
    ASSERT_EQ(1, CMMInitializeFrom(first.get(), record, false, LibraryBesideStandIns()));
    ASSERT_EQ(1, CMMInitializeFrom(&second, record, false, LibraryBesideStandIns()));
    EXPECT_EQ(2u, SC_UseCount());
    EXPECT_EQ(2u, TableBuilds());
    first.reset();
    EXPECT_EQ(1u, SC_UseCount());
    EXPECT_EQ(0xFFFFFFFFu, Convert(&second, 0x02FFFFFF)) << "the second still converts";
    CMMDestroy(&second);
    EXPECT_EQ(0u, SC_UseCount());
    CMMDestroy(&second);  // twice is harmless
}

TEST_F(ColourModuleTest, ModulePathIsTheLibraryPathUpperCasedWithItsSuffixReplaced) {
    AnswerScript answers;
    zebl_test::TempFolder temp;
    // Only the upper-cased name exists: found on Windows by its case-blind
    // file system, on posix by the system layer's case-blind names.
    ASSERT_TRUE(zebl_test::CopyFileBytes(StandInFolder() + u"\\Tzqr4CM.DLL", temp.Join(u"ABCDECM.DLL")));
    ASSERT_EQ(1, SC_Initialize(temp.Join(u"abcdeum.dll"), u"UM.DLL", u"CM.DLL"));
    SC_ShutDown();
    EXPECT_TRUE(answers.Questions().empty());
}

TEST_F(ColourModuleTest, NameWithoutTheLibrarySuffixIsRefusedWithABox) {
    AnswerScript answers;
    sys::SetLastError(5);  // a stale error must not reach the box
    EXPECT_EQ(0, SC_Initialize(u"C:\\Program Files\\zebl\\zebl.exe", u"UM.DLL", u"CM.DLL"));
    EXPECT_EQ(nullptr, SC_ModuleHandle());
    ExpectOneErrorBox(answers, "SC_Initialize: invalid module name suffix");
}

TEST_F(ColourModuleTest, MissingModuleIsReportedAndTheDocumentGoesOnWithoutIt) {
    AnswerScript answers;
    zebl_test::TempFolder temp;
    CMMConverter converter;
    EXPECT_EQ(0, CMMInitializeFrom(&converter, ColourRecord(), false, temp.Join(u"Tzqr4um.dll")));
    EXPECT_EQ(0u, SC_UseCount());
    uint32_t pixel = 0x0200FFFF;
    EXPECT_EQ(0, CMMConvert(&converter, &pixel, 1, 32));
    EXPECT_EQ(0x0200FFFFu, pixel) << "no module: the band is left to the caller's fallback";
    EXPECT_EQ(0, CMMReset(&converter, ColourRecord(), false));
    EXPECT_EQ(0, CMMResetPage(&converter, 1, 1200));
    ExpectOneErrorBox(answers, "Can't load color conversion library (code 126)\n" + sys::ErrorText(126));
}

TEST_F(ColourModuleTest, ModuleLackingARoutineIsRefusedAndUnloaded) {
    AnswerScript answers;
    zebl_test::TempFolder temp;
    // The utilities stand-in is a module, but not a colour module.
    ASSERT_TRUE(zebl_test::CopyFileBytes(StandInFolder() + u"\\Tzqr4SU.DLL", temp.Join(u"XXXXXCM.DLL")));
    EXPECT_EQ(0, SC_Initialize(temp.Join(u"XXXXXum.dll"), u"UM.DLL", u"CM.DLL"));
    EXPECT_EQ(0u, SC_UseCount());
    EXPECT_EQ(nullptr, SC_ModuleHandle());
    ExpectOneErrorBox(answers,
                      "Can't find a routine in color conversion library (code 127)\n" + sys::ErrorText(127));
}

TEST_F(ColourModuleTest, SettingsWordsComeFromTheirRecordFields) {
    // Each field holds its own offset, so a word read from the wrong field shows.
    FBInterface record;
    const uint32_t offsets[] = {188,  1648, 216,  164,  180,  1612, 1616, 1644, 1620,
                                1624, 1628, 1652, 1660, 1664, 1668, 1672, 1656};
    for (uint32_t offset : offsets) record.SetUInt(offset, offset);
    const auto words = CMMSettingsWords(record, true);
    for (uint32_t i = 0; i < kCMMSettingsWords; ++i) EXPECT_EQ(offsets[i], words[i]) << "word " << i;

    record.SetUInt(kFBIPaperType, 12);
    EXPECT_EQ(64u, CMMSettingsWords(record, true)[2]) << "plain paper in duplex";
    EXPECT_EQ(12u, CMMSettingsWords(record, false)[2]);
    record.SetUInt(kFBIPaperType, 13);
    EXPECT_EQ(13u, CMMSettingsWords(record, true)[2]);
}

TEST_F(ColourModuleTest, TablesAreRebuiltOnlyWhenASettingsWordChanges) {
    FBInterface record = ColourRecord();
    CMMConverter converter;
    ASSERT_EQ(1, CMMInitializeFrom(&converter, record, false, LibraryBesideStandIns()));
    EXPECT_EQ(12u, converter.block.words[kCMMWordPaperType]);
    EXPECT_EQ(1u, TableBuilds());

    EXPECT_EQ(1, CMMReset(&converter, record, false));
    EXPECT_EQ(1u, TableBuilds()) << "same record, same tables";
    EXPECT_EQ(1, CMMResetPage(&converter, 1, 600));
    EXPECT_EQ(1u, TableBuilds()) << "same page colour and resolution";

    record.SetUInt(kFBIColourSetting1648, 7);
    EXPECT_EQ(1, CMMReset(&converter, record, false));
    EXPECT_EQ(2u, TableBuilds());
    EXPECT_EQ(7u, converter.block.words[1]);

    EXPECT_EQ(1, CMMReset(&converter, record, true));
    EXPECT_EQ(3u, TableBuilds()) << "duplex turns paper type 12 into 64";
    EXPECT_EQ(64u, converter.block.words[kCMMWordPaperType]);

    EXPECT_EQ(1, CMMResetPage(&converter, 1, 1200));
    EXPECT_EQ(4u, TableBuilds());
    EXPECT_EQ(1200u, converter.block.words[kCMMWordOutputResolution]);
    EXPECT_EQ(0xFFFFFFFFu, Convert(&converter, 0xFFFFFFFF)) << "still converting after rebuilds";
}

TEST_F(ColourModuleTest, KeyColoursBecomeTheExpectedInks) {
    CMMConverter converter;
    ASSERT_EQ(1, CMMInitializeFrom(&converter, ColourRecord(), false, LibraryBesideStandIns()));
    // Output bytes: 0 yellow, 1 magenta, 2 cyan, 3 black; 0xFF = no ink.
    EXPECT_EQ(0xFFFFFFFFu, Convert(&converter, 0xFFFFFFFF)) << "cleared band";
    EXPECT_EQ(0xFFFFFFFFu, Convert(&converter, 0x02FFFFFF)) << "white fill";
    EXPECT_EQ(0xFFFFFFFFu, Convert(&converter, 0x01FFFFFF)) << "white text";
    EXPECT_EQ(0x00FFFFFFu, Convert(&converter, 0x02000000)) << "black: black toner only";
    EXPECT_EQ(0x00FFFFFFu, Convert(&converter, 0x01000000)) << "black text";
    EXPECT_EQ(0xFF00FFFFu, Convert(&converter, 0x0200FFFF)) << "cyan";
    EXPECT_EQ(0xFFFF00FFu, Convert(&converter, 0x02FF00FF)) << "magenta";
    EXPECT_EQ(0xFFFFFF00u, Convert(&converter, 0x02FFFF00)) << "yellow";
    EXPECT_EQ(0xFFFF0000u, Convert(&converter, 0x02FF0000)) << "red: magenta and yellow";
    EXPECT_EQ(0xFF0000FFu, Convert(&converter, 0x020000FF)) << "blue: cyan and magenta";
    // Grey 0x80: inks 127 each; black (127 * 127 + 127) / 255 = 63, half of
    // it (31) taken from each colour leaves 96 (whiteness 159 = 0x9F); black
    // whiteness 255 - 63 = 0xC0.
    EXPECT_EQ(0xC09F9F9Fu, Convert(&converter, 0x02808080));
    // Dark blue-grey 0x203040: inks C 223, M 207, Y 191; grey 191 gives black
    // (191 * 191 + 127) / 255 = 143 and removal 71: C 152, M 136, Y 120 ->
    // whiteness 0x67, 0x77, 0x87; black whiteness 112 = 0x70.
    EXPECT_EQ(0x70677787u, Convert(&converter, 0x02203040));
    EXPECT_EQ(0x80FFFFFFu, Convert(&converter, 0x01808080)) << "grey text: black toner only";
}

// A band converts pixel runs of every length a pair at a time: each pixel
// must take the inks it takes alone, at odd and even positions alike.
TEST_F(ColourModuleTest, RunsConvertInBulkAsPixelByPixel) {
    CMMConverter converter;
    ASSERT_EQ(1, CMMInitializeFrom(&converter, ColourRecord(), false, LibraryBesideStandIns()));
    const uint32_t colours[] = {0xFFFFFFFF, 0x02203040, 0x01000000, 0x02808080, 0x0200FFFF, 0x02FFFFFF};
    std::vector<uint32_t> band;
    for (uint32_t length = 1; length <= 7; ++length)
        for (const uint32_t colour : colours) band.insert(band.end(), length, colour);
    band.push_back(0x02203040);  // an odd count: the last pixel alone
    std::vector<uint32_t> converted = band;
    ASSERT_EQ(1, CMMConvert(&converter, converted.data(), static_cast<uint32_t>(converted.size()), 32));
    for (size_t i = 0; i < band.size(); ++i)
        ASSERT_EQ(converted[i], Convert(&converter, band[i])) << "pixel " << i << " " << std::hex << band[i];
}

TEST_F(ColourModuleTest, GreyRampDarkensSteadily) {
    CMMConverter converter;
    ASSERT_EQ(1, CMMInitializeFrom(&converter, ColourRecord(), false, LibraryBesideStandIns()));
    std::vector<uint32_t> ramp;
    for (uint32_t level = 256; level-- > 0;) ramp.push_back(0x02000000 | level * 0x010101);
    ASSERT_EQ(1, CMMConvert(&converter, ramp.data(), static_cast<uint32_t>(ramp.size()), 32));
    double lastCover = -1;
    uint32_t lastBlack = 0;
    uint32_t lastColour = 0;
    for (size_t i = 0; i < ramp.size(); ++i) {
        const uint32_t pixel = ramp[i];
        const uint32_t yellow = pixel & 0xFF, magenta = (pixel >> 8) & 0xFF, cyan = (pixel >> 16) & 0xFF;
        const uint32_t black = 255 - (pixel >> 24);
        EXPECT_TRUE(yellow == magenta && magenta == cyan) << "a grey stays neutral at step " << i;
        EXPECT_GE(black, lastBlack) << "black ink never drops, step " << i;
        if (i + 1 < ramp.size()) {  // full black alone drops its colour inks
            EXPECT_GE(255 - cyan, lastColour) << "colour ink never drops, step " << i;
            lastColour = 255 - cyan;
        }
        // Paper left uncovered by independent dots of the four inks.
        const double uncovered =
            (yellow / 255.0) * (magenta / 255.0) * (cyan / 255.0) * ((255 - black) / 255.0);
        EXPECT_GE(1 - uncovered, lastCover - 1e-9) << "darker grey, more cover, step " << i;
        lastCover = 1 - uncovered;
        lastBlack = black;
    }
    EXPECT_EQ(0xFFFFFFFFu, ramp.front());
    EXPECT_EQ(0x00FFFFFFu, ramp.back());
}

TEST_F(ColourModuleTest, GreyPagesAreLeftAloneAndDepthMismatchesRefused) {
    FBInterface record = ColourRecord();
    record.SetUInt(kFBIColour, 0);
    CMMConverter converter;
    ASSERT_EQ(1, CMMInitializeFrom(&converter, record, false, LibraryBesideStandIns()));
    EXPECT_EQ(0u, TableBuilds()) << "a grey page needs no tables";
    uint8_t grey[8] = {0, 1, 127, 128, 200, 254, 255, 9};
    const std::vector<uint8_t> before(grey, grey + 8);
    EXPECT_EQ(1, CMMConvert(&converter, grey, 8, 8));
    EXPECT_EQ(before, std::vector<uint8_t>(grey, grey + 8));
    uint32_t colourPixels[2] = {0x02000000, 0x0200FFFF};
    EXPECT_EQ(0, CMMConvert(&converter, colourPixels, 2, 32)) << "a colour band on a grey block";
    EXPECT_EQ(0x02000000u, colourPixels[0]);

    // The page turns colour: tables appear, and the grey band is refused.
    EXPECT_EQ(1, CMMResetPage(&converter, 1, 600));
    EXPECT_EQ(1u, TableBuilds());
    EXPECT_EQ(0, CMMConvert(&converter, grey, 2, 8)) << "a grey band on a colour block";
    EXPECT_EQ(0x00FFFFFFu, Convert(&converter, 0x02000000));
    EXPECT_EQ(0, CMMConvert(&converter, nullptr, 4, 32));
    EXPECT_EQ(0, CMMConvert(nullptr, colourPixels, 2, 32));
}

TEST_F(ColourModuleTest, BlackOnlyFallbackPrintsLuminanceWithBlackToner) {
    uint32_t pixels[] = {0xFFFFFFFF, 0x02FFFFFF, 0x02000000, 0x01000000, 0x02808080, 0x02FF0000, 0x0200FF00};
    CMMConvertBlackOnly(pixels, 7);
    EXPECT_EQ(0xFFFFFFFFu, pixels[0]);
    EXPECT_EQ(0xFFFFFFFFu, pixels[1]);
    EXPECT_EQ(0x00FFFFFFu, pixels[2]);
    EXPECT_EQ(0x00FFFFFFu, pixels[3]);
    EXPECT_EQ(0x80FFFFFFu, pixels[4]);  // (256 * 128 + 128) >> 8 = 128
    EXPECT_EQ(0x4DFFFFFFu, pixels[5]);  // red: (77 * 255 + 128) >> 8 = 77
    EXPECT_EQ(0x95FFFFFFu, pixels[6]);  // green: (150 * 255 + 128) >> 8 = 149
}

}  // namespace
