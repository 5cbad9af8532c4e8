// Scenes: lines turn into the records worked out by hand, settings reach
// each page's record, and bad lines are reported with their line number.
#include "job/scene.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <tuple>

#include "formats/display_list.h"
#include "image/pnm.h"
#include "job/file_bytes.h"
#include "support/temp_folder.h"

namespace {

using Bytes = std::vector<uint8_t>;

SpoolJob Compose(const std::string& text, const SceneOptions& options = {}) {
    SpoolJob job;
    std::string error;
    EXPECT_TRUE(ComposeScene(text, options, &job, &error)) << error;
    return job;
}

std::string ErrorOf(const std::string& text, const SceneOptions& options = {}) {
    SpoolJob job;
    std::string error;
    EXPECT_FALSE(ComposeScene(text, options, &job, &error)) << text;
    return error;
}

// The display-list bytes of every buffer of page `page` (1-based), tags removed.
Bytes PageList(const SpoolJob& job, int page) {
    Bytes list;
    int current = 0;
    for (const SpoolRecord& r : job.records) {
        if (r.call == SpoolCall::StartPage) ++current;
        if (current == page && r.call == SpoolCall::WritePrinter && r.data.size() != 1676)
            list.insert(list.end(), r.data.begin() + 4, r.data.end());
    }
    return list;
}

// The settings record that starts page `page`.
Bytes PageRecord(const SpoolJob& job, int page) {
    int current = 0;
    for (size_t i = 0; i + 1 < job.records.size(); ++i) {
        if (job.records[i].call == SpoolCall::StartPage && ++current == page) return job.records[i + 1].data;
    }
    return {};
}

uint32_t Field(const Bytes& record, size_t offset) {
    return uint32_t{record.at(offset)} | uint32_t{record.at(offset + 1)} << 8 |
           uint32_t{record.at(offset + 2)} << 16 | uint32_t{record.at(offset + 3)} << 24;
}

TEST(Scene, BoxesAndTextBecomeTheRecordsWorkedOutByHand) {
    const SpoolJob job = Compose(
        "resolution 300\n"
        "page\n"
        "box 10 20 30 40     # first box\n"
        "box 10 30 30 40\n"
        "grey 128\n"
        "text 100 20 1 \"A\"\n");
    const Bytes expected = {
        0x60, 20,   0,                                                     // DL_SET_ROW 20
        0x62, 10,   0,                                                     // DL_SET_COL 10
        0x75, 0xF0, 0x00, 0x00, 0x00, 0x81,                                // ROP 0xF0 with black
        0x53, 40,   30,                                                    // DL_BOX8 40 rows, 30 wide
        0x61, 10,                                                          // DL_MOVE_ROW +10
        0x53, 40,   30,   0x61, 0xF6,                                      // DL_MOVE_ROW -10
        0x63, 90,                                                          // DL_MOVE_COL +90
        0x75, 0xB8, 0x80, 0x80, 0x80, 0x81,                                // ROP 0xB8 with grey 128
        0x05, 0,    0,    0,    0,    7,    0,    5, 0,    0, 0,    0, 0,  // DL_GLYPH 7 rows, 5 wide
        0x70, 0,    0,    0,    0x88, 0,    0,    0, 0x88, 0, 0,    0, 0xF8, 0,
        0,    0,    0x88, 0,    0,    0,    0x88, 0, 0,    0, 0x88, 0, 0,    0,
    };
    EXPECT_EQ(PageList(job, 1), expected);
}

TEST(Scene, MakesTheSpoolersCallSequence) {
    const SpoolJob job = Compose("document Two pages\npage\npage\nbox 0 0 1 1\n");
    const std::vector<SpoolCall> calls = {
        SpoolCall::StartDoc, SpoolCall::WritePrinter, SpoolCall::StartPage,    SpoolCall::WritePrinter,
        SpoolCall::EndPage,  SpoolCall::StartPage,    SpoolCall::WritePrinter, SpoolCall::WritePrinter,
        SpoolCall::EndPage,  SpoolCall::EndDoc};
    ASSERT_EQ(job.records.size(), calls.size());
    for (size_t i = 0; i < calls.size(); ++i) EXPECT_EQ(job.records[i].call, calls[i]) << i;
    EXPECT_EQ(job.records[0].data, (Bytes{'T', 'w', 'o', ' ', 'p', 'a', 'g', 'e', 's'}));
    EXPECT_EQ(Field(job.records[1].data, 176), 0x4u);
    EXPECT_EQ(Field(job.records[3].data, 176), 0x8000u);
}

TEST(Scene, SettingsApplyToTheFollowingPages) {
    const SpoolJob job = Compose(
        "paper letter\nresolution 1200\ncopies 2\ncollate on\nduplex short-edge\npage\n"
        "colour on\norientation landscape\nscale 150\nscale-without-enlarging on\npage\n"
        "poster 3 2mm\nscale 100\npage\n");
    const Bytes first = PageRecord(job, 1), second = PageRecord(job, 2), third = PageRecord(job, 3);
    EXPECT_EQ(Field(first, 88), 1u);
    EXPECT_EQ(Field(first, 124), 1200u);
    EXPECT_EQ(Field(first, 104), 2u);
    EXPECT_EQ(Field(first, 132), 1u);
    EXPECT_EQ(Field(first, 1352), 2u);
    EXPECT_EQ(Field(first, 188), 0u);
    EXPECT_EQ(Field(second, 188), 1u);
    EXPECT_EQ(Field(second, 84), 1u);
    EXPECT_EQ(Field(second, 796), 150u);
    EXPECT_EQ(Field(second, 792) & 0x10, 0x10u);
    EXPECT_EQ(Field(third, 792) & 0x4, 0x4u);
    EXPECT_EQ(Field(third, 816), 2u);    // three tiles a side
    EXPECT_EQ(Field(third, 820), 94u);   // 2 mm at 1200 dpi
    EXPECT_EQ(Field(third, 796), 100u);  // the scale given wins
    // Without a scale, a poster of N tiles enlarges N times.
    EXPECT_EQ(Field(PageRecord(Compose("poster 2\npage\n"), 1), 796), 200u);
}

TEST(Scene, NupTakesItsOrderAndBorder) {
    const SpoolJob job = Compose("nup 4 down-from-right border\npage\nnup 9\npage\nnup 2 border\npage\n");
    const Bytes first = PageRecord(job, 1), second = PageRecord(job, 2), third = PageRecord(job, 3);
    EXPECT_EQ(Field(first, 800), 4u);
    EXPECT_EQ(Field(first, 812), 3u);
    EXPECT_EQ(Field(first, 808), 1u);
    EXPECT_EQ(Field(first, 792) & 0x2, 0x2u);
    EXPECT_EQ(Field(second, 800), 9u);
    EXPECT_EQ(Field(second, 812), 0u);  // each nup line starts from the defaults
    EXPECT_EQ(Field(second, 808), 0u);
    EXPECT_EQ(Field(third, 808), 1u);
    EXPECT_EQ(ErrorOf("nup 4 sideways\npage\n").substr(0, 13), "line 1: nup: ");
    EXPECT_EQ(ErrorOf("nup 4 down border more\npage\n"), "line 1: nup: unexpected \"more\"");
}

TEST(Scene, LengthsTakeUnitsAtTheDocumentsResolution) {
    const SpoolJob job = Compose("resolution 600\npage\nbox 1in 0 1mm 1pt\n");
    // 1 in = 600 dots, 1 mm = 23.6 -> 24 dots, 1 pt = 8.3 -> 8 dots.
    EXPECT_EQ(PageList(job, 1),
              (Bytes{0x60, 0, 0, 0x62, 0x58, 0x02, 0x75, 0xF0, 0, 0, 0, 0x81, 0x53, 8, 24}));
}

TEST(Scene, LargeBoxesSpansAndFixedRops) {
    const SpoolJob job = Compose(
        "page\nrop 0x5A\nbox 0 0 300 2\nrop auto\nspan 5 6 9 3\nspan-step 1 -1\nvspan 5 20 4 2\n"
        "span-step 2 -2 3\n");
    const Bytes expected = {
        0x60, 0,    0,    0x62, 0,    0,    0x75, 0x5A, 0,    0, 0,    0x81,  // the fixed operation
        0x54, 2,    0,    0x2C, 0x01,  // DL_BOX16: 300 is too wide for DL_BOX8
        0x61, 6,    0x63, 5,           // to row 6, column 5
        0x64, 9,    0,                 // span end 9
        0x73, 0xF0,                    // back to the automatic operation
        0x55, 0x55, 0x55,              // three rows: R becomes 9
        0x56, 0x01, 0xFF,              // step: C 6, E 8, R 10
        0x61, 10,                      // to row 20 (from 10)
        0x63, 0xFF,                    // to column 5 (from 6)
        0x66, 4,    0,                 // height 4
        0x57, 0x57, 0x56, 2,    0xFE, 0x56, 2,    0xFE, 0x56, 2, 0xFE,  // a step repeated three times
    };
    EXPECT_EQ(PageList(job, 1), expected);
}

TEST(Scene, OtherRecords) {
    const SpoolJob job = Compose(
        "page\nhatch cross 255 0 0\nhollow\nbrush 7\ncolour-code 0x87FFFFFF\n"
        "set-scale 100 200\nwatermark begin\nwatermark end\nclip-mode 3\nline-style 2\n"
        "style-phase 5\nskip1 9\nskip4 1\norigin 0 0\nraw 01 02\npaint-path\n"
        "path fill winding 0,0 10,0 10,10\n");
    const Bytes list = PageList(job, 1);
    // The paint selects the fill's ROP (0x75 0xF0) with the colour code as
    // the scene left it.
    const Bytes expectedStart = {
        0x81, 0x04, 0,    0,    0x85, 0,    0,    0xFF, 0,    0xFF, 0xFF, 0xFF, 0,  // hatch 4, red on white
        0x82, 100,  0,    0,    0,    200,  0,    0,    0,    0x90, 0x91, 0xAF, 3, 0x74, 2, 0x76, 5,
        0,    0x58, 9,    0x83, 1,    0,    0,    0,    0x68, 0,    0,    0,    0, 0x69, 0, 0,    0,
        0,    0x01, 0x02, 0x75, 0xF0, 0xFF, 0xFF, 0xFF, 0x87, 0xA1, 0x80, 20,   0, 2,    0,
    };
    ASSERT_GE(list.size(), expectedStart.size());
    EXPECT_EQ(Bytes(list.begin(), list.begin() + static_cast<std::ptrdiff_t>(expectedStart.size())),
              expectedStart);
    // Colour codes chosen without drawing write nothing.
    EXPECT_EQ(list.size(), expectedStart.size() + 16 + 8 + 12);
}

TEST(Scene, PolylinesStartWhereMoveLeavesThePosition) {
    // DL_LINE leaves the position at its start, DL_LINE_TO moves it to its
    // end, so only `move` puts the second polyline's start at (5, 300).
    const SpoolJob job =
        Compose("page\nmove 10 300\nline-to 20 310\nline 0 310 9 9\nmove 5 300\nline-rel 1 2\n");
    const Bytes expected = {
        0x60, 0x2C, 0x01, 0x62, 10, 0,        // to row 300, column 10
        0x75, 0xF0, 0,    0,    0,  0x81,     // the fill's ROP
        0x50, 0x36, 0x01, 20,   0,            // DL_LINE_TO row 310, column 20
        0x63, 0xEC, 0x52, 9,    0,  9,    0,  // from column 0 to (9, 9); stays at (0, 310)
        0x61, 0xF6, 0x63, 5,                  // to row 300, column 5
        0x51, 2,    1,                        // DL_LINE_REL 2 rows, 1 column
    };
    EXPECT_EQ(PageList(job, 1), expected);
    EXPECT_EQ(ErrorOf("page\nmove 70000 0\n"),
              "line 2: move: does not fit the display list (positions and sizes are 0..65535 dots, "
              "steps -128..127)");
}

TEST(Scene, BuffersAndAbortGoToTheSpoolerInOrder) {
    const SpoolJob job = Compose("page\nbox 0 0 1 1\nbuffer 01020304 AA\nabort\nbox 1 1 1 1\n");
    ASSERT_EQ(job.records.size(), 10u);
    EXPECT_EQ(job.records[4].call, SpoolCall::WritePrinter);
    EXPECT_EQ(job.records[5].data, (Bytes{1, 2, 3, 4, 0xAA}));
    EXPECT_EQ(job.records[6].call, SpoolCall::Abort);
    EXPECT_EQ(job.records[7].call, SpoolCall::WritePrinter);
    // After raw bytes the pen knows nothing: positions and colour are set anew.
    EXPECT_EQ(job.records[7].data[4], 0x60);
}

TEST(Scene, GlyphBytesAndDefinedBitmaps) {
    const SpoolJob job = Compose(
        "page\nglyph 1 2 4 1 offset 2 F0000000\ndefine-bitmap 3 33 1 FFFFFFFF 80000000\n"
        "draw-bitmap 3 0 0\ndefine-bitmap 4 text 1 \"-\"\n");
    const Bytes list = PageList(job, 1);
    const Bytes expected = {
        0x60, 2,    0, 0x62, 1,    0,    0x75, 0xB8, 0,    0,    0, 0x81, 0x05, 2,    0,    0,
        0,    1,    0, 4,    0,    0,    0,    0,    0,    0xF0, 0, 0,    0,    0x01, 0,    3,
        0,    1,    0, 33,   0,    0xFF, 0xFF, 0xFF, 0xFF, 0x80, 0, 0,    0,    0x61, 0xFE, 0x63,
        0xFF, 0x40, 3, 0,    0x01, 0,    4,    0,    9,    0,    6, 0,  // "-" as a 6 x 9 bitmap: row 3 inked
    };
    ASSERT_EQ(list.size(), expected.size() + 9 * 4);
    EXPECT_EQ(Bytes(list.begin(), list.begin() + static_cast<std::ptrdiff_t>(expected.size())), expected);
    EXPECT_EQ(list[expected.size() + 3 * 4], 0xF8);
}

TEST(Scene, BrushDefinitions) {
    const SpoolJob grey = Compose(
        "page\ndefine-brush 1 pattern solid 0 0 0 255 255 255\n"
        "define-brush 2 raw checker\ndefine-brush 3 empty\n"
        "define-brush 4 format 7 0102\n");
    const Bytes list = PageList(grey, 1);
    // Pattern: format 1, slot 1, black and white palette, 128 bytes of ones.
    ASSERT_EQ(list.size(), (6u + 8 + 128) + (6 + 1024) + (6 + 128) + (6 + 2));
    EXPECT_EQ(Bytes(list.begin(), list.begin() + 14),
              (Bytes{0x02, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0}));
    EXPECT_EQ(list[14], 0xFF);
    // Raw on a grey page: 32 x 32 grey bytes; the checker starts with its set
    // colour (black) in the top-left 8 x 8 square and paper beside it.
    const size_t raw = 6 + 8 + 128;
    EXPECT_EQ(Bytes(list.begin() + raw, list.begin() + raw + 6), (Bytes{0x02, 2, 2, 0, 0, 0}));
    EXPECT_EQ(list[raw + 6], 0);
    EXPECT_EQ(list[raw + 6 + 8], 255);
    const size_t empty = raw + 6 + 1024;
    EXPECT_EQ(list[empty + 1], 0);
    EXPECT_EQ(Bytes(list.end() - 8, list.end()), (Bytes{0x02, 7, 4, 0, 0, 0, 1, 2}));

    const SpoolJob colour = Compose("colour on\npage\ndefine-brush 2 raw checker 255 255 255 10 20 30\n");
    const Bytes pixels = PageList(colour, 1);
    ASSERT_EQ(pixels.size(), 6u + 4096);
    EXPECT_EQ(Bytes(pixels.begin() + 6, pixels.begin() + 10), (Bytes{30, 20, 10, 0}));  // B, G, R, tag
}

class SceneWithFiles : public zebl_test::TempFolderTest {
protected:
    SceneOptions Options() {
        SceneOptions options;
        options.baseFolder = temp_.Path();
        return options;
    }
    void WriteImage(const char16_t* name, const Image8& image) {
        std::string error;
        ASSERT_TRUE(WriteFileBytes(temp_.Join(name), EncodePnm(image), &error)) << error;
    }
};

TEST_F(SceneWithFiles, PicturesBecomeGlyphMasks) {
    Image8 image;
    image.width = 2;
    image.height = 1;
    image.pixels = {0, 255};  // black, white
    WriteImage(u"two.pgm", image);
    const SpoolJob job = Compose("page\npicture two.pgm 0 0 width 4 threshold 128\n", Options());
    // 4 x 2 dots (the height keeps the proportions): the left half is ink.
    const Bytes expected = {0x60, 0, 0, 0x62, 0, 0, 0x75, 0xB8, 0,    0, 0, 0x81, 0x05, 0, 0, 0, 0,
                            2,    0, 4, 0,    0, 0, 0,    0,    0xC0, 0, 0, 0,    0xC0, 0, 0, 0};
    EXPECT_EQ(PageList(job, 1), expected);
}

TEST_F(SceneWithFiles, ImagesBecomeImageRecords) {
    Image8 image;
    image.width = 1;
    image.height = 1;
    image.channels = 3;
    image.pixels = {10, 20, 30};
    WriteImage(u"dot.ppm", image);
    const SpoolJob job = Compose("page\nimage dot.ppm 3 4 width 5 height 6 stretch mirror\n", Options());
    const Bytes expected = {
        0x60, 4,    0, 0x62, 3, 0, 0x75, 0xCC, 0, 0, 0,  0x81, 0x03, 0, 24,
        0,    0x02, 1, 0,    1, 0, 6,    0,    5, 0, 30, 20,   10,   0};  // B, G, R and the spare byte
    EXPECT_EQ(PageList(job, 1), expected);
}

TEST_F(SceneWithFiles, RotatedImagesAreShownTurnedUnlessSized) {
    Image8 image;
    image.width = 3;
    image.height = 1;
    image.pixels = {0, 128, 255};
    WriteImage(u"row.pgm", image);
    // +8 and +10 of a rotated image are the columns and rows on the page:
    // one column (the file's one row) and three rows; or as sized.
    for (const auto& [options, extent8, extent10] :
         {std::tuple{"rotate", 1, 3}, {"rotate width 7 height 9", 7, 9}, {"", 1, 3}}) {
        const SpoolJob job =
            Compose(std::string("page\nimage row.pgm 0 0 bits 8 ") + options + "\n", Options());
        const Bytes list = PageList(job, 1);
        const size_t record = list.size() - (12 + 1024 + 4);  // header, palette, one row
        ASSERT_EQ(list[record - 1], DL_BLT_IMAGE) << options;
        EXPECT_EQ(list[record + 3], std::string(options).empty() ? 0 : kDLImageRotated) << options;
        EXPECT_EQ(list[record + 8], extent8) << options;
        EXPECT_EQ(list[record + 10], extent10) << options;
    }
}

TEST_F(SceneWithFiles, ReportsImageFileFaults) {
    EXPECT_NE(ErrorOf("page\npicture missing.pgm 0 0\n", Options()).find("line 2: picture: cannot open"),
              std::string::npos);
    std::string error;
    ASSERT_TRUE(WriteFileBytes(temp_.Join(u"bad.pgm"), Bytes{'P', '5', ' ', '2'}, &error));
    EXPECT_EQ(ErrorOf("page\nimage bad.pgm 0 0\n", Options()).substr(0, 15), "line 2: image: ");
}

TEST(Scene, ReportsBadLinesWithTheirNumbers) {
    EXPECT_EQ(ErrorOf("frobnicate\n"), "line 1: unknown command \"frobnicate\"");
    EXPECT_EQ(ErrorOf("box 1 2 3 4\n"), "line 1: box: outside a page (start one with \"page\")");
    EXPECT_EQ(ErrorOf("colour 1 2 3\n"), "line 1: colour: outside a page (start one with \"page\")");
    EXPECT_EQ(ErrorOf("page\nbox 1 2 3\n"), "line 2: box: missing height");
    EXPECT_EQ(ErrorOf("page\n\n# comment\nbox 1 2 3 4 5\n"), "line 4: box: unexpected \"5\"");
    EXPECT_EQ(ErrorOf("resolution 450\n"),
              "line 1: resolution: resolution \"450\" is not one of 300, 600, 1200");
    EXPECT_EQ(ErrorOf("page\ntext 0 0 2 \"open\n"), "line 2: unterminated quoted text");
    EXPECT_EQ(ErrorOf("page\ncolour 300 0 0\n"), "line 2: colour: red 300 is outside 0..255");
    EXPECT_EQ(ErrorOf("page\nbox x 0 1 1\n"), "line 2: box: x must be a number, not \"x\"");
    EXPECT_EQ(ErrorOf("page\nbox 70000 0 1 1\n"),
              "line 2: box: does not fit the display list (positions and sizes are 0..65535 dots, "
              "steps -128..127)");
    EXPECT_EQ(ErrorOf("page\nglyph 0 0 8 2 FF\n"),
              "line 2: glyph: 1 bytes given, 8 needed (rows of 4-byte words)");
    EXPECT_EQ(ErrorOf("page\nraw 0G\n"), "line 2: raw: display-list bytes: \"0G\" is not hex");
    EXPECT_EQ(ErrorOf("page\ndefine-bitmap 4096 8 1 00000000\n"),
              "line 2: define-bitmap: bitmap slot 4096 is outside 0..4095");
    EXPECT_EQ(ErrorOf("page\npath fill 0,0 / \n"), "line 2: path: empty subpath");
    EXPECT_EQ(ErrorOf("page\npath fill 40000,0 0,1 1,1\n"),
              "line 2: path: a point does not fit 16 bits (use \"wide\")");
    EXPECT_EQ(ErrorOf("page\ndocument late\n"),
              "line 2: document: the document name must come before the first page");
    EXPECT_EQ(ErrorOf("page\nbox 1mmm 0 1 1\n"), "line 2: box: x must be a length, not \"1mmm\"");
    EXPECT_EQ(ErrorOf("resolution 600\n"), "the scene has no page");
    EXPECT_EQ(ErrorOf(""), "the scene has no page");
}

TEST(Scene, AcceptsCarriageReturnsAndQuotedEscapes) {
    const SpoolJob job = Compose("page\r\ntext 0 0 1 \"\\\"\"\r\n");
    const Bytes list = PageList(job, 1);
    ASSERT_FALSE(list.empty());
    EXPECT_EQ(list[12], 0x05);  // one glyph: the quote mark
}

// Scenes are typed by people: any text gives a job or an error that names
// the line, and never a crash.
TEST(Scene, SurvivesRandomlyDamagedScenes) {
    const std::string good =
        "resolution 600\ncolour on\npage\ncolour 1 2 3\nbox 1mm 2mm 3mm 4mm\n"
        "text 10 20 3 \"Hi there\"\nhatch cross 1 2 3 4 5 6\nspan 1 2 30 4\nspan-step 1 -1 5\n"
        "define-brush 1 pattern checker\nbrush 1\nvspan 5 5 5 5\nglyph 0 0 8 1 FF000000\n"
        "path fill 0,0 9,0 9,9 / 1,1 2,2 1,2\nline 1 2 3 4\nline-rel -3 4\nmove 5 6\nline-to 7 8\npage\nbox "
        "0 0 1 1\n";
    const std::string alphabet = " \n\"#0123456789-,/abcdegilmnoprstx";
    std::mt19937 random(4242);
    for (int round = 0; round < 3000; ++round) {
        std::string text = good;
        const int edits = 1 + static_cast<int>(random() % 5);
        for (int i = 0; i < edits; ++i) {
            const size_t at = random() % text.size();
            switch (random() % 3) {
                case 0: text[at] = alphabet[random() % alphabet.size()]; break;
                case 1: text.erase(at, 1 + random() % 8); break;
                default: text.insert(at, 1, alphabet[random() % alphabet.size()]); break;
            }
        }
        SpoolJob job;
        std::string error;
        if (ComposeScene(text, {}, &job, &error)) {
            EXPECT_TRUE(CheckSpoolOrder(job, &error)) << error;
        } else {
            EXPECT_TRUE(error.rfind("line ", 0) == 0 || error == "the scene has no page") << error;
        }
    }
}

}  // namespace
