// Spooled input that once broke the library, and ordinary jobs that the
// spooler fuzzer starts from: every script in tests/data/malformed/spooler
// (the script language of fuzz/spooler_script.h) is played through the
// spooler entry points onto a test printer, and what the printer received
// must be a well-formed printer stream. The ordinary jobs also have to print
// what they draw.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "pipeline/own_module.h"
#include "spooler_script.h"
#include "support/library_paths.h"
#include "support/temp_folder.h"
#include "support/test_printer.h"
#include "sys/files.h"

namespace {

sys::WString CorpusFolder() { return zebl_test::HostPath(ZEBL_SPOOLER_CORPUS); }

// The scripts of the corpus, by name (the seed generator is not one).
std::vector<std::string> CorpusScripts() {
    std::vector<std::string> names;
    for (const sys::DirEntry& entry : sys::ListDirectory(CorpusFolder() + u"/*")) {
        const std::string name = sys::Narrow(entry.name);
        if (entry.attributes & sys::kAttrDirectory) continue;
        if (name.size() > 3 && name.compare(name.size() - 3, 3, ".py") == 0) continue;
        names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

class MalformedInput : public zebl_test::TempFolderTest {
protected:
    void SetUp() override { fbOverrideOwnModulePath(zebl_test::LibraryBesideStandIns()); }
    void TearDown() override { fbOverrideOwnModulePath(u""); }

    // Natively the scripts also get the failing printers; under Wine they
    // print on the sound one.
    SpoolScriptRun Play(const std::string& name) {
        const std::vector<uint8_t> script =
            zebl_test::ReadWholeFile(CorpusFolder() + u"/" + sys::Widen(name));
        EXPECT_FALSE(script.empty()) << name;
        zebl_test::TestPrinter printer(temp_);
        EXPECT_TRUE(printer.Ready());
        SpoolScriptPrinter target{printer.Name(), printer.OutputPath(), temp_.Join(u"overlay.ovl")};
        std::unique_ptr<zebl_test::TestPrinter> failing, retrying;
        if (zebl_test::TestPrinter::FaultsSupported()) {
            zebl_test::PrinterFaults refuses;
            refuses.failAfterBytes = 1000;
            refuses.failError = 5;  // access denied: the port is gone for good
            failing = std::make_unique<zebl_test::TestPrinter>(temp_, refuses);
            zebl_test::PrinterFaults busy;
            busy.failAfterBytes = 300;
            busy.failError = 87;  // invalid parameter: a busy port, retried
            busy.failCount = 2;
            retrying = std::make_unique<zebl_test::TestPrinter>(temp_, busy);
            target.failingPrinterName = failing->Name();
            target.retryingPrinterName = retrying->Name();
            target.ownOutputFile = printer.OutputPath();
        }
        SpoolScriptRun run = PlaySpoolScript(script.data(), script.size(), target);
        EXPECT_TRUE(run.printerReady) << name;
        return run;
    }

    static uint64_t Dots(const DecodedPage& page, uint8_t planeId) { return page.Plane(planeId).dots; }
};

TEST_F(MalformedInput, EveryScriptOfTheCorpusPrintsAWellFormedStream) {
    const std::vector<std::string> names = CorpusScripts();
    // The seeds alone are eighteen; an empty list means a missing folder.
    ASSERT_GE(names.size(), 18u) << sys::Narrow(CorpusFolder());
    for (const std::string& name : names) {
        const SpoolScriptRun run = Play(name);
        EXPECT_TRUE(run.StreamAsRequired()) << name << ": " << run.error;
    }
}

// ---- The ordinary jobs print what they draw ---------------------------------------

TEST_F(MalformedInput, GreyBoxesPrintTheirDotsInBlack) {
    // A 320 x 320 dot page at 300 dpi with two black boxes: rows 40..71 x
    // columns 40..119 (32 x 80) and rows 160..167 x columns 20..179 (8 x 160).
    const SpoolScriptRun run = Play("seed_grey_boxes");
    ASSERT_TRUE(run.decoded) << run.error;
    ASSERT_EQ(run.job.pages.size(), 1u);
    const DecodedPage& page = run.job.pages[0];
    EXPECT_EQ(page.header.resolutionCode, 3u);
    EXPECT_EQ(Dots(page, 4), 32u * 80 + 8u * 160);
    for (uint8_t plane = 1; plane <= 3; ++plane) EXPECT_EQ(Dots(page, plane), 0u);
}

TEST_F(MalformedInput, ColourJobPrintsInkInEveryColourPlane) {
    const SpoolScriptRun run = Play("seed_colour_brush");
    ASSERT_TRUE(run.decoded) << run.error;
    ASSERT_EQ(run.job.pages.size(), 1u);
    for (uint8_t plane = 1; plane <= 3; ++plane) EXPECT_GT(Dots(run.job.pages[0], plane), 0u) << int(plane);
}

TEST_F(MalformedInput, PosterOfTwoByTwoTilesPrintsFourSheets) {
    const SpoolScriptRun run = Play("seed_poster_2x2");
    ASSERT_TRUE(run.decoded) << run.error;
    ASSERT_EQ(run.job.pages.size(), 4u);
    uint64_t dots = 0;
    for (const DecodedPage& page : run.job.pages) dots += Dots(page, 4);
    // The page drawn at 200 %: each box twice as high and wide, the four
    // tiles of 320 x 320 dots share the enlarged page without overlap.
    EXPECT_EQ(dots, 4u * (32u * 80 + 8u * 160));
}

TEST_F(MalformedInput, CollatedDuplexCopiesRepeatThreePagesAndABlankSheetSide) {
    // Two collated copies, duplex on the long edge: pages 1-3 and a blank
    // page that makes the copy end on a whole sheet, then all four again.
    const SpoolScriptRun run = Play("seed_collated_duplex");
    ASSERT_TRUE(run.decoded) << run.error;
    ASSERT_EQ(run.job.pages.size(), 8u);
    EXPECT_EQ(Dots(run.job.pages[3], 4), 0u);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(Dots(run.job.pages[i], 4), Dots(run.job.pages[i + 4], 4)) << i;
}

TEST_F(MalformedInput, RawBoxAfterAnAbortStillPrintsAndCallsAfterEndDocDoNothing) {
    // A raw buffer: black with ROP 0xF0, DL_BOX8 of 10 x 10 at the origin,
    // then two spans of no width; abort, the page's end, the document's end
    // and a stray page end.
    const SpoolScriptRun run = Play("seed_raw_abort");
    ASSERT_TRUE(run.decoded) << run.error;
    ASSERT_EQ(run.job.pages.size(), 1u);
    EXPECT_EQ(Dots(run.job.pages[0], 4), 100u);
}

TEST_F(MalformedInput, BusyPrinterAndOwnPrinterHandleStillGetTheWholePage) {
    // Natively: a printer that refuses the first writes as busy (the library
    // retries them), and no spooler handle (the library opens the printer
    // the record names and keeps its brackets itself).
    for (const char* name : {"seed_busy_printer", "seed_own_printer_handle"}) {
        const SpoolScriptRun run = Play(name);
        ASSERT_TRUE(run.decoded) << name << ": " << run.error;
        ASSERT_EQ(run.job.pages.size(), 1u) << name;
        EXPECT_EQ(Dots(run.job.pages[0], 4), 32u * 80 + 8u * 160) << name;
    }
}

TEST_F(MalformedInput, RawStartOfPageRecordChangesTheSettingsOfTheNextPage) {
    // A grey 320 x 320 page at 300 dpi, then a start-of-page record of raw
    // bytes: colour, 600 dpi, 400 x 300 dots.
    const SpoolScriptRun run = Play("seed_raw_settings_record");
    ASSERT_TRUE(run.decoded) << run.error;
    ASSERT_EQ(run.job.pages.size(), 2u);
    EXPECT_EQ(run.job.pages[0].header.resolutionCode, 3u);
    EXPECT_EQ(run.job.pages[0].header.width, 320u);
    EXPECT_EQ(run.job.pages[1].header.resolutionCode, 6u);
    EXPECT_EQ(run.job.pages[1].header.width, 400u);
    EXPECT_GT(Dots(run.job.pages[1], 1), 0u);
}

TEST_F(MalformedInput, OverlayFilePrintsUnderThePage) {
    // The overlay draws a black 30 x 30 box at row 100, column 100 besides
    // the page's own 3840 dots.
    const SpoolScriptRun run = Play("seed_overlay");
    ASSERT_TRUE(run.decoded) << run.error;
    ASSERT_EQ(run.job.pages.size(), 1u);
    EXPECT_EQ(Dots(run.job.pages[0], 4), 3840u + 30u * 30);
}

}  // namespace
