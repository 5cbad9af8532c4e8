#include "pipeline/job_finishing.h"

#include <algorithm>
#include <new>

#include "pipeline/booklet_order.h"
#include "pipeline/cmd_writer.h"
#include "pipeline/nup_geometry.h"
#include "pipeline/page_order.h"

namespace {

// Booklet sides are 2-up sheets: the two cells of a portrait sheet read
// from the top, of a landscape one turned.
constexpr uint32_t kBookletPagesPerSide = 2;
constexpr uint32_t kBookletCellOrientation = 1;

uint32_t FirstKind(const FBJobFinishing* state) { return state->kindCount > 0 ? state->kinds[0] : 0; }

bool HasKind(const FBJobFinishing* state, uint32_t kind) { return (state->jobMask & kind) != 0; }

uint32_t RoundUpTo32(uint32_t dots) { return static_cast<uint32_t>((uint64_t{dots} + 31) / 32 * 32); }

uint32_t ChooseMode(const FBJobFinishing* state) {
    if (state->kindCount == 0) return kJFModeNone;
    if (state->kindCount > 1) return kJFModeWholeJob;
    switch (state->kinds[0]) {
        case kJFKindNup: return kJFModePageAtATime;
        case kJFKindPageOrder:
            return state->pageOrder == kPageOrderOddPages || state->pageOrder == kPageOrderEvenPages
                       ? kJFModePageAtATime
                       : kJFModeWholeJob;
        default: return kJFModeWholeJob;
    }
}

// The border bars: (resolution / 300) x border factor dots each side.
uint16_t BorderThickness(const FBJobFinishing* state, uint32_t resolution) {
    return static_cast<uint16_t>((resolution / 300) * state->borderFactor);
}

// Fills the entry's place on the sheet; its orientation is the sheet's.
void Place(const FBJobFinishing* state, uint32_t pagesPerSheet, uint32_t orientation, uint32_t order,
           uint32_t index, const FBPage& page, FBPageListEntry* entry) {
    FBNupPlacement placement;
    GetNupValues(pagesPerSheet, orientation, order, index, page.printableWidth, page.printableHeight,
                 page.resolution, state->borderFactor, &placement);
    entry->rowPosition = placement.rowPosition;
    entry->columnPosition = placement.columnPosition;
    entry->r0 = placement.r0;
    entry->c0 = placement.c0;
    entry->r1 = placement.r1;
    entry->c1 = placement.c1;
}

// Appends an entry for `page` to the sheet in hand, or opens a new sheet.
FBPageListEntry* AddToSheet(FBPageList* list, FBPageListSheet** sheet, const FBPage* page) {
    if (*sheet == nullptr) {
        *sheet = FBPageListAddPage(list, page);
        return *sheet ? &(*sheet)->SheetEntry() : nullptr;
    }
    return FBPageListAddSubPage(*sheet, page);
}

// The record of the spooled page at `position` (1-based, in the order the
// pages ended); null for one the page-info file lacks.
const FBPage* RecordOf(const FBJobFinishing* state, uint32_t position) {
    if (position == 0 || position > state->pages.size()) return nullptr;
    const FBPage& page = state->pages[position - 1];
    return page.pageNumber != 0 ? &page : nullptr;
}

}  // namespace

int FBJFAddJob(FBJobFinishing* state, uint32_t kind) {
    if (state == nullptr || state->kindCount >= kFBJFMaxKinds) return 0;
    state->kinds[state->kindCount++] = kind;
    state->jobMask |= kind;
    return 1;
}

int FBJFFilterFlags(FBJobFinishing* state, uint32_t options, uint32_t* optionsOut) {
    if (state == nullptr || optionsOut == nullptr) return 0;
    uint32_t o = options & ~kDocOptMultiPageNup;
    if (o & kDocOptBooklet) o &= ~kDocOptNup;
    if (o & kDocOptNup) {
        FBJFAddJob(state, kJFKindNup);
        o &= ~kDocOptNup;
    } else if (o & kDocOptBooklet) {
        FBJFAddJob(state, kJFKindBooklet);
        o = (o & ~kDocOptBooklet) | kDocOptBookletActive;
    }
    if (o & kDocOptDuplexRequest) {
        // Duplex sheets keep their order: the back must follow its front.
        o = (o & ~kDocOptDuplexRequest) | kDocOptDuplex;
    } else if (o & kDocOptPageOrder) {
        FBJFAddJob(state, kJFKindPageOrder);
        o &= ~kDocOptPageOrder;
    }
    *optionsOut = o;
    return static_cast<int>(state->kindCount);
}

