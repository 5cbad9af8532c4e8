// The spooler entry points on their own terms: which buffers are settings
// records, what the handle and the context record, and spooled input that
// makes no sense.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "pipeline/entry_points_test_support.h"
#include "support/answer_script.h"
#include "support/debug_capture.h"
#include "sys/clock.h"

namespace {

using entry_test::Box;
using entry_test::DotsIn;
using entry_test::EntryPointTest;
using entry_test::ListOf;
using entry_test::OneListJob;
using entry_test::RunJob;
using entry_test::SmallPage;
using entry_test::Spooler;
using entry_test::SpoolRun;

std::vector<uint8_t> RecordBytes(const JobSettings& settings, uint32_t flags) {
    const FBInterface record = MakeSettingsRecord(settings, flags);
    return std::vector<uint8_t>(record.bytes.begin(), record.bytes.end());
}

class EntryPoints : public EntryPointTest {};

TEST_F(EntryPoints, HandleCountsCallsAndPagesAndTheContextFollowsTheDocument) {
    JobSettings settings = SmallPage(300, 320, 300);
    const SpoolJob job = OneListJob(settings, ListOf({{10, 10, 20, 20}}), 2);
    Spooler spooler(temp_);
    ASSERT_TRUE(spooler.Ready());
    std::vector<std::string> seen;
    const SpoolRun run = spooler.Run(job, [&](SplHandle* h, const SpoolRecord& record) {
        if (h == nullptr) return;
        std::string line = std::string(SpoolCallName(record.call)) + " calls=" + std::to_string(h->calls) +
                           " pages=" + std::to_string(h->pages) + " state=" + std::to_string(h->state);
        if (h->prFB) {
            line += " op=" + std::to_string(h->prFB->lastOperation);
            EXPECT_EQ(h->prFB->docName, u"Unknown");
        }
        seen.push_back(line);
        EXPECT_EQ(h->magic, kSplHandleMagic);
        EXPECT_EQ(h->jobId, 7u);
    });
    const std::vector<std::string> expected = {
        "StartDoc calls=0 pages=0 state=1",
        "WritePrinter calls=1 pages=0 state=1 op=1",
        "StartPage calls=2 pages=0 state=1 op=1",
        "WritePrinter calls=3 pages=0 state=1 op=3",
        "WritePrinter calls=4 pages=0 state=1 op=6",
        "EndPage calls=5 pages=1 state=1 op=4",
        "StartPage calls=6 pages=1 state=1 op=4",
        "WritePrinter calls=7 pages=1 state=1 op=3",
        "WritePrinter calls=8 pages=1 state=1 op=6",
        "EndPage calls=9 pages=2 state=1 op=4",
        "EndDoc calls=9 pages=2 state=3",
    };
    EXPECT_EQ(seen, expected);
    for (int result : run.results) EXPECT_EQ(result, 1);
    ASSERT_TRUE(run.decoded) << run.error;
    EXPECT_EQ(run.job.pages.size(), 2u);
}

TEST_F(EntryPoints, SettingsRecordTakesThePrinterAndPortNamesFromTheSpooler) {
    JobSettings settings = SmallPage(300, 320, 300);
    SpoolJobBuilder builder;
    builder.StartDoc(settings);
    Spooler spooler(temp_);
    ASSERT_TRUE(spooler.Ready());
    sys::WString printerName, port;
    sys::PrinterNames spooler_names;
    spooler.Run(builder.Job(), [&](SplHandle* h, const SpoolRecord& record) {
        if (h && h->prFB && record.call == SpoolCall::WritePrinter) {
            printerName = h->prFB->record->String(kFBIPrinterName);
            port = h->prFB->record->String(kFBIPortName);
            EXPECT_EQ(h->prFB->portName, port);
            EXPECT_TRUE(sys::GetPrinterNames(h->printer, &spooler_names));
        }
    });
    EXPECT_FALSE(spooler_names.printerName.empty());
    // The record's name field holds 41 characters and its terminator.
    EXPECT_EQ(printerName, spooler_names.printerName.substr(0, kFBIPrinterName.units - 1));
    EXPECT_EQ(port, spooler_names.portName);
}

TEST_F(EntryPoints, BufferOfSettingsRecordSizeIsNeverDisplayList) {
    JobSettings settings = SmallPage(300, 320, 300);
    // 1676 bytes that would draw a black box if they were played: a tag and
    // a box record, then no-op bytes; its command flags field is zero.
    DLWriter box = ListOf({{0, 0, 100, 100}});
    std::vector<uint8_t> buffer(4, 0);
    buffer.insert(buffer.end(), box.Bytes().begin(), box.Bytes().end());
    buffer.resize(kFBInterfaceSize, 0x58);  // DL_SKIP1 operands and opcodes
    SpoolJobBuilder builder;
    builder.StartDoc(settings);
    builder.StartPage(settings);
    builder.AddBuffer(buffer);
    builder.AddDisplayList(ListOf({{200, 200, 210, 210}}));
    builder.EndPage();
    builder.EndDoc();
    const SpoolRun run = RunJob(temp_, builder.Job());
    EXPECT_EQ(run.results[3], 1);
    EXPECT_EQ(run.written[3], kFBInterfaceSize);
    ASSERT_TRUE(run.decoded) << run.error;
    ASSERT_EQ(run.job.pages.size(), 1u);
    EXPECT_EQ(run.job.pages[0].Plane(4).dots, 100u);  // only the 10 x 10 box
}

TEST_F(EntryPoints, StartOfPageFlagsMustBeExact) {
    JobSettings page300 = SmallPage(300, 320, 300);
    JobSettings page600 = SmallPage(600, 320, 300);
    SpoolJobBuilder builder;
    builder.StartDoc(page300);
    builder.StartPageWithoutSettings();
    builder.AddBuffer(RecordBytes(page600, 0x8004));  // not a start of page: ignored
    builder.AddBuffer(RecordBytes(page600, 0x8001));
    builder.AddDisplayList(ListOf({{10, 10, 20, 20}}));
    builder.EndPage();
    builder.EndDoc();
    const SpoolRun run = RunJob(temp_, builder.Job());
    EXPECT_EQ(run.results[3], 1);
    EXPECT_EQ(run.results[4], 1);
    ASSERT_TRUE(run.decoded) << run.error;
    ASSERT_EQ(run.job.pages.size(), 1u);
    EXPECT_EQ(run.job.pages[0].header.resolutionCode, 3u);
}

TEST_F(EntryPoints, FourByteBufferAddsNothing) {
    JobSettings settings = SmallPage(300, 320, 300);
    auto job = [&](bool withEmpty) {
        SpoolJobBuilder builder;
        builder.StartDoc(settings);
        builder.StartPage(settings);
        if (withEmpty) builder.AddBuffer({1, 2, 3, 4});
        builder.AddDisplayList(ListOf({{10, 10, 60, 60}}));
        if (withEmpty) builder.AddBuffer({0, 0, 0, 0});
        builder.EndPage();
        builder.EndDoc();
        return builder.Job();
    };
    const SpoolRun plain = RunJob(temp_, job(false));
    const SpoolRun padded = RunJob(temp_, job(true));
    EXPECT_EQ(padded.results[4], 1);
    EXPECT_EQ(padded.written[4], 4u);
    EXPECT_EQ(padded.bytes, plain.bytes);
    ASSERT_TRUE(padded.decoded) << padded.error;
    EXPECT_EQ(padded.job.pages.at(0).Plane(4).dots, 2500u);
}

TEST_F(EntryPoints, DocumentWithoutStartOfPageRecordsStillPrintsEveryPage) {
    JobSettings settings = SmallPage(300, 320, 300);
    settings.scale = 200;  // the start-of-document record's settings apply
    SpoolJobBuilder builder;
    builder.StartDoc(settings);
    for (const Box& b : {Box{10, 10, 30, 30}, Box{50, 50, 60, 70}}) {
        builder.StartPageWithoutSettings();
        builder.AddDisplayList(ListOf({b}));
        builder.EndPage();
    }
    builder.EndDoc();
    const SpoolRun run = RunJob(temp_, builder.Job());
    ASSERT_TRUE(run.decoded) << run.error;
    ASSERT_EQ(run.job.pages.size(), 2u);
    // Both pages enlarged to 200 percent, as the page printer enlarges them.
    EXPECT_EQ(DotsIn(run.job.pages[0].Plane(4), Box{20, 20, 60, 60}), 1600u);
    EXPECT_EQ(run.job.pages[0].Plane(4).dots, 1600u);
    EXPECT_EQ(DotsIn(run.job.pages[1].Plane(4), Box{100, 100, 120, 140}), 800u);
    EXPECT_EQ(run.job.pages[1].Plane(4).dots, 800u);
}

TEST_F(EntryPoints, SettingsChangeBetweenPagesAppliesToTheNextPage) {
    SpoolJobBuilder builder;
    builder.StartDoc(SmallPage(300, 320, 300));
    builder.StartPage(SmallPage(300, 320, 300));
    builder.AddDisplayList(ListOf({{10, 10, 20, 20}}));
    builder.EndPage();
    builder.StartPage(SmallPage(600, 640, 512));
    builder.AddDisplayList(ListOf({{10, 10, 20, 20}}));
    builder.EndPage();
    builder.EndDoc();
    const SpoolRun run = RunJob(temp_, builder.Job());
    ASSERT_TRUE(run.decoded) << run.error;
    ASSERT_EQ(run.job.pages.size(), 2u);
    EXPECT_EQ(run.job.pages[0].header.resolutionCode, 3u);
    EXPECT_EQ(run.job.pages[1].header.resolutionCode, 6u);
    EXPECT_EQ(run.job.pages[1].header.width, 640u);
    EXPECT_EQ(run.job.pages[1].header.height, 512u);
}

TEST_F(EntryPoints, AbortStopsNothingButTheWritersRetries) {
    JobSettings settings = SmallPage(300, 320, 300);
    SpoolJobBuilder builder;
    builder.StartDoc(settings);
    builder.StartPage(settings);
    builder.AddDisplayList(ListOf({{10, 10, 20, 20}}));
    builder.Abort();
    builder.EndPage();
    builder.EndDoc();
    Spooler spooler(temp_);
    ASSERT_TRUE(spooler.Ready());
    bool abortSeen = false;
    const SpoolRun run = spooler.Run(builder.Job(), [&](SplHandle* h, const SpoolRecord& record) {
        if (record.call != SpoolCall::Abort) return;
        abortSeen = true;
        EXPECT_EQ(h->state & kSplAborted, kSplAborted);
        ASSERT_NE(h->prFB, nullptr);
        ASSERT_NE(h->prFB->out, nullptr);
        ASSERT_NE(h->prFB->out->aborted, nullptr);
        EXPECT_EQ(h->prFB->out->aborted->load(), 1u);
    });
    EXPECT_TRUE(abortSeen);
    ASSERT_TRUE(run.decoded) << run.error;
    EXPECT_EQ(run.job.pages.size(), 1u);
}

// DrvSplAbort comes from another thread while the document's thread waits
// on a printer that keeps answering "invalid parameter": the writer sees
// the abort in its retry loop and gives up instead of retrying until its
// limit (a minute here, ten by default).
TEST_F(EntryPoints, AbortFromAnotherThreadStopsARetryingWriter) {
    if (!zebl_test::TestPrinter::FaultsSupported()) GTEST_SKIP() << "failure injection exists only natively";
    zebl_test::PrinterFaults busy;
    busy.failAfterBytes = 0;
    busy.failError = 87;
    busy.failCount = 1000000;
    Spooler spooler(temp_, busy);
    ASSERT_TRUE(spooler.Ready());
    const SpoolJob job = OneListJob(SmallPage(300, 320, 300), ListOf({{10, 10, 20, 20}}));

    constexpr uint32_t kRetryLimitMs = 60 * 1000;
    constexpr int kRetriesBeforeAbort = 3;
    std::atomic<void*> handle{nullptr};
    std::atomic<int> abortResult{-1};
    std::thread aborter([&] {
        // Waits until the writer has failed and retried, then aborts.
        for (int waited = 0; waited < 3000; ++waited) {
            if (handle.load() != nullptr &&
                spooler.Printer().CountCalls("WritePrinter") >= kRetriesBeforeAbort) {
                abortResult = DrvSplAbort(handle.load());
                return;
            }
            sys::Sleep(10);
        }
    });
    spooler.Run(job, [&](SplHandle* h, const SpoolRecord& record) {
        if (record.call == SpoolCall::StartDoc) handle = h;
        if (h && h->prFB && h->prFB->out) h->prFB->out->retryLimitMs = kRetryLimitMs;
    });
    aborter.join();
    EXPECT_EQ(abortResult.load(), 1);
    // Without the abort the writer would try about every 100 ms for a minute.
    const int attempts = spooler.Printer().CountCalls("WritePrinter");
    EXPECT_GE(attempts, kRetriesBeforeAbort);
    EXPECT_LT(attempts, 100);
}

// ---- Spooled input that makes no sense ----------------------------------------------

TEST_F(EntryPoints, DataBeforeAnySettingsRecordIsRefused) {
    SpoolJobBuilder builder;
    builder.StartDoc(SmallPage(300, 320, 300));
    SpoolJob job = builder.Job();
    job.records.pop_back();  // drop the start-of-document record
    SpoolJobBuilder rest;
    rest.StartPageWithoutSettings();
    rest.AddDisplayList(ListOf({{10, 10, 20, 20}}));
    rest.AddBuffer(RecordBytes(SmallPage(300, 320, 300), kFBICmdStartPage));
    rest.EndPage();
    rest.EndDoc();
    for (const SpoolRecord& r : rest.Job().records) job.records.push_back(r);
    const SpoolRun run = RunJob(temp_, job);
    EXPECT_EQ(run.results, (std::vector<int>{1, 1, 0, 0, 0, 0}));
    EXPECT_TRUE(run.bytes.empty());
}

TEST_F(EntryPoints, ForeignOrMissingHandlesAndShortBuffersAreRefused) {
    uint32_t written = 0;
    uint8_t buffer[8] = {};
    EXPECT_EQ(DrvSplWritePrinter(nullptr, buffer, sizeof buffer, &written), 0);
    EXPECT_EQ(DrvSplEndDoc(nullptr), 0);
    EXPECT_EQ(DrvSplAbort(nullptr), 0);
    DrvSplClose(nullptr);

    void* handle = DrvSplStartDoc(nullptr, 1);
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(DrvSplWritePrinter(handle, buffer, 3, &written), 0);
    EXPECT_EQ(DrvSplWritePrinter(handle, nullptr, 40, &written), 0);
    EXPECT_EQ(written, 0u);
    EXPECT_EQ(DrvFBWritePrinter(nullptr, 4, 0, buffer), 0);
    EXPECT_EQ(DrvFBEndPage(nullptr), nullptr);
    EXPECT_EQ(DrvFBEndDoc(nullptr), 0);
    DrvSplClose(handle);
}

// Handles that look right but were never given out: a handle record on the
// stack (its magic is right) and raw bytes that start with the magic. Both
// are refused untouched; closing them must not free them.
TEST_F(EntryPoints, LookalikeHandlesAreRefusedUntouched) {
    SplHandle lookalike;
    alignas(SplHandle) uint8_t raw[sizeof(SplHandle)] = {};
    std::memcpy(raw, &kSplHandleMagic, sizeof kSplHandleMagic);
    const std::vector<uint8_t> record = RecordBytes(SmallPage(300, 320, 300), kFBICmdStartDoc);
    std::vector<uint8_t> data = record;
    for (void* foreign : {static_cast<void*>(&lookalike), static_cast<void*>(raw)}) {
        uint32_t written = 0;
        EXPECT_EQ(DrvSplWritePrinter(foreign, data.data(), static_cast<uint32_t>(data.size()), &written), 0);
        EXPECT_EQ(written, 0u);
        EXPECT_EQ(DrvSplStartPage(foreign), 0);
        EXPECT_EQ(DrvSplEndPage(foreign), 0);
        EXPECT_EQ(DrvSplAbort(foreign), 0);
        EXPECT_EQ(DrvSplEndDoc(foreign), 0);
        DrvSplClose(foreign);
    }
    EXPECT_EQ(lookalike.calls, 0u);
    EXPECT_EQ(lookalike.state.load(), uint32_t{kSplCreated});
    EXPECT_EQ(lookalike.prFB, nullptr);
    for (size_t i = sizeof kSplHandleMagic; i < sizeof raw; ++i) EXPECT_EQ(raw[i], 0) << "byte " << i;
}

// The spooler may call again with a handle it closed (or a handle value
// that a later document happens to reuse). Every entry point refuses it
// without reading the freed record; under AddressSanitizer a read of it
// fails the test.
TEST_F(EntryPoints, ClosedHandlesAreRefusedWithoutTouchingThem) {
    const std::vector<uint8_t> record = RecordBytes(SmallPage(300, 320, 300), kFBICmdStartDoc);
    void* closed = DrvSplStartDoc(nullptr, 1);
    ASSERT_NE(closed, nullptr);
    std::vector<uint8_t> data = record;
    uint32_t written = 0;
    EXPECT_EQ(DrvSplWritePrinter(closed, data.data(), static_cast<uint32_t>(data.size()), &written), 1);
    DrvSplClose(closed);

    written = 0;
    EXPECT_EQ(DrvSplWritePrinter(closed, data.data(), static_cast<uint32_t>(data.size()), &written), 0);
    EXPECT_EQ(written, 0u);
    EXPECT_EQ(DrvSplStartPage(closed), 0);
    EXPECT_EQ(DrvSplEndPage(closed), 0);
    EXPECT_EQ(DrvSplAbort(closed), 0);
    EXPECT_EQ(DrvSplEndDoc(closed), 0);
    DrvSplClose(closed);  // a second close frees nothing twice

    // Handles of other documents are unaffected by the closed one.
    void* other = DrvSplStartDoc(nullptr, 2);
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(DrvSplStartPage(other), 1);
    DrvSplClose(other);
}

TEST_F(EntryPoints, StartOfDocumentFailureFlagReportsFailureButStartsTheDocument) {
    JobSettings settings = SmallPage(300, 320, 300);
    SpoolJobBuilder builder;
    builder.StartDoc(settings);
    SpoolJob job = builder.Job();
    job.records.back().data = RecordBytes(settings, kFBICmdStartDoc | kFBICmdStartDocFails);
    SpoolJobBuilder rest;
    rest.StartPage(settings);
    rest.AddDisplayList(ListOf({{10, 10, 20, 20}}));
    rest.EndPage();
    rest.EndDoc();
    for (const SpoolRecord& r : rest.Job().records) job.records.push_back(r);
    const SpoolRun run = RunJob(temp_, job);
    EXPECT_EQ(run.results[1], 0);
    ASSERT_TRUE(run.decoded) << run.error;
    EXPECT_EQ(run.job.pages.size(), 1u);
}

TEST_F(EntryPoints, DocumentThatEndsWithoutPagesSendsNothing) {
    SpoolJobBuilder builder;
    builder.StartDoc(SmallPage(300, 320, 300));
    builder.StartPage(SmallPage(300, 320, 300));
    builder.EndDoc();
    const SpoolRun run = RunJob(temp_, builder.Job());
    EXPECT_TRUE(run.bytes.empty());
}

struct NonsenseCase {
    const char* name;
    uint32_t offset;
    uint32_t value;
};

class NonsenseRecord : public EntryPointTest, public testing::WithParamInterface<NonsenseCase> {};

TEST_P(NonsenseRecord, PrintsABoundedJobWithoutCrashing) {
    const NonsenseCase c = GetParam();
    JobSettings settings = SmallPage(300, 320, 300);
    settings.fields.push_back({c.offset, c.value});
    const SpoolRun run = RunJob(temp_, OneListJob(settings, ListOf({{10, 10, 20, 20}}), 2));
    ASSERT_TRUE(run.decoded) << run.error;
    EXPECT_GE(run.job.pages.size(), 2u);
    EXPECT_LE(run.job.pages.size(), 2u * kMaxPosterTilesPerSide * kMaxPosterTilesPerSide);
    for (const DecodedPage& page : run.job.pages) {
        EXPECT_GE(page.header.copies, 1u);
        EXPECT_TRUE(page.header.resolutionCode == 3 || page.header.resolutionCode == 6 ||
                    page.header.resolutionCode == 12);
    }
}

INSTANTIATE_TEST_SUITE_P(
    EntryPoints, NonsenseRecord,
    testing::Values(
        NonsenseCase{"Resolution0", kFBIResolution, 0}, NonsenseCase{"Resolution7", kFBIResolution, 7},
        NonsenseCase{"Resolution100000", kFBIResolution, 100000},
        NonsenseCase{"OutputResolutionHuge", kFBIOutputResolution, 0xFFFFFFFF},
        NonsenseCase{"Copies0", kFBICopies, 0}, NonsenseCase{"CopiesMinus1", kFBICopies, 0xFFFFFFFF},
        NonsenseCase{"Copies1e9", kFBICopies, 1000000000}, NonsenseCase{"Scale0", kFBIScale, 0},
        NonsenseCase{"ScaleMinus5", kFBIScale, 0xFFFFFFFB}, NonsenseCase{"Scale100000", kFBIScale, 100000},
        NonsenseCase{"PrintableWidthHuge", kFBIPrintableWidth, 0x7FFFFFFF},
        NonsenseCase{"PaperUnknown", kFBIPaperSize, 0xDEAD},
        // Every option but recording a watermark (a document that records
        // prints nothing; the overlay and watermark tests hold that).
        NonsenseCase{"PosterHuge", kFBIDocOptions, kDocOptPoster | kDocOptWatermark},
        NonsenseCase{"AllOptions", kFBIDocOptions, ~uint32_t{kDocOptRecordWatermark}},
        NonsenseCase{"BitsEverywhere", kFBIColour, 0xFFFFFFFF}),
    [](const testing::TestParamInfo<NonsenseCase>& p) { return std::string(p.param.name); });

TEST_F(EntryPoints, HugePosterIsCutToItsLimit) {
    JobSettings settings = SmallPage(300, 256, 256);
    settings.posterTiles = 2;
    settings.fields.push_back({kFBIPosterTiles, 1000000000});
    settings.fields.push_back({kFBIPosterOverlap, 0x7FFFFFFF});
    const SpoolRun run = RunJob(temp_, OneListJob(settings, ListOf({{0, 0, 250, 250}})));
    ASSERT_TRUE(run.decoded) << run.error;
    EXPECT_EQ(run.job.pages.size(), size_t{kMaxPosterTilesPerSide} * kMaxPosterTilesPerSide);
}

TEST_F(EntryPoints, HugeScaleIsCutToItsLimit) {
    JobSettings settings = SmallPage(300, 320, 300);
    settings.scale = 100000;
    const SpoolRun run = RunJob(temp_, OneListJob(settings, ListOf({{10, 10, 20, 20}})));
    ASSERT_TRUE(run.decoded) << run.error;
    ASSERT_EQ(run.job.pages.size(), 1u);
    // 400 percent: the 10 x 10 box becomes 40 x 40 at (40, 40).
    EXPECT_EQ(DotsIn(run.job.pages[0].Plane(4), Box{40, 40, 80, 80}), 1600u);
    EXPECT_EQ(run.job.pages[0].Plane(4).dots, 1600u);
}

TEST_F(EntryPoints, CollatedCopiesAreBounded) {
    JobSettings settings;
    settings.collate = true;
    settings.copies = 1000000000;
    EXPECT_EQ(FBCopyRepeatCount(MakeSettingsRecord(settings, 0)), kMaxCollatedCopies - 1);
    settings.copies = 0;
    EXPECT_EQ(FBCopyRepeatCount(MakeSettingsRecord(settings, 0)), 0u);
    settings.fields.push_back({kFBICopies, 0xFFFFFFFF});
    EXPECT_EQ(FBCopyRepeatCount(MakeSettingsRecord(settings, 0)), 0u);
    settings.collate = false;
    settings.copies = 5;
    settings.fields.clear();
    EXPECT_EQ(FBCopyRepeatCount(MakeSettingsRecord(settings, 0)), 0u);
}

TEST_F(EntryPoints, RandomDisplayListBytesNeverCrashOrHang) {
    JobSettings settings = SmallPage(300, 320, 300, true);
    std::mt19937 random(12345);
    SpoolJobBuilder builder;
    builder.StartDoc(settings);
    for (int page = 0; page < 6; ++page) {
        builder.StartPage(settings);
        for (int piece = 0; piece < 4; ++piece) {
            std::vector<uint8_t> buffer(4 + random() % 3000);
            for (uint8_t& b : buffer) b = static_cast<uint8_t>(random());
            if (buffer.size() == kFBInterfaceSize) buffer.push_back(0);
            builder.AddBuffer(buffer);
        }
        builder.EndPage();
    }
    builder.EndDoc();
    const SpoolRun run = RunJob(temp_, builder.Job());
    ASSERT_TRUE(run.decoded) << run.error;
    EXPECT_EQ(run.job.pages.size(), 6u);
}

TEST_F(EntryPoints, MissingColourModuleShowsTheErrorBoxOnce) {
    zebl_test::AnswerScript script;
    NoColourModule();
    const SpoolRun run =
        RunJob(temp_, OneListJob(SmallPage(300, 320, 300, true), ListOf({{10, 10, 20, 20}}), 2));
    ASSERT_TRUE(run.decoded) << run.error;
    EXPECT_EQ(run.job.pages.size(), 2u);
    const auto questions = script.Questions();
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(questions[0].caption, "Fast Color Conversion interface error");
}

TEST_F(EntryPoints, PageListStopsGrowingAtItsLimit) {
    // A list that already claims nearly the limit (its buffer's count is
    // set by hand; nothing that large is allocated).
    FBContext context;
    context.record = std::make_unique<FBInterface>(MakeSettingsRecord(SmallPage(300, 320, 300), 0));
    context.cmdList = std::make_unique<FBCmdList>();
    FBCmdBuffer big;
    big.data.reset(new uint8_t[16]());
    big.capacity = 16;
    big.used = static_cast<uint32_t>(kMaxPageListBytes - 20);
    context.cmdList->buffers.push_back(std::move(big));
    context.newPage = true;
    const uint8_t piece[32] = {};
    EXPECT_EQ(FBWritePrinter(&context, 32, 0, piece), 0);
    EXPECT_EQ(context.cmdList->buffers.size(), 1u);
    EXPECT_EQ(FBWritePrinter(&context, 4, 0, piece), 1);  // with its 14-byte scale command, 18 bytes
    EXPECT_EQ(FBCmdListByteCount(context.cmdList.get()), kMaxPageListBytes - 2);
    context.cmdList->buffers.front().used = 0;  // the hand-set count is not the buffer's
}

// ---- The shared library, loaded by name as the spooler loads it -------------------

TEST_F(EntryPoints, SharedLibraryExportsTheEntryPointsByTheirPlainNames) {
    sys::ModuleHandle library = sys::LoadLibrary(entry_test::LibraryBesideStandIns());
    ASSERT_NE(library, nullptr);
    using StartDoc = void*(ZEBL_STDCALL*)(void*, uint32_t);
    using WritePrinter = int(ZEBL_STDCALL*)(void*, void*, uint32_t, uint32_t*);
    using Call = int(ZEBL_STDCALL*)(void*);
    using Close = void(ZEBL_STDCALL*)(void*);
    auto startDoc = reinterpret_cast<StartDoc>(sys::GetProcAddress(library, "DrvSplStartDoc"));
    auto writePrinter = reinterpret_cast<WritePrinter>(sys::GetProcAddress(library, "DrvSplWritePrinter"));
    auto startPage = reinterpret_cast<Call>(sys::GetProcAddress(library, "DrvSplStartPage"));
    auto endPage = reinterpret_cast<Call>(sys::GetProcAddress(library, "DrvSplEndPage"));
    auto endDoc = reinterpret_cast<Call>(sys::GetProcAddress(library, "DrvSplEndDoc"));
    auto abort = reinterpret_cast<Call>(sys::GetProcAddress(library, "DrvSplAbort"));
    auto close = reinterpret_cast<Close>(sys::GetProcAddress(library, "DrvSplClose"));
    ASSERT_TRUE(startDoc && writePrinter && startPage && endPage && endDoc && abort && close);
    EXPECT_EQ(sys::GetProcAddress(library, "FBInitialize"), nullptr);  // nothing else is exported

    // One page through the loaded library, given the printer handle this
    // program opened, as the spooler gives its own: the handle, like the
    // rest of the system's state, belongs to the process, not to a module.
    zebl_test::TestPrinter printer(temp_);
    ASSERT_TRUE(printer.Ready());
    const SpoolJob job = OneListJob(SmallPage(300, 320, 300), ListOf({{10, 10, 30, 40}}));
    sys::PrinterHandle spooler = sys::OpenPrinter(printer.Name());
    ASSERT_NE(spooler, nullptr);
    ASSERT_NE(sys::StartDocPrinter(spooler, u"loaded library", printer.OutputPath(), u"RAW"), 0u);
    zebl_test::DebugCapture debug;
    void* handle = nullptr;
    for (const SpoolRecord& record : job.records) {
        std::vector<uint8_t> buffer = record.data;
        uint32_t written = 0;
        switch (record.call) {
            case SpoolCall::StartDoc: handle = startDoc(spooler, 1); break;
            case SpoolCall::WritePrinter:
                EXPECT_EQ(writePrinter(handle, buffer.data(), static_cast<uint32_t>(buffer.size()), &written),
                          1);
                EXPECT_EQ(written, buffer.size());
                break;
            case SpoolCall::StartPage: EXPECT_EQ(startPage(handle), 1); break;
            case SpoolCall::EndPage: EXPECT_EQ(endPage(handle), 1); break;
            case SpoolCall::EndDoc: {
                // A second start of document is ignored and says so in the
                // debugger output, which this program sees too.
                std::vector<uint8_t> again = RecordBytes(SmallPage(300, 320, 300), kFBICmdStartDoc);
                EXPECT_EQ(writePrinter(handle, again.data(), static_cast<uint32_t>(again.size()), &written),
                          1);
                EXPECT_EQ(endDoc(handle), 1);
                break;
            }
            default: break;
        }
    }
    close(handle);
    sys::FreeLibrary(library);
    EXPECT_TRUE(sys::EndDocPrinter(spooler));
    EXPECT_TRUE(sys::ClosePrinter(spooler));
    if (zebl_test::DebugCapture::Available()) {
        EXPECT_EQ(debug.Count("[FB]second start of document ignored"), 1);
    }
    if (zebl_test::TestPrinter::FaultsSupported()) {
        // The library wrote into the document this program started and
        // opened no printer of its own.
        EXPECT_EQ(printer.CountCalls("OpenPrinter"), 1);
        EXPECT_EQ(printer.CountCalls("StartDocPrinter"), 1);
        EXPECT_GT(printer.CountCalls("WritePrinter"), 0);
    }
    const std::vector<uint8_t> bytes = printer.Output();
    DecodedJob decoded;
    std::string error;
    ASSERT_TRUE(DecodeStream(bytes.data(), bytes.size(), &decoded, &error)) << error;
    ASSERT_EQ(decoded.pages.size(), 1u);
    EXPECT_EQ(decoded.pages[0].Plane(4).dots, 20u * 30);
}

}  // namespace
