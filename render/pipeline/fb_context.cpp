#include "pipeline/fb_context.h"

#include <algorithm>
#include <new>

#include "pipeline/cmd_writer.h"
#include "pipeline/debug_output.h"
#include "pipeline/job_finishing.h"
#include "pipeline/job_finishing_play.h"
#include "pipeline/overlay_option.h"
#include "pipeline/printer_stream.h"
#include "pipeline/recording.h"
#include "pipeline/watermark_paths.h"

namespace {

// Allocates the member when it is missing; false when memory ran out.
template <typename T>
bool MakeIfMissing(std::unique_ptr<T>* member) {
    if (!*member) member->reset(new (std::nothrow) T());
    return *member != nullptr;
}

bool DuplexOn(const FBSettings* settings) {
    return settings != nullptr && FBDuplexIsOn(settings->duplexType);
}

// The colour conversion of the document: the module beside this library,
// or none when it is missing (an error box has then told the user). A
// colour document without it prints in grey, and says so in its PJL.
void SetUpColour(FBContext* context, const FBInterface& record) {
    if (!context->colour) {
        std::unique_ptr<CMMConverter> colour(new (std::nothrow) CMMConverter());
        if (colour && CMMInitialize(colour.get(), record, DuplexOn(context->settings.get()))) {
            context->colour = std::move(colour);
        }
    }
    context->cache.colour = context->colour.get();
    if (!context->colour && context->settings) context->settings->colourIndex = 0;
}

void OpenWriter(FBContext* context, const FBInterface& record) {
    FBOut* out = context->out.get();
    if (out == nullptr) return;
    if (out->mode == kOutNotOpened) {
        FBOutSetDocinfo(out, context->docName, context->portName, u"RAW");
        FBOutOpen(out, record.String(kFBIPrinterName), context->printer);
        out->aborted = context->abortRequested;
    }
    out->copyRepeatCount = FBCopyRepeatCount(record);
}

// Parses the settings record that now governs the document's pages.
void TakeRecord(FBContext* context, const FBInterface& record) {
    FBParseRecordPage(&context->parsedRecord, record);
    context->recordParsed = true;
}

// The parsed current record. Data that comes before the document is set up
// (a first page without a settings record) finds the start-of-document
// record not parsed yet; it is parsed here.
const FBRecordPage& ParsedRecord(FBContext* context) {
    if (!context->recordParsed) TakeRecord(context, *context->record);
    return context->parsedRecord;
}

// The scale command that starts every page's display list: the playback
// draws the page at this scale, and the page printer enlarges or shrinks
// the sheet by the same value (both clamped alike, by FBRecordScale).
// N-up and booklet pages take the reduction of their place on the sheet.
int WriteScaleCommand(FBContext* context, FBCmdList* list) {
    const FBRecordPage& parsed = ParsedRecord(context);
    const uint32_t reduced = FBJFPageScale(context->jobFinishing.get(), parsed.page);
    return FBCmdWriteSetScale(list, 100, reduced != 0 ? reduced : parsed.scale, parsed.page.orientation);
}

// A fresh plain list for the context, keeping nothing of the old one.
bool MakePlainList(FBContext* context) {
    context->cmdList.reset(new (std::nothrow) FBCmdList());
    if (!context->cmdList) return false;
    FBCmdListInit(context->cmdList.get(), kCmdPlain);
    return true;
}

// Moves what the context's own list holds (the first page's data when it
// came before the document was set up) into the list finishing fills.
void HandOverEarlyData(FBContext* context) {
    if (!context->cmdList) return;
    FBCmdList* target = FBJFDataList(context->jobFinishing.get());
    for (const FBCmdPiece& piece : FBCmdListPieces(context->cmdList.get())) {
        if (piece.length != 0) FBCmdListAddData(target, piece.data, piece.length, piece.tag);
    }
    context->cmdList.reset();
}

// Starts finishing for the options (which it may rewrite); false, and no
// state, when the document needs none.
bool StartFinishing(FBContext* context, const FBInterface& record, uint32_t* options) {
    context->jobFinishing.reset(new (std::nothrow) FBJobFinishing());
    if (!context->jobFinishing) return false;
    uint32_t rewritten = *options;
    if (!FBJFInit(context->jobFinishing.get(), &rewritten, record)) {
        context->jobFinishing.reset();
        return false;
    }
    *options = rewritten;
    return true;
}

// Flushes and drops the finishing state; later pages print one by one.
void StopFinishing(FBContext* context) {
    if (!context->jobFinishing) return;
    FBEndDocJF(context);
    context->jobFinishing.reset();
    MakePlainList(context);
}

}  // namespace

void FBJobFinishingDeleter::operator()(FBJobFinishing* state) const {
    FBJFDelete(state);
    delete state;
}