int FBJFInit(FBJobFinishing* state, uint32_t* options, const FBInterface& record) {
    if (state == nullptr || options == nullptr) return 0;
    state->copies = record.UInt(kFBICopies);
    state->collate = record.UInt(kFBICollate);
    state->pagesPerSheet = record.UInt(kFBIPagesPerSheet);
    state->nupBorder = record.UInt(kFBINupBorder);
    state->nupOrder = record.UInt(kFBINupOrder);
    state->posterTiles = record.UInt(kFBIPosterTiles);
    state->posterOverlap = record.UInt(kFBIPosterOverlap);
    state->duplexBinding = record.UInt(kFBIDuplexBinding);
    state->pageOrder = record.UInt(kFBIPageOrder);
    FBJFFilterFlags(state, *options, options);
    state->mode = ChooseMode(state);
    if (state->mode == kJFModeNone) return 0;

    FBPageListInit(&state->pageList);
    FBCmdListInit(&state->playList, kCmdPlain);
    if (HasKind(state, kJFKindNup) || state->mode == kJFModeWholeJob) {
        state->recordingList.reset(new (std::nothrow) FBCmdList());
        if (!state->recordingList) return 0;
        FBCmdListInit(state->recordingList.get(), kCmdWithHeaders);
    }
    if (state->mode == kJFModeWholeJob) {
        state->spool = FBJobSpoolCreateDirectory();
        if (!state->spool) return 0;
    }
    return 1;
}

FBCmdList* FBJFDataList(FBJobFinishing* state) {
    if (state == nullptr) return nullptr;
    return state->recordingList ? state->recordingList.get() : &state->playList;
}

uint32_t FBJFPageScale(const FBJobFinishing* state, const FBPage& page) {
    if (state == nullptr) return 0;
    uint32_t pagesPerSheet = 0;
    if (HasKind(state, kJFKindNup)) pagesPerSheet = state->pagesPerSheet;
    else if (HasKind(state, kJFKindBooklet)) pagesPerSheet = kBookletPagesPerSide;
    else return 0;
    FBNupPlacement placement;
    return GetNupValues(pagesPerSheet, page.orientation, state->nupOrder, 0, RoundUpTo32(page.printableWidth),
                        RoundUpTo32(page.printableHeight), page.resolution, state->borderFactor, &placement);
}

uint32_t FBJFSheetCapacity(const FBJobFinishing* state) {
    // A count without a grid of its own gets one cell: one page a sheet,
    // never several pages drawn over each other.
    const FBNupGrid grid = FBNupGridFor(state->pagesPerSheet);
    return grid.columns * grid.rows;
}

int FBJFNupAddPage(FBJobFinishing* state, const FBPage* page) {
    if (state == nullptr || page == nullptr) return 0;
    if (state->placedOnSheet == 0) state->sheetOrientation = page->orientation;
    FBPageListSheet* sheet = state->placedOnSheet == 0 || state->pageList.sheets.empty()
                                 ? nullptr
                                 : &state->pageList.sheets.back();
    // The page is placed even when its list entry cannot be had: the sheet
    // still prints it.
    FBPageListEntry placed;
    Place(state, state->pagesPerSheet, state->sheetOrientation, state->nupOrder, state->placedOnSheet, *page,
          &placed);
    placed.pageNumber = page->pageNumber;
    placed.orientation = page->orientation;
    if (FBPageListEntry* entry = AddToSheet(&state->pageList, &sheet, page)) *entry = placed;

    FBCmdList* sheetList = &state->playList;
    FBCmdWriteBasePos(sheetList, placed.rowPosition, placed.columnPosition);
    if (state->recordingList) {
        FBCmdListCopy(sheetList, state->recordingList.get());
        FBCmdListDelete(state->recordingList.get());
    }
    FBCmdWriteBasePos(sheetList, 0, 0);
    if (state->nupBorder != 0) {
        FBCmdWriteSetScale(sheetList, 100, 100, page->orientation);
        FBCmdWriteDrawBorder(sheetList, placed.r0, placed.c0, placed.r1, placed.c1,
                             BorderThickness(state, page->resolution));
    }
    if (++state->placedOnSheet < FBJFSheetCapacity(state)) return 0;
    state->placedOnSheet = 0;
    return 1;
}

int FBJFAddPage(FBJobFinishing* state, const FBPage* page) {
    if (state == nullptr || page == nullptr) return 0;
    switch (FirstKind(state)) {
        case kJFKindNup: return FBJFNupAddPage(state, page);
        case kJFKindPageOrder:
            if (FBPageOrderKeeps(state->pageOrder, page->pageNumber)) {
                return FBPageListAddPage(&state->pageList, page) != nullptr ? 1 : 0;
            }
            FBCmdListDelete(FBJFDataList(state));  // a page of the other parity
            return 0;
        default: return 0;
    }
}

int FBJFCreateNormalJob(FBJobFinishing* state) {
    if (state == nullptr) return 0;
    for (const FBPage& page : state->pages) {
        if (page.pageNumber != 0 && !FBPageListAddPage(&state->pageList, &page)) return 0;
    }
    return 1;
}

