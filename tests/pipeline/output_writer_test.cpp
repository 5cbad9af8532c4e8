#include "pipeline/output_writer.h"

#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <vector>

#include "support/byte_strings.h"
#include "support/debug_capture.h"
#include "support/temp_folder.h"
#include "support/test_printer.h"
#include "sys/clock.h"
#include "sys/diagnostics.h"
#include "sys/files.h"
#include "sys/temp_files.h"

namespace {

using Bytes = std::vector<uint8_t>;
using zebl_test::DebugCapture;
using zebl_test::PrinterFaults;
using zebl_test::TestPrinter;

#define SKIP_WITHOUT_FAULTS()                                                      \
    do {                                                                           \
        if (!TestPrinter::FaultsSupported()) {                                     \
            GTEST_SKIP() << "failure injection and call logs exist only natively"; \
        }                                                                          \
    } while (0)

Bytes Pattern(size_t size, uint8_t seed) {
    Bytes bytes(size);
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(seed + i * 13 + (i >> 9));
    return bytes;
}

using zebl_test::Join;
using zebl_test::Text;

int Write(FBOut* out, const Bytes& bytes, uint32_t stream = kStreamPage) {
    return FBOutWrite(out, bytes.data(), static_cast<uint32_t>(bytes.size()), stream);
}

class OutputWriter : public zebl_test::TempFolderTest {
protected:
    ~OutputWriter() override {
        FBOutClose(&out_);
        if (spoolerHandle_ != nullptr) sys::ClosePrinter(spoolerHandle_);
    }

    // The spooler's situation: the printer is open and the document started;
    // the writer gets the handle (mode 2).
    void OpenAsSpooler(const TestPrinter& printer) {
        ASSERT_TRUE(printer.Ready());
        spoolerHandle_ = sys::OpenPrinter(printer.Name());
        ASSERT_NE(spoolerHandle_, nullptr);
        ASSERT_NE(sys::StartDocPrinter(spoolerHandle_, u"job", printer.OutputPath(), u"RAW"), 0u);
        ASSERT_EQ(FBOutOpen(&out_, u"", spoolerHandle_), 1);
        ASSERT_EQ(out_.mode, kOutSpoolerHandle);
    }

    // The writer opens the printer by name and keeps the brackets (mode 1).
    void OpenByName(const TestPrinter& printer, sys::WStringView docName = u"") {
        ASSERT_TRUE(printer.Ready());
        FBOutSetDocinfo(&out_, docName, printer.OutputPath(), u"RAW");
        ASSERT_EQ(FBOutOpen(&out_, printer.Name(), nullptr), 1);
        ASSERT_EQ(out_.mode, kOutOwnsPrinter);
        ASSERT_NE(out_.handle, nullptr);
    }

    // Ends the document the way the spooler does after the writer's end.
    void FinishAsSpooler() {
        FBOutEndDoc(&out_);
        FBOutClose(&out_);
        EXPECT_TRUE(sys::EndDocPrinter(spoolerHandle_));
        EXPECT_TRUE(sys::ClosePrinter(spoolerHandle_));
        spoolerHandle_ = nullptr;
    }

