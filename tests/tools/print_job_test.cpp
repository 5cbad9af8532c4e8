// The whole chain: a scene composed into a spool file, played into the
// rendering library as the spooler does, and the printer stream that comes
// out decoded and checked dot by dot: through Tzqr4um.dll loaded by name and
// through the library's entry points linked into this program, each given
// the printer handle this program opened and, once more, given no handle.
#include <gtest/gtest.h>

#include "decode/stream_decoder.h"
#include "job/job_player.h"
#include "job/scene.h"
#include "pipeline/entry_points.h"
#include "pipeline/own_module.h"
#include "support/library_paths.h"
#include "support/linked_entry_points.h"
#include "support/plane_compare.h"
#include "support/temp_folder.h"
#include "support/test_printer.h"
#include "sys/files.h"
#include "sys/paths.h"

namespace {

SpoolJob Compose(const std::string& scene) {
    SpoolJob job;
    std::string error;
    EXPECT_TRUE(ComposeScene(scene, {}, &job, &error)) << error;
    return job;
}

// A 300 dpi page: a 40 x 30 black box at (20, 10), the letter A (18 dots
// of the font) at (100, 50), and a 5 x 5 box in a second colour pass.
const char kGreyScene[] =
    "resolution 300\n"
    "page\n"
    "box 20 10 40 30\n"
    "text 100 50 1 \"A\"\n"
    "page\n"
    "box 0 0 5 5\n";

class PrintJob : public zebl_test::TempFolderTest {
protected:
    // Plays the job into a fresh test printer and decodes what it printed.
    bool Print(const SpoolJob& job, const DrvSplEntryPoints& entry, PrinterAccess access, PlayReport* report,
               DecodedJob* decoded) {
        return Print(job, entry, access, report, decoded, nullptr);
    }
    // The same, also giving the spooler calls the printer logged (where the
    // build keeps a log).
    bool Print(const SpoolJob& job, const DrvSplEntryPoints& entry, PrinterAccess access, PlayReport* report,
               DecodedJob* decoded, std::vector<std::string>* printerCalls) {
        zebl_test::TestPrinter printer(temp_);
        if (!printer.Ready()) return false;
        PlayOptions options;
        options.printerName = printer.Name();
        options.outputFile = printer.OutputPath();
        options.access = access;
        std::string error;
        EXPECT_TRUE(PlaySpoolJob(job, entry, options, report, &error)) << error;
        EXPECT_TRUE(report->Ok()) << report->Trace();
        const std::vector<uint8_t> bytes = printer.Output();
        EXPECT_TRUE(DecodeStream(bytes.data(), bytes.size(), decoded, &error)) << error;
        if (printerCalls) *printerCalls = printer.Calls();
        return !bytes.empty();
    }

