// The orders job finishing arranges pages in: the choice of finishing kinds
// from the document options, booklet sides, page order on the page list.
#include <gtest/gtest.h>

#include <vector>

#include "pipeline/booklet_order.h"
#include "pipeline/job_finishing.h"
#include "pipeline/page_order.h"

namespace {

// ---- Choosing the kinds ----------------------------------------------------------------

struct FilterCase {
    const char* name;
    uint32_t options;
    uint32_t pageOrder;
    std::vector<uint32_t> kinds;
    uint32_t mode;
    uint32_t optionsOut;
};

class FilterFlags : public testing::TestWithParam<FilterCase> {};

TEST_P(FilterFlags, ChoosesTheKindsAndTheMode) {
    const FilterCase& c = GetParam();
    FBInterface record;
    record.SetUInt(kFBIPageOrder, c.pageOrder);
    record.SetUInt(kFBIPagesPerSheet, 4);
    FBJobFinishing state;
    uint32_t options = c.options;
    const int active = FBJFInit(&state, &options, record);
    EXPECT_EQ(std::vector<uint32_t>(state.kinds, state.kinds + state.kindCount), c.kinds);
    EXPECT_EQ(state.mode, c.mode);
    EXPECT_EQ(active != 0, c.mode != kJFModeNone);
    EXPECT_EQ(options, c.optionsOut);
    // Whole jobs hold their pages in a spool directory; page at a time none.
    EXPECT_EQ(state.spool != nullptr, c.mode == kJFModeWholeJob);
}

INSTANTIATE_TEST_SUITE_P(
    Finishing, FilterFlags,
    testing::Values(FilterCase{"Nothing", kDocOptWatermark, 0, {}, kJFModeNone, kDocOptWatermark},
                    FilterCase{"Nup", kDocOptNup, 0, {kJFKindNup}, kJFModePageAtATime, 0},
                    FilterCase{"BookletWinsOverNup",
                               kDocOptNup | kDocOptBooklet,
                               0,
                               {kJFKindBooklet},
                               kJFModeWholeJob,
                               kDocOptBookletActive},
                    FilterCase{"Reverse", kDocOptPageOrder, 1, {kJFKindPageOrder}, kJFModeWholeJob, 0},
                    FilterCase{"EvenPages", kDocOptPageOrder, 3, {kJFKindPageOrder}, kJFModePageAtATime, 0},
                    FilterCase{"NupAndOddPages",
                               kDocOptNup | kDocOptPageOrder,
                               2,
                               {kJFKindNup, kJFKindPageOrder},
                               kJFModeWholeJob,
                               0},
                    FilterCase{"DuplexRulesOutPageOrder",
                               kDocOptDuplexRequest | kDocOptPageOrder,
                               1,
                               {},
                               kJFModeNone,
                               kDocOptDuplex | kDocOptPageOrder},
                    FilterCase{"MultiPageNupPrintsPlainly", kDocOptMultiPageNup, 0, {}, kJFModeNone, 0},
                    FilterCase{"MultiPageNupLeavesTheBooklet",
                               kDocOptMultiPageNup | kDocOptBooklet,
                               0,
                               {kJFKindBooklet},
                               kJFModeWholeJob,
                               kDocOptBookletActive}),
    [](const testing::TestParamInfo<FilterCase>& p) { return std::string(p.param.name); });

TEST(FinishingKinds, AThirdKindIsRefused) {
    FBJobFinishing state;
    EXPECT_EQ(FBJFAddJob(&state, kJFKindNup), 1);
    EXPECT_EQ(FBJFAddJob(&state, kJFKindPageOrder), 1);
    EXPECT_EQ(FBJFAddJob(&state, kJFKindBooklet), 0);
    EXPECT_EQ(state.jobMask, uint32_t{kJFKindNup | kJFKindPageOrder});
}

// ---- Settings that change between pages ------------------------------------------------

struct ChangeCase {
    const char* name;
    uint32_t oldOptions, newOptions;
    uint32_t field;  // changed between the records, 0 for none
    FBJFChange change;
};

class SettingsChange : public testing::TestWithParam<ChangeCase> {};

TEST_P(SettingsChange, RestartsStopsOrKeepsFinishing) {
    const ChangeCase& c = GetParam();
    FBInterface before, after;
    for (FBInterface* r : {&before, &after}) {
        r->SetUInt(kFBIResolution, 600);
        r->SetUInt(kFBIPaperSize, 9);
        r->SetUInt(kFBIPagesPerSheet, 4);
    }
    before.SetUInt(kFBIDocOptions, c.oldOptions);
    after.SetUInt(kFBIDocOptions, c.newOptions);
    if (c.field != 0) after.SetUInt(c.field, after.UInt(c.field) * 2);
    EXPECT_EQ(FBJFDecideChange(before, after), c.change);
}

INSTANTIATE_TEST_SUITE_P(
    Finishing, SettingsChange,
    testing::Values(
        ChangeCase{"SameSheetKeeps", kDocOptNup, kDocOptNup, 0, FBJFChange::Keep},
        ChangeCase{"ResolutionRestarts", kDocOptNup, kDocOptNup, kFBIResolution, FBJFChange::Restart},
        ChangeCase{"PaperRestarts", kDocOptNup, kDocOptNup, kFBIPaperSize, FBJFChange::Restart},
        ChangeCase{"CountRestarts", kDocOptNup, kDocOptNup, kFBIPagesPerSheet, FBJFChange::Restart},
        ChangeCase{"NupStartingStarts", 0, kDocOptNup, 0, FBJFChange::Restart},
        ChangeCase{"NupEndingStops", kDocOptNup, 0, 0, FBJFChange::Stop},
        ChangeCase{"BookletEndingStops", kDocOptBooklet, 0, 0, FBJFChange::Stop},
        ChangeCase{"BookletGoingOnKeeps", kDocOptBooklet, kDocOptBooklet, kFBIResolution, FBJFChange::Keep},
        ChangeCase{"PlainStaysPlain", 0, kDocOptPageOrder, 0, FBJFChange::Keep}),
    [](const testing::TestParamInfo<ChangeCase>& p) { return std::string(p.param.name); });

// ---- Booklet sides ---------------------------------------------------------------------

// "page/cell" per side, page first, partner second; blanks marked "-".
std::vector<std::string> Sides(uint32_t pages) {
    std::vector<std::string> out;
    for (const FBBookletSide& side : FBBookletSides(pages)) {
        auto text = [](const FBBookletPosition& p) {
            return (p.blank ? std::string("-") : std::to_string(p.pageNumber)) + "/" + std::to_string(p.cell);
        };
        out.push_back(text(side.page) + " " + text(side.partner));
    }
    return out;
}

TEST(BookletOrder, FivePagesMakeFourSidesWithThreeBlanks) {
    EXPECT_EQ(Sides(5), (std::vector<std::string>{"1/1 -/0", "2/0 -/1", "3/1 -/0", "4/0 5/1"}));
}

TEST(BookletOrder, NoPagesNoSidesOnePageOneSheet) {
    EXPECT_TRUE(FBBookletSides(0).empty());
    EXPECT_EQ(Sides(1), (std::vector<std::string>{"1/1 -/0", "-/0 -/1"}));
}

// Side 2k-1 is the front of sheet k, side 2k its back.
TEST(BookletOrder, EveryPageTakesOnePositionAndSidesMirror) {
    for (uint32_t pages : {4u, 7u, 8u, 12u, 33u}) {
        const std::vector<FBBookletSide> sides = FBBookletSides(pages);
        const uint32_t total = static_cast<uint32_t>(sides.size() * 2);
        std::vector<uint32_t> read(total + 1, 0);
        // Each side holds two pages that add up to T + 1; each page once.
        for (const FBBookletSide& side : sides) {
            EXPECT_EQ(side.page.pageNumber + side.partner.pageNumber, total + 1);
            EXPECT_NE(side.page.cell, side.partner.cell);
            ++read[side.page.pageNumber];
            ++read[side.partner.pageNumber];
        }
        for (uint32_t n = 1; n <= total; ++n) EXPECT_EQ(read[n], 1u) << pages << " pages, page " << n;
        // Front and back of a sheet put the lower page in opposite cells, so
        // they mirror when the sheet turns over.
        for (size_t k = 0; k + 1 < sides.size(); k += 2)
            EXPECT_NE(sides[k].page.cell, sides[k + 1].page.cell);
    }
}

// ---- Page order on the page list -------------------------------------------------------

std::vector<uint32_t> Numbers(const FBPageList& list) {
    std::vector<uint32_t> out;
    for (const FBPageListSheet& sheet : list.sheets) out.push_back(sheet.SheetEntry().pageNumber);
    return out;
}

FBPageList ListOf(uint32_t pages) {
    FBPageList list;
    FBPageListInit(&list);
    for (uint32_t n = 1; n <= pages; ++n) {
        FBPage page;
        page.pageNumber = n;
        FBPageListSheet* sheet = FBPageListAddPage(&list, &page);
        // A sub-entry rides along with its sheet.
        FBPage other = page;
        other.pageNumber = 100 + n;
        FBPageListAddSubPage(sheet, &other);
    }
    return list;
}

struct PageOrderCase {
    uint32_t order;
    std::vector<uint32_t> kept;
};

class PageListOrder : public testing::TestWithParam<PageOrderCase> {};

TEST_P(PageListOrder, KeepsAndTurnsTheSheets) {
    FBPageList list = ListOf(5);
    EXPECT_EQ(FBJFProcessPageOrder(&list, GetParam().order), 1);
    EXPECT_EQ(Numbers(list), GetParam().kept);
    for (const FBPageListSheet& sheet : list.sheets) {
        ASSERT_EQ(sheet.entries.size(), 2u);
        EXPECT_EQ(sheet.entries.back().pageNumber, sheet.SheetEntry().pageNumber + 100);
    }
}

INSTANTIATE_TEST_SUITE_P(Finishing, PageListOrder,
                         testing::Values(PageOrderCase{kPageOrderNormal, {1, 2, 3, 4, 5}},
                                         PageOrderCase{kPageOrderReverse, {5, 4, 3, 2, 1}},
                                         PageOrderCase{kPageOrderOddPages, {1, 3, 5}},
                                         PageOrderCase{kPageOrderEvenPages, {2, 4}},
                                         PageOrderCase{9, {1, 2, 3, 4, 5}}));

}  // namespace