    FBOut out_;
    sys::PrinterHandle spoolerHandle_ = nullptr;
};

TEST_F(OutputWriter, FillingTheBlockExactlySendsOneBlockAndEmptiesTheBuffer) {
    TestPrinter printer(temp_);
    OpenAsSpooler(printer);
    const Bytes first = Pattern(100, 1), rest = Pattern(kFBOutBlockSize - 100, 2);
    ASSERT_EQ(Write(&out_, first), 1);
    EXPECT_EQ(out_.fill, 100u);
    ASSERT_EQ(Write(&out_, rest), 1);
    EXPECT_EQ(out_.fill, 0u);
    if (TestPrinter::FaultsSupported()) {
        EXPECT_EQ(printer.WriteSizes(), std::vector<uint32_t>{kFBOutBlockSize});
    }
    ASSERT_EQ(FBOutFlush(&out_), 1);  // nothing left: no call
    if (TestPrinter::FaultsSupported()) {
        EXPECT_EQ(printer.CountCalls("WritePrinter"), 1);
    }
    FinishAsSpooler();
    EXPECT_EQ(printer.Output(), Join({first, rest}));
}

TEST_F(OutputWriter, EmptyOrMissingDataFailsAndChangesNothing) {
    TestPrinter printer(temp_);
    OpenAsSpooler(printer);
    const Bytes start = Text("0123456789");
    ASSERT_EQ(Write(&out_, start), 1);
    EXPECT_EQ(FBOutWrite(&out_, nullptr, 5, kStreamPage), 0);
    EXPECT_EQ(FBOutWrite(&out_, start.data(), 0, kStreamPage), 0);
    EXPECT_EQ(FBOutWrite(nullptr, start.data(), 5, kStreamPage), 0);
    EXPECT_EQ(out_.fill, 10u);
    FinishAsSpooler();
    EXPECT_EQ(printer.Output(), start);

    FBOut unopened;
    EXPECT_EQ(Write(&unopened, start), 0);
    EXPECT_EQ(unopened.fill, 0u);
}

TEST_F(OutputWriter, FlushingAnEmptyBufferSendsNothing) {
    SKIP_WITHOUT_FAULTS();
    TestPrinter printer(temp_);
    OpenAsSpooler(printer);
    EXPECT_EQ(FBOutFlush(&out_), 1);
    EXPECT_EQ(FBOutFlush(&out_), 1);
    FinishAsSpooler();
    EXPECT_EQ(printer.CountCalls("WritePrinter"), 0);
    EXPECT_TRUE(printer.Output().empty());
}

TEST_F(OutputWriter, LargeWritesGoOutInWholeBlocksAndTheRestIsKept) {
    TestPrinter printer(temp_);
    OpenAsSpooler(printer);
    const Bytes head = Pattern(10, 3), large = Pattern(10000, 4), exact = Pattern(8192, 5);
    ASSERT_EQ(Write(&out_, head), 1);
    ASSERT_EQ(Write(&out_, large), 1);
    // 10 + 4086 fill the block, 4096 go directly, 1818 wait.
    EXPECT_EQ(out_.fill, 1818u);
    EXPECT_EQ(Bytes(out_.buffer, out_.buffer + 1818), Bytes(large.end() - 1818, large.end()));
    ASSERT_EQ(Write(&out_, exact), 1);
    // 1818 + 2278 fill the block, 4096 go directly, 1818 wait again.
    EXPECT_EQ(out_.fill, 1818u);
    if (TestPrinter::FaultsSupported()) {
        EXPECT_EQ(printer.WriteSizes(), std::vector<uint32_t>(4, kFBOutBlockSize));
    }
    FinishAsSpooler();
    EXPECT_EQ(printer.Output(), Join({head, large, exact}));
    if (TestPrinter::FaultsSupported()) {
        EXPECT_EQ(printer.WriteSizes(), (std::vector<uint32_t>{4096, 4096, 4096, 4096, 1818}));
    }
}

TEST_F(OutputWriter, AnyMixOfWriteSizesArrivesWholeInFullBlocks) {
    TestPrinter printer(temp_);
    OpenAsSpooler(printer);
    const uint32_t sizes[] = {1, 4095, 4096, 4097, 12289, 7, 3, 8191, 2, 4094, 1, 1, 20000, 5};
    Bytes expected;
    uint8_t seed = 0;
    for (uint32_t size : sizes) {
        const Bytes piece = Pattern(size, ++seed);
        ASSERT_EQ(Write(&out_, piece, seed % 2 ? kStreamPage : kStreamJobHeader), 1);
        expected.insert(expected.end(), piece.begin(), piece.end());
        EXPECT_EQ(out_.fill, expected.size() % kFBOutBlockSize);
    }
    FinishAsSpooler();
    EXPECT_EQ(printer.Output(), expected);
    if (TestPrinter::FaultsSupported()) {
        const std::vector<uint32_t> calls = printer.WriteSizes();
        ASSERT_EQ(calls.size(), (expected.size() + kFBOutBlockSize - 1) / kFBOutBlockSize);
        for (size_t i = 0; i + 1 < calls.size(); ++i) EXPECT_EQ(calls[i], kFBOutBlockSize) << i;
    }
}

TEST_F(OutputWriter, InvalidParameterIsRetriedUntilTheBlockGoesThrough) {
    SKIP_WITHOUT_FAULTS();
    PrinterFaults faults;
    faults.failAfterBytes = 5000;  // the second block fails three times
    faults.failError = 87;
    faults.failCount = 3;
    TestPrinter printer(temp_, faults);
    OpenAsSpooler(printer);
    out_.retryLimitMs = 5000;  // a fault here fails the test instead of hanging it
    DebugCapture debug;
    const Bytes data = Pattern(12000, 9);
    ASSERT_EQ(Write(&out_, data), 1);
    FinishAsSpooler();
    EXPECT_EQ(printer.Output(), data);
    EXPECT_EQ(printer.WriteSizes(), (std::vector<uint32_t>{4096, 4096, 3808}));
    EXPECT_EQ(printer.CountCalls("WritePrinter"), 6);
    EXPECT_EQ(debug.Count("[FB]write failed 87"), 3);
    EXPECT_EQ(debug.Count("[FB]retry success"), 1);
}

TEST_F(OutputWriter, RetriesGiveUpAfterTheLimitAndTheDocumentEnds) {
    SKIP_WITHOUT_FAULTS();
    PrinterFaults faults;
    faults.failAfterBytes = 0;
    faults.failError = 87;
    faults.failCount = 1000000;  // a port that never recovers
    TestPrinter printer(temp_, faults);
    OpenByName(printer);
    ASSERT_EQ(FBOutStartDoc(&out_), 1);
    ASSERT_EQ(FBOutStartPage(&out_), 1);
    out_.retryLimitMs = 300;
    DebugCapture debug;
    const uint32_t before = sys::GetTickCount();
    EXPECT_EQ(Write(&out_, Pattern(kFBOutBlockSize, 1)), 0);
    const uint32_t elapsed = sys::GetTickCount() - before;
    EXPECT_GE(elapsed, 300u);
    EXPECT_LT(elapsed, 3000u);
    EXPECT_EQ(out_.handle, nullptr);
    const int attempts = printer.CountCalls("WritePrinter");
    EXPECT_GE(attempts, 2);
    EXPECT_LE(attempts, 5);
    EXPECT_TRUE(debug.AnyContains("[FB]write retries given up"));

    // Nothing more is tried for this document.
    EXPECT_EQ(Write(&out_, Pattern(kFBOutBlockSize, 2)), 0);
    EXPECT_EQ(FBOutEndPage(&out_), 0);
    EXPECT_EQ(FBOutEndDoc(&out_), 0);
    FBOutClose(&out_);
    EXPECT_EQ(printer.CountCalls("WritePrinter"), attempts);
    const std::vector<std::string> calls = printer.Calls();
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(calls.end() - 3, calls.end()),
              (std::vector<std::string>{"EndPagePrinter ok", "EndDocPrinter ok", "ClosePrinter ok"}));
}

