#include "pipeline/fb_context.h"

#include <algorithm>
#include <new>

#include "pipeline/cmd_writer.h"
#include "pipeline/debug_output.h"
#include "pipeline/printer_stream.h"

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
int WriteScaleCommand(FBContext* context, FBCmdList* list) {
    const FBRecordPage& parsed = ParsedRecord(context);
    // With job finishing, N-up and booklet pages take the scale of their
    // place on the sheet; without it every page takes the document's.
    return FBCmdWriteSetScale(list, 100, parsed.scale, parsed.page.orientation);
}

}  // namespace

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
    // Recording a watermark (option 0x20) or an overlay (0x100000, set by the
    // overlay option filter) is not built yet: those branches are not taken,
    // and such a document prints like any other.
    uint32_t options = record.UInt(kFBIDocOptions);
    // Job finishing would be set up here and may rewrite the options; a plain
    // job only turns the duplex request into duplex printing.
    options = FBPlainJobOptions(options);
    context->options = options;
    TakeRecord(context, record);

    if (!MakeIfMissing(&context->out) || !MakeIfMissing(&context->settings) ||
        !MakeIfMissing(&context->page)) {
        OutputDebugPrintf("[FB]out of memory setting the document up\n");
        return 1;  // prints nothing; the spooler's calls still succeed
    }
    // The list is kept when it already holds the first page's data (a
    // document whose first page came without a settings record).
    if (!context->cmdList && MakeIfMissing(&context->cmdList))
        FBCmdListInit(context->cmdList.get(), kCmdPlain);

    *context->page = FBRecordPageFor(context->parsedRecord, context->pageCount + 1);
    InitializeSettings(context->settings.get(), options, record);
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
    // Data may come before the document is set up (a first page without a
    // settings record); the list is made for it rather than losing the page.
    if (!context->cmdList) {
        if (!MakeIfMissing(&context->cmdList)) return 0;
        FBCmdListInit(context->cmdList.get(), kCmdPlain);
    }
    FBCmdList* list = context->cmdList.get();
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
        if (!(options & (kDocOptRecordWatermark | kDocOptRecordOverlay))) {
            newRecord->SetInt(kFBIAskBeforeOverlay, 0);
            FBInitialize(context, *newRecord, context->docName, context->printer);
            setUpAgain = true;  // which parsed the new record
        }
        context->touched = true;
    }
    // Job finishing would be restarted here when N-up changes resolution,
    // paper or pages per sheet, and stopped when N-up or booklet ends.
    (void)oldRecord;
    if (!setUpAgain) TakeRecord(context, *newRecord);
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
    if (context->page && context->settings && context->out) {
        FBPage* page = context->page.get();
        FBSettings* settings = context->settings.get();
        *page = FBRecordPageFor(ParsedRecord(context), context->pageCount);
        if (!context->jobHeaderWritten) {
            ok = WriteJobHeader(context->out.get(), *page, settings);
            context->jobHeaderWritten = true;
        }
        if (context->colour) CMMReset(context->colour.get(), record, DuplexOn(settings));
        // With job finishing the page would go to its list here instead.
        if (context->cmdList) {
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
    // The recording jobs' spool and job finishing's held pages would be
    // flushed here.
    FBOut* out = context->out.get();
    if (out == nullptr) return 1;
    int ok = 1;
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
    context->jobFinishing = nullptr;
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
