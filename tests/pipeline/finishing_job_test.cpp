// Job finishing end to end: jobs replayed through the spooler entry points,
// the printer stream decoded and every sheet checked for which page lies
// where. Every test also checks that the job leaves nothing in the
// temporary folder.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pipeline/finishing_test_support.h"
#include "pipeline/job_finishing.h"
#include "sys/files.h"

namespace {

using entry_test::SpoolRun;
using finishing_test::FinishingTest;
using finishing_test::FullSizePage;
using finishing_test::kHeight;
using finishing_test::kWidth;
using finishing_test::MarkedJob;
using finishing_test::Print;
using finishing_test::Sheet;
using finishing_test::SheetModel;

// The pages found full size on the sheets, in order.
std::vector<uint32_t> FullSizePages(const SpoolRun& run) {
    std::vector<uint32_t> pages;
    for (const DecodedPage& sheet : run.job.pages) pages.push_back(FullSizePage(sheet));
    return pages;
}

const std::string* Pjl(const SpoolRun& run, const char* name) { return run.job.Set(name); }

// ---- N-up: every count, orientation and order ------------------------------------

struct NupCase {
    uint32_t pagesPerSheet;
    bool landscape;
    uint32_t order;
};

class NupSheet : public FinishingTest, public testing::WithParamInterface<NupCase> {};

TEST_P(NupSheet, EachPageLandsReducedInItsCell) {
    const NupCase c = GetParam();
    const SheetModel model = SheetModel::For(c.pagesPerSheet);
    const SpoolRun run =
        Print(temp_, MarkedJob(c.pagesPerSheet, Sheet(c.pagesPerSheet, c.landscape, c.order)));
    ASSERT_EQ(run.job.pages.size(), 1u);
    const PagePlane& plane = run.job.pages[0].Plane(4);
    EXPECT_EQ(run.job.pages[0].header.width, kWidth);
    uint64_t dotsInCells = 0;
    for (uint32_t index = 0; index < c.pagesPerSheet; ++index) {
        uint32_t row = 0, column = 0;
        model.CellOf(c.pagesPerSheet, c.landscape, c.order, index, &row, &column);
        EXPECT_EQ(model.PageIn(plane, row, column), index + 1) << "cell " << row << ", " << column;
        const uint32_t top = model.margin + row * model.cellRows;
        const uint32_t left = model.margin + column * model.cellColumns;
        const finishing_test::Bounds mark =
            finishing_test::DotBounds(plane, left, top, left + model.cellColumns, top + model.cellRows);
        // Reduced by the sheet's scale, to a dot.
        const uint32_t width = finishing_test::kMarkWidth * model.scale / 100;
        EXPECT_NEAR(mark.right - mark.left, width, 1) << "page " << index + 1;
        dotsInCells += zebl_test::DotsIn(plane, left, top, left + model.cellColumns, top + model.cellRows);
    }
    EXPECT_EQ(plane.dots, dotsInCells) << "dots outside the cells";
}

std::vector<NupCase> AllNupCases() {
    std::vector<NupCase> cases;
    for (uint32_t n : {2u, 4u, 6u, 9u, 16u})
        for (bool landscape : {false, true})
            for (uint32_t order = 0; order < 4; ++order) cases.push_back({n, landscape, order});
    cases.push_back({3, false, 0});
    cases.push_back({8, true, 1});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Finishing, NupSheet, testing::ValuesIn(AllNupCases()),
                         [](const testing::TestParamInfo<NupCase>& p) {
                             return std::to_string(p.param.pagesPerSheet) + "Up" +
                                    (p.param.landscape ? "Landscape" : "Portrait") + "Order" +
                                    std::to_string(p.param.order);
                         });

class NupBorder : public FinishingTest, public testing::WithParamInterface<bool> {};

TEST_P(NupBorder, FramesEveryCellAroundItsPage) {
    const bool landscape = GetParam();
    const SheetModel model = SheetModel::For(4);
    const SpoolRun run = Print(temp_, MarkedJob(4, Sheet(4, landscape, 0, true)));
    ASSERT_EQ(run.job.pages.size(), 1u);
    const PagePlane& plane = run.job.pages[0].Plane(4);
    const uint32_t thickness = 2;  // 600 dpi: 2 dots each side of the line
    std::vector<uint32_t> found;
    for (uint32_t row = 0; row < 2; ++row) {
        for (uint32_t column = 0; column < 2; ++column) {
            const uint32_t top = model.margin + row * model.cellRows;
            const uint32_t left = model.margin + column * model.cellColumns;
            const uint32_t middleRow = top + model.cellRows / 2, middleColumn = left + model.cellColumns / 2;
            EXPECT_TRUE(plane.Dot(middleColumn, top)) << row << ", " << column;
            EXPECT_TRUE(plane.Dot(left, middleRow)) << row << ", " << column;
            EXPECT_TRUE(plane.Dot(std::min(left + model.cellColumns, kWidth - 2 - 2), middleRow));
            EXPECT_TRUE(plane.Dot(middleColumn, std::min(top + model.cellRows, kHeight - 2 - 2)));
            found.push_back(model.PageIn(plane, row, column, 2 * thickness + 2));
        }
    }
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, (std::vector<uint32_t>{1, 2, 3, 4}));
}