TEST_F(OutputWriter, AnAbortedJobStopsRetryingAtOnce) {
    SKIP_WITHOUT_FAULTS();
    PrinterFaults faults;
    faults.failAfterBytes = 0;
    faults.failError = 87;
    faults.failCount = 1000000;
    TestPrinter printer(temp_, faults);
    OpenAsSpooler(printer);
    const std::atomic<uint32_t> aborted{1};
    out_.aborted = &aborted;
    EXPECT_EQ(Write(&out_, Pattern(kFBOutBlockSize, 1)), 0);
    EXPECT_EQ(printer.CountCalls("WritePrinter"), 1);
    EXPECT_EQ(out_.handle, nullptr);
}

TEST_F(OutputWriter, OtherErrorsEndAllOutputOfTheDocumentWithoutRetries) {
    SKIP_WITHOUT_FAULTS();
    PrinterFaults faults;
    faults.failAfterBytes = kFBOutBlockSize;  // the second block fails
    faults.failError = 29;
    TestPrinter printer(temp_, faults);
    OpenByName(printer);
    ASSERT_EQ(FBOutStartDoc(&out_), 1);
    ASSERT_EQ(FBOutStartPage(&out_), 1);
    DebugCapture debug;
    const Bytes first = Pattern(kFBOutBlockSize, 1);
    ASSERT_EQ(Write(&out_, first), 1);
    EXPECT_EQ(Write(&out_, Pattern(kFBOutBlockSize + 10, 2)), 0);
    EXPECT_EQ(out_.handle, nullptr);
    EXPECT_EQ(out_.fill, 0u);
    EXPECT_EQ(Write(&out_, Pattern(100, 3)), 0);
    EXPECT_EQ(FBOutFlush(&out_), 1);  // nothing buffered, nothing to send
    EXPECT_EQ(FBOutEndPage(&out_), 0);
    EXPECT_EQ(FBOutEndDoc(&out_), 0);
    FBOutClose(&out_);

    EXPECT_EQ(printer.Output(), first);
    EXPECT_EQ(printer.Calls(), (std::vector<std::string>{
                                   "OpenPrinter " + sys::Narrow(printer.Name()), "StartDocPrinter Unknown ok",
                                   "StartPagePrinter ok", "WritePrinter 4096 ok", "WritePrinter 4096 fail 29",
                                   "EndPagePrinter ok", "EndDocPrinter ok", "ClosePrinter ok"}));
    if (DebugCapture::Available()) {
        EXPECT_EQ(debug.Count("[FB]write failed 29"), 1);
        EXPECT_EQ(debug.Count("[FB]" + sys::ErrorText(29)), 1);
        EXPECT_EQ(debug.Count("[FB]retry success"), 0);
    }
}

