// Helpers of the job finishing tests: jobs whose every page carries a mark
// that tells the page apart on a decoded sheet, a model of the N-up sheet's
// cells, and a fixture that checks that nothing is left in the temporary
// folder.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "pipeline/entry_points_test_support.h"
#include "support/temp_watch.h"

namespace finishing_test {

using entry_test::Box;

// The sheets of these tests: a small page at 600 dpi.
constexpr uint32_t kResolution = 600;
constexpr uint32_t kWidth = 1200;   // A, columns
constexpr uint32_t kHeight = 1600;  // B, rows

// Page n draws one box 400 dots wide and 80 x n rows tall at (100, 100):
// the box's height over its width tells the page, at any reduction. The
// box stays inside 1200 x 1200 dots, where a page drawn turned for N-up
// still fits its cell.
constexpr uint32_t kMarkWidth = 400;
constexpr uint32_t kMarkRowsPerPage = 80;
inline Box Mark(uint32_t page) { return {100, 100, 100 + kMarkWidth, 100 + kMarkRowsPerPage * page}; }

// The smallest rectangle holding every dot of the plane inside an area.
struct Bounds {
    bool any = false;
    uint32_t left = 0, top = 0, right = 0, bottom = 0;  // right and bottom exclusive
};
Bounds DotBounds(const PagePlane& plane, uint32_t left, uint32_t top, uint32_t right, uint32_t bottom);

// The page whose mark these bounds hold; 0 when they hold none.
uint32_t PageOfMark(const Bounds& bounds);

// Settings of the test page, N-up or not.
JobSettings Sheet(uint32_t pagesPerSheet = 0, bool landscape = false, uint32_t order = 0,
                  bool border = false);

// A job of `pages` marked pages, each announced by its settings record;
// `settingsOf(n)` gives the settings of page n (1-based).
template <typename SettingsOf>
SpoolJob MarkedJob(uint32_t pages, SettingsOf settingsOf) {
    SpoolJobBuilder builder;
    builder.StartDoc(settingsOf(1));
    for (uint32_t n = 1; n <= pages; ++n) {
        builder.StartPage(settingsOf(n));
        builder.AddDisplayList(entry_test::ListOf({Mark(n)}));
        builder.EndPage();
    }
    builder.EndDoc();
    return builder.Job();
}
inline SpoolJob MarkedJob(uint32_t pages, const JobSettings& settings) {
    return MarkedJob(pages, [&](uint32_t) { return settings; });
}

// The page printed full size on a sheet of its own; 0 when the sheet shows
// no single mark.
uint32_t FullSizePage(const DecodedPage& sheet);

// The cells of an N-up sheet of the test page: t columns by u rows inside a
// margin of 10 dots per 300 dpi.
struct SheetModel {
    uint32_t columns = 1, rows = 1;
    uint32_t margin = 0, cellColumns = 0, cellRows = 0;
    uint32_t scale = 100;  // of the pages, in percent

    static SheetModel For(uint32_t pagesPerSheet);
    // The cell of the page at `index` as the reading order goes: on a
    // portrait sheet rows (orders 0, 2) or columns (1, 3) first, from the
    // left (0, 1) or the right (2, 3); a landscape sheet is read the same
    // way with the sheet turned a quarter to the right.
    void CellOf(uint32_t pagesPerSheet, bool landscape, uint32_t order, uint32_t index, uint32_t* row,
                uint32_t* column) const;
    // The page whose mark lies in the cell; 0 for none.
    uint32_t PageIn(const PagePlane& plane, uint32_t row, uint32_t column, uint32_t inset = 0) const;
};

// A test whose library finds the stand-in modules and that fails when it
// leaves anything in the temporary folder.
class FinishingTest : public entry_test::EntryPointTest {
protected:
    void TearDown() override {
        EXPECT_EQ(watch_.LeftBehind(), "");
        EntryPointTest::TearDown();
    }
    zebl_test::TempWatch watch_;
};

// A job replayed by the spooler; the test fails when the printer did not get
// a stream that decodes.
inline entry_test::SpoolRun Print(const zebl_test::TempFolder& folder, const SpoolJob& job) {
    entry_test::SpoolRun run = entry_test::RunJob(folder, job);
    EXPECT_TRUE(run.decoded) << run.error;
    return run;
}

}  // namespace finishing_test