INSTANTIATE_TEST_SUITE_P(Finishing, NupBorder, testing::Bool(), [](const testing::TestParamInfo<bool>& p) {
    return std::string(p.param ? "Landscape" : "Portrait");
});

class Finishing : public FinishingTest {};

TEST_F(Finishing, FourUpOfFivePagesGivesTwoSheets) {
    const SheetModel model = SheetModel::For(4);
    const SpoolRun run = Print(temp_, MarkedJob(5, Sheet(4)));
    ASSERT_EQ(run.job.pages.size(), 2u);
    EXPECT_EQ(model.PageIn(run.job.pages[0].Plane(4), 1, 1), 4u);
    const PagePlane& second = run.job.pages[1].Plane(4);
    EXPECT_EQ(model.PageIn(second, 0, 0), 5u);
    EXPECT_EQ(model.PageIn(second, 0, 1) + model.PageIn(second, 1, 0) + model.PageIn(second, 1, 1), 0u);
}

// ---- Booklet and page order ---------------------------------------------------------

TEST_F(Finishing, BookletOfFivePagesPrintsTheSidesInBookletOrder) {
    JobSettings settings = Sheet();
    settings.booklet = true;
    const SpoolRun run = Print(temp_, MarkedJob(5, settings));
    ASSERT_NE(Pjl(run, "DUPLEX"), nullptr);
    EXPECT_EQ(*Pjl(run, "DUPLEX"), "ON");
    ASSERT_NE(Pjl(run, "BINDING"), nullptr);
    EXPECT_EQ(*Pjl(run, "BINDING"), "SHORTEDGE");
    // Eight positions: sides (1, 8), (2, 7), (3, 6), (4, 5); pages 6 to 8 are
    // blank. A portrait page's cell 0 is the top half, cell 1 the bottom.
    const SheetModel halves = SheetModel::For(2);
    const uint32_t expected[4][2] = {{0, 1}, {2, 0}, {0, 3}, {4, 5}};  // top, bottom
    ASSERT_EQ(run.job.pages.size(), 4u);
    for (size_t side = 0; side < 4; ++side) {
        const DecodedPage& sheet = run.job.pages[side];
        EXPECT_EQ(sheet.header.longEdge, 0u) << "side " << side + 1;
        EXPECT_EQ(halves.PageIn(sheet.Plane(4), 0, 0), expected[side][0]) << "side " << side + 1;
        EXPECT_EQ(halves.PageIn(sheet.Plane(4), 1, 0), expected[side][1]) << "side " << side + 1;
    }
}

struct OrderCase {
    const char* name;
    uint32_t pageOrder;
    uint32_t duplexBinding;
    uint32_t pages;
    std::vector<uint32_t> printed;
};

class PageOrder : public FinishingTest, public testing::WithParamInterface<OrderCase> {};

TEST_P(PageOrder, PrintsThePagesInTheirOrder) {
    const OrderCase& c = GetParam();
    JobSettings settings = Sheet();
    settings.pageOrder = c.pageOrder;
    settings.duplexBinding = c.duplexBinding;
    const SpoolRun run = Print(temp_, MarkedJob(c.pages, settings));
    EXPECT_EQ(FullSizePages(run), c.printed);
    const std::string* duplex = Pjl(run, "DUPLEX");
    EXPECT_EQ(duplex != nullptr && *duplex == "ON", c.duplexBinding != 0);
}