TEST_F(OutputWriter, AFailureLeavesTheSpoolersOwnHandleToTheSpooler) {
    SKIP_WITHOUT_FAULTS();
    PrinterFaults faults;
    faults.failAfterBytes = 0;
    faults.failError = 5;
    TestPrinter printer(temp_, faults);
    OpenAsSpooler(printer);
    EXPECT_EQ(Write(&out_, Pattern(kFBOutBlockSize, 1)), 0);
    EXPECT_EQ(out_.handle, nullptr);
    FinishAsSpooler();  // the spooler still ends and closes its handle itself
    EXPECT_EQ(printer.CountCalls("EndDocPrinter"), 1);
    EXPECT_EQ(printer.CountCalls("ClosePrinter"), 1);
    EXPECT_EQ(printer.CountCalls("WritePrinter"), 1);
}

TEST_F(OutputWriter, CollatedCopiesRepeatThePagesBeforeOneTrailer) {
    TestPrinter printer(temp_);
    OpenAsSpooler(printer);
    out_.copyRepeatCount = 2;  // three copies
    ASSERT_EQ(FBOutInitializeJobSpool(&out_), 1);
    ASSERT_EQ(FBOutInitializeJobSpool(&out_), 1);  // once per writer
    const sys::WString temp = sys::GetTempPath();
    for (const FBOutRecording* file : {&out_.headerFile, &out_.trailerFile, &out_.pageFile}) {
        EXPECT_EQ(file->name.compare(0, temp.size() + 3, temp + u"vlg"), 0) << sys::Narrow(file->name);
        EXPECT_EQ(file->name.substr(file->name.size() - 4), u".tmp");
        EXPECT_NE(sys::GetFileAttributes(file->name), sys::kInvalidAttributes);
    }
    const sys::WString names[] = {out_.headerFile.name, out_.trailerFile.name, out_.pageFile.name};

    const Bytes header = Text("HEADER"), page1 = Pattern(5000, 7), page2 = Pattern(3000, 8);
    const Bytes trailer1 = Text("TRAI"), trailer2 = Text("LER");
    ASSERT_EQ(Write(&out_, header, kStreamJobHeader), 1);
    ASSERT_EQ(Write(&out_, page1, kStreamPage), 1);
    ASSERT_EQ(Write(&out_, page2, kStreamPage), 1);
    const uint32_t fillBeforeTrailer = out_.fill;
    ASSERT_EQ(Write(&out_, trailer1, kStreamJobTrailer), 1);
    ASSERT_EQ(Write(&out_, trailer2, kStreamJobTrailer), 1);
    EXPECT_EQ(out_.fill, fillBeforeTrailer);  // the trailer waits for the copies
    FinishAsSpooler();

    const Bytes pages = Join({page1, page2});
    EXPECT_EQ(printer.Output(), Join({header, pages, pages, pages, trailer1, trailer2}));
    for (const sys::WString& name : names)
        EXPECT_EQ(sys::GetFileAttributes(name), sys::kInvalidAttributes) << sys::Narrow(name);
}

