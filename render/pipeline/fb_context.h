// The frame-buffer manager: everything one spooled document needs between
// its first settings record and its end — the settings copy, the page record,
// the PJL settings summary, the current page's command list, the output
// writer, the colour conversion and the band work buffers — and the decisions
// at document start, at every settings change and at every page end.
//
// A document is one of three kinds: a plain job, whose pages print as they
// end; a job with finishing (N-up, booklet, page order; job_finishing.h),
// which hands its pages to finishing; or a recording job, which writes its
// display list into an overlay or watermark file and prints nothing
// (recording.h).
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "pipeline/cmd_list.h"
#include "pipeline/colour_module.h"
#include "pipeline/fb_interface.h"
#include "pipeline/fb_records.h"
#include "pipeline/job_spool.h"
#include "pipeline/output_writer.h"
#include "pipeline/page_print.h"
#include "sys/spooler.h"
#include "sys/text.h"

struct FBJobFinishing;  // job_finishing.h
struct FBJobFinishingDeleter {
    void operator()(FBJobFinishing* state) const;
};

// What a settings record or a display list cannot make one document do.
// Copies beyond this many are not repeated by the library (the collated job
// body is replayed copies - 1 times).
constexpr uint32_t kMaxCollatedCopies = 999;
// A page's command list holds at most this many bytes; further display-list
// data of the page is refused (the page prints what came before).
constexpr uint64_t kMaxPageListBytes = uint64_t{512} << 20;

struct FBContext {
    FBContext();
    ~FBContext();
    FBContext(const FBContext&) = delete;
    FBContext& operator=(const FBContext&) = delete;

    std::unique_ptr<FBPage> page;  // the page in hand, numbered
    // The current settings record parsed for its pages: parsed once when the
    // record arrives (FBInitialize, FBReset), read at every page start and
    // end. Not parsed yet: recordParsed is false.
    FBRecordPage parsedRecord;
    bool recordParsed = false;
    std::unique_ptr<FBOut> out;
    std::unique_ptr<FBJobFinishing, FBJobFinishingDeleter> jobFinishing;  // null: no finishing
    std::unique_ptr<FBSettings> settings;
    // The current page's display list: plain, or with headers while recording.
    std::unique_ptr<FBCmdList> cmdList;
    std::unique_ptr<FBJobSpool> jobSpool;  // overlay and watermark recording only
    std::unique_ptr<FBInterface> record;   // the settings copy
    FBPrintCache cache;                    // band buffers, rendering state, band record
    std::unique_ptr<CMMConverter> colour;  // null: no colour conversion
    uint32_t pageCount = 0;                // pages ended in this document
    sys::WString docName;
    sys::WString portName;
    sys::PrinterHandle printer = nullptr;  // the spooler's
    bool initialised = false;
    bool newPage = false;  // the next data write starts a page
    bool jobHeaderWritten = false;
    bool touched = false;  // data, a page end or a settings change came
    // The user declined to create the document's overlay: nothing is set up
    // and nothing prints, also when a later record would set it up again.
    bool declined = false;
    uint32_t lastOperation = 0;  // of the DrvFB operations (entry_points.h)
    uint32_t options = 0;        // document option flags as the document uses them
    // The spooler handle's abort request (entry_points.h), null for a
    // document started without one: once it is set, the output writer stops
    // retrying a printer that refuses data.
    const std::atomic<uint32_t>* abortRequested = nullptr;
};

// Sets the document up from the settings record: a recording job, a job
// with finishing or a plain job (see fb_context.cpp). Returns 1, or 0 when
// a watermark is to be recorded and its file cannot be made (the document
// then prints nothing).
int FBInitialize(FBContext* context, const FBInterface& record, sys::WStringView docName,
                 sys::PrinterHandle printer);
// Starts the document on the output writer (when there is one).
int FBStartDoc(FBContext* context);
// The next display-list data begins a page.
int FBStartPage(FBContext* context);
// Appends a piece of display list to the page (a scale command first at a
// new page). 0 when the page's list cannot take it.
int FBWritePrinter(FBContext* context, uint32_t length, uint32_t tag, const void* data);
// Adapts the document to a settings record that arrives between pages,
// before it replaces the stored copy (it may change newRecord: the
// ask-before-overlay value is cleared when the document is set up again).
int FBReset(FBContext* context, const FBInterface& oldRecord, FBInterface* newRecord);
// Ends a page: job header before the first, colour refresh, print.
int FBEndPage(FBContext* context);
// Ends the document: a blank page when collated duplex copies need one,
// the job trailer, and the writer's end.
int FBEndDoc(FBContext* context);
// Frees everything the context holds; it can be destroyed or set up anew.
int FBDestroy(FBContext* context);

// Prints the page from its list (the overlay first) and empties the list.
int FBPlayPage(const FBPage* page, FBCmdList* list, FBOut* out, FBSettings* settings, FBPrintCache* cache);
// Prints a blank sheet of the page's size.
int FBPlayDummyPage(const FBPage* page, FBOut* out, FBSettings* settings, FBPrintCache* cache);

// The document option flags a plain job (no finishing) works with: the
// driver's duplex request becomes duplex printing.
uint32_t FBPlainJobOptions(uint32_t options);

// The extra copies the library repeats for the record: copies - 1 when the
// job is collated, at most kMaxCollatedCopies - 1; else 0.
uint32_t FBCopyRepeatCount(const FBInterface& record);