INSTANTIATE_TEST_SUITE_P(Finishing, PageOrder,
                         testing::Values(OrderCase{"ReverseOfThree", 1, 0, 3, {3, 2, 1}},
                                         OrderCase{"OddPagesOfFive", 2, 0, 5, {1, 3, 5}},
                                         OrderCase{"EvenPagesOfFive", 3, 0, 5, {2, 4}},
                                         // Duplex sheets must keep their order: the request is dropped.
                                         OrderCase{"DuplexWithReverseKeepsTheOrder", 1, 1, 3, {1, 2, 3}}),
                         [](const testing::TestParamInfo<OrderCase>& p) {
                             return std::string(p.param.name);
                         });

// ---- Two finishing kinds: the whole job is held, then arranged ----------------------

TEST_F(Finishing, FourUpInReverseOrderPrintsTheLastSheetFirst) {
    JobSettings settings = Sheet(4);
    settings.pageOrder = 1;
    const SheetModel model = SheetModel::For(4);
    const SpoolRun run = Print(temp_, MarkedJob(5, settings));
    ASSERT_EQ(run.job.pages.size(), 2u);
    EXPECT_EQ(model.PageIn(run.job.pages[0].Plane(4), 0, 0), 5u);
    EXPECT_EQ(model.PageIn(run.job.pages[0].Plane(4), 0, 1), 0u);
    for (uint32_t i = 0; i < 4; ++i)
        EXPECT_EQ(model.PageIn(run.job.pages[1].Plane(4), i / 2, i % 2), i + 1) << "cell " << i;
}

TEST_F(Finishing, TwoUpOfEvenSheetsKeepsEverySecondSheet) {
    JobSettings settings = Sheet(2);
    settings.pageOrder = 3;
    const SheetModel model = SheetModel::For(2);
    const SpoolRun run = Print(temp_, MarkedJob(6, settings));
    ASSERT_EQ(run.job.pages.size(), 1u);
    EXPECT_EQ(model.PageIn(run.job.pages[0].Plane(4), 0, 0), 3u);
    EXPECT_EQ(model.PageIn(run.job.pages[0].Plane(4), 1, 0), 4u);
}

TEST_F(Finishing, BookletInReverseOrderPrintsTheSidesBackwards) {
    JobSettings settings = Sheet();
    settings.booklet = true;
    settings.pageOrder = 1;
    const SheetModel halves = SheetModel::For(2);
    const SpoolRun run = Print(temp_, MarkedJob(4, settings));
    // Sides (1, 4) and (2, 3), printed last first.
    ASSERT_EQ(run.job.pages.size(), 2u);
    EXPECT_EQ(halves.PageIn(run.job.pages[0].Plane(4), 0, 0), 2u);
    EXPECT_EQ(halves.PageIn(run.job.pages[0].Plane(4), 1, 0), 3u);
    EXPECT_EQ(halves.PageIn(run.job.pages[1].Plane(4), 0, 0), 4u);
    EXPECT_EQ(halves.PageIn(run.job.pages[1].Plane(4), 1, 0), 1u);
}

// ---- Settings that change between pages ---------------------------------------------

TEST_F(Finishing, AnotherCountPerSheetStartsANewSheet) {
    const SheetModel four = SheetModel::For(4), two = SheetModel::For(2);
    const SpoolRun run = Print(temp_, MarkedJob(4, [](uint32_t n) { return Sheet(n <= 2 ? 4 : 2); }));
    ASSERT_EQ(run.job.pages.size(), 2u);
    EXPECT_EQ(four.PageIn(run.job.pages[0].Plane(4), 0, 0), 1u);
    EXPECT_EQ(four.PageIn(run.job.pages[0].Plane(4), 0, 1), 2u);
    EXPECT_EQ(four.PageIn(run.job.pages[0].Plane(4), 1, 0), 0u);
    EXPECT_EQ(two.PageIn(run.job.pages[1].Plane(4), 0, 0), 3u);
    EXPECT_EQ(two.PageIn(run.job.pages[1].Plane(4), 1, 0), 4u);
}