TEST_F(OutputWriter, WithoutCopiesNothingIsRecordedAndTheTrailerGoesOutAtOnce) {
    TestPrinter printer(temp_);
    OpenAsSpooler(printer);
    ASSERT_EQ(Write(&out_, Text("H"), kStreamJobHeader), 1);
    ASSERT_EQ(Write(&out_, Text("PAGE"), kStreamPage), 1);
    ASSERT_EQ(Write(&out_, Text("T"), kStreamJobTrailer), 1);
    EXPECT_EQ(out_.fill, 6u);
    FinishAsSpooler();
    EXPECT_EQ(printer.Output(), Text("HPAGET"));
}

TEST_F(OutputWriter, ABrokenPageRecordingGivesOneCopyWithItsTrailer) {
    TestPrinter printer(temp_);
    OpenAsSpooler(printer);
    out_.copyRepeatCount = 2;
    ASSERT_EQ(FBOutInitializeJobSpool(&out_), 1);
    ASSERT_EQ(Write(&out_, Text("H"), kStreamJobHeader), 1);
    ASSERT_EQ(Write(&out_, Text("page A "), kStreamPage), 1);
    out_.pageFile.file.Close();  // the page recording can no longer be written
    ASSERT_EQ(Write(&out_, Text("page B "), kStreamPage), 1);
    ASSERT_EQ(Write(&out_, Text("T"), kStreamJobTrailer), 1);
    FinishAsSpooler();
    EXPECT_EQ(printer.Output(), Text("Hpage A page B T"));
}

TEST_F(OutputWriter, ABrokenTrailerRecordingStillSendsTheWholeTrailerInOrder) {
    TestPrinter printer(temp_);
    OpenAsSpooler(printer);
    out_.copyRepeatCount = 1;
    ASSERT_EQ(FBOutInitializeJobSpool(&out_), 1);
    ASSERT_EQ(Write(&out_, Text("H"), kStreamJobHeader), 1);
    ASSERT_EQ(Write(&out_, Text("P"), kStreamPage), 1);
    ASSERT_EQ(Write(&out_, Text("TRAI"), kStreamJobTrailer), 1);
    // From now on the trailer file can be read but not written.
    out_.trailerFile.file.Close();
    out_.trailerFile.file = sys::File::OpenExisting(out_.trailerFile.name, false, sys::Share::ReadWrite);
    ASSERT_TRUE(out_.trailerFile.file.IsOpen());
    ASSERT_EQ(Write(&out_, Text("LER"), kStreamJobTrailer), 1);
    FinishAsSpooler();
    EXPECT_EQ(printer.Output(), Text("HPTRAILER"));
}

