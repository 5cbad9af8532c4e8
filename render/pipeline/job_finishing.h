// Job finishing: N-up, booklet and page order. The state is made when the
// document is set up and takes every page as it ends.
//
// Two modes:
//   page at a time   N-up, odd or even pages only: each page is placed as it
//                    comes and a sheet prints as soon as it is full;
//   whole job        booklet, reverse order and any two finishing kinds: the
//                    pages wait in a spool directory on disk (job_spool.h)
//                    and are arranged and printed at the end of the document.
//
// The sheet is built in the play list: for each page a base position, the
// page's display list (which starts with a scale command of the page's
// reduction) and, when asked, a border round the page's cell.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "pipeline/cmd_list.h"
#include "pipeline/fb_interface.h"
#include "pipeline/fb_records.h"
#include "pipeline/job_spool_owner.h"
#include "pipeline/page_list.h"

// Finishing kinds (the job mask is their or).
enum FBJFKind : uint32_t {
    kJFKindNup = 2,
    kJFKindPageOrder = 512,
    kJFKindBooklet = 0x80000,
};
constexpr uint32_t kFBJFMaxKinds = 2;

enum FBJFMode : uint32_t {
    kJFModeNone = 0,
    kJFModeWholeJob = 1,
    kJFModePageAtATime = 2,
};

struct FBJobFinishing {
    // From the settings record when finishing starts.
    uint32_t copies = 0;
    uint32_t collate = 0;
    uint32_t pagesPerSheet = 0;
    uint32_t nupBorder = 0;  // non-zero: a border round every page of a sheet
    uint32_t nupOrder = 0;   // FBNupOrder
    uint32_t posterTiles = 0;
    uint32_t posterOverlap = 0;
    uint32_t duplexBinding = 0;
    uint32_t pageOrder = 0;  // FBPageOrderKind

    uint32_t kinds[kFBJFMaxKinds] = {};
    uint32_t kindCount = 0;
    uint32_t jobMask = 0;

    FBPageList pageList;
    FBCmdList playList;                        // plain: the sheet being built
    std::unique_ptr<FBCmdList> recordingList;  // with headers: the page arriving
    std::vector<FBPage> pages;                 // whole job: read back at the end
    FBJobSpoolOwner spool;                     // whole job only

    uint32_t pageCount = 0;      // pages handed to finishing (whole job: spooled)
    uint32_t placedOnSheet = 0;  // pages on the N-up sheet being built
    uint32_t borderFactor = 1;
    uint32_t mode = kJFModeNone;
    uint32_t sheetOrientation = 0;  // of the first page of the sheet being built
};

// Chooses the finishing kinds from the document options and rewrites them:
// the duplex request becomes duplex printing (and then rules out page
// order), a booklet becomes the booklet flag that the job header reads. N-up
// wins over a booklet. The multi-page N-up option has no placement of its
// own: it is dropped and the document prints as it would without it.
// Returns the number of kinds chosen.
int FBJFFilterFlags(FBJobFinishing* state, uint32_t options, uint32_t* optionsOut);

// Records a kind; a third is refused (0).
int FBJFAddJob(FBJobFinishing* state, uint32_t kind);

// Sets finishing up from the record and the options (rewritten as
// FBJFFilterFlags does). Non-zero when finishing is active; 0 when the
// document needs none, or a whole job cannot get its spool directory (it
// then prints page by page in its own order).
int FBJFInit(FBJobFinishing* state, uint32_t* options, const FBInterface& record);

// The list the page's display list goes into while it arrives.
FBCmdList* FBJFDataList(FBJobFinishing* state);

// The scale in percent of the command that starts each page: the reduction
// of N-up and booklet pages, computed on the printable size rounded up to
// whole multiples of 32 dots; 0 when finishing does not reduce pages.
uint32_t FBJFPageScale(const FBJobFinishing* state, const FBPage& page);

// How many pages one N-up sheet holds.
uint32_t FBJFSheetCapacity(const FBJobFinishing* state);

// Places the page that just ended on the N-up sheet being built and moves
// its display list into the play list. 1 when the sheet is now full.
int FBJFNupAddPage(FBJobFinishing* state, const FBPage* page);

// Page at a time: takes the page that just ended. 1 when a sheet is ready
// to print now.
int FBJFAddPage(FBJobFinishing* state, const FBPage* page);

// Whole job: reads the page records back from the spool and builds the
// page list by the kinds.
int FBJFProcessAllJob(FBJobFinishing* state);
int FBJFCreateNormalJob(FBJobFinishing* state);
int FBJFProcessNUP(FBJobFinishing* state);
int FBJFProcessBookletAuto(FBJobFinishing* state);

// What a settings record that arrives between pages does to finishing:
// N-up restarts on another resolution, paper or count per sheet (and starts
// when it was off); N-up or a booklet that ends stops it (the pages held so
// far print first); anything else keeps it.
enum class FBJFChange { Keep, Restart, Stop };
FBJFChange FBJFDecideChange(const FBInterface& oldRecord, const FBInterface& newRecord);

// Frees the lists and removes the spool directory.
int FBJFDelete(FBJobFinishing* state);