FBContext::FBContext() = default;

FBContext::~FBContext() { FBDestroy(this); }

uint32_t FBPlainJobOptions(uint32_t options) {
    if (options & kDocOptDuplexRequest) options = (options & ~kDocOptDuplexRequest) | kDocOptDuplex;
    return options;
}

uint32_t FBCopyRepeatCount(const FBInterface& record) {
    if (record.Int(kFBICollate) != 1) return 0;
    const int32_t copies = std::clamp<int32_t>(record.Int(kFBICopies), 1, kMaxCollatedCopies);
    return static_cast<uint32_t>(copies - 1);
}

int FBInitialize(FBContext* context, const FBInterface& record, sys::WStringView docName,
                 sys::PrinterHandle printer) {
    if (context == nullptr) return 0;
    if (context->docName.empty()) context->docName = sys::WString(docName);
    if (printer) context->printer = printer;
    TakeRecord(context, record);
    uint32_t options = record.UInt(kFBIDocOptions);
    // A document that records a watermark prints nothing.
    if (options & kDocOptRecordWatermark) return FBInitializeCreateWatermark(context, record);
    if (context->declined) return 1;
    if (!FBFilterOverlayOption(context, record, &options)) {
        context->declined = true;
        context->cmdList.reset();
        return 1;
    }
    context->options = options;
    if (options & kDocOptRecordOverlay) {
        FBInitializeCreateOverlay(context, record);
        return 1;  // no output writer: the printer gets nothing
    }

    context->jobFinishing.reset();
    if (!StartFinishing(context, record, &options)) options = FBPlainJobOptions(options);
    context->options = options;
    if (!MakeIfMissing(&context->out) || !MakeIfMissing(&context->settings) ||
        !MakeIfMissing(&context->page)) {
        OutputDebugPrintf("[FB]out of memory setting the document up\n");
        context->jobFinishing.reset();
        return 1;  // prints nothing; the spooler's calls still succeed
    }
    if (context->jobFinishing) {
        HandOverEarlyData(context);  // finishing keeps its own lists
    } else if (!context->cmdList) {
        // The list is kept when it already holds the first page's data (a
        // document whose first page came without a settings record).
        MakePlainList(context);
    }

    *context->page = FBRecordPageFor(context->parsedRecord, context->pageCount + 1);
    InitializeSettings(context->settings.get(), options, record);
    if (options & kDocOptWatermark) FBSettingsSetWatermarkPaths(context->settings.get());
    SetUpColour(context, record);
    OpenWriter(context, record);
    return 1;
}

int FBStartDoc(FBContext* context) {
    if (context == nullptr) return 0;
    return context->out ? FBOutStartDoc(context->out.get()) : 1;
}

int FBStartPage(FBContext* context) {
    if (context == nullptr) return 0;
    context->newPage = true;
    return 1;
}

int FBWritePrinter(FBContext* context, uint32_t length, uint32_t tag, const void* data) {
    if (context == nullptr || context->record == nullptr) return 0;
    if (context->declined) return 1;  // nothing of it would print
    FBCmdList* list = nullptr;
    if (context->jobFinishing) {
        list = FBJFDataList(context->jobFinishing.get());
    } else {
        // Data may come before the document is set up (a first page without
        // a settings record); the list is made for it rather than losing the
        // page.
        if (!context->cmdList && !MakePlainList(context)) return 0;
        list = context->cmdList.get();
    }
    if (FBCmdListByteCount(list) + length > kMaxPageListBytes) {
        OutputDebugPrintf("[FB]page %u: display list over %llu bytes, data dropped\n", context->pageCount + 1,
                          static_cast<unsigned long long>(kMaxPageListBytes));
        return 0;
    }
    if (context->newPage && !WriteScaleCommand(context, list)) return 0;
    context->newPage = false;
    context->touched = true;
    return FBCmdListAddData(list, data, length, tag);
}

int FBReset(FBContext* context, const FBInterface& oldRecord, FBInterface* newRecord) {
    if (context == nullptr || newRecord == nullptr) return 0;
    context->newPage = true;
    bool setUpAgain = false;
    if (!context->touched) {
        const uint32_t options = newRecord->UInt(kFBIDocOptions);
        // A recording document stays one: its file is open already.
        if (!(options & (kDocOptRecordWatermark | kDocOptRecordOverlay)) && !FBIsRecording(context)) {
            newRecord->SetInt(kFBIAskBeforeOverlay, 0);
            context->jobFinishing.reset();
            FBInitialize(context, *newRecord, context->docName, context->printer);
            setUpAgain = true;  // which parsed the new record
        }
        context->touched = true;
    }
    if (!setUpAgain) TakeRecord(context, *newRecord);
    if (!setUpAgain && context->out && context->settings) {
        switch (FBJFDecideChange(oldRecord, *newRecord)) {
            case FBJFChange::Keep: break;
            case FBJFChange::Stop: StopFinishing(context); break;
            case FBJFChange::Restart: {
                StopFinishing(context);
                uint32_t options = newRecord->UInt(kFBIDocOptions);
                if (StartFinishing(context, *newRecord, &options)) HandOverEarlyData(context);
                break;
            }
        }
    }
    if (context->page) {
        *context->page = FBRecordPageFor(context->parsedRecord, context->pageCount + 1);
    }
    return 1;
}