TEST_F(OutputWriter, OwnPrinterKeepsTheDocumentAndPageBrackets) {
    TestPrinter printer(temp_);
    OpenByName(printer);
    ASSERT_EQ(FBOutStartDoc(&out_), 1);
    const Bytes page1 = Pattern(5000, 1), page2 = Pattern(300, 2);
    ASSERT_EQ(FBOutStartPage(&out_), 1);
    ASSERT_EQ(Write(&out_, page1), 1);
    ASSERT_EQ(FBOutEndPage(&out_), 1);
    EXPECT_EQ(out_.fill, 0u);
    ASSERT_EQ(FBOutStartPage(&out_), 1);
    ASSERT_EQ(Write(&out_, page2), 1);
    ASSERT_EQ(FBOutEndPage(&out_), 1);
    EXPECT_EQ(out_.pageCounter, 2u);
    ASSERT_EQ(FBOutEndDoc(&out_), 1);
    ASSERT_EQ(FBOutClose(&out_), 1);
    EXPECT_EQ(out_.handle, nullptr);
    EXPECT_EQ(printer.Output(), Join({page1, page2}));
    if (TestPrinter::FaultsSupported()) {
        EXPECT_EQ(printer.Calls(),
                  (std::vector<std::string>{"OpenPrinter " + sys::Narrow(printer.Name()),
                                            "StartDocPrinter Unknown ok", "StartPagePrinter ok",
                                            "WritePrinter 4096 ok", "WritePrinter 904 ok",
                                            "EndPagePrinter ok", "StartPagePrinter ok", "WritePrinter 300 ok",
                                            "EndPagePrinter ok", "EndDocPrinter ok", "ClosePrinter ok"}));
    }
}

TEST_F(OutputWriter, ANamedDocumentKeepsItsName) {
    SKIP_WITHOUT_FAULTS();
    TestPrinter printer(temp_);
    OpenByName(printer, u"Quarterly report");
    ASSERT_EQ(FBOutStartDoc(&out_), 1);
    ASSERT_EQ(FBOutEndDoc(&out_), 1);
    EXPECT_EQ(printer.CountCalls("StartDocPrinter Quarterly"), 1);
}

TEST_F(OutputWriter, TheSpoolersHandleGetsNoBrackets) {
    SKIP_WITHOUT_FAULTS();
    TestPrinter printer(temp_);
    OpenAsSpooler(printer);
    EXPECT_EQ(FBOutStartDoc(&out_), 1);
    EXPECT_EQ(FBOutStartPage(&out_), 1);
    ASSERT_EQ(Write(&out_, Text("data")), 1);
    EXPECT_EQ(FBOutEndPage(&out_), 1);
    EXPECT_EQ(out_.pageCounter, 1u);
    FinishAsSpooler();
    EXPECT_EQ(printer.CountCalls("StartPagePrinter"), 0);
    EXPECT_EQ(printer.CountCalls("EndPagePrinter"), 0);
    EXPECT_EQ(printer.CountCalls("StartDocPrinter"), 1);  // the test's own
    EXPECT_EQ(printer.Output(), Text("data"));
}

TEST_F(OutputWriter, RefusedStartDocClosesThePrinter) {
    SKIP_WITHOUT_FAULTS();
    PrinterFaults faults;
    faults.failStartDoc = 5;
    TestPrinter printer(temp_, faults);
    OpenByName(printer);
    EXPECT_EQ(FBOutStartDoc(&out_), 0);
    EXPECT_EQ(out_.handle, nullptr);
    EXPECT_EQ(Write(&out_, Text("x")), 0);
    FBOutClose(&out_);
    EXPECT_EQ(printer.Calls(),
              (std::vector<std::string>{"OpenPrinter " + sys::Narrow(printer.Name()),
                                        "StartDocPrinter Unknown fail 5", "ClosePrinter ok"}));
}

