// Printing the sheets that job finishing arranged: the frame-buffer
// manager's page end and document end when the document has finishing.
#pragma once

#include "pipeline/fb_context.h"
#include "pipeline/job_finishing.h"

// Takes the page that just ended: whole job, into the spool directory; page
// at a time, onto its sheet, which prints when it is full.
int FBEndPageJF(FBContext* context);

// Prints what finishing still holds (a partly filled sheet; in whole-job
// mode the whole arranged job) and frees it, spool directory included. An
// aborted job prints none of the pages it held back.
int FBEndDocJF(FBContext* context);

// Page at a time: prints the sheet in the play list, in the orientation of
// its last page, and empties the page list and the play list.
int FBPlayJFPages(FBJobFinishing* state, FBOut* out, FBSettings* settings, const FBPage* page,
                  FBPrintCache* cache);

// Whole job: prints every sheet of the page list, each from the spooled
// display lists of its pages.
int FBPlayJFAllJob(FBJobFinishing* state, FBOut* out, FBSettings* settings, const FBPage* page,
                   FBPrintCache* cache);