int FBEndPage(FBContext* context) {
    if (context == nullptr || context->record == nullptr) return 0;
    ++context->pageCount;
    const FBInterface& record = *context->record;
    int ok = 1;
    if (FBIsRecording(context)) {
        ok = FBRecordEndedPage(context);
    } else if (context->page && context->settings && context->out) {
        FBPage* page = context->page.get();
        FBSettings* settings = context->settings.get();
        *page = FBRecordPageFor(ParsedRecord(context), context->pageCount);
        if (!context->jobHeaderWritten) {
            ok = WriteJobHeader(context->out.get(), *page, settings);
            context->jobHeaderWritten = true;
        }
        if (context->colour) CMMReset(context->colour.get(), record, DuplexOn(settings));
        if (context->jobFinishing) {
            ok &= FBEndPageJF(context);
        } else if (context->cmdList) {
            FBCmdLoadWatermark(context->cmdList.get(), settings->portraitWatermarkPath,
                               settings->landscapeWatermarkPath, page->orientation, page->pageNumber,
                               settings->watermarkFirstPageOnly);
            ok &= FBPlayPage(page, context->cmdList.get(), context->out.get(), settings, &context->cache);
        }
    } else if (context->cmdList) {
        FBCmdListDelete(context->cmdList.get());  // nothing to print it with
    }
    context->touched = true;
    // The next page's data starts with its scale command even when no
    // settings record announces the page.
    context->newPage = true;
    return ok;
}

int FBEndDoc(FBContext* context) {
    if (context == nullptr) return 0;
    if (FBIsRecording(context)) FBEndRecording(context);
    int held = 1;
    if (context->jobFinishing) {
        held = FBEndDocJF(context);
        context->jobFinishing.reset();
    }
    FBOut* out = context->out.get();
    if (out == nullptr) return held;
    int ok = held;
    if (context->jobHeaderWritten) {
        const bool blankNeeded = out->copyRepeatCount != 0 && context->record &&
                                 context->record->Int(kFBIFirstPageDifferent) == 0 &&
                                 (out->pageCounter & 1) != 0 && DuplexOn(context->settings.get());
        if (blankNeeded) {
            ok &= FBPlayDummyPage(context->page.get(), out, context->settings.get(), &context->cache);
        }
        // A document that never printed a page has no job header; a trailer
        // alone would leave the printer waiting for one.
        ok &= WriteJobTrailer(out);
    }
    ok &= FBOutFlush(out);
    ok &= FBOutEndDoc(out);
    ok &= FBOutClose(out);
    return ok;
}

int FBDestroy(FBContext* context) {
    if (context == nullptr) return 0;
    context->record.reset();
    context->jobFinishing.reset();  // and its spool directory
    context->jobSpool.reset();
    if (context->out) FBOutClose(context->out.get());  // a document that never ended
    context->out.reset();
    context->page.reset();
    context->recordParsed = false;
    context->cmdList.reset();
    context->settings.reset();
    FBReleasePrintCache(&context->cache);
    context->colour.reset();
    return 1;
}

int FBPlayPage(const FBPage* page, FBCmdList* list, FBOut* out, FBSettings* settings, FBPrintCache* cache) {
    if (page == nullptr || list == nullptr) return 0;
    if (settings && settings->overlayPath[0] != u'\0') FBCmdLoadOverlay(list, settings->overlayPath);
    const std::vector<DLChunk> chunks = FBCmdListChunks(list);
    const FBDisplayList display{chunks.data(), chunks.data() + chunks.size(), FBCmdListByteCount(list)};
    const int printed = FBPagePrint(*page, display, out, settings, cache);
    FBCmdListDelete(list);
    return printed;
}

int FBPlayDummyPage(const FBPage* page, FBOut* out, FBSettings* settings, FBPrintCache* cache) {
    if (page == nullptr) return 0;
    // One blank sheet, never a poster of blank sheets.
    FBPage blank = *page;
    blank.poster = 0;
    return FBPagePrint(blank, FBDisplayList{}, out, settings, cache);
}