    void ExpectGreyPages(const DecodedJob& decoded) {
        ASSERT_EQ(decoded.pages.size(), 2u);
        const DecodedPage& page = decoded.pages[0];
        EXPECT_EQ(page.header.resolutionCode, 3);
        EXPECT_FALSE(page.Plane(1).Allocated());
        const PagePlane& black = page.Plane(4);
        EXPECT_EQ(black.dots, 40u * 30 + 18);
        EXPECT_TRUE(black.Dot(20, 10));
        EXPECT_TRUE(black.Dot(59, 39));
        EXPECT_FALSE(black.Dot(60, 39));
        EXPECT_FALSE(black.Dot(19, 10));
        // The A's top row .###. and its bar ##### (row 3).
        EXPECT_FALSE(black.Dot(100, 50));
        EXPECT_TRUE(black.Dot(101, 50));
        EXPECT_TRUE(black.Dot(103, 50));
        EXPECT_TRUE(black.Dot(100, 53));
        EXPECT_TRUE(black.Dot(104, 53));
        EXPECT_EQ(decoded.pages[1].Plane(4).dots, 25u);
    }
};

TEST_F(PrintJob, ThroughTheLibraryLoadedByName) {
    DrvSplLibrary library;
    std::string error;
    ASSERT_TRUE(library.Load(zebl_test::LibraryBesideStandIns(), &error)) << error;
    for (PrinterAccess access : {PrinterAccess::SpoolerHandle, PrinterAccess::LibraryOpens}) {
        SCOPED_TRACE(access == PrinterAccess::SpoolerHandle ? "spooler's handle" : "library opens");
        PlayReport report;
        DecodedJob decoded;
        std::vector<std::string> calls;
        ASSERT_TRUE(Print(Compose(kGreyScene), library.EntryPoints(), access, &report, &decoded, &calls));
        EXPECT_EQ(report.pages, 2u);
        ExpectGreyPages(decoded);
        if (!zebl_test::TestPrinter::FaultsSupported()) continue;  // no call log
        // With the handle, the library writes through the one printer this
        // program opened; without it, it opens the printer a second time
        // (after the player's check that the printer exists) and starts the
        // document itself.
        const auto count = [&](const std::string& prefix) {
            int n = 0;
            for (const std::string& call : calls) n += call.rfind(prefix, 0) == 0;
            return n;
        };
        EXPECT_EQ(count("OpenPrinter"), access == PrinterAccess::SpoolerHandle ? 1 : 2);
        EXPECT_EQ(count("StartDocPrinter"), 1);
        EXPECT_EQ(count("EndDocPrinter ok"), 1);
        EXPECT_GT(count("WritePrinter"), 0);
        for (const std::string& call : calls) EXPECT_EQ(call.find(" fail"), std::string::npos) << call;
    }
}

TEST_F(PrintJob, ThroughTheEntryPointsWithTheSpoolersHandle) {
    const DrvSplEntryPoints entry = zebl_test::LinkedEntryPoints();
    for (PrinterAccess access : {PrinterAccess::SpoolerHandle, PrinterAccess::LibraryOpens}) {
        PlayReport report;
        DecodedJob decoded;
        ASSERT_TRUE(Print(Compose(kGreyScene), entry, access, &report, &decoded));
        ExpectGreyPages(decoded);
        // The spooler's side of the document only when it hands over its handle.
        bool spoolerCalls = false;
        for (const PlayedCall& call : report.calls)
            spoolerCalls = spoolerCalls || call.call == "StartDocPrinter" || call.call == "EndDocPrinter";
        EXPECT_EQ(spoolerCalls, access == PrinterAccess::SpoolerHandle);
    }
}

TEST_F(PrintJob, ColourPagesPrintTheirInks) {
    DrvSplLibrary library;
    std::string error;
    ASSERT_TRUE(library.Load(zebl_test::LibraryBesideStandIns(), &error)) << error;
    PlayReport report;
    DecodedJob decoded;
    ASSERT_TRUE(Print(Compose("resolution 300\ncolour on\npage\ncolour 255 0 0\nbox 32 32 64 64\n"),
                      library.EntryPoints(), PrinterAccess::SpoolerHandle, &report, &decoded));
    ASSERT_EQ(decoded.pages.size(), 1u);
    const DecodedPage& page = decoded.pages[0];
    // Red is magenta and yellow: no cyan in the box, and no ink outside it.
    const uint64_t cyan = zebl_test::DotsIn(page.Plane(1), 32, 32, 96, 96);
    const uint64_t magenta = zebl_test::DotsIn(page.Plane(2), 32, 32, 96, 96);
    const uint64_t yellow = zebl_test::DotsIn(page.Plane(3), 32, 32, 96, 96);
    EXPECT_EQ(cyan, 0u);
    EXPECT_GT(magenta, 64u * 64 * 9 / 10);
    EXPECT_GT(yellow, 64u * 64 * 9 / 10);
    EXPECT_EQ(page.Plane(2).dots, magenta);
    EXPECT_EQ(page.Plane(3).dots, yellow);
}

// A spool file played as it is read prints what the same job in memory
// prints, with the same calls, in both ways of reaching the printer.
TEST_F(PrintJob, AFileReadAsItPlaysPrintsAsTheJobInMemory) {
    const DrvSplEntryPoints entry = zebl_test::LinkedEntryPoints();
    const SpoolJob job = Compose(kGreyScene + std::string("page\ncolour on\nbox 1 1 30 30\n"));
    const sys::WString spool = temp_.Join(u"job.spl");
    std::string error;
    ASSERT_TRUE(WriteSpoolFile(spool, job, &error)) << error;
    for (PrinterAccess access : {PrinterAccess::SpoolerHandle, PrinterAccess::LibraryOpens}) {
        std::vector<uint8_t> printed[2];
        std::string traces[2];
        for (int fromFile = 0; fromFile < 2; ++fromFile) {
            zebl_test::TestPrinter printer(temp_);
            ASSERT_TRUE(printer.Ready());
            PlayOptions options;
            options.printerName = printer.Name();
            options.outputFile = printer.OutputPath();
            options.access = access;
            PlayReport report;
            ASSERT_TRUE(fromFile ? PlaySpoolFile(spool, entry, options, &report, &error)
                                 : PlaySpoolJob(job, entry, options, &report, &error))
                << error;
            EXPECT_TRUE(report.Ok()) << report.Trace();
            EXPECT_EQ(report.pages, 3u);
            printed[fromFile] = printer.Output();
            // Without the first line, which carries the spooler's job id.
            traces[fromFile] = report.Trace().substr(report.Trace().find('\n'));
        }
        EXPECT_FALSE(printed[0].empty());
        EXPECT_EQ(printed[0], printed[1]);
        EXPECT_EQ(traces[0], traces[1]);
    }
    PlayReport report;
    PlayOptions options;
    EXPECT_FALSE(PlaySpoolFile(temp_.Join(u"missing.spl"), entry, options, &report, &error));
    EXPECT_NE(error.find("cannot open"), std::string::npos) << error;
}

TEST_F(PrintJob, ReportsEachCallThatFails) {
    DrvSplLibrary library;
    std::string error;
    ASSERT_TRUE(library.Load(zebl_test::LibraryBesideStandIns(), &error)) << error;
    // A document start whose record asks for the start to be reported failed.
    SpoolJob job = Compose("field 176 0x100004\npage\nbox 0 0 2 2\n");
    zebl_test::TestPrinter printer(temp_);
    ASSERT_TRUE(printer.Ready());
    PlayOptions options;
    options.printerName = printer.Name();
    options.outputFile = printer.OutputPath();
    PlayReport report;
    ASSERT_TRUE(PlaySpoolJob(job, library.EntryPoints(), options, &report, &error)) << error;
    EXPECT_FALSE(report.Ok());
    EXPECT_GE(report.failures, 1u);
    EXPECT_NE(report.Summary().find("record 2: DrvSplWritePrinter 1676 bytes (settings record) failed"),
              std::string::npos)
        << report.Summary();
}

TEST_F(PrintJob, RefusesJobsOutOfOrderAndMissingPrinters) {
    DrvSplEntryPoints none;
    SpoolJob job = Compose(kGreyScene);
    job.records.pop_back();  // no EndDoc
    PlayOptions options;
    options.printerName = u"no such printer";
    options.outputFile = temp_.Join(u"out.prn");
    PlayReport report;
    std::string error;
    EXPECT_FALSE(PlaySpoolJob(job, none, options, &report, &error));
    EXPECT_EQ(error, "a job ends with EndDoc");
    EXPECT_FALSE(PlaySpoolJob(Compose(kGreyScene), none, options, &report, &error));
    EXPECT_NE(error.find("cannot open printer \"no such printer\""), std::string::npos) << error;
    EXPECT_TRUE(report.calls.empty());
}

TEST_F(PrintJob, LibraryLoadingNamesWhatIsMissing) {
    DrvSplLibrary library;
    std::string error;
    EXPECT_FALSE(library.Load(temp_.Join(u"Nothing.dll"), &error));
    EXPECT_NE(error.find("cannot load"), std::string::npos) << error;
    // The colour module stand-in beside the library is a module without the entry points.
    sys::WString colourModule = zebl_test::LibraryBesideStandIns();
    colourModule.replace(colourModule.size() - 11, 11, u"Tzqr4CM.DLL");
    EXPECT_FALSE(library.Load(colourModule, &error));
    EXPECT_NE(error.find("has no entry point DrvSplStartDoc"), std::string::npos) << error;
    EXPECT_FALSE(library.Loaded());
}

}  // namespace