TEST_F(Finishing, NupTurnedOffPrintsTheSheetThenFullPages) {
    const SheetModel four = SheetModel::For(4);
    const SpoolRun run = Print(temp_, MarkedJob(3, [](uint32_t n) { return Sheet(n <= 2 ? 4 : 0); }));
    ASSERT_EQ(run.job.pages.size(), 2u);
    EXPECT_EQ(four.PageIn(run.job.pages[0].Plane(4), 0, 1), 2u);
    EXPECT_EQ(FullSizePage(run.job.pages[1]), 3u);
}

TEST_F(Finishing, BookletTurnedOffPrintsTheHeldPagesAsABookletFirst) {
    const SheetModel halves = SheetModel::For(2);
    const SpoolRun run = Print(temp_, MarkedJob(3, [](uint32_t n) {
                                   JobSettings settings = Sheet();
                                   settings.booklet = n <= 2;
                                   return settings;
                               }));
    // Pages 1 and 2 as a booklet of two sides, (1, -) and (2, -); then page 3.
    ASSERT_EQ(run.job.pages.size(), 3u);
    EXPECT_EQ(halves.PageIn(run.job.pages[0].Plane(4), 1, 0), 1u);
    EXPECT_EQ(halves.PageIn(run.job.pages[1].Plane(4), 0, 0), 2u);
    EXPECT_EQ(FullSizePage(run.job.pages[2]), 3u);
}

// ---- The spool directory's lifetime -------------------------------------------------

// A reverse-order job: its pages wait in a spool directory until the end.
SpoolJob HeldJob(uint32_t pages) {
    JobSettings settings = Sheet();
    settings.pageOrder = 1;
    return MarkedJob(pages, settings);
}

TEST_F(Finishing, HeldPagesWaitOnDiskUntilTheEnd) {
    entry_test::Spooler spooler(temp_);
    ASSERT_TRUE(spooler.Ready());
    std::vector<uint32_t> filesAtPageEnds;
    sys::WString directory;
    const SpoolRun run = spooler.Run(HeldJob(3), [&](SplHandle* h, const SpoolRecord& record) {
        if (record.call != SpoolCall::EndPage || h == nullptr || h->prFB == nullptr) return;
        ASSERT_TRUE(h->prFB->jobFinishing && h->prFB->jobFinishing->spool);
        directory = h->prFB->jobFinishing->spool->directory;
        filesAtPageEnds.push_back(static_cast<uint32_t>(sys::ListDirectory(directory + u"\\*.vlp").size()));
    });
    EXPECT_EQ(filesAtPageEnds, (std::vector<uint32_t>{1, 2, 3}));
    EXPECT_EQ(FullSizePages(run), (std::vector<uint32_t>{3, 2, 1}));
    EXPECT_EQ(sys::GetPathKind(directory), sys::PathKind::Missing);
}

TEST_F(Finishing, AbortedJobPrintsNoHeldPageAndRemovesTheSpool) {
    SpoolJob job = HeldJob(3);
    job.records.insert(job.records.end() - 1, SpoolRecord{SpoolCall::Abort, {}});
    const SpoolRun run = Print(temp_, job);
    EXPECT_EQ(run.job.pages.size(), 0u);
}

TEST_F(Finishing, HandleClosedWithoutEndOfDocumentRemovesTheSpool) {
    SpoolJob job = HeldJob(2);
    job.records.pop_back();  // no EndDoc: DrvSplClose drops the document
    entry_test::Spooler spooler(temp_);
    ASSERT_TRUE(spooler.Ready());
    const SpoolRun run = spooler.Run(job);
    EXPECT_TRUE(run.job.pages.empty());
}

TEST_F(Finishing, FailingPrinterStillRemovesTheSpool) {
    if (!zebl_test::TestPrinter::FaultsSupported()) GTEST_SKIP() << "no failure injection here";
    zebl_test::PrinterFaults faults;
    faults.failAfterBytes = 0;
    faults.failError = 5;  // access denied, every time
    faults.failCount = UINT32_MAX;
    entry_test::Spooler spooler(temp_, faults);
    ASSERT_TRUE(spooler.Ready());
    const SpoolRun run = spooler.Run(HeldJob(3));
    const zebl_test::TestPrinter& printer = spooler.Printer();
    EXPECT_GT(static_cast<size_t>(printer.CountCalls("WritePrinter")), printer.WriteSizes().size())
        << "no write failed";
    EXPECT_TRUE(run.job.pages.empty());
}

}  // namespace