int FBJFProcessNUP(FBJobFinishing* state) {
    if (state == nullptr) return 0;
    const uint32_t capacity = FBJFSheetCapacity(state);
    FBPageListSheet* sheet = nullptr;
    uint32_t index = 0;
    uint32_t orientation = 0;
    for (const FBPage& page : state->pages) {
        if (page.pageNumber == 0) continue;  // a record the spool lost
        if (index == 0) orientation = page.orientation;
        FBPageListEntry* entry = AddToSheet(&state->pageList, &sheet, &page);
        if (entry == nullptr) return 0;
        Place(state, state->pagesPerSheet, orientation, state->nupOrder, index, page, entry);
        entry->orientation = orientation;
        if (++index == capacity) {
            index = 0;
            sheet = nullptr;
        }
    }
    return 1;
}

int FBJFProcessBookletAuto(FBJobFinishing* state) {
    if (state == nullptr) return 0;
    const FBPage* first = RecordOf(state, 1);
    if (first == nullptr) return FBJFCreateNormalJob(state);
    // The two halves of a side; a portrait booklet reads them the other way.
    FBPageListEntry cells[2];
    for (uint32_t i = 0; i < 2; ++i) {
        Place(state, kBookletPagesPerSide, kBookletCellOrientation, kNupAcrossThenDown, i, *first, &cells[i]);
    }
    if (first->orientation == 0) std::swap(cells[0], cells[1]);

    const uint32_t pages = static_cast<uint32_t>(state->pages.size());
    for (const FBBookletSide& side : FBBookletSides(pages)) {
        FBPageListSheet* sheet = nullptr;
        for (const FBBookletPosition& position : {side.page, side.partner}) {
            const FBPage* page = position.blank ? nullptr : RecordOf(state, position.pageNumber);
            if (page == nullptr) continue;
            FBPageListEntry* entry = AddToSheet(&state->pageList, &sheet, page);
            if (entry == nullptr) return 0;
            const FBPageListEntry& cell = cells[position.cell];
            entry->rowPosition = cell.rowPosition;
            entry->columnPosition = cell.columnPosition;
            entry->r0 = cell.r0;
            entry->c0 = cell.c0;
            entry->r1 = cell.r1;
            entry->c1 = cell.c1;
        }
        if (sheet == nullptr) {
            // A side of blanks still takes its place in the stack.
            sheet = FBPageListAddPage(&state->pageList, nullptr);
            if (sheet == nullptr) return 0;
            sheet->SheetEntry().kind = kPageListBlank;
            sheet->SheetEntry().orientation = first->orientation;
        }
    }
    return 1;
}

int FBJFProcessAllJob(FBJobFinishing* state) {
    if (state == nullptr || !state->spool) return 0;
    FBPageListDelete(&state->pageList);
    try {
        state->pages.assign(state->pageCount, FBPage{});
    } catch (const std::bad_alloc&) {
        return 0;
    }
    // Records the page-info file lacks stay zero and are passed over.
    FBJobSpoolReadPageInfo(state->spool.get(), state->pages.data(), state->pageCount);
    int built = 0;
    switch (FirstKind(state)) {
        case kJFKindNup: built = FBJFProcessNUP(state); break;
        case kJFKindBooklet: built = FBJFProcessBookletAuto(state); break;
        default:
            built = FBJFCreateNormalJob(state);
            if (FirstKind(state) == kJFKindPageOrder)
                FBJFProcessPageOrder(&state->pageList, state->pageOrder);
            break;
    }
    if (state->kindCount > 1 && state->kinds[1] == kJFKindPageOrder) {
        FBJFProcessPageOrder(&state->pageList, state->pageOrder);
    }
    return built;
}

int FBJFDelete(FBJobFinishing* state) {
    if (state == nullptr) return 0;
    FBPageListDelete(&state->pageList);
    FBCmdListDelete(&state->playList);
    state->recordingList.reset();
    state->pages.clear();
    state->pages.shrink_to_fit();
    state->spool.reset();
    return 1;
}

FBJFChange FBJFDecideChange(const FBInterface& oldRecord, const FBInterface& newRecord) {
    const uint32_t oldOptions = oldRecord.UInt(kFBIDocOptions);
    const uint32_t newOptions = newRecord.UInt(kFBIDocOptions);
    FBJFChange change = FBJFChange::Keep;
    if (newOptions & kDocOptNup) {
        // A sheet holds pages of one resolution, paper and count only. N-up
        // that starts here starts finishing too.
        const bool sameSheet = (oldOptions & kDocOptNup) &&
                               oldRecord.Int(kFBIResolution) == newRecord.Int(kFBIResolution) &&
                               oldRecord.Int(kFBIPaperSize) == newRecord.Int(kFBIPaperSize) &&
                               oldRecord.Int(kFBIPagesPerSheet) == newRecord.Int(kFBIPagesPerSheet);
        if (!sameSheet) change = FBJFChange::Restart;
    } else if (oldOptions & kDocOptNup) {
        change = FBJFChange::Stop;
    }
    if (!(newOptions & kDocOptBooklet) && (oldOptions & kDocOptBooklet)) change = FBJFChange::Stop;
    return change;
}
