#include "pipeline/job_finishing_play.h"

#include <algorithm>

#include "pipeline/cmd_writer.h"
#include "pipeline/debug_output.h"

namespace {

bool Aborted(const FBContext* context) {
    return context->abortRequested != nullptr &&
           context->abortRequested->load(std::memory_order_acquire) != 0;
}

// The record a whole-job sheet prints with: that of its first page, in the
// sheet's orientation; a side of blanks takes the document's first page.
FBPage SheetRecord(const FBJobFinishing* state, const FBPageListSheet& sheet, const FBPage& fallback) {
    FBPage record = state->pages.empty() ? fallback : state->pages.front();
    for (const FBPageListEntry& entry : sheet.entries) {
        if (entry.kind != kPageListPage) continue;
        const auto found = std::find_if(state->pages.begin(), state->pages.end(),
                                        [&](const FBPage& p) { return p.pageNumber == entry.pageNumber; });
        if (found != state->pages.end()) record = *found;
        break;
    }
    record.orientation = sheet.SheetEntry().orientation;
    return record;
}

// The display list of one whole-job sheet: each page at its place, with its
// border when asked.
void BuildSheet(FBJobFinishing* state, const FBPageListSheet& sheet, uint32_t resolution) {
    FBCmdList* list = &state->playList;
    FBCmdListDelete(list);
    for (const FBPageListEntry& entry : sheet.entries) {
        if (entry.kind != kPageListPage) continue;
        FBCmdWriteBasePos(list, entry.rowPosition, entry.columnPosition);
        sys::WString file;
        FBJobSpoolGetPageFileName(state->spool.get(), &file, entry.pageNumber);
        if (!FBCmdBufferAddDataFromFile(list, file)) {
            // What the file held before the damage still plays.
            OutputDebugPrintf("[FB]page %u: spooled display list missing or damaged\n", entry.pageNumber);
        }
        if (state->nupBorder != 0 && entry.HasBorderRectangle()) {
            FBCmdWriteBasePos(list, 0, 0);
            FBCmdWriteSetScale(list, 100, 100, entry.orientation);
            FBCmdWriteDrawBorder(list, entry.r0, entry.c0, entry.r1, entry.c1,
                                 static_cast<uint16_t>((resolution / 300) * state->borderFactor));
        }
        FBCmdWriteBasePos(list, 0, 0);
    }
}

}  // namespace

int FBPlayJFPages(FBJobFinishing* state, FBOut* out, FBSettings* settings, const FBPage* page,
                  FBPrintCache* cache) {
    if (state == nullptr || page == nullptr) return 0;
    int ok = 1;
    for (const FBPageListSheet& sheet : state->pageList.sheets) {
        FBPage sheetPage = *page;
        sheetPage.orientation = sheet.entries.back().orientation;
        ok &= FBPlayPage(&sheetPage, &state->playList, out, settings, cache);
    }
    FBPageListDelete(&state->pageList);
    FBCmdListDelete(&state->playList);
    return ok;
}

int FBPlayJFAllJob(FBJobFinishing* state, FBOut* out, FBSettings* settings, const FBPage* page,
                   FBPrintCache* cache) {
    if (state == nullptr || page == nullptr || !state->spool) return 0;
    int ok = 1;
    for (const FBPageListSheet& sheet : state->pageList.sheets) {
        const FBPage record = SheetRecord(state, sheet, *page);
        BuildSheet(state, sheet, record.resolution);
        ok &= FBPlayPage(&record, &state->playList, out, settings, cache);
    }
    FBPageListDelete(&state->pageList);
    FBCmdListDelete(&state->playList);
    return ok;
}

int FBEndPageJF(FBContext* context) {
    if (context == nullptr || !context->jobFinishing || !context->page || !context->settings) return 0;
    FBJobFinishing* state = context->jobFinishing.get();
    const FBPage* page = context->page.get();
    const FBSettings* settings = context->settings.get();
    FBCmdList* list = FBJFDataList(state);
    FBCmdLoadWatermark(list, settings->portraitWatermarkPath, settings->landscapeWatermarkPath,
                       page->orientation, page->pageNumber, settings->watermarkFirstPageOnly);
    ++state->pageCount;
    if (state->mode == kJFModeWholeJob) {
        FBJobSpool* spool = state->spool.get();
        const int spooled = FBJobSpoolNewPage(spool, page) && FBJobSpoolAddDataFromCmdBuffer(spool, list);
        FBJobSpoolClosePage(spool);
        FBCmdListDelete(list);
        if (!spooled) OutputDebugPrintf("[FB]page %u could not be spooled\n", page->pageNumber);
        return spooled;
    }
    if (!FBJFAddPage(state, page)) return 1;
    return FBPlayJFPages(state, context->out.get(), context->settings.get(), page, &context->cache);
}

int FBEndDocJF(FBContext* context) {
    if (context == nullptr || !context->jobFinishing) return 1;
    FBJobFinishing* state = context->jobFinishing.get();
    int ok = 1;
    if (Aborted(context)) {
        OutputDebugPrintf("[FB]job aborted: %u held pages dropped\n", state->pageCount);
    } else if (context->page && context->out) {
        FBPage* page = context->page.get();
        if (state->mode == kJFModePageAtATime) {
            if (!FBPageListEmpty(&state->pageList)) {
                ok = FBPlayJFPages(state, context->out.get(), context->settings.get(), page, &context->cache);
            }
        } else if (state->mode == kJFModeWholeJob) {
            ok = FBJFProcessAllJob(state);
            ok &= FBPlayJFAllJob(state, context->out.get(), context->settings.get(), page, &context->cache);
        }
    }
    FBJFDelete(state);
    return ok;
}