TEST_F(OutputWriter, RefusedStartPageEndsTheDocumentAndClosesThePrinter) {
    SKIP_WITHOUT_FAULTS();
    PrinterFaults faults;
    faults.failStartPage = 5;
    TestPrinter printer(temp_, faults);
    OpenByName(printer);
    ASSERT_EQ(FBOutStartDoc(&out_), 1);
    EXPECT_EQ(FBOutStartPage(&out_), 0);
    EXPECT_EQ(out_.handle, nullptr);
    FBOutClose(&out_);
    const std::vector<std::string> calls = printer.Calls();
    EXPECT_EQ(std::vector<std::string>(calls.begin() + 2, calls.end()),
              (std::vector<std::string>{"StartPagePrinter fail 5", "EndDocPrinter ok", "ClosePrinter ok"}));
}

TEST_F(OutputWriter, RefusedEndPageAndEndDocCloseThePrinter) {
    SKIP_WITHOUT_FAULTS();
    PrinterFaults pageFault;
    pageFault.failEndPage = 6;
    TestPrinter pagePrinter(temp_, pageFault);
    OpenByName(pagePrinter);
    ASSERT_EQ(FBOutStartDoc(&out_), 1);
    ASSERT_EQ(FBOutStartPage(&out_), 1);
    ASSERT_EQ(Write(&out_, Text("abc")), 1);
    EXPECT_EQ(FBOutEndPage(&out_), 0);
    EXPECT_EQ(out_.handle, nullptr);
    FBOutClose(&out_);
    std::vector<std::string> calls = pagePrinter.Calls();
    EXPECT_EQ(std::vector<std::string>(calls.end() - 4, calls.end()),
              (std::vector<std::string>{"WritePrinter 3 ok", "EndPagePrinter fail 6", "EndDocPrinter ok",
                                        "ClosePrinter ok"}));
    EXPECT_EQ(pagePrinter.Output(), Text("abc"));  // flushed before the page end

    PrinterFaults docFault;
    docFault.failEndDoc = 6;
    TestPrinter docPrinter(temp_, docFault);
    FBOut second;
    FBOutSetDocinfo(&second, u"", docPrinter.OutputPath(), u"RAW");
    FBOutOpen(&second, docPrinter.Name(), nullptr);
    ASSERT_EQ(FBOutStartDoc(&second), 1);
    EXPECT_EQ(FBOutEndDoc(&second), 0);
    EXPECT_EQ(second.handle, nullptr);
    FBOutClose(&second);
    calls = docPrinter.Calls();
    EXPECT_EQ(std::vector<std::string>(calls.end() - 2, calls.end()),
              (std::vector<std::string>{"EndDocPrinter fail 6", "ClosePrinter ok"}));
}

TEST_F(OutputWriter, AnUnknownPrinterLeavesTheWriterWithoutOutput) {
    FBOutSetDocinfo(&out_, u"doc", temp_.Join(u"never.prn"), u"RAW");
    EXPECT_EQ(FBOutOpen(&out_, u"ZEBL No Such Printer 4711", nullptr), 1);
    EXPECT_EQ(out_.mode, kOutOwnsPrinter);
    EXPECT_EQ(out_.handle, nullptr);
    EXPECT_EQ(FBOutStartDoc(&out_), 0);
    EXPECT_EQ(Write(&out_, Text("x")), 0);
    EXPECT_EQ(FBOutClose(&out_), 1);
    EXPECT_EQ(sys::GetFileAttributes(temp_.Join(u"never.prn")), sys::kInvalidAttributes);
}

TEST(OutputWriterDocinfo, KeepsAtMost259Characters) {
    FBOut out;
    const sys::WString longName(300, u'n');
    ASSERT_EQ(FBOutSetDocinfo(&out, longName, u"LPT1:", u"RAW"), 1);
    EXPECT_EQ(out.docName, sys::WString(259, u'n'));
    EXPECT_EQ(out.outputFile, u"LPT1:");
    EXPECT_EQ(out.dataType, u"RAW");
}

}  // namespace
